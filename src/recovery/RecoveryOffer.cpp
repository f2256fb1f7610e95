#include "recovery/RecoveryOffer.h"
#include "content/PlainText.h"
#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "platform/Dialogs.h"
#include "platform/DiskStamp.h"
#include "platform/Failure.h"
#include "workspace/Services.h"
#include "recovery/RecoveryFolder.h"
#include "rtf/RtfCodec.h"
#include "workspace/Workspace.h"

#include <QFileInfo>

RecoveryOffer::RecoveryOffer(Workspace &workspace, RecoveryFolder &folder) : m_workspace(workspace), m_folder(folder) {}

QString RecoveryOffer::question(qsizetype copies)
{
    return QStringLiteral("Scrivlo closed without saving %1 document(s). Recover them?").arg(copies);
}

void RecoveryOffer::run(const Adopt &adopt)
{
    OrphanCopies left(QFileInfo(m_folder.path()).absolutePath(), m_folder.path());
    if (left.copies().isEmpty())
        return;
    const std::optional<int> answer = m_workspace.services().dialogs.choose(
        {question(left.copies().size()), QStringLiteral("Scrivlo"), {QStringLiteral("Recover"), QStringLiteral("Discard")},
         Dialogs::Icon::Question, 0},
        &m_workspace.window());
    if (answer == 0) {
        for (const OrphanCopies::Copy &copy : left.copies())
            recover(copy, adopt);
        left.tidy();
    } else if (answer == 1) {
        left.discard();
    }
    // No answer: the copies stay where they are, for the next start.
}

// The copy is read before its window is made, so that one that cannot be read leaves no window.
void RecoveryOffer::recover(const OrphanCopies::Copy &copy, const Adopt &adopt)
{
    QByteArray bytes;
    try {
        bytes = OrphanCopies::read(copy);
    } catch (const Failure &failure) {
        reportUnreadable(copy, failure.message());
        return;
    }
    const RecoveryEntry entry = copy.entry.value_or(RecoveryEntry{});
    m_workspace.newDocument();
    DocumentWindow &form = m_workspace.currentDocument();
    RichTextBox &surface = *form.surface;
    if (entry.format == DocumentFormat::RichText && RtfCodec::looksLikeRtf(bytes)) {
        surface.setRtf(bytes);
    } else {
        // A plain-text copy ends with the one line end that writing adds; it was not typed.
        QString text = PlainText::decode(bytes);
        if (text.endsWith(QLatin1String("\r\n")))
            text.chop(2);
        surface.setText(text);
    }
    if (!entry.caption.isEmpty())
        form.setWindowTitle(entry.caption);
    surface.setFileName(entry.fileName);
    if (entry.stamp)
        DiskStamp::remember(surface, entry.fileName, *entry.stamp);
    surface.setSelectionStart(0);
    form.doc = -1; // closing it asks to save, and Save writes to the original file
    const QString name = m_folder.newCopyName();
    if (m_folder.adopt(copy.folder, copy.name, name))
        adopt(form, name);
}

void RecoveryOffer::reportUnreadable(const OrphanCopies::Copy &copy, const QString &reason)
{
    m_workspace.services().dialogs.message(
        {QStringLiteral("The recovery copy of \"%1\" cannot be read: %2\n\nIt is kept in %3.")
             .arg(copy.label(), reason, copy.folder),
         QStringLiteral("Scrivlo"), Dialogs::Buttons::OK, Dialogs::Icon::Exclamation, 0},
        &m_workspace.window());
}
