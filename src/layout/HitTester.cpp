#include "layout/HitTester.h"
#include "layout/FrameBox.h"
#include "layout/FrameLayouter.h"
#include "layout/TableBox.h"

#include <QTextBlock>
#include <QTextLayout>
#include <QTextTable>

HitTester::Hit HitTester::paragraph(const QTextBlock &block, QPointF point, int *position) const
{
    const QTextLayout *layout = block.layout();
    QRectF rect = layout->boundingRect();
    rect.translate(layout->position());
    *position = block.position();
    if (point.y() < rect.top() - block.blockFormat().topMargin())
        return Before;
    if (point.y() > rect.bottom()) {
        *position += block.length();
        return After;
    }
    const QPointF inLayout = point - layout->position();
    Hit hit = Inside;
    int offset = 0;
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        const QRectF lineRect = line.naturalTextRect();
        if (lineRect.top() > inLayout.y()) {
            offset = std::min(offset, line.textStart());
        } else if (lineRect.bottom() <= inLayout.y()) {
            offset = std::max(offset, line.textStart() + line.textLength());
        } else {
            if (lineRect.left() <= inLayout.x() && lineRect.right() >= inLayout.x())
                hit = Exact;
            // An anchor is hit across the whole of its characters, not only their left halves.
            offset = line.xToCursor(inLayout.x(), m_accuracy == Qt::ExactHit ? QTextLine::CursorOnCharacter
                                                                                : QTextLine::CursorBetweenCharacters);
            break;
        }
    }
    *position += offset;
    return hit;
}

HitTester::Hit HitTester::flow(QTextFrame::iterator it, Hit hit, QPointF point, int *position) const
{
    for (; !it.atEnd(); ++it) {
        int found = -1;
        Hit h;
        if (QTextFrame *child = it.currentFrame()) {
            h = frame(child, point, &found);
        } else {
            h = paragraph(it.currentBlock(), point, &found);
        }
        if (h >= Inside) {
            QTextFrame::iterator next = it;
            ++next;
            if (!it.currentFrame()
                && FrameLayouter::isEmptyBeforeTable(it.currentBlock(), it.currentBlock().blockFormat(),
                                                     next.atEnd() ? nullptr : next.currentFrame()))
                continue;
            *position = found;
            return h;
        }
        if (h == Before && found < *position) {
            *position = found;
            hit = h;
        } else if (h == After && found > *position) {
            *position = found;
            hit = h;
        }
    }
    return hit;
}

HitTester::Hit HitTester::frame(QTextFrame *frame, QPointF point, int *position) const
{
    const FrameBox *box = FrameBox::of(frame);
    if (box->dirty)
        return After;
    const QPointF relative = point - QPointF(box->x.toReal(), box->y.toReal());
    if (relative.y() < 0 || relative.x() < 0) {
        *position = frame->firstPosition() - 1;
        return Before;
    }
    if (relative.y() > box->height.toReal() || relative.x() > box->width.toReal()) {
        *position = frame->lastPosition() + 1;
        return After;
    }
    if (auto *t = qobject_cast<QTextTable *>(frame))
        return table(t, relative, position);
    QTextFrame::iterator it = frame->begin();
    *position = it.currentFrame() ? it.currentFrame()->firstPosition() : it.currentBlock().position();
    return flow(it, Before, relative, position);
}

HitTester::Hit HitTester::table(QTextTable *table, QPointF point, int *position) const
{
    const TableBox *box = TableBox::of(table);
    if (box->rows == 0 || box->columns == 0)
        return Before;
    const auto pick = [](const std::vector<Fixed> &positions, qreal at) {
        auto it = std::lower_bound(positions.begin(), positions.end(), Fixed::fromReal(at));
        if (it == positions.end())
            it = positions.end() - 1;
        else if (it != positions.begin())
            --it;
        return int(it - positions.begin());
    };
    const QTextTableCell cell = table->cellAt(pick(box->rowPositions, point.y()), pick(box->columnPositions, point.x()));
    if (!cell.isValid())
        return Before;
    *position = cell.firstPosition();
    const Hit hit = flow(cell.begin(), Inside, point - box->cellPosition(cell), position);
    if (hit == Exact)
        return hit;
    if (hit == After)
        *position = cell.lastPosition();
    return Inside;
}
