#include "files/DocumentSave.h"
#include "content/DocumentFormat.h"
#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "files/DocumentWriter.h"
#include "platform/CommonDialog.h"
#include "platform/DialogFlags.h"
#include "platform/Dialogs.h"
#include "platform/DiskStamp.h"
#include "platform/Failure.h"
#include "platform/FileFailureBox.h"

namespace {

Dialogs &dialogsOf(DocumentWindow &form) { return form.dialogs(); }

// Writes the window's document to the path; a failure is reported and gives false. The file's new
// stamp is kept, so that a later save can tell whether another program has changed it since.
bool written(DocumentWindow &form, const QString &path)
{
    try {
        DocumentWriter::write(*form.surface, path, DocumentFormat::formatOf(path));
        DiskStamp::remember(*form.surface, path);
        return true;
    } catch (const Failure &failure) {
        FileFailureBox::show(dialogsOf(form), failure, &form);
        return false;
    }
}

// The Save dialog: true when the user chose a file. A cancel reported as a failure is a cancel too.
bool chosen(CommonDialog &dialog, DocumentWindow &form)
{
    return testOr([&] { return dialog.showSave(&form); }, false);
}

// Abort stops the save; Retry and Ignore go on.
bool goOnWithUnknownType(DocumentWindow &form)
{
    const Dialogs::Answer answer = dialogsOf(form).message(
        {QStringLiteral("You are saving an unknown type of file which may causes errors to your computer. "
                        "It is recommended that you don't use any other type of extension."),
         QStringLiteral("Warning :"), Dialogs::Buttons::AbortRetryIgnore, Dialogs::Icon::Exclamation, 0},
        &form);
    return answer != Dialogs::Answer::Abort;
}

// A file changed on disk since it was read or last written would lose the other program's work:
// Yes writes over it, No saves nothing.
bool overwriteChangedFile(DocumentWindow &form, const QString &path)
{
    if (!DiskStamp::changedBehind(*form.surface, path))
        return true;
    const Dialogs::Answer answer = dialogsOf(form).message(
        {QStringLiteral("\"%1\" has been changed by another program. Save anyway?").arg(path),
         QStringLiteral("Scrivlo"), Dialogs::Buttons::YesNo, Dialogs::Icon::Exclamation, 1},
        &form);
    return answer == Dialogs::Answer::Yes;
}

} // namespace

bool DocumentSave::save(DocumentWindow &form, CommonDialog &saveAsDialog)
{
    const QString path = form.surface->fileName();
    if (path.isEmpty())
        return saveAs(form, saveAsDialog);
    if (!overwriteChangedFile(form, path) || !written(form, path))
        return false;
    form.documentSaved();
    return true;
}

bool DocumentSave::saveAs(DocumentWindow &form, CommonDialog &dialog)
{
    dialog.dialogTitle = QStringLiteral("Save as");
    dialog.filter = QStringLiteral("Text File (*.txt)|*.txt|Text Document (*.doc)|*.doc|Rich Text Format (*.rtf)|*.rtf|"
                                   "Configuration Settings (*.ini)|*.ini|BAT (*.bat)|*.bat|Word Document (*.docx)|*.docx|"
                                   "OpenDocument Text (*.odt)|*.odt|All files|*.*");
    dialog.flags = DialogFlags::OverwritePrompt;
    if (!chosen(dialog, form))
        return false;
    const QString path = dialog.fileName;
    const QString title = dialog.fileTitle;
    if (!DocumentFormat::isKnown(path) && !goOnWithUnknownType(form))
        return false;
    if (!written(form, path))
        return false;
    form.setWindowTitle(title);
    form.surface->setFileName(path);
    form.documentSaved();
    return true;
}
