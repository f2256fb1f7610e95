#include "recovery/RecoveryWriter.h"
#include "recovery/CapturedDocument.h"
#include "recovery/RecoveryFolder.h"

#include <QTextDocument>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

RecoveryWriter::RecoveryWriter(RecoveryFolder &folder, QObject *parent)
    : QObject(parent), m_folder(folder), m_worker(new QObject)
{
    m_thread.setObjectName(QStringLiteral("RecoveryWriter"));
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.start();
    // The copies give way to the interface when the processors are busy, yet are never starved.
    request([] { ::setpriority(PRIO_PROCESS, id_t(::gettid()), 10); });
}

RecoveryWriter::~RecoveryWriter()
{
    waitForAll();
    m_thread.quit();
    m_thread.wait();
}

void RecoveryWriter::request(std::function<void()> work)
{
    QMetaObject::invokeMethod(m_worker, std::move(work), Qt::QueuedConnection);
}

void RecoveryWriter::write(const QString &copy, const RecoveryEntry &entry, std::unique_ptr<CapturedDocument> document)
{
    // The document and everything in it belong to the writer's thread from here on.
    document->document->moveToThread(&m_thread);
    RecoveryFolder &folder = m_folder;
    std::shared_ptr<CapturedDocument> captured(document.release());
    request([&folder, copy, entry, captured]() mutable {
        try {
            folder.write(copy, entry, captured->encode(entry.format));
        } catch (const std::exception &failure) {
            qWarning("scrivlo: the recovery copy %s was not written: %s", qPrintable(copy), failure.what());
        } catch (...) {
            qWarning("scrivlo: the recovery copy %s was not written", qPrintable(copy));
        }
        captured.reset(); // here, on the thread the document belongs to
    });
}

void RecoveryWriter::remove(const QString &copy)
{
    RecoveryFolder &folder = m_folder;
    request([&folder, copy] { folder.remove(copy); });
}

void RecoveryWriter::waitForAll()
{
    // Runs after every request queued before it.
    QMetaObject::invokeMethod(m_worker, [] {}, Qt::BlockingQueuedConnection);
}
