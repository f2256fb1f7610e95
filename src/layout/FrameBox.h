#pragma once
#include "layout/Fixed.h"
#include "layout/FloatArea.h"

#include <QTextFrame>

// What the layout knows of one frame below the document's top frame (a floating picture, a group
// of paragraphs in a box; tables have a TableBox): its place and size, its edges (margin, border
// and padding) and the floats of its own flow. Kept on the frame (QTextFrame::setLayoutData), so
// it goes when the frame goes.
class FrameBox : public QTextFrameLayoutData
{
public:
    // The frame's box, made when it has none of ours yet.
    static FrameBox *of(QTextFrame *frame);

    bool dirty = true;
    // Relative to the origin of the flow it stands in (a frame's top left corner, or a table
    // cell's content); in the document's top frame only x is kept, as y follows the paragraphs
    // above it.
    Fixed x, y;
    Fixed width, height; // margins, borders and padding included
    Fixed minimumWidth, maximumWidth;
    Fixed leftEdge, rightEdge, topEdge, bottomEdge; // margin + border + padding of each side
    Fixed border, padding;
    Fixed leftMargin, rightMargin, topMargin, bottomMargin;
    FloatArea floats; // in the frame's coordinates
    Fixed laidOutWidth = Fixed::fromInt(-1); // the width it was given last
};
