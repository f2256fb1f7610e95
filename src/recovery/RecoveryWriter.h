#pragma once
#include "recovery/RecoveryEntry.h"

#include <QObject>
#include <QThread>
#include <functional>
#include <memory>

class RecoveryFolder;
struct CapturedDocument;

// Writes recovery copies on a thread of its own, one request after another in the order they were
// made, so that the interface never waits for a document to be written out or for the disk. A
// captured document is handed over to that thread whole, and is released there.
class RecoveryWriter : public QObject
{
    Q_OBJECT
public:
    explicit RecoveryWriter(RecoveryFolder &folder, QObject *parent = nullptr);
    // Carries out every request made, then stops its thread.
    ~RecoveryWriter() override;

    // Writes the document as the copy (a copy that cannot be written is reported on the terminal;
    // the next change tries again).
    void write(const QString &copy, const RecoveryEntry &entry, std::unique_ptr<CapturedDocument> document);
    void remove(const QString &copy);
    // Returns once every request made so far has been carried out.
    void waitForAll();

private:
    void request(std::function<void()> work);

    RecoveryFolder &m_folder;
    QThread m_thread;
    QObject *m_worker; // lives on m_thread: requests are queued events to it, run in order
};
