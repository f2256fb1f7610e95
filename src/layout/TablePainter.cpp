#include "layout/TablePainter.h"
#include "layout/EdgePainter.h"
#include "layout/FramePainter.h"
#include "layout/TableBox.h"

#include <QPainter>
#include <QTextCursor>
#include <QTextTable>
#include <cmath>

namespace {

// Separate cell borders look sunk into a raised table, and the other way round.
QTextFrameFormat::BorderStyle cellStyle(QTextFrameFormat::BorderStyle tableStyle)
{
    switch (tableStyle) {
    case QTextFrameFormat::BorderStyle_Inset: return QTextFrameFormat::BorderStyle_Outset;
    case QTextFrameFormat::BorderStyle_Outset: return QTextFrameFormat::BorderStyle_Inset;
    case QTextFrameFormat::BorderStyle_Groove: return QTextFrameFormat::BorderStyle_Ridge;
    case QTextFrameFormat::BorderStyle_Ridge: return QTextFrameFormat::BorderStyle_Groove;
    default: return tableStyle;
    }
}

constexpr QTextFormat::Property kStyle[] = {QTextFormat::TableCellTopBorderStyle, QTextFormat::TableCellRightBorderStyle,
                                            QTextFormat::TableCellBottomBorderStyle, QTextFormat::TableCellLeftBorderStyle};
constexpr QTextFormat::Property kBrush[] = {QTextFormat::TableCellTopBorderBrush, QTextFormat::TableCellRightBorderBrush,
                                            QTextFormat::TableCellBottomBorderBrush, QTextFormat::TableCellLeftBorderBrush};

// Where the cells a selection across cells covers: first row, rows, first column, columns.
struct SelectedCells
{
    int row = -1, rows = -1, column = -1, columns = -1;
};

} // namespace

void TablePainter::paint(QPainter *painter, QTextTable *table, TableBox &box, QPointF at,
                         const QAbstractTextDocumentLayout::PaintContext &context)
{
    if (box.rows == 0 || box.columns == 0)
        return;
    const QRectF rect(at, QSizeF(box.width.toReal(), box.height.toReal()));
    if (!box.collapse)
        m_frames.paintDecoration(painter, table, box, rect, context);

    // The rows that meet the area to paint.
    int firstRow = 0;
    int lastRow = box.rows;
    if (context.clip.isValid()) {
        auto row = std::lower_bound(box.rowPositions.begin(), box.rowPositions.end(),
                                    Fixed::fromReal(context.clip.top() - at.y()));
        if (row != box.rowPositions.end() && row != box.rowPositions.begin())
            firstRow = int(row - box.rowPositions.begin()) - 1;
        row = std::upper_bound(box.rowPositions.begin(), box.rowPositions.end(),
                               Fixed::fromReal(context.clip.bottom() - at.y()));
        if (row != box.rowPositions.end())
            lastRow = int(row - box.rowPositions.begin()) + 1;
    }
    firstRow = std::min(firstRow, box.rows - 1);
    for (int c = 0; c < box.columns; ++c)
        firstRow = std::min(firstRow, box.rowOf(box.owners[std::size_t(firstRow * box.columns + c)]));
    lastRow = std::min(lastRow, box.rows);
    const CellEdges edges(box);
    for (int r = firstRow; r < lastRow; ++r) {
        for (int c = 0; c < box.columns; ++c) {
            const int slot = r * box.columns + c;
            if (box.owners[std::size_t(slot)] != slot)
                continue;
            if (context.clip.isValid()) {
                // The cell with its borders.
                QRectF area = box.cellRect(slot).translated(at);
                if (box.collapse) {
                    area.adjust(-edges.shared(slot, CellEdges::Left).width / 2, -edges.shared(slot, CellEdges::Top).width / 2,
                                edges.shared(slot, CellEdges::Right).width / 2, edges.shared(slot, CellEdges::Bottom).width / 2);
                } else {
                    const qreal border = box.border.toReal();
                    area.adjust(-border, -border, border, border);
                }
                if (!area.intersects(context.clip))
                    continue;
            }
            paintCell(painter, table, box, slot, at, context);
        }
    }
}

