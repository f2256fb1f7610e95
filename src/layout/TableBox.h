#pragma once
#include "layout/CellEdges.h"
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
        // Read from the table when it is laid out.
        int rowSpan = 1, columnSpan = 1;
        QTextCharFormat::VerticalAlignment alignment = QTextCharFormat::AlignNormal;
        CellEdges::Edge edges[4];   // its own borders, by side
        Fixed formatPadding[4];     // its paddings as its format (or the table's) gives them
        Fixed padding[4];           // with its share of the borders around it
    };

    int rows = 0;
    int columns = 0;
    bool collapse = false;
    bool drawGrid = false;
    Fixed tableBorder;  // the table's own border width
    qreal gridBorder = 0; // and as its format gives it, for the collapsed model's grid
    Fixed cellBorder;   // each cell's own border, in the separate model
    Fixed cellSpacing;
    Fixed cellPadding;
    Fixed topBorder, bottomBorder, leftBorder, rightBorder; // the table's outer borders
    Fixed headerHeight;
    std::vector<Fixed> minimumWidths, maximumWidths, widths, columnPositions;
    std::vector<Fixed> heights, rowPositions;
    std::vector<Fixed> verticalOffsets; // of each cell's content, by grid slot (row * columns + column)
    std::vector<Cell> cells;            // by the cell's first slot
    std::vector<int> owners;            // by grid slot: the first slot of the cell covering it
    Fixed contentsWidth;                // from the first column's left edge to the last one's right
    bool nearTop = false;               // laid out close to the document's top, which its first row keeps clear of
    Fixed absoluteY = Fixed::max();     // where it stood in the document then, where known
    Fixed effectiveTop;                 // the top edges of the frames around it and its own
    QTextOption::WrapMode wrapMode = QTextOption::WrapAtWordBoundaryOrAnywhere; // its cells were measured with

    Cell &cell(int row, int column) { return cells[std::size_t(row * columns + column)]; }
    int rowOf(int slot) const { return slot / columns; }
    int columnOf(int slot) const { return slot % columns; }
    // The first slot of a cell of the table as laid out, or -1.
    int slotOf(const QTextTableCell &cell) const;
    Fixed cellWidth(int column, int span) const;
    // Where a cell's content starts, from the table's top left corner.
    QPointF cellPosition(const QTextTableCell &cell) const;
    // The cell's area, borders excluded, from the table's top left corner.
    QRectF cellRect(int slot) const;
    qreal scale = 1; // the layout's device scale when it was laid out, for the cells' own lengths
};
