#pragma once
#include <QBrush>
#include <QTextFrameFormat>

class QPainter;
class QRectF;

// Draws one side of a frame's or a table cell's border in its style, as Qt draws borders of rich
// text: solid, dotted, dashed, dot-dash, double, groove, ridge, inset and outset (the last four
// shaded lighter on one side).
class EdgePainter
{
public:
    enum Side { Top, Right, Bottom, Left };

    static void paint(QPainter *painter, const QRectF &rect, Side side, QTextFrameFormat::BorderStyle style,
                      QBrush brush);
};