void TablePainter::paintCell(QPainter *painter, QTextTable *table, TableBox &box, int slot, QPointF at,
                             const QAbstractTextDocumentLayout::PaintContext &context)
{
    const int r = box.rowOf(slot);
    const int c = box.columnOf(slot);
    const QTextTableCell cell = table->cellAt(r, c);
    QAbstractTextDocumentLayout::PaintContext cellContext = context;
    for (QAbstractTextDocumentLayout::Selection &selection : cellContext.selections) {
        // A selection across cells selects whole cells, empty ones too.
        SelectedCells selected;
        if (selection.cursor.currentTable() == table)
            selection.cursor.selectedTableCells(&selected.row, &selected.rows, &selected.column, &selected.columns);
        if (selected.row != -1) {
            if (r >= selected.row && r < selected.row + selected.rows && c >= selected.column
                && c < selected.column + selected.columns) {
                const int first = cell.firstPosition();
                const int last = cell.lastPosition() == first ? first + 1 : cell.lastPosition();
                selection.cursor.setPosition(first);
                selection.cursor.setPosition(last, QTextCursor::KeepAnchor);
            } else {
                selection.cursor.clearSelection();
            }
        }
        selection.format.clearProperty(QTextFormat::FullWidthSelection);
    }

    const QRectF rect = box.cellRect(slot).translated(at);
    if (!box.collapse && box.border > Fixed()) {
        const qreal border = box.border.toReal();
        FramePainter::paintBorder(painter, QRectF(rect.left() - border, rect.top() - border, rect.width() + border, rect.height() + border),
                                  border, table->format().borderBrush(), cellStyle(table->format().borderStyle()));
    }
    const QBrush background = cell.format().background();
    if (background.style() != Qt::NoBrush) {
        painter->save();
        painter->setBrushOrigin(rect.topLeft());
        painter->fillRect(rect, background);
        painter->restore();
    }
    // Over the background.
    {
        const bool aliased = !(painter->renderHints() & QPainter::Antialiasing);
        painter->setRenderHint(QPainter::Antialiasing);
        const QRectF whole = rect.toRect();
        for (CellEdges::Side side : {CellEdges::Top, CellEdges::Left, CellEdges::Right, CellEdges::Bottom})
            paintSide(painter, table, box, slot, whole, side);
        if (aliased)
            painter->setRenderHint(QPainter::Antialiasing, false);
    }
    const TableBox::Cell &data = box.cells[std::size_t(slot)];
    const QPointF content(rect.left() + data.padding[CellEdges::Left].toReal(),
                          rect.top() + (data.padding[CellEdges::Top] + box.verticalOffsets[std::size_t(slot)]).toReal());
    m_frames.paintFlow(painter, cell.begin(), content, cellContext);
}

// How far an end of a side's border goes past (negative) or stops short of (positive) the cell's
// corner, so that where borders meet the stronger one is drawn over the joint.
qreal TablePainter::anchorOffset(const CellEdges &edges, const TableBox &box, int slot, const CellEdges::Edge &edge,
                                 CellEdges::Side across, bool couldContinue)
{
    CellEdges::Edge strongest;
    CellEdges::Edge widestAcross;
    const auto compete = [&](int other, CellEdges::Side side, bool continues, bool countsAcross) {
        const CellEdges::Edge competing = edges.shared(other, side);
        if (competing > edge)
            strongest = competing;
        else if (competing.width == edge.width
                 && ((CellEdges::sameAxis(edge.side, side) && continues)
                     || (!CellEdges::isVertical(edge.side) && CellEdges::isVertical(side))))
            strongest = competing; // at equal widths a vertical border goes over a horizontal one
        if (countsAcross && competing.width > widestAcross.width)
            widestAcross = competing;
    };
    compete(slot, across, false, true);
    if (box.collapse) {
        const int beside = edges.neighbour(slot, across);
        if (beside >= 0)
            compete(beside, edge.side, couldContinue, false);
        const int beyond = edges.neighbour(slot, edge.side);
        if (beyond >= 0 && edges.shareAxis(slot, across, beyond, across))
            compete(beyond, across, false, true);
    }
    const bool wins = edge > strongest;
    if (box.collapse) {
        const qreal offset = widestAcross.width * box.scale / 2;
        return wins ? -offset : offset;
    }
    return wins ? 0 : widestAcross.width * box.scale;
}

