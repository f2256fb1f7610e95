#include "app/CommandLine.h"
#include "app/ConvertMode.h"
#include "app/MainFrame.h"
#include "platform/QtDialogs.h"
#include "workspace/Services.h"
#include "platform/SettingsStore.h"
#include "platform/TerminationSignals.h"
#include "spelling/EnchantSpellChecker.h"
#include "windows/SplashWindow.h"

#include <QApplication>
#include <QDateTime>
#include <QSessionManager>
#include <QStandardPaths>
#include <cstdio>

namespace {

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

int refuse(const CommandLine &line)
{
    std::fprintf(stderr, "scrivlo: %s\nTry \"scrivlo --help\" for the usage.\n", qPrintable(line.error));
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    // Help, version and a wrong option are answered before anything needs a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine early = CommandLine::parse(arguments, true);
    switch (early.action) {
    case CommandLine::Action::Help:
        std::fputs(qPrintable(CommandLine::usage()), stdout);
        return 0;
    case CommandLine::Action::Version:
        std::printf("%s\n", qPrintable(CommandLine::versionText()));
        return 0;
    case CommandLine::Action::Error:
        return refuse(early);
    default:
        break;
    }

    const bool converting = early.action == CommandLine::Action::Convert;
    if (converting) {
        // The conversion mode needs no display and shows no window.
        qputenv("QT_QPA_PLATFORM", "offscreen");
    } else if (!hasDisplay()) {
        std::fprintf(stderr, "scrivlo: no graphical display: neither DISPLAY nor WAYLAND_DISPLAY is set.\n"
                             "Start it from a desktop session, or use --convert-to for headless conversion.\n");
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Scrivlo"));
    QApplication::setApplicationVersion(QStringLiteral(SCRIVLO_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("scrivlo"));
    if (converting)
        return ConvertMode::run(QApplication::arguments());
    // The windowing system has taken its own options: any other option left is unknown.
    const CommandLine line = CommandLine::parse(QApplication::arguments(), false);
    if (line.action == CommandLine::Action::Error)
        return refuse(line);

    QtDialogs dialogs;
    SettingsStore settings(SettingsStore::executableName());
    EnchantSpellChecker spelling(EnchantSpellChecker::defaultPersonalDictionaryPath());
    Services services{dialogs, settings, AppFolder::forRunningProgram(),
                      [] { return quint32(QDateTime::currentMSecsSinceEpoch()); },
                      QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/recovery"),
                      &spelling};
    MainFrame frame(services, line.files);
    // Ended by the system or by the session: the unsaved documents are kept as recovery copies.
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::received, &frame, [&frame] { frame.endedBySystem(); });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &frame,
                     [&frame](QSessionManager &manager) { frame.commitDataRequest(manager); });
    auto *splash = new SplashWindow(frame);
    splash->show();
    return app.exec();
}
