#include "layout/CellEdges.h"
#include "layout/TableBox.h"

#include <QTextTable>

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

QTextTableCell CellEdges::neighbour(const QTextTableCell &cell, Side side) const
{
    int row = cell.row();
    int column = cell.column();
    switch (side) {
    case Top: --row; break;
    case Bottom: row += cell.rowSpan(); break;
    case Left: --column; break;
    case Right: column += cell.columnSpan(); break;
    }
    if (row < 0 || column < 0 || row >= m_table->rows() || column >= m_table->columns())
        return QTextTableCell();
    return m_table->cellAt(row, column);
}

bool CellEdges::shareAxis(const QTextTableCell &cell, Side side, const QTextTableCell &other, Side otherSide)
{
    switch (side) {
    case Top: return cell.row() == other.row() + (otherSide == Bottom ? other.rowSpan() : 0);
    case Bottom: return cell.row() + cell.rowSpan() == other.row() + (otherSide == Top ? 0 : other.rowSpan());
    case Left: return cell.column() == other.column() + (otherSide == Right ? other.columnSpan() : 0);
    case Right: return cell.column() + cell.columnSpan() == other.column() + (otherSide == Left ? 0 : other.columnSpan());
    }
    return false;
}

CellEdges::Edge CellEdges::own(const QTextTableCell &cell, Side side) const
{
    Edge edge;
    edge.cell = cell;
    edge.side = side;
    if (!cell.isValid())
        return edge;
    const QTextCharFormat format = cell.format();
    if (format.hasProperty(kStyle[side])) {
        edge.kind = Edge::Own;
        edge.width = format.hasProperty(kWidth[side]) ? format.doubleProperty(kWidth[side]) : 3; // as browsers do
        return edge;
    }
    if (m_box.drawGrid) {
        const bool outermost = (side == Left && cell.column() == 0) || (side == Top && cell.row() == 0)
                            || (side == Right && cell.column() + cell.columnSpan() >= m_table->columns())
                            || (side == Bottom && cell.row() + cell.rowSpan() >= m_table->rows());
        const qreal border = m_table->format().border();
        if (outermost && border > 1.0) {
            edge.kind = Edge::TableBorder;
            edge.width = border;
        } else {
            edge.kind = Edge::Grid;
            edge.width = 1;
        }
        return edge;
    }
    edge.kind = Edge::None;
    return edge;
}

CellEdges::Edge CellEdges::shared(const QTextTableCell &cell, Side side) const
{
    Edge edge = own(cell, side);
    if (!m_box.collapse)
        return edge;
    const QTextTableCell other = neighbour(cell, side);
    edge = std::max(edge, own(other, opposite(side)));
    // A neighbour that does not line up with the cell (cells spanning differently): the cell next
    // to it along the line is considered too.
    if (other.isValid()) {
        const bool misaligned = isVertical(side) ? !shareAxis(cell, Top, other, Top) : !shareAxis(cell, Left, other, Left);
        if (misaligned)
            edge = std::max(edge, own(neighbour(other, opposite(side)), side));
    }
    return edge;
}

qreal CellEdges::inCell(const QTextTableCell &cell, Side side) const
{
    qreal width = shared(cell, side).width;
    if (m_box.collapse)
        width /= 2; // the other half belongs to the neighbour
    return width * m_box.scale;
}
