#pragma once
#include <QObject>
#include <memory>

class Workspace;
class QPrinter;
class RichTextBox;

// Printing the document or the selection: the background warning, the print dialog, then the
// surface prints onto the printer chosen. The printer's settings last for the run.
class PrintCommand : public QObject
{
    Q_OBJECT
public:
    explicit PrintCommand(Workspace &workspace);
    ~PrintCommand() override;

    void print_Click();

    // Prints the whole document of the surface into a PDF file, through the same path as Print.
    // Throws Failure when the file cannot be written.
    static void printWholeDocumentToPdf(RichTextBox &box, const QString &pdfPath);

private:
    Workspace &m_workspace;
    std::unique_ptr<QPrinter> m_printer;
};
