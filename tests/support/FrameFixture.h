#pragma once
#include "support/ScriptedDialogs.h"

#include "app/MainFrame.h"
#include "workspace/Services.h"
#include "platform/SettingsStore.h"
#include "support/FrameControls.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

class DocumentWindow;
class RichTextBox;

// The real main frame for one test: scripted dialogs, a settings store and an app folder (with the
// program's tips file, unless told otherwise) in a fresh temporary folder.
class FrameFixture
{
public:
    struct Options {
        QString commandLineFile;
        bool withTipsFile = true;
        quint32 seed = 12345;
        QStringList commandLineFiles{}; // more files named on the command line, after commandLineFile
        QString recoveryFolder{}; // empty: no recovery copies
    };
    FrameFixture();
    explicit FrameFixture(const Options &options);
    ~FrameFixture();

    // Shows the frame, which runs its start-up.
    void start();

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<SettingsStore> settings;
    std::unique_ptr<Services> services;
    std::unique_ptr<MainFrame> frame;

    QString appFolder() const;
    QString path(const QString &name) const { return dir.filePath(name); }
    DocumentWindow *active() const;
    RichTextBox &surface() const; // the active document's surface; fails the test when none
    void trigger(const QString &menuItem) const;
    // Writes a file into the temporary folder and returns its path.
    QString writeFile(const QString &name, const QByteArray &bytes) const;
    static QByteArray readFile(const QString &path);
    // The window entries of the frame's Window menu (those below its own items), once the menu has
    // run its opening step.
    static QList<QAction *> windowEntries(const MainFrame &frame);
};
