#include "layout/FrameLayouter.h"
#include "layout/FloatArea.h"
#include "layout/FrameBox.h"
#include "layout/ParagraphLayout.h"
#include "layout/TableBox.h"
#include "layout/TableLayouter.h"

#include <QTextBlock>
#include <QTextLayout>
#include <QTextTable>

Fixed FrameLayouter::Flow::widest() const
{
    if (maximum == Fixed::max() && paragraphMaximum > Fixed())
        return paragraphMaximum;
    return std::max(maximum, paragraphMaximum);
}

bool FrameLayouter::isEmptyBeforeTable(const QTextBlock &block, const QTextBlockFormat &format, QTextFrame *next)
{
    return next && qobject_cast<QTextTable *>(next) && block.isValid() && block.length() == 1
        && !format.hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth)
        && !format.hasProperty(QTextFormat::BackgroundBrush) && next->firstPosition() == block.position() + 1;
}

bool FrameLayouter::isEmptyAfterTable(const QTextBlock &block, const QTextFrame *previous)
{
    return qobject_cast<const QTextTable *>(previous) && block.isValid() && block.length() == 1
        && previous->lastPosition() == block.position() - 1;
}

bool FrameLayouter::startsWithLineSeparatorAfterTable(const QTextBlock &block, const QTextFrame *previous)
{
    return qobject_cast<const QTextTable *>(previous) && block.isValid() && block.length() > 1
        && block.text().at(0) == QChar::LineSeparator && previous->lastPosition() == block.position() - 1;
}

void FrameLayouter::hideAfterTable(const QTextBlock &block, QPointF tableBottomRight)
{
    QTextLayout *layout = block.layout();
    layout->setPosition(tableBottomRight - QPointF(0, layout->boundingRect().height()));
}

Fixed FrameLayouter::widthIn(QTextFrame *frame, Fixed columnWidth) const
{
    const QTextLength width = frame->frameFormat().width();
    const Fixed fixed = Fixed::fromReal(width.value(std::max<qreal>(0, columnWidth.toReal())));
    if (width.type() == QTextLength::FixedLength)
        return Fixed::fromReal(m_settings.scaled(fixed.toReal()));
    return fixed;
}

Fixed FrameLayouter::layoutParagraph(const QTextBlock &block, const QTextBlockFormat &format,
                                     const QTextBlockFormat *previous, QTextFrame *previousFrame, QTextFrame *nextFrame,
                                     const Column &column, Fixed y, const FloatArea *floats, Flow &flow)
{
    const Fixed before = y;
    if (previous)
        y += ParagraphLayout::gap(*previous, format, m_settings);
    ParagraphLayout::Column lines{column.left, column.right, y, floats && !floats->isEmpty() ? floats : nullptr};
    const ParagraphLayout::Widths widths = ParagraphLayout::lay(block, format, m_settings, lines);
    flow.minimum = std::max(flow.minimum, widths.minimum);
    flow.paragraphMaximum = std::max(flow.paragraphMaximum, widths.maximum);
    flow.contents = std::max(flow.contents, widths.contents);
    if (isEmptyBeforeTable(block, format, nextFrame))
        return before + Fixed::fromReal(std::max(previous ? previous->bottomMargin() : 0.0, format.topMargin()));
    y = lines.y;
    if (isEmptyAfterTable(block, previousFrame)) {
        const FrameBox *table = FrameBox::of(previousFrame);
        hideAfterTable(block, QPointF((table->x + table->width).toReal(), (table->y + table->height).toReal()));
        y = before;
    }
    if (startsWithLineSeparatorAfterTable(block, previousFrame)) {
        // The line break right after a table starts its paragraph at the table's bottom right.
        QTextLayout *layout = block.layout();
        const FrameBox *table = FrameBox::of(previousFrame);
        const Fixed height = layout->lineCount() > 0 ? Fixed::fromReal(layout->lineAt(0).height()) : Fixed();
        y -= height;
        layout->setPosition(layout->position() - QPointF(0, height.toReal()));
        if (layout->lineCount() > 0)
            layout->lineAt(0).setPosition(QPointF((table->x + table->width).toReal(), (table->y + table->height - height).toReal())
                                          - layout->position());
    }
    return y;
}

FrameLayouter::Flow FrameLayouter::layoutFlow(QTextFrame::iterator it, const Column &column, Fixed top,
                                              FloatArea &floats, bool extendToFloats)
{
    Flow flow;
    flow.y = top;
    floats.clear();
    QTextBlockFormat previousFormat;
    bool afterParagraph = false;
    QTextFrame *previousFrame = nullptr;
    while (!it.atEnd()) {
        if (QTextFrame *child = it.currentFrame()) {
            placeChild(child, flow, column, floats);
            afterParagraph = false;
            previousFrame = child;
            ++it;
            continue;
        }
        const QTextBlock block = it.currentBlock();
        const QTextBlockFormat format = block.blockFormat();
        ++it;
        QTextFrame *nextFrame = it.atEnd() ? nullptr : it.currentFrame();
        flow.y = layoutParagraph(block, format, afterParagraph ? &previousFormat : nullptr, previousFrame, nextFrame,
                                 column, flow.y, &floats, flow);
        afterParagraph = true;
        previousFormat = format;
        previousFrame = nullptr;
    }
    flow.maximum = flow.widest();
    if (extendToFloats)
        for (const FloatArea::Float &f : floats.floats())
            flow.y = std::max(flow.y, f.y + f.height);
    return flow;
}

