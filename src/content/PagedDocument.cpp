#include "content/PagedDocument.h"
#include "content/FootnotePages.h"
#include "content/ListMarkerDrawing.h"
#include "content/PrintFitting.h"
#include "rtf/HeaderFooter.h"

#include <QAbstractTextDocumentLayout>
#include <algorithm>
#include <QPainter>
#include <QTextBlock>
#include <QTextLayout>
#include <QTextDocument>
#include <QTextFrame>

PagedDocument::PagedDocument(QTextDocument &doc, const PageGeometry &geometry, QPaintDevice &device)
    : m_doc(doc), m_geometry(geometry), m_fonts(doc, device)
{
    doc.setDocumentMargin(0);
    PrintFitting::fit(doc, geometry.bodyInFormatUnits());
    doc.documentLayout()->setPaintDevice(&device);
    layOut(1.0);
    // Laying out on a wider page makes tables with proportional columns wider too, so the widest
    // part is measured again; twice more is plenty.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const double widest = widestFrame();
        if (widest <= m_page.width() * 1.001)
            break;
        layOut(m_scale * m_page.width() / widest);
    }
    const double point = m_geometry.resolution / 72.0 / m_scale;
    m_footnotes = std::make_unique<FootnotePages>(doc, m_page, point, device);
    if (!m_footnotes->isEmpty())
        m_pageCount = std::max(1, m_doc.pageCount()); // the notes pushed text on
    fillPageFields();
    m_markers = ListMarkerDrawing::items(doc);
}

// Page figures in the text (PAGE and NUMPAGES fields) show the page they print on.
void PagedDocument::fillPageFields()
{
    const QAbstractTextDocumentLayout *layout = m_doc.documentLayout();
    HeaderFooter::fillPageFields(m_doc, [&](int position) {
        const QTextBlock block = m_doc.findBlock(position);
        const QTextLine line = block.layout() ? block.layout()->lineForTextPosition(position - block.position()) : QTextLine();
        const double y = layout->blockBoundingRect(block).top() + (line.isValid() ? line.y() : 0);
        return std::max(1, int(y / m_page.height()) + 1);
    }, m_pageCount);
}

PagedDocument::~PagedDocument() = default;

// The width of the widest table (or other frame) standing in the body. Text always wraps, and
// pictures have been fitted.
double PagedDocument::widestFrame() const
{
    double widest = 0;
    for (QTextFrame *frame : m_doc.rootFrame()->childFrames())
        widest = std::max(widest, m_doc.documentLayout()->frameBoundingRect(frame).width());
    return widest;
}

void PagedDocument::layOut(double scale)
{
    m_scale = scale;
    m_page = m_geometry.body.size() / scale;
    m_doc.setPageSize(m_page);
    m_pageCount = std::max(1, m_doc.pageCount());
}

void PagedDocument::toBody(QPainter &painter) const
{
    painter.translate(m_geometry.body.topLeft());
    painter.scale(m_scale, m_scale);
}

void PagedDocument::drawBody(QPainter &painter, int page) const
{
    painter.save();
    toBody(painter);
    painter.translate(0, -page * m_page.height());
    // Above the page's footnotes, if it has any.
    const QRectF slice(0, page * m_page.height(), m_page.width(), m_footnotes->notesTop(page));
    // Only the page's own slice is drawn, but across the whole sheet: what fitting could not
    // narrow shows in the margin rather than being cut off at the body's edge.
    const double left = m_geometry.body.left() / m_scale;
    const double right = (m_geometry.paper.right() - m_geometry.body.right()) / m_scale;
    painter.setClipRect(slice.adjusted(-left, 0, right, 0));
    QAbstractTextDocumentLayout::PaintContext context;
    // A line pushed over to the next page starts right at this page's bottom edge; rounding can
    // put it a hair above, so lines are only drawn when they start clearly inside the page.
    context.clip = slice.adjusted(-left, 0, right, -2);
    context.palette.setColor(QPalette::Text, Qt::black);
    m_doc.documentLayout()->draw(&painter, context);
    drawMarkers(painter, context.clip);
    painter.restore();
}

// The list markers Qt cannot number as the file says, for the paragraphs in `area`.
void PagedDocument::drawMarkers(QPainter &painter, const QRectF &area) const
{
    // A marker stands at its paragraph's first line: a line's height above the area is enough.
    const double from = area.top() - m_page.height() / 4;
    const auto first = std::lower_bound(m_markers.begin(), m_markers.end(), from,
                                        [](const ListMarkerDrawing::Item &item, double top) { return item.rect.top() < top; });
    for (auto it = first; it != m_markers.end() && it->rect.top() <= area.bottom(); ++it)
        ListMarkerDrawing::draw(painter, it->block, it->rect.topLeft(), Qt::black, m_doc.documentLayout()->paintDevice());
}

void PagedDocument::drawFootnotes(QPainter &painter, int page) const
{
    painter.save();
    toBody(painter);
    m_footnotes->draw(painter, page);
    painter.restore();
}
