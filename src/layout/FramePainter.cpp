#include "layout/FramePainter.h"
#include "layout/EdgePainter.h"
#include "layout/FrameBox.h"
#include "layout/FrameLayouter.h"
#include "layout/ParagraphPainter.h"
#include "layout/TableBox.h"
#include "layout/TablePainter.h"

#include <QPainter>
#include <QTextBlock>
#include <QTextLayout>
#include <QTextTable>

void FramePainter::paintBorder(QPainter *painter, const QRectF &area, qreal border, const QBrush &brush,
                               QTextFrameFormat::BorderStyle style)
{
    const bool aliased = !(painter->renderHints() & QPainter::Antialiasing);
    painter->setRenderHint(QPainter::Antialiasing);
    const QRectF rect = area.toRect();
    EdgePainter::paint(painter, QRectF(QPointF(rect.left(), rect.top()), QPointF(rect.left() + border, rect.bottom() + border)),
                       EdgePainter::Left, style, brush);
    EdgePainter::paint(painter, QRectF(QPointF(rect.left() + border, rect.top()), QPointF(rect.right() + border, rect.top() + border)),
                       EdgePainter::Top, style, brush);
    EdgePainter::paint(painter, QRectF(QPointF(rect.right(), rect.top() + border), QPointF(rect.right() + border, rect.bottom())),
                       EdgePainter::Right, style, brush);
    EdgePainter::paint(painter, QRectF(QPointF(rect.left() + border, rect.bottom()), QPointF(rect.right() + border, rect.bottom() + border)),
                       EdgePainter::Bottom, style, brush);
    if (aliased)
        painter->setRenderHint(QPainter::Antialiasing, false);
}

void FramePainter::paintDecoration(QPainter *painter, QTextFrame *frame, const FrameBox &box, const QRectF &rect,
                                   const Context &)
{
    const QTextFrameFormat format = frame->frameFormat();
    const QBrush background = format.background();
    if (background != Qt::NoBrush) {
        const QRectF area = rect.adjusted((box.leftMargin + box.border).toReal(), (box.topMargin + box.border).toReal(),
                                          -(box.rightMargin + box.border).toReal(), -(box.bottomMargin + box.border).toReal());
        painter->save();
        if (background.style() < Qt::LinearGradientPattern || background.style() > Qt::ConicalGradientPattern)
            painter->setBrushOrigin(area.topLeft());
        painter->fillRect(area, background);
        painter->restore();
    }
    if (box.border == Fixed())
        return;
    painter->save();
    const qreal border = box.border.toReal();
    const qreal w = rect.width() - 2 * border - (box.leftMargin + box.rightMargin).toReal();
    const qreal h = rect.height() - 2 * border - (box.topMargin + box.bottomMargin).toReal();
    paintBorder(painter, QRectF(rect.left() + box.leftMargin.toReal(), rect.top() + box.topMargin.toReal(), w + border, h + border),
                border, format.borderBrush(), format.borderStyle());
    painter->restore();
}

void FramePainter::paintFrame(QPainter *painter, QTextFrame *frame, QPointF origin, const Context &context)
{
    FrameBox *box = FrameBox::of(frame);
    if (box->dirty)
        return;
    // On whole pixels, so the borders of neighbouring cells meet.
    const QPointF at = QPointF((origin + QPointF(box->x.toReal(), box->y.toReal())).toPoint());
    const QRectF rect(at, QSizeF(box->width.toReal(), box->height.toReal()));
    if (context.clip.isValid()
        && (rect.top() > context.clip.bottom() || rect.bottom() < context.clip.top() || rect.left() > context.clip.right()
            || rect.right() < context.clip.left()))
        return;
    if (auto *table = qobject_cast<QTextTable *>(frame)) {
        TablePainter(*this).paint(painter, table, *static_cast<TableBox *>(box), at, context);
        return;
    }
    paintDecoration(painter, frame, *box, rect, context);
    paintFlow(painter, frame->begin(), at, context);
}

void FramePainter::paintParagraph(QPainter *painter, const QTextBlock &block, QPointF origin, const Context &context,
                                  bool showsCaret)
{
    ParagraphPainter::Options options;
    options.clip = m_layoutClip;
    options.showsCaret = showsCaret;
    options.cursorWidth = m_cursorWidth;
    ParagraphPainter::paint(painter, block, origin, context, m_settings, options);
}

void FramePainter::paintCaret(QPainter *painter, const QTextBlock &block, QPointF origin, const Context &context)
{
    const QPen pen = painter->pen();
    painter->setPen(context.palette.color(QPalette::Text));
    block.layout()->drawCursor(painter, origin, context.cursorPosition - block.position(), m_cursorWidth);
    painter->setPen(pen);
}

void FramePainter::paintFlow(QPainter *painter, QTextFrame::iterator it, QPointF origin, const Context &context)
{
    QTextBlock previousBlock;
    QTextFrame *previousFrame = nullptr;
    for (; !it.atEnd(); ++it) {
        QTextFrame *child = it.currentFrame();
        if (child) {
            paintFrame(painter, child, origin, context);
            // The caret of the empty paragraph the table hides is drawn over the table.
            if (previousBlock.isValid() && previousBlock.contains(context.cursorPosition)
                && FrameLayouter::isEmptyBeforeTable(previousBlock, previousBlock.blockFormat(), child))
                paintCaret(painter, previousBlock, origin, context);
        } else {
            const QTextBlock block = it.currentBlock();
            if (FrameLayouter::isEmptyAfterTable(block, previousFrame)) {
                Context quiet = context;
                quiet.selections.clear();
                paintParagraph(painter, block, origin, quiet, true);
            } else {
                QTextFrame::iterator next = it;
                ++next;
                const bool hidden = FrameLayouter::isEmptyBeforeTable(block, block.blockFormat(),
                                                                       next.atEnd() ? nullptr : next.currentFrame());
                paintParagraph(painter, block, origin, context, !hidden);
            }
        }
        previousBlock = it.currentBlock();
        previousFrame = child;
    }
}
