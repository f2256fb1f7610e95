#pragma once
#include "layout/Fixed.h"

#include <QPointF>
#include <QTextFrame>

class QTextBlock;
class QTextTable;

// Finds the document position at a point, as Qt's document layout does: on a paragraph, the
// character under it (or the nearest caret position); above or below a paragraph or frame, its
// start or end; in a table, the cell under it. Works on what FrameLayouter laid out; the top
// frame's flow is searched by RootFlow, which asks here for its paragraphs and frames.
class HitTester
{
public:
    enum Hit { Before, After, Inside, Exact };

    explicit HitTester(Qt::HitTestAccuracy accuracy) : m_accuracy(accuracy) {}

    // `point` is in the coordinates of the frame's parent flow.
    Hit frame(QTextFrame *frame, QPointF point, int *position) const;
    // `point` is in the coordinates the flow's paragraphs are laid out in.
    Hit flow(QTextFrame::iterator it, Hit hit, QPointF point, int *position) const;
    Hit paragraph(const QTextBlock &block, QPointF point, int *position) const;

private:
    Hit table(QTextTable *table, QPointF point, int *position) const;

    Qt::HitTestAccuracy m_accuracy;
};
