#include "editing/PrintCommand.h"
#include "document/Form3.h"
#include "document/RichTextBox.h"
#include "platform/BusyPointer.h"
#include "platform/DialogFlags.h"
#include "platform/Dialogs.h"
#include "platform/Failure.h"
#include "platform/Services.h"
#include "workspace/Workspace.h"

#include <QAction>
#include <QPrinter>

PrintCommand::PrintCommand(Workspace &workspace) : m_workspace(workspace)
{
    workspace.onTriggered(QStringLiteral("print"), this, &PrintCommand::print_Click);
    workspace.onTriggered(QStringLiteral("print_setup"), this, &PrintCommand::print_Click);
}

PrintCommand::~PrintCommand() = default;

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

    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    RichTextBox &box = *form->RichTextBox1;
    CommonDialog &cd2 = m_workspace.commonDialogs().cd2;
    const bool shown = stopAtFirstFailure([&] {
        cd2.DialogTitle = QStringLiteral("Printer Setup");
        cd2.Flags = DialogFlags::NoPageNums | DialogFlags::ReturnDc;
        if (box.SelLength() != 0)
            cd2.Flags += DialogFlags::Selection;
        cd2.ShowPrinter(*m_printer, &m_workspace.window()); // Cancel is a failure for this instance
    });
    if (!shown)
        return;
    try {
        withBusyPointer([&] { box.SelPrint(*m_printer); }); // a long document takes a while
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
    box.setSelStart(0); // no selection: the whole document
    box.SelPrint(printer);
}