void TablePainter::paintSide(QPainter *painter, QTextTable *table, const TableBox &box, int slot, const QRectF &rect,
                             CellEdges::Side side)
{
    const CellEdges edges(box);
    const CellEdges::Edge edge = edges.shared(slot, side);
    if (edge.width == 0)
        return;
    QTextFrameFormat::BorderStyle style = QTextFrameFormat::BorderStyle_None;
    QBrush brush;
    if (edge.kind != CellEdges::Edge::Own && box.drawGrid) {
        style = QTextFrameFormat::BorderStyle_Solid;
        brush = table->format().borderBrush();
    } else {
        const QTextCharFormat format = table->cellAt(box.rowOf(edge.cell), box.columnOf(edge.cell)).format();
        style = QTextFrameFormat::BorderStyle(format.intProperty(kStyle[edge.side]));
        brush = qvariant_cast<QBrush>(format.property(kBrush[edge.side]));
    }
    if (style == QTextFrameFormat::BorderStyle_None)
        return;
    if (brush.style() == Qt::NoBrush)
        brush = Qt::black;

    const qreal width = edge.width * box.scale;
    qreal across = 0; // the border's width across a vertical side
    qreal along = 0;  // and a horizontal one
    QPointF p1, p2;
    switch (side) {
    case CellEdges::Top:
        along = width;
        p1 = rect.topLeft() + QPointF(std::floor(anchorOffset(edges, box, slot, edge, CellEdges::Left, false)), 0);
        p2 = rect.topRight() + QPointF(-std::ceil(anchorOffset(edges, box, slot, edge, CellEdges::Right, true)), 0);
        break;
    case CellEdges::Bottom:
        along = width;
        p1 = rect.bottomLeft() + QPointF(std::floor(anchorOffset(edges, box, slot, edge, CellEdges::Left, false)), -along);
        p2 = rect.bottomRight() + QPointF(-std::ceil(anchorOffset(edges, box, slot, edge, CellEdges::Right, true)), -along);
        break;
    case CellEdges::Left:
        across = width;
        p1 = rect.topLeft() + QPointF(0, std::floor(anchorOffset(edges, box, slot, edge, CellEdges::Top, false)));
        p2 = rect.bottomLeft() + QPointF(0, -std::ceil(anchorOffset(edges, box, slot, edge, CellEdges::Bottom, true)));
        break;
    case CellEdges::Right:
        across = width;
        p1 = rect.topRight() + QPointF(-across, std::floor(anchorOffset(edges, box, slot, edge, CellEdges::Top, false)));
        p2 = rect.bottomRight() + QPointF(-across, -std::ceil(anchorOffset(edges, box, slot, edge, CellEdges::Bottom, true)));
        break;
    }
    // In the collapsed model the border lies half outside the cell, shared with its neighbour.
    if (box.collapse) {
        const qreal half = width / 2;
        QPointF shift;
        switch (side) {
        case CellEdges::Top: shift = QPointF(0, -std::ceil(half)); break;
        case CellEdges::Bottom: shift = QPointF(0, std::floor(half)); break;
        case CellEdges::Left: shift = QPointF(-std::ceil(half), 0); break;
        case CellEdges::Right: shift = QPointF(std::floor(half), 0); break;
        }
        p1 += shift;
        p2 += shift;
    }
    static constexpr EdgePainter::Side kSide[] = {EdgePainter::Top, EdgePainter::Right, EdgePainter::Bottom, EdgePainter::Left};
    EdgePainter::paint(painter, QRectF(p1, QPointF(p2.x() + across, p2.y() + along)), kSide[side], style, brush);
}
