#include "content/DocumentPrinter.h"
#include "platform/Failure.h"

#include <QAbstractTextDocumentLayout>
#include <QPageSize>
#include <QPainter>
#include <QPagedPaintDevice>
#include <QTextDocument>

namespace {

// Draws the page'th slice of the laid-out document into the body rectangle of the page.
void printPage(int page, QPainter &painter, QTextDocument &doc, const QRectF &body)
{
    painter.save();
    painter.translate(body.left(), body.top() - page * body.height());
    const QRectF view(0, page * body.height(), body.width(), body.height());
    painter.setClipRect(view);
    QAbstractTextDocumentLayout::PaintContext context;
    // A line pushed over to the next page starts right at this page's bottom edge; rounding can
    // put it a hair above, so lines are only drawn when they start clearly inside the page.
    context.clip = view.adjusted(0, 0, 0, -2);
    context.palette.setColor(QPalette::Text, Qt::black);
    doc.documentLayout()->draw(&painter, context);
    painter.restore();
}

} // namespace

void DocumentPrinter::print(QTextDocument &doc, QPagedPaintDevice &printer, const QString &printerName)
{
    // Margins are measured from the edge of the paper.
    QPageLayout layout = printer.pageLayout();
    layout.setMode(QPageLayout::FullPageMode);
    printer.setPageLayout(layout);
    QPainter painter;
    if (!painter.begin(&printer))
        throw Failure(QStringLiteral("Cannot print to \"%1\"").arg(printerName));

    const int resolution = printer.logicalDpiX();
    const QRectF paper = layout.fullRectPixels(resolution);
    const double margin = kMarginInches * resolution;
    QRectF body = paper.adjusted(margin, margin, -margin, -margin);
    if (body.width() < margin || body.height() < margin)
        body = paper; // a paper too small for margins is printed edge to edge

    doc.documentLayout()->setPaintDevice(&printer);
    doc.setDocumentMargin(0);
    doc.setPageSize(body.size());
    const int pages = std::max(1, doc.pageCount());
    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !printer.newPage())
            throw Failure(QStringLiteral("Cannot print to \"%1\"").arg(printerName));
        printPage(page, painter, doc, body);
    }
    painter.end();
}

QSizeF DocumentPrinter::smallestTextArea()
{
    const QSizeF a4 = QPageSize(QPageSize::A4).size(QPageSize::Inch);
    const QSizeF letter = QPageSize(QPageSize::Letter).size(QPageSize::Inch);
    const QSizeF paper(std::min(a4.width(), letter.width()), std::min(a4.height(), letter.height()));
    return (paper - QSizeF(2 * kMarginInches, 2 * kMarginInches)) * 96.0;
}
