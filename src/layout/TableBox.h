#pragma once
#include "layout/FrameBox.h"

#include <QTextOption>
#include <vector>

class QTextTable;
class QTextTableCell;

// What the layout knows of one table: its grid (column and row positions, from the table's top
// left corner), and of each cell its content's height and widths, so an edit lays out again only
// the cell it is in. Borders and paddings follow Qt's table model, collapsed or separate.
class TableBox : public FrameBox
{
public:
    static TableBox *of(QTextTable *table);

    struct Cell
    {
        bool dirty = true;
        Fixed height;          // of the content
        Fixed minimum, maximum; // widths of the content
        Fixed width;           // the width it was laid out in
        Fixed originY = Fixed::max(); // where its content stood in the document then, near its top
        FloatArea floats;
    };

    int rows = 0;
    int columns = 0;
    bool collapse = false;
    bool drawGrid = false;
    Fixed tableBorder;  // the table's own border width
    Fixed cellBorder;   // each cell's own border, in the separate model
    Fixed cellSpacing;
    Fixed cellPadding;
    Fixed topBorder, bottomBorder, leftBorder, rightBorder; // the table's outer borders
    Fixed headerHeight;
    std::vector<Fixed> minimumWidths, maximumWidths, widths, columnPositions;
    std::vector<Fixed> heights, rowPositions;
    std::vector<Fixed> verticalOffsets; // of each cell's content, by grid slot (row * columns + column)
    std::vector<Cell> cells;            // by the cell's first slot
    Fixed contentsWidth;                // from the first column's left edge to the last one's right
    bool nearTop = false;               // laid out close to the document's top, which its first row keeps clear of
    Fixed absoluteY = Fixed::max();     // where it stood in the document then, where known
    Fixed effectiveTop;                 // the top edges of the frames around it and its own
    QTextOption::WrapMode wrapMode = QTextOption::WrapAtWordBoundaryOrAnywhere; // its cells were measured with

    Cell &cell(int row, int column) { return cells[std::size_t(row * columns + column)]; }
    Fixed cellWidth(int column, int span) const;
    // Where a cell's content starts, from the table's top left corner.
    QPointF cellPosition(QTextTable *table, const QTextTableCell &cell) const;
    Fixed cellPositionX(QTextTable *table, const QTextTableCell &cell) const;
    Fixed cellPositionY(QTextTable *table, const QTextTableCell &cell) const;
    // The cell's area, borders excluded, from the table's top left corner.
    QRectF cellRect(const QTextTableCell &cell) const;

    Fixed topPadding(QTextTable *table, const QTextTableCell &cell) const;
    Fixed bottomPadding(QTextTable *table, const QTextTableCell &cell) const;
    Fixed leftPadding(QTextTable *table, const QTextTableCell &cell) const;
    Fixed rightPadding(QTextTable *table, const QTextTableCell &cell) const;
    qreal scale = 1; // the layout's device scale when it was laid out, for the cells' own lengths
};
