#pragma once
#include <QTextTableCell>

class QTextTable;
class TableBox;

// The border at one side of a table cell, decided as Qt's document layout decides it. A side the
// cell's format gives a style has that border; otherwise, with the table's grid on (the collapsed
// model with a table border), a one-pixel grid line, or the table's own border at the table's outer
// edges when it is wider. In the collapsed model neighbouring cells share their border: the wider
// one wins, at equal widths the stronger kind (the cell's own over the table's over the grid).
class CellEdges
{
public:
    enum Side { Top, Right, Bottom, Left }; // the order of CSS edges: odd ones are vertical
    struct Edge
    {
        enum Kind { Missing, None, Grid, TableBorder, Own };
        qreal width = 0;
        QTextTableCell cell; // whose border it is
        Side side = Top;     // of that cell
        Kind kind = Missing;
        bool operator<(const Edge &other) const;
        bool operator>(const Edge &other) const { return other < *this; }
    };

    CellEdges(QTextTable *table, const TableBox &box) : m_table(table), m_box(box) {}

    // The border of this side of the cell, its neighbour's considered.
    Edge shared(const QTextTableCell &cell, Side side) const;
    // The part of that border inside the cell's padding, scaled to the device: half of it in the
    // collapsed model, all of it in the separate one.
    qreal inCell(const QTextTableCell &cell, Side side) const;
    // The cell's own border at a side.
    Edge own(const QTextTableCell &cell, Side side) const;
    QTextTableCell neighbour(const QTextTableCell &cell, Side side) const;
    QTextTable *table() const { return m_table; }

    static Side opposite(Side side) { return Side((side + 2) % 4); }
    static bool isVertical(Side side) { return side % 2 > 0; }
    static bool sameAxis(Side a, Side b) { return a == b || a == opposite(b); }
    // Whether the two cells' sides lie on one line across the table.
    static bool shareAxis(const QTextTableCell &cell, Side side, const QTextTableCell &other, Side otherSide);

private:
    QTextTable *m_table;
    const TableBox &m_box;
};
