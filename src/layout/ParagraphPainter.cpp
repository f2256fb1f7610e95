#include "layout/ParagraphPainter.h"
#include "layout/LayoutSettings.h"
#include "layout/ListItemMarker.h"

#include <QPainter>
#include <QTextBlock>
#include <QTextLayout>
#include <QTextList>

namespace {

void fillBackground(QPainter *painter, const QRectF &rect, const QBrush &brush, QPointF origin)
{
    painter->save();
    if (brush.style() < Qt::LinearGradientPattern || brush.style() > Qt::ConicalGradientPattern)
        painter->setBrushOrigin(origin);
    painter->fillRect(rect, brush);
    painter->restore();
}

// The selections of the paint context, as ranges of this paragraph.
QList<QTextLayout::FormatRange> selectionsIn(const QTextBlock &block,
                                             const QAbstractTextDocumentLayout::PaintContext &context,
                                             const QTextCharFormat **wholeBlock)
{
    QList<QTextLayout::FormatRange> ranges;
    const int position = block.position();
    const int length = block.length();
    for (const QAbstractTextDocumentLayout::Selection &selection : context.selections) {
        const int start = selection.cursor.selectionStart() - position;
        const int end = selection.cursor.selectionEnd() - position;
        if (start < length && end > 0 && end > start) {
            ranges.append({start, end - start, selection.format});
        } else if (!selection.cursor.hasSelection() && selection.format.hasProperty(QTextFormat::FullWidthSelection)
                   && block.contains(selection.cursor.position())) {
            // A full-width selection marks the line of its cursor.
            const QTextLine line = block.layout()->lineForTextPosition(selection.cursor.position() - position);
            QTextLayout::FormatRange range{line.textStart(), line.textLength(), selection.format};
            if (range.start + range.length == length - 1)
                ++range.length; // with the paragraph's end
            ranges.append(range);
        }
        if (start < 0 && end >= 1)
            *wholeBlock = &selection.format;
    }
    return ranges;
}

void paintRule(QPainter *painter, const QTextBlock &block, const QRectF &rect,
               const QAbstractTextDocumentLayout::PaintContext &context)
{
    const QTextBlockFormat format = block.blockFormat();
    const qreal width = format.lengthProperty(QTextFormat::BlockTrailingHorizontalRulerWidth).value(rect.width());
    const QColor color = format.hasProperty(QTextFormat::BackgroundBrush)
                             ? qvariant_cast<QBrush>(format.property(QTextFormat::BackgroundBrush)).color()
                             : context.palette.color(QPalette::Inactive, QPalette::WindowText);
    painter->setPen(color);
    const qreal y = block.length() == 1 ? rect.top() + rect.height() / 2 : rect.bottom();
    const qreal middle = rect.left() + rect.width() / 2;
    painter->drawLine(QLineF(middle - width / 2, y, middle + width / 2, y));
}

} // namespace

void ParagraphPainter::paint(QPainter *painter, const QTextBlock &block, QPointF offset,
                             const QAbstractTextDocumentLayout::PaintContext &context, const LayoutSettings &settings,
                             const Options &options)
{
    const QTextLayout *layout = block.layout();
    QRectF rect = layout->boundingRect();
    rect.translate(offset + layout->position());
    if (!block.isVisible() || (context.clip.isValid() && (rect.bottom() < context.clip.y() || rect.top() > context.clip.bottom())))
        return;

    const QTextBlockFormat format = block.blockFormat();
    const QBrush background = format.background();
    if (background != Qt::NoBrush && !format.hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth)) {
        QRectF area = rect;
        if (options.wholeWidth)
            area.setRight(options.frameRight);
        fillBackground(painter, area, background, rect.topLeft());
    }

    const QTextCharFormat *wholeBlock = nullptr;
    const QList<QTextLayout::FormatRange> selections = selectionsIn(block, context, &wholeBlock);
    if (block.textList())
        ListItemMarker::paint(painter, block, offset, context, settings, wholeBlock);

    const QPen pen = painter->pen();
    painter->setPen(context.palette.color(QPalette::Text));
    layout->draw(painter, offset, selections, context.clip.isValid() ? (context.clip & options.clip) : options.clip);

    const int position = block.position();
    const bool preedit = context.cursorPosition < -1 && !layout->preeditAreaText().isEmpty();
    if (options.showsCaret
        && ((context.cursorPosition >= position && context.cursorPosition < position + block.length()) || preedit)) {
        int at = context.cursorPosition;
        if (at < -1)
            at = layout->preeditAreaPosition() - (at + 2);
        else
            at -= position;
        layout->drawCursor(painter, offset, at, options.cursorWidth);
    }
    if (format.hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth))
        paintRule(painter, block, rect, context);
    painter->setPen(pen);
}
