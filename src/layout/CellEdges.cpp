#include "layout/CellEdges.h"
#include "layout/TableBox.h"

namespace {

constexpr QTextFormat::Property kWidth[] = {QTextFormat::TableCellTopBorder, QTextFormat::TableCellRightBorder,
                                            QTextFormat::TableCellBottomBorder, QTextFormat::TableCellLeftBorder};
constexpr QTextFormat::Property kStyle[] = {QTextFormat::TableCellTopBorderStyle, QTextFormat::TableCellRightBorderStyle,
                                            QTextFormat::TableCellBottomBorderStyle, QTextFormat::TableCellLeftBorderStyle};

} // namespace

bool CellEdges::Edge::operator<(const Edge &other) const
{
    if (width != other.width)
        return width < other.width;
    if (kind != other.kind)
        return kind < other.kind;
    // At equal strength the bottom border of the cell above wins over the top of the one below,
    // the right border of the cell at the left over the left of the one at the right.
    if (side == Top && other.side == Bottom)
        return true;
    if (side == Bottom && other.side == Top)
        return false;
    return side == Left && other.side == Right;
}

CellEdges::Edge CellEdges::read(const TableBox &box, const QTextCharFormat &format, int cell, Side side)
{
    Edge edge;
    edge.cell = cell;
    edge.side = side;
    if (format.hasProperty(kStyle[side])) {
        edge.kind = Edge::Own;
        edge.width = format.hasProperty(kWidth[side]) ? format.doubleProperty(kWidth[side]) : 3; // as browsers do
        return edge;
    }
    if (box.drawGrid) {
        const TableBox::Cell &data = box.cells[std::size_t(cell)];
        const int row = box.rowOf(cell);
        const int column = box.columnOf(cell);
        const bool outermost = (side == Left && column == 0) || (side == Top && row == 0)
                            || (side == Right && column + data.columnSpan >= box.columns)
                            || (side == Bottom && row + data.rowSpan >= box.rows);
        if (outermost && box.gridBorder > 1.0) {
            edge.kind = Edge::TableBorder;
            edge.width = box.gridBorder;
        } else {
            edge.kind = Edge::Grid;
            edge.width = 1;
        }
        return edge;
    }
    edge.kind = Edge::None;
    return edge;
}

CellEdges::Edge CellEdges::own(int cell, Side side) const
{
    if (cell < 0) {
        Edge edge;
        edge.side = side;
        return edge;
    }
    return m_box.cells[std::size_t(cell)].edges[side];
}

int CellEdges::neighbour(int cell, Side side) const
{
    if (cell < 0)
        return -1;
    const TableBox::Cell &data = m_box.cells[std::size_t(cell)];
    int row = m_box.rowOf(cell);
    int column = m_box.columnOf(cell);
    switch (side) {
    case Top: --row; break;
    case Bottom: row += data.rowSpan; break;
    case Left: --column; break;
    case Right: column += data.columnSpan; break;
    }
    if (row < 0 || column < 0 || row >= m_box.rows || column >= m_box.columns)
        return -1;
    return m_box.owners[std::size_t(row * m_box.columns + column)];
}

bool CellEdges::shareAxis(int cell, Side side, int other, Side otherSide) const
{
    const TableBox::Cell &a = m_box.cells[std::size_t(cell)];
    const TableBox::Cell &b = m_box.cells[std::size_t(other)];
    const int row = m_box.rowOf(cell), column = m_box.columnOf(cell);
    const int otherRow = m_box.rowOf(other), otherColumn = m_box.columnOf(other);
    switch (side) {
    case Top: return row == otherRow + (otherSide == Bottom ? b.rowSpan : 0);
    case Bottom: return row + a.rowSpan == otherRow + (otherSide == Top ? 0 : b.rowSpan);
    case Left: return column == otherColumn + (otherSide == Right ? b.columnSpan : 0);
    case Right: return column + a.columnSpan == otherColumn + (otherSide == Left ? 0 : b.columnSpan);
    }
    return false;
}

CellEdges::Edge CellEdges::shared(int cell, Side side) const
{
    Edge edge = own(cell, side);
    if (!m_box.collapse)
        return edge;
    const int other = neighbour(cell, side);
    edge = std::max(edge, own(other, opposite(side)));
    // A neighbour that does not line up with the cell (cells spanning differently): the cell next
    // to it along the line is considered too.
    if (other >= 0) {
        const bool misaligned = isVertical(side) ? !shareAxis(cell, Top, other, Top) : !shareAxis(cell, Left, other, Left);
        if (misaligned)
            edge = std::max(edge, own(neighbour(other, opposite(side)), side));
    }
    return edge;
}

qreal CellEdges::inCell(int cell, Side side) const
{
    qreal width = shared(cell, side).width;
    if (m_box.collapse)
        width /= 2; // the other half belongs to the neighbour
    return width * m_box.scale;
}
