#pragma once
#include <QTextFormat>

class TableBox;

// The border at one side of a table cell, decided as Qt's document layout decides it. A side the
// cell's format gives a style has that border; otherwise, with the table's grid on (the collapsed
// model with a table border), a one-pixel grid line, or the table's own border at the table's outer
// edges when it is wider. In the collapsed model neighbouring cells share their border: the wider
// one wins, at equal widths the stronger kind (the cell's own over the table's over the grid).
//
// Cells are named by their first slot in the table's grid (row * columns + column), as the table's
// box knows them; -1 is no cell. The cells' own borders are read from their formats once, when the
// table is laid out.
class CellEdges
{
public:
    enum Side { Top, Right, Bottom, Left }; // the order of CSS edges: odd ones are vertical
    struct Edge
    {
        enum Kind { Missing, None, Grid, TableBorder, Own };
        qreal width = 0;
        int cell = -1;   // whose border it is
        Side side = Top; // of that cell
        Kind kind = Missing;
        bool operator<(const Edge &other) const;
        bool operator>(const Edge &other) const { return other < *this; }
    };

    explicit CellEdges(const TableBox &box) : m_box(box) {}

    // The border a cell with this format has at a side of its own.
    static Edge read(const TableBox &box, const QTextCharFormat &format, int cell, Side side);

    // The border of this side of the cell, its neighbour's considered.
    Edge shared(int cell, Side side) const;
    // The part of that border inside the cell's padding, scaled to the device: half of it in the
    // collapsed model, all of it in the separate one.
    qreal inCell(int cell, Side side) const;
    // The cell's own border at a side.
    Edge own(int cell, Side side) const;
    int neighbour(int cell, Side side) const;
    // Whether the two cells' sides lie on one line across the table.
    bool shareAxis(int cell, Side side, int other, Side otherSide) const;

    static Side opposite(Side side) { return Side((side + 2) % 4); }
    static bool isVertical(Side side) { return side % 2 > 0; }
    static bool sameAxis(Side a, Side b) { return a == b || a == opposite(b); }

private:
    const TableBox &m_box;
};
