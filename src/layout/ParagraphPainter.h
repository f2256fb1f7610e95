#pragma once
#include <QAbstractTextDocumentLayout>

class QPainter;
class QTextBlock;
struct LayoutSettings;

// Paints one laid-out paragraph as Qt's document layout paints it: its background, the marker of a
// list item, its text with the selections that touch it, and the caret when it is in it.
class ParagraphPainter
{
public:
    struct Options
    {
        QRectF clip;             // the frame's content, which full-width selections stop at
        bool showsCaret = true;  // false for the hidden empty paragraph before a table
        bool wholeWidth = false; // the background reaches the frame's right edge (a page of no width)
        qreal frameRight = 0;
        int cursorWidth = 1;
    };

    // `offset` places the paragraph's frame: the layout's position is relative to it.
    static void paint(QPainter *painter, const QTextBlock &block, QPointF offset,
                      const QAbstractTextDocumentLayout::PaintContext &context, const LayoutSettings &settings,
                      const Options &options);
};