void FrameLayouter::placeChild(QTextFrame *child, Flow &flow, const Column &column, FloatArea &floats)
{
    FrameBox *box = FrameBox::of(child);
    const QTextFrameFormat format = child->frameFormat();
    const Fixed width = column.cellWidth > Fixed() ? column.cellWidth : widthIn(child, column.right - column.left);
    if (format.position() == QTextFrameFormat::InFlow) {
        Fixed left = column.left;
        Fixed right = column.right;
        floats.margins(flow.y, &left, &right);
        left = std::max(left, column.left);
        right = std::min(right, column.right);
        if (right - left < box->width) {
            flow.y = floats.firstFit(flow.y, box->width, column.left, column.right);
            left = column.left;
            right = column.right;
            floats.margins(flow.y, &left, &right);
        }
        layoutFrame(child, width, column.originY == Fixed::max() ? Fixed::max() : column.originY + flow.y, column.effectiveTop);
        Fixed x = left;
        // Aligned only where there is room, from the column's right edge as Qt's layout does.
        if (auto *table = qobject_cast<QTextTable *>(child); table && right - left > box->width) {
            const Qt::Alignment alignment = table->format().alignment() & Qt::AlignHorizontal_Mask;
            if (alignment & Qt::AlignRight)
                x += column.right - box->width;
            else if (alignment & Qt::AlignHCenter)
                x += (column.right - box->width) / 2;
        }
        box->x = x;
        box->y = flow.y;
        flow.y += box->height;
    } else {
        layoutFrame(child, width, Fixed::max(), column.effectiveTop);
        const Fixed y = floats.firstFit(flow.y, box->width, column.left, column.right);
        Fixed left = column.left;
        Fixed right = column.right;
        floats.margins(y, &left, &right);
        const bool leftSide = format.position() == QTextFrameFormat::FloatLeft;
        box->x = leftSide ? left : right - box->width;
        box->y = y;
        floats.add({child, box->x, box->y, box->width, box->height, leftSide});
    }
    flow.minimum = std::max(flow.minimum, box->minimumWidth);
    flow.maximum = std::min(flow.maximum, box->maximumWidth);
}

void FrameLayouter::layoutFrame(QTextFrame *frame, Fixed frameWidth, Fixed absoluteY, Fixed effectiveTop)
{
    FrameBox *box = FrameBox::of(frame);
    if (auto *table = qobject_cast<QTextTable *>(frame)) {
        TableLayouter(*this).layout(table, *static_cast<TableBox *>(box), frameWidth, absoluteY, effectiveTop);
        return;
    }
    if (!box->dirty && box->laidOutWidth == frameWidth)
        return;
    layoutBox(frame, *box, frameWidth, absoluteY, effectiveTop);
    box->laidOutWidth = frameWidth;
    box->dirty = false;
}

void FrameLayouter::layoutBox(QTextFrame *frame, FrameBox &box, Fixed frameWidth, Fixed absoluteY, Fixed effectiveTop)
{
    const QTextFrameFormat format = frame->frameFormat();
    box.topMargin = roundedScaled(format.topMargin());
    box.bottomMargin = roundedScaled(format.bottomMargin());
    box.leftMargin = roundedScaled(format.leftMargin());
    box.rightMargin = roundedScaled(format.rightMargin());
    box.border = roundedScaled(format.border());
    box.padding = roundedScaled(format.padding());
    box.leftEdge = box.leftMargin + box.border + box.padding;
    box.rightEdge = box.rightMargin + box.border + box.padding;
    box.topEdge = box.topMargin + box.border + box.padding;
    box.bottomEdge = box.bottomMargin + box.border + box.padding;

    const Fixed contentsWidth = frameWidth - box.leftEdge - box.rightEdge;
    const Column column{box.leftEdge, box.leftEdge + contentsWidth, Fixed(), absoluteY, effectiveTop + box.topEdge};
    const Flow flow = layoutFlow(frame->begin(), column, box.topEdge, box.floats, true);

    Fixed widestChild;
    for (QTextFrame *child : frame->childFrames())
        widestChild = std::max(widestChild, FrameBox::of(child)->width);
    const Fixed actualWidth = std::max({contentsWidth, widestChild, flow.contents});
    box.minimumWidth = flow.minimum;
    box.maximumWidth = flow.maximum;
    const QTextLength height = format.height();
    if (height.type() == QTextLength::FixedLength)
        box.height = Fixed::fromReal(height.rawValue());
    else
        box.height = flow.y + box.bottomEdge;
    box.width = actualWidth + box.leftEdge + box.rightEdge;
}
