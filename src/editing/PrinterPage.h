#pragma once
#include <QPageLayout>
#include <optional>

class QPrinter;
class QTextDocument;

// The page a printer starts from for a document: the document's own paper and margins when it has
// a page set-up, else the page the user last had for documents without one. The print dialog may
// change it after; what the dialog returns is what prints.
class PrinterPage
{
public:
    void startFrom(QPrinter &printer, const QTextDocument &doc);

    // The document's page set-up on the printer, when it has one. True when it has.
    static bool applySetup(QPrinter &printer, const QTextDocument &doc);

private:
    // The printer's page before a document's own set-up replaced it.
    std::optional<QPageLayout> m_plainLayout;
};
