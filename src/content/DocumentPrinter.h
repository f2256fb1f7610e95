#pragma once
#include <QSizeF>

class QPagedPaintDevice;
class QString;
class QTextDocument;

// Lays a document out on the printer's pages and prints it: the printer's paper size with margins
// of one inch all round, as many pages as the text needs, no page numbers. The surface's
// background is not printed, and text without a colour of its own prints black.
class DocumentPrinter
{
public:
    static constexpr double kMarginInches = 1.0;

    // Prints the document, which is laid out again for the printer (print a copy). Throws Failure
    // naming the printer when it cannot be opened or a page cannot be started.
    static void print(QTextDocument &doc, QPagedPaintDevice &printer, const QString &printerName);

    // The space between the margins on the smaller of the usual papers (A4 and Letter), in pixels
    // at 96 per inch: what a picture must fit into to print whole on either.
    static QSizeF smallestTextArea();
};
