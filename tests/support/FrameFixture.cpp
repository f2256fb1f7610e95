#include "support/FrameFixture.h"

#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTest>

FrameFixture::FrameFixture() : FrameFixture(Options{}) {}

FrameFixture::FrameFixture(const Options &options)
{
    QDir(dir.path()).mkpath(QStringLiteral("app"));
    QDir(dir.path()).mkpath(QStringLiteral("settings"));
    if (options.withTipsFile)
        QFile::copy(QStringLiteral(SCRIVLO_SOURCE_DIR "/resources/tipofday.txt"), appFolder() + QStringLiteral("/tipofday.txt"));
    QFile::copy(QStringLiteral(SCRIVLO_SOURCE_DIR "/resources/table.rtf"), appFolder() + QStringLiteral("/table.rtf"));
    settings = std::make_unique<SettingsStore>(QStringLiteral("scrivlo"), dir.filePath(QStringLiteral("settings")));
    const quint32 seed = options.seed;
    services = std::make_unique<Services>(
        Services{dialogs, *settings, AppFolder({appFolder()}), [seed] { return seed; }, options.recoveryFolder});
    QStringList files = options.commandLineFiles;
    if (!options.commandLineFile.isEmpty())
        files.prepend(options.commandLineFile);
    frame = std::make_unique<MainFrame>(*services, files);
    frame->resize(1000, 700);
}

FrameFixture::~FrameFixture()
{
    // Close without questions: windows whose document changed are marked unchanged first.
    if (frame) {
        for (DocumentWindow *form : frame->documents())
            form->doc = 0;
        frame.reset();
    }
}

void FrameFixture::start()
{
    frame->show();
    QCoreApplication::processEvents();
}

QString FrameFixture::appFolder() const { return dir.filePath(QStringLiteral("app")); }

DocumentWindow *FrameFixture::active() const { return frame->activeDocument(); }

RichTextBox &FrameFixture::surface() const
{
    DocumentWindow *form = frame->activeDocument();
    if (!form)
        QTest::qFail("no active document window", __FILE__, __LINE__);
    return *form->surface;
}

void FrameFixture::trigger(const QString &menuItem) const { frame->menuItem(menuItem)->trigger(); }

QString FrameFixture::writeFile(const QString &name, const QByteArray &bytes) const
{
    const QString p = path(name);
    QFile file(p);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        QTest::qFail(qPrintable(QStringLiteral("cannot write %1").arg(p)), __FILE__, __LINE__);
    return p;
}

QByteArray FrameFixture::readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QList<QAction *> FrameFixture::windowEntries(const MainFrame &frame)
{
    QMenu *menu = frame.menu(QStringLiteral("window"));
    emit menu->aboutToShow();
    const QList<QAction *> actions = menu->actions();
    for (qsizetype i = 0; i < actions.size(); ++i)
        if (actions[i]->objectName() == QLatin1String("windowList"))
            return actions.mid(i + 1);
    return {};
}
