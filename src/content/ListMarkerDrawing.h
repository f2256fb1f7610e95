#pragma once
#include <QBrush>
#include <QPointF>
#include <QRectF>
#include <QTextBlock>
#include <vector>

class QPainter;
class QPaintDevice;
class QTextDocument;

// Draws the list markers the program draws instead of Qt (ListMarkers::drawnByProgram) where Qt
// would draw its own: before the item's first line (after it, right to left), one space away, in
// the item's paragraph mark format.
class ListMarkerDrawing
{
public:
    // The items of a laid-out document whose markers the program draws, with their places in the
    // document, from top to bottom.
    struct Item
    {
        QTextBlock block;
        QRectF rect;
    };
    static std::vector<Item> items(const QTextDocument &doc);

    // Draws an item's marker; `blockTopLeft` is where the block's bounding rectangle starts in
    // the painter's coordinates. Text without a colour of its own is drawn with `text`; fonts are
    // those of `device` (the layout's paint device), when given.
    static void draw(QPainter &painter, const QTextBlock &block, QPointF blockTopLeft, const QBrush &text,
                     QPaintDevice *device);
};
