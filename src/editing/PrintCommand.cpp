#include "editing/PrintCommand.h"
#include "content/DocumentPrinter.h"
#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "editing/PrintProgressDialog.h"
#include "platform/BusyPointer.h"
#include "platform/DialogFlags.h"
#include "platform/Dialogs.h"
#include "platform/Failure.h"
#include "workspace/Services.h"
#include "workspace/Workspace.h"

#include <QAction>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace {

// What the user is told of a job stopped with Cancel.
QString cancelledText(const DocumentPrinter::Result &result)
{
    if (result.discarded)
        return QStringLiteral("Printing was cancelled. Nothing was printed.");
    // A printer that cannot take back its job prints what it was given.
    return QStringLiteral("Printing was cancelled. %1 of %2 pages were sent to the printer.")
        .arg(result.pagesPrinted)
        .arg(result.pageCount);
}

} // namespace

PrintCommand::PrintCommand(Workspace &workspace) : m_workspace(workspace)
{
    workspace.onTriggered(QStringLiteral("print"), this, &PrintCommand::print);
    workspace.onTriggered(QStringLiteral("print_setup"), this, &PrintCommand::print);
    workspace.onTriggered(QStringLiteral("printpreview"), this, &PrintCommand::printPreview);
}

PrintCommand::~PrintCommand() = default;

QPrinter &PrintCommand::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

void PrintCommand::print()
{
    DocumentWindow *form = m_workspace.activeDocument();
    if (!form)
        return;
    Dialogs &dialogs = m_workspace.services().dialogs;
    const Dialogs::Answer answer = dialogs.message(
        {QStringLiteral("Warning : Using other color instead of white won't make printing with background."),
         QStringLiteral("Scrivlo"), Dialogs::Buttons::AbortRetryIgnore, Dialogs::Icon::Information, 0},
        &m_workspace.window());
    if (answer == Dialogs::Answer::Abort)
        return;

    RichTextBox &box = *form->surface;
    CommonDialog &dialog = m_workspace.commonDialogs().pictureAndPrintDialog;
    const bool shown = stopAtFirstFailure([&] {
        dialog.dialogTitle = QStringLiteral("Printer Setup");
        dialog.flags = DialogFlags::NoPageNums | DialogFlags::ReturnDc;
        if (box.selectionLength() != 0)
            dialog.flags += DialogFlags::Selection;
        m_page.startFrom(printer(), *box.document());
        dialog.showPrinter(printer(), &m_workspace.window()); // Cancel is a failure for this instance
    });
    if (!shown)
        return;
    runJob(box, printer());
}

void PrintCommand::printPreview()
{
    DocumentWindow *form = m_workspace.activeDocument();
    if (!form)
        return;
    QPointer<RichTextBox> box = form->surface;
    m_page.startFrom(printer(), *box->document());
    QPrintPreviewDialog preview(&printer(), &m_workspace.window());
    preview.setObjectName(QStringLiteral("printPreview"));
    // The preview draws the pages through the same path as Print; its own Print button then
    // prints them for real.
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this, box](QPrinter *target) {
        if (!box || !target)
            return;
        if (DocumentPrinter::paintsPreview(*target))
            withBusyPointer([&] { skipOnFailure([&] { box->printSelection(*target); }); });
        else
            runJob(*box, *target);
    });
    preview.exec();
}

void PrintCommand::runJob(RichTextBox &box, QPrinter &target)
{
    Dialogs &dialogs = m_workspace.services().dialogs;
    try {
        DocumentPrinter::Result result;
        withBusyPointer([&] { // a long document takes a while to lay out
            PrintProgressDialog progress(&m_workspace.window());
            result = box.printSelection(target, &progress);
        });
        if (result.cancelled)
            dialogs.message({cancelledText(result), QStringLiteral("Scrivlo"), Dialogs::Buttons::OK,
                             Dialogs::Icon::Information, 0},
                            &m_workspace.window());
    } catch (const Failure &failure) {
        // Saying nothing would let the user believe the pages were printed.
        dialogs.message({failure.message(), QStringLiteral("Scrivlo"), Dialogs::Buttons::OK, Dialogs::Icon::Critical, 0},
                        &m_workspace.window());
    }
}

void PrintCommand::printWholeDocumentToPdf(RichTextBox &box, const QString &pdfPath)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    PrinterPage::applySetup(printer, *box.document());
    box.setSelectionStart(0); // no selection: the whole document
    box.printSelection(printer);
}
