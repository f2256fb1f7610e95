#include "recovery/WindowRecovery.h"
#include "content/DocumentFormat.h"
#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "platform/DiskStamp.h"
#include "platform/Failure.h"
#include "recovery/CapturedDocument.h"
#include "recovery/DocumentCapture.h"
#include "recovery/RecoveryEntry.h"
#include "recovery/RecoveryFolder.h"
#include "recovery/RecoveryWriter.h"

#include <QDateTime>

WindowRecovery::WindowRecovery(DocumentWindow &form, RecoveryFolder &folder, RecoveryWriter &writer, const RecoveryDelays &delays)
    : m_form(&form), m_folder(folder), m_writer(writer), m_copy(folder.newCopyName())
{
    m_afterLastChange.setSingleShot(true);
    m_afterLastChange.setInterval(delays.afterLastChange);
    m_longest.setSingleShot(true);
    m_longest.setInterval(delays.longest);
    connect(&m_afterLastChange, &QTimer::timeout, this, &WindowRecovery::copySoon);
    connect(&m_longest, &QTimer::timeout, this, &WindowRecovery::copySoon);
    connect(form.surface, &RichTextBox::contentChanged, this, &WindowRecovery::changed);
    connect(&form, &DocumentWindow::saved, this, &WindowRecovery::saved);
}

WindowRecovery::~WindowRecovery()
{
    if (!m_keep)
        removeCopy();
}

void WindowRecovery::changed()
{
    m_afterLastChange.start(); // again from the start at every change
    if (!m_longest.isActive())
        m_longest.start();
}

void WindowRecovery::copySoon()
{
    m_afterLastChange.stop();
    m_longest.stop();
    if (!m_form)
        return;
    if (m_capture) {
        m_copyAgain = true; // once this one is done: it may not have the latest changes
        return;
    }
    if (m_form->doc != -1) {
        removeCopy(); // nothing unsaved
        return;
    }
    try {
        m_capture = std::make_unique<DocumentCapture>(*m_form->surface->document());
    } catch (const std::exception &failure) {
        qWarning("scrivlo: a recovery copy was abandoned: %s", failure.what());
        return; // the next change tries again
    }
    connect(m_capture.get(), &DocumentCapture::finished, this, &WindowRecovery::captured);
    connect(m_capture.get(), &DocumentCapture::abandoned, this, &WindowRecovery::stopCopying);
    m_capture->start();
}

void WindowRecovery::captured()
{
    std::unique_ptr<CapturedDocument> document = m_capture->take();
    stopCopying();
    if (!m_form || m_form->doc != -1 || !document)
        return; // saved while it was being taken
    try {
        m_writer.write(m_copy, entry(), std::move(document));
        m_mayHaveCopy = true;
    } catch (const std::exception &failure) {
        qWarning("scrivlo: a recovery copy was abandoned: %s", failure.what());
    }
}

void WindowRecovery::stopCopying()
{
    if (m_capture)
        m_capture.release()->deleteLater(); // it may be the sender of what stops it
    if (m_copyAgain) {
        m_copyAgain = false;
        m_afterLastChange.start();
    }
}

void WindowRecovery::saved()
{
    m_copyAgain = false;
    stopCopying();
    m_afterLastChange.stop();
    m_longest.stop();
    removeCopy();
}

void WindowRecovery::removeCopy()
{
    if (!m_mayHaveCopy)
        return;
    m_writer.remove(m_copy);
    m_mayHaveCopy = false;
}

void WindowRecovery::writeAtOnce()
{
    m_copyAgain = false;
    stopCopying();
    m_afterLastChange.stop();
    m_longest.stop();
    if (!m_form)
        return;
    if (m_form->doc != -1) {
        removeCopy();
        return;
    }
    const RecoveryEntry copy = entry();
    try {
        m_folder.write(m_copy, copy, CapturedDocument::encode(*m_form->surface->document(), copy.format));
        m_mayHaveCopy = true;
    } catch (const Failure &failure) {
        qWarning("scrivlo: the recovery copy of %s was not written: %s", qPrintable(copy.caption), failure.what());
    }
}

void WindowRecovery::adopt(const QString &copy)
{
    m_copyAgain = false;
    stopCopying();
    m_afterLastChange.stop();
    m_longest.stop();
    m_copy = copy;
    m_mayHaveCopy = true;
}

RecoveryEntry WindowRecovery::entry() const
{
    const RichTextBox &surface = *m_form->surface;
    const QString fileName = surface.fileName();
    RecoveryEntry entry;
    entry.caption = m_form->windowTitle();
    entry.fileName = fileName;
    // A window whose file is plain text keeps a plain-text copy; any other, rich text.
    // A Word or OpenDocument window is copied as RTF, which keeps what it shows.
    entry.format = !fileName.isEmpty() && DocumentFormat::formatOf(fileName) == DocumentFormat::PlainText
                       ? DocumentFormat::PlainText : DocumentFormat::RichText;
    entry.time = QDateTime::currentDateTimeUtc();
    entry.stamp = DiskStamp::remembered(surface, fileName);
    return entry;
}
