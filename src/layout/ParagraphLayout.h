#pragma once
#include "layout/Fixed.h"

class FloatArea;
class QTextBlock;
class QTextBlockFormat;
struct LayoutSettings;

// Lays out the lines of one paragraph (its QTextBlock's own QTextLayout) in a column, the way Qt's
// document layout does: margins, indents (list levels included), the first line's indent,
// alignment and direction, tabs, line heights, and lines that keep clear of floating frames. The
// layout's position is the column's left edge at the paragraph's top; its lines are placed from
// there.
class ParagraphLayout
{
public:
    struct Column
    {
        Fixed left, right; // the flow's content edges, in its frame's coordinates
        Fixed y;           // where the first line goes; moved below the last
        const FloatArea *floats = nullptr; // in the same coordinates
    };
    struct Widths
    {
        Fixed minimum;  // the longest piece that cannot break, with the margins
        Fixed maximum;  // the lines laid side by side, with the margins; 0 for an empty paragraph
        Fixed contents; // how far right the widest line reaches
    };

    static Widths lay(const QTextBlock &block, const QTextBlockFormat &format, const LayoutSettings &settings,
                      Column &column);

    // The space between two paragraphs that follow each other: the larger of the first one's
    // bottom margin and the second one's top margin.
    static Fixed gap(const QTextBlockFormat &previous, const QTextBlockFormat &format, const LayoutSettings &settings);
    // The indent of the paragraph's level (its own and its list's), scaled to the device.
    static Fixed indent(const QTextBlock &block, const QTextBlockFormat &format, const LayoutSettings &settings);
};
