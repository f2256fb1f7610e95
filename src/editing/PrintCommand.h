#pragma once
#include "editing/PrinterPage.h"

#include <QObject>
#include <memory>

class Workspace;
class QPrinter;
class RichTextBox;

// Printing the document or the selection: the background warning, the print dialog, then the
// surface prints onto the printer chosen, with a progress dialog for a long job. Print Preview
// shows the pages as they will print, and prints from there. The printer's settings last for the
// run; a document with a page set-up of its own starts the printer on its paper and margins.
class PrintCommand : public QObject
{
    Q_OBJECT
public:
    explicit PrintCommand(Workspace &workspace);
    ~PrintCommand() override;

    void print();
    void printPreview();

    // Prints the whole document of the surface into a PDF file, through the same path as Print.
    // Throws Failure when the file cannot be written.
    static void printWholeDocumentToPdf(RichTextBox &box, const QString &pdfPath);

private:
    QPrinter &printer();
    // Prints with the progress dialog, and tells the user of a job that was cancelled or failed.
    void runJob(RichTextBox &box, QPrinter &printer);

    Workspace &m_workspace;
    std::unique_ptr<QPrinter> m_printer;
    PrinterPage m_page;
};
