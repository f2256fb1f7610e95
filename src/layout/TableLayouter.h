#pragma once
#include "layout/FrameLayouter.h"

#include <QDeadlineTimer>

class QTextTable;
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
    explicit TableLayouter(FrameLayouter &frames) : m_frames(frames), m_settings(frames.settings()) {}

    // `width` is the width the table takes (Qt's frame width). A table at the document's top keeps
    // its first row clear of the top edges of the frames around it (`effectiveTop`), as in Qt's
    // layout: `absoluteY` is where the table stands, where known.
    void layout(QTextTable *table, TableBox &box, Fixed width, Fixed absoluteY = Fixed::max(), Fixed effectiveTop = Fixed());
    // Lays out the table's cells ahead of the table, as layout() would, for no longer than until
    // `deadline`: a big table is laid out over several idle moments, layout() then finding its
    // cells done. Returns whether they all are.
    bool layoutCells(QTextTable *table, TableBox &box, Fixed width, const QDeadlineTimer &deadline);

private:
    bool reshape(QTextTable *table, TableBox &box);
    Fixed spaceFor(const TableBox &box, Fixed width) const;
    void readFormat(QTextTable *table, TableBox &box);
    void readCells(QTextTable *table, TableBox &box);
    bool measureCells(QTextTable *table, TableBox &box, bool all, const QDeadlineTimer *deadline = nullptr);
    void sizeColumns(QTextTable *table, TableBox &box, Fixed contentsWidth);
    void layoutRows(QTextTable *table, TableBox &box, Fixed firstRowTop);
    void alignCells(TableBox &box);
    FrameLayouter::Flow layoutCell(QTextTable *table, TableBox &box, int slot, Fixed width, Fixed originY = Fixed::max());

    FrameLayouter &m_frames;
    LayoutSettings m_settings;
};
