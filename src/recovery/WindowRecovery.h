#pragma once
#include "recovery/RecoveryDelays.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <memory>

class DocumentCapture;
class DocumentWindow;
class RecoveryFolder;
class RecoveryWriter;
struct RecoveryEntry;

// Keeps the recovery copy of one document window up to date. After a change, once the changes
// have paused (or once they have gone on for long enough), the document is taken in slices and the
// copy written on the writer's thread. A window that is saved has its copy removed; so has one
// that closes, unless the copies are being kept for the next start.
class WindowRecovery : public QObject
{
    Q_OBJECT
public:
    WindowRecovery(DocumentWindow &form, RecoveryFolder &folder, RecoveryWriter &writer, const RecoveryDelays &delays);
    ~WindowRecovery() override;

    // Starts a copy now, as the timers would.
    void copySoon();
    // Writes the copy at once, on this thread (the program is about to be ended).
    void writeAtOnce();
    // The copy `copy` in the folder is this window's (it was recovered from it).
    void adopt(const QString &copy);
    // The window's copy stays when this goes (with the program).
    void keepCopy() { m_keep = true; }
    bool copying() const { return m_capture != nullptr; }
    QString copyName() const { return m_copy; }

private:
    void changed();
    void saved();
    void captured();
    void stopCopying();
    void removeCopy();
    RecoveryEntry entry() const;

    QPointer<DocumentWindow> m_form;
    RecoveryFolder &m_folder;
    RecoveryWriter &m_writer;
    QTimer m_afterLastChange;
    QTimer m_longest;
    std::unique_ptr<DocumentCapture> m_capture;
    QString m_copy;
    bool m_mayHaveCopy = false;
    bool m_keep = false;
    bool m_copyAgain = false; // a copy was due while one was being taken
};
