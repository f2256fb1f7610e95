#pragma once
#include "recovery/RecoveryDelays.h"

#include <QObject>
#include <QString>
#include <map>
#include <memory>

class DocumentWindow;
class RecoveryFolder;
class RecoveryWriter;
class WindowRecovery;
class Workspace;

// Never losing typed work: every document window with unsaved changes has a recovery copy in this
// program's own recovery folder, kept up to date as the user types. A normal end leaves no copies;
// when the program is ended by the system the copies of all changed windows are written at once
// and stay, and when it crashes the last copies stay. The next start offers them back.
class DocumentRecovery : public QObject
{
    Q_OBJECT
public:
    // Copies go into a folder of this program's own under `root`; with an empty root, or one that
    // cannot be written, no copies are kept.
    DocumentRecovery(Workspace &workspace, const QString &root, RecoveryDelays delays = {});
    ~DocumentRecovery() override;

    bool isOn() const { return m_folder != nullptr; }
    QString root() const { return m_root; }
    // This program's own folder, or empty when recovery is off.
    QString folder() const;
    // For tests and benchmarks, before windows are followed.
    void setDelays(RecoveryDelays delays) { m_delays = delays; }

    // Keeps the window's copy from now on (the frame calls it for every new document window).
    void follow(DocumentWindow &form);
    // Asks whether to recover the copies that programs which are gone left behind (start-up).
    void offerLeftCopies();
    // Writes the copies of all changed windows at once, on this thread; they stay for the next
    // start when the program ends without closing its windows (it is about to be ended by the
    // system or the session). A window closed meanwhile still takes its copy along.
    void writeAllNow();
    // The frame closed normally, every window with it: no copies are left.
    void frameClosed();

    // The recovery that keeps the window's copy, or nullptr.
    WindowRecovery *recoveryOf(const DocumentWindow &form) const;

private:
    void forget(const QObject *form);

    Workspace &m_workspace;
    QString m_root;
    RecoveryDelays m_delays;
    std::unique_ptr<RecoveryFolder> m_folder;
    std::unique_ptr<RecoveryWriter> m_writer;
    std::map<const QObject *, std::unique_ptr<WindowRecovery>> m_windows;
};
