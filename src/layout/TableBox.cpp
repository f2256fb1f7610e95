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

int TableBox::slotOf(const QTextTableCell &cell) const
{
    if (!cell.isValid())
        return -1;
    const int row = cell.row();
    const int column = cell.column();
    if (row < 0 || column < 0 || row >= rows || column >= columns)
        return -1;
    const int slot = row * columns + column;
    return std::size_t(slot) < owners.size() ? owners[std::size_t(slot)] : -1;
}

QPointF TableBox::cellPosition(const QTextTableCell &cell) const
{
    const int slot = slotOf(cell);
    if (slot < 0)
        return QPointF();
    const Cell &data = cells[std::size_t(slot)];
    return QPointF((columnPositions[std::size_t(columnOf(slot))] + data.padding[CellEdges::Left]).toReal(),
                   (rowPositions[std::size_t(rowOf(slot))] + data.padding[CellEdges::Top] + verticalOffsets[std::size_t(slot)])
                       .toReal());
}

QRectF TableBox::cellRect(int slot) const
{
    const Cell &data = cells[std::size_t(slot)];
    const int row = rowOf(slot);
    const int column = columnOf(slot);
    const std::size_t lastRow = std::size_t(row + data.rowSpan - 1);
    const std::size_t lastColumn = std::size_t(column + data.columnSpan - 1);
    const Fixed left = columnPositions[std::size_t(column)];
    const Fixed top = rowPositions[std::size_t(row)];
    return QRectF(left.toReal(), top.toReal(), (columnPositions[lastColumn] + widths[lastColumn] - left).toReal(),
                  (rowPositions[lastRow] + heights[lastRow] - top).toReal());
}
