#pragma once
#include "layout/Fixed.h"
#include "layout/LayoutSettings.h"

#include <QTextFrame>

class FloatArea;
class FrameBox;
class QTextBlock;
class QTextBlockFormat;

// Lays out the frames below the document's top frame, each whole: a frame's content as a flow of
// paragraphs and frames, as Qt's document layout does it (margins between paragraphs collapse, an
// empty paragraph right before or after a table hides in it, floating frames stand at the side
// with the lines going around them), and tables through TableLayouter. The top frame is laid out a
// paragraph at a time (RootFlow) with the same steps.
class FrameLayouter
{
public:
    explicit FrameLayouter(const LayoutSettings &settings) : m_settings(settings) {}

    // Where a flow has come to, and how wide its content could be.
    struct Flow
    {
        Fixed y;
        Fixed minimum;
        Fixed maximum = Fixed::max();   // of its frames; none known yet
        Fixed paragraphMaximum;         // of its paragraphs
        Fixed contents;                 // how far right its lines reach
        // The widest the flow's content could be: its paragraphs' or its frames'.
        Fixed widest() const;
    };
    // The column a flow is laid out in; `cellWidth` is the width of a table cell's content (its
    // frames take it), 0 elsewhere (they take their own width, or the column's).
    struct Column
    {
        Fixed left, right;
        Fixed cellWidth;
        Fixed originY = Fixed::max(); // where the flow's origin stands in the document, where known
        Fixed effectiveTop;           // the top margins, borders and paddings of the frames around it
    };

    // Lays out a flow's paragraphs and frames from `it` to its end, from `top` down; `floats`
    // receives the flow's floating frames. A frame's own flow (not a cell's) reaches below the
    // floats standing at its end.
    Flow layoutFlow(QTextFrame::iterator it, const Column &column, Fixed top, FloatArea &floats, bool extendToFloats);

    // One paragraph of a flow at height y: `previous` is the paragraph right before it in the
    // flow (none after a frame or at the flow's start), `previousFrame` the frame right before it,
    // `nextFrame` the frame right after it. Returns where the flow goes on.
    Fixed layoutParagraph(const QTextBlock &block, const QTextBlockFormat &format, const QTextBlockFormat *previous,
                          QTextFrame *previousFrame, QTextFrame *nextFrame, const Column &column, Fixed y,
                          const FloatArea *floats, Flow &flow);

    // A child frame met in a flow at flow.y: a frame in flow is laid out and placed there, and the
    // flow goes on below it; a floating frame goes to the side.
    void placeChild(QTextFrame *child, Flow &flow, const Column &column, FloatArea &floats);

    // Lays out a frame (or table) as `frameWidth` wide, unless it is laid out so already;
    // `absoluteY` is where it stands in the document, where known, and `effectiveTop` the top
    // edges of the frames around it: a table's first row keeps clear of them when it stands at
    // the document's top, as in Qt's layout.
    void layoutFrame(QTextFrame *frame, Fixed frameWidth, Fixed absoluteY = Fixed::max(), Fixed effectiveTop = Fixed());
    // The width a frame takes in a column this wide: its own, or the column's.
    Fixed widthIn(QTextFrame *frame, Fixed columnWidth) const;

    const LayoutSettings &settings() const { return m_settings; }
    // Margins, borders and paddings of frames are whole pixels at the device's resolution.
    Fixed roundedScaled(qreal length) const { return m_settings.scaledFixed(length).round(); }

    static bool isEmptyBeforeTable(const QTextBlock &block, const QTextBlockFormat &format, QTextFrame *next);
    static bool isEmptyAfterTable(const QTextBlock &block, const QTextFrame *previous);
    static bool startsWithLineSeparatorAfterTable(const QTextBlock &block, const QTextFrame *previous);
    // Places a hidden paragraph after a table at the table's bottom right corner.
    static void hideAfterTable(const QTextBlock &block, QPointF tableBottomRight);

private:
    void layoutBox(QTextFrame *frame, FrameBox &box, Fixed frameWidth, Fixed absoluteY, Fixed effectiveTop);

    LayoutSettings m_settings;
};
