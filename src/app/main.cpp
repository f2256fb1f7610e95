#include "app/ConvertMode.h"
#include "app/MDIForm1.h"
#include "platform/QtDialogs.h"
#include "platform/Services.h"
#include "platform/SettingsStore.h"
#include "platform/TerminationSignals.h"
#include "windows/Form1.h"

#include <QApplication>
#include <QDateTime>
#include <QSessionManager>
#include <QStandardPaths>
#include <cstdio>
#include <cstring>

namespace {

// True for "--convert-to FORMAT" and "--convert-to=FORMAT".
bool hasOption(int argc, char **argv, const char *name)
{
    const size_t length = std::strlen(name);
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], name, length) == 0 && (argv[i][length] == '\0' || argv[i][length] == '='))
            return true;
    return false;
}

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char **argv)
{
    const bool converting = hasOption(argc, argv, "--convert-to");
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
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QApplication::setDesktopFileName(QStringLiteral("scrivlo"));
    if (converting)
        return ConvertMode::run(QApplication::arguments());

    QtDialogs dialogs;
    SettingsStore settings(SettingsStore::executableName());
    Services services{dialogs, settings, AppFolder::forRunningProgram(),
                      [] { return quint32(QDateTime::currentMSecsSinceEpoch()); },
                      QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/recovery")};
    const QStringList arguments = QApplication::arguments();
    MDIForm1 frame(services, arguments.value(1));
    // Ended by the system or by the session: the unsaved documents are kept as recovery copies.
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::received, &frame, [&frame] { frame.endedBySystem(); });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &frame,
                     [&frame](QSessionManager &manager) { frame.commitDataRequest(manager); });
    auto *splash = new Form1(frame);
    splash->show();
    return app.exec();
}
