#include "content/ListMarkerDrawing.h"
#include "rtf/ListMarkers.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextList>
#include <algorithm>

std::vector<ListMarkerDrawing::Item> ListMarkerDrawing::items(const QTextDocument &doc)
{
    std::vector<Item> found;
    const QAbstractTextDocumentLayout *layout = doc.documentLayout();
    for (const QTextList *list : doc.findChildren<QTextList *>(QString(), Qt::FindDirectChildrenOnly)) {
        for (int i = 0; i < list->count(); ++i) {
            const QTextBlock block = list->item(i);
            if (ListMarkers::drawnByProgram(block))
                found.push_back({block, layout->blockBoundingRect(block)});
        }
    }
    std::sort(found.begin(), found.end(), [](const Item &a, const Item &b) { return a.rect.top() < b.rect.top(); });
    return found;
}

void ListMarkerDrawing::draw(QPainter &painter, const QTextBlock &block, QPointF blockTopLeft, const QBrush &text,
                             QPaintDevice *device)
{
    const QTextLayout *layout = block.layout();
    const QString marker = ListMarkers::text(block);
    if (!layout || layout->lineCount() == 0 || marker.isEmpty())
        return;
    const QTextCharFormat format = block.charFormat();
    QFont font = format.font().resolve(block.document()->defaultFont());
    if (device)
        font = QFont(font, device);
    const QRectF line = layout->lineAt(0).naturalTextRect();
    const QPointF start = blockTopLeft + line.topLeft();
    const QFontMetricsF metrics(font, device);
    const bool rightToLeft = block.textDirection() == Qt::RightToLeft;
    const double space = metrics.horizontalAdvance(u' ');
    QTextLayout markerLayout(marker, font, device);
    QTextOption option(Qt::AlignLeft | Qt::AlignAbsolute);
    option.setTextDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    markerLayout.setTextOption(option);
    markerLayout.beginLayout();
    QTextLine markerLine = markerLayout.createLine();
    markerLine.setLineWidth(1e6);
    markerLayout.endLayout();
    const double width = markerLine.naturalTextWidth();
    const double x = rightToLeft ? start.x() + line.width() + space : start.x() - space - width;
    painter.save();
    const QBrush brush = format.foreground().style() != Qt::NoBrush ? format.foreground() : text;
    painter.setPen(QPen(brush, 0));
    markerLayout.draw(&painter, QPointF(x, start.y()));
    painter.restore();
}
