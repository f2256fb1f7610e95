#pragma once
#include "layout/FrameLayouter.h"

class QTextTable;
class QTextTableCell;
class TableBox;

// Lays out a table as Qt's document layout does: columns sized from their width constraints
// (fixed, percentage, or variable between the narrowest and the widest their cells' text allows),
// cells laid out in their columns, rows as high as their highest cell (a cell spanning rows grows
// the last of them), the content of a cell aligned to its top, middle or bottom. A cell whose
// content did not change keeps its layout: an edit lays out again the cell it is in (twice: once
// to measure it), and the rest only when the columns have to change.
class TableLayouter
{
public:
    // `rootTop` is the document's top margin.
    TableLayouter(FrameLayouter &frames, Fixed rootTop = Fixed()) : m_frames(frames), m_settings(frames.settings()), m_rootTop(rootTop) {}

    // `width` is the width the table takes (Qt's frame width); `absoluteY`, where its top stands in
    // the document, keeps its first row below the document's top margin as Qt's layout does.
    void layout(QTextTable *table, TableBox &box, Fixed width, Fixed absoluteY = Fixed::max());

private:
    void readFormat(QTextTable *table, TableBox &box);
    bool measureCells(QTextTable *table, TableBox &box, bool all);
    void sizeColumns(QTextTable *table, TableBox &box, Fixed contentsWidth);
    void layoutRows(QTextTable *table, TableBox &box, Fixed firstRowTop);
    void alignCells(QTextTable *table, TableBox &box);
    FrameLayouter::Flow layoutCell(QTextTable *table, TableBox &box, const QTextTableCell &cell, Fixed width);

    FrameLayouter &m_frames;
    LayoutSettings m_settings;
    Fixed m_rootTop;
};
