#include "layout/TableBox.h"
#include "layout/CellEdges.h"

#include <QTextTable>

TableBox *TableBox::of(QTextTable *table)
{
    if (auto *box = dynamic_cast<TableBox *>(table->layoutData()))
        return box;
    auto *box = new TableBox;
    table->setLayoutData(box); // the table owns it
    return box;
}

Fixed TableBox::cellWidth(int column, int span) const
{
    const std::size_t last = std::size_t(column + span - 1);
    return columnPositions[last] + widths[last] - columnPositions[std::size_t(column)];
}

namespace {

Fixed paddingOf(const TableBox &box, const QTextTableCell &cell, QTextFormat::Property property)
{
    const QVariant value = cell.format().property(property);
    if (value.isNull())
        return box.cellPadding;
    return Fixed::fromReal(value.toReal() * box.scale);
}

} // namespace

// A cell's padding holds its share of the border around it.
Fixed TableBox::topPadding(QTextTable *table, const QTextTableCell &cell) const
{
    return paddingOf(*this, cell, QTextFormat::TableCellTopPadding)
         + Fixed::fromReal(CellEdges(table, *this).inCell(cell, CellEdges::Top));
}

Fixed TableBox::bottomPadding(QTextTable *table, const QTextTableCell &cell) const
{
    return paddingOf(*this, cell, QTextFormat::TableCellBottomPadding)
         + Fixed::fromReal(CellEdges(table, *this).inCell(cell, CellEdges::Bottom));
}

Fixed TableBox::leftPadding(QTextTable *table, const QTextTableCell &cell) const
{
    return paddingOf(*this, cell, QTextFormat::TableCellLeftPadding)
         + Fixed::fromReal(CellEdges(table, *this).inCell(cell, CellEdges::Left));
}

Fixed TableBox::rightPadding(QTextTable *table, const QTextTableCell &cell) const
{
    return paddingOf(*this, cell, QTextFormat::TableCellRightPadding)
         + Fixed::fromReal(CellEdges(table, *this).inCell(cell, CellEdges::Right));
}

Fixed TableBox::cellPositionX(QTextTable *table, const QTextTableCell &cell) const
{
    return columnPositions[std::size_t(cell.column())] + leftPadding(table, cell);
}

Fixed TableBox::cellPositionY(QTextTable *table, const QTextTableCell &cell) const
{
    const std::size_t slot = std::size_t(cell.row() * columns + cell.column());
    return rowPositions[std::size_t(cell.row())] + topPadding(table, cell) + verticalOffsets[slot];
}

QPointF TableBox::cellPosition(QTextTable *table, const QTextTableCell &cell) const
{
    return QPointF(cellPositionX(table, cell).toReal(), cellPositionY(table, cell).toReal());
}

QRectF TableBox::cellRect(const QTextTableCell &cell) const
{
    const int row = cell.row();
    const int column = cell.column();
    const std::size_t lastRow = std::size_t(row + cell.rowSpan() - 1);
    const std::size_t lastColumn = std::size_t(column + cell.columnSpan() - 1);
    const Fixed left = columnPositions[std::size_t(column)];
    const Fixed top = rowPositions[std::size_t(row)];
    return QRectF(left.toReal(), top.toReal(), (columnPositions[lastColumn] + widths[lastColumn] - left).toReal(),
                  (rowPositions[lastRow] + heights[lastRow] - top).toReal());
}
