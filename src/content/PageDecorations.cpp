#include "content/PageDecorations.h"
#include "rtf/HeaderFooter.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextDocument>

#include <algorithm>

void PageDecorations::draw(QPainter &painter, const PageGeometry &geometry, int page, int pageCount) const
{
    drawPart(painter, geometry, true, page, pageCount);
    drawPart(painter, geometry, false, page, pageCount);
}

void PageDecorations::drawPart(QPainter &painter, const PageGeometry &geometry, bool header, int page,
                               int pageCount) const
{
    const std::unique_ptr<QTextDocument> part = HeaderFooter::documentForPage(m_doc, header, page, pageCount);
    if (!part)
        return;
    part->setDocumentMargin(0);
    part->documentLayout()->setPaintDevice(&m_device);
    part->setTextWidth(geometry.body.width());
    const double height = part->size().height();
    const QRectF &paper = geometry.paper;
    const QRectF &body = geometry.body;
    double top;
    QRectF room; // where it may be drawn
    if (header) {
        top = std::max(paper.top(), std::min(geometry.headerTop, body.top() - height));
        room = QRectF(QPointF(paper.left(), paper.top()), QPointF(paper.right(), body.top()));
    } else {
        top = std::min(paper.bottom(), std::max(geometry.footerBottom, body.bottom() + height)) - height;
        room = QRectF(QPointF(paper.left(), body.bottom()), QPointF(paper.right(), paper.bottom()));
    }
    if (room.height() <= 0)
        return;
    painter.save();
    painter.setClipRect(room);
    painter.translate(body.left(), top);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);
    part->documentLayout()->draw(&painter, context);
    painter.restore();
}
