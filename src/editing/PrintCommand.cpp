#include "editing/PrintCommand.h"
#include "content/DocumentPrinter.h"
#include "document/Form3.h"
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
    workspace.onTriggered(QStringLiteral("print"), this, &PrintCommand::print_Click);
    workspace.onTriggered(QStringLiteral("print_setup"), this, &PrintCommand::print_Click);
    workspace.onTriggered(QStringLiteral("printpreview"), this, &PrintCommand::printpreview_Click);
}

PrintCommand::~PrintCommand() = default;

QPrinter &PrintCommand::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

void PrintCommand::print_Click()
{
    Form3 *form = m_workspace.activeDocument();
    if (!form)
        return;
    Dialogs &dialogs = m_workspace.services().dialogs;
    const Dialogs::Answer answer = dialogs.message(
        {QStringLiteral("Warning : Using other color instead of white won't make printing with background."),
         QStringLiteral("Scrivlo"), Dialogs::Buttons::AbortRetryIgnore, Dialogs::Icon::Information, 0},
        &m_workspace.window());
    if (answer == Dialogs::Answer::Abort)
        return;

    RichTextBox &box = *form->RichTextBox1;
    CommonDialog &cd2 = m_workspace.commonDialogs().cd2;
    const bool shown = stopAtFirstFailure([&] {
        cd2.DialogTitle = QStringLiteral("Printer Setup");
        cd2.Flags = DialogFlags::NoPageNums | DialogFlags::ReturnDc;
        if (box.SelLength() != 0)
            cd2.Flags += DialogFlags::Selection;
        m_page.startFrom(printer(), *box.document());
        cd2.ShowPrinter(printer(), &m_workspace.window()); // Cancel is a failure for this instance
    });
    if (!shown)
        return;
    runJob(box, printer());
}

void PrintCommand::printpreview_Click()
{
    Form3 *form = m_workspace.activeDocument();
    if (!form)
        return;
    QPointer<RichTextBox> box = form->RichTextBox1;
    m_page.startFrom(printer(), *box->document());
    QPrintPreviewDialog preview(&printer(), &m_workspace.window());
    preview.setObjectName(QStringLiteral("printPreview"));
    // The preview draws the pages through the same path as Print; its own Print button then
    // prints them for real.
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this, box](QPrinter *target) {
        if (!box || !target)
            return;
        if (DocumentPrinter::paintsPreview(*target))
            withBusyPointer([&] { skipOnFailure([&] { box->SelPrint(*target); }); });
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
            result = box.SelPrint(target, &progress);
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
    box.setSelStart(0); // no selection: the whole document
    box.SelPrint(printer);
}
