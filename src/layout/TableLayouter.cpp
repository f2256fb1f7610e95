#include "layout/TableLayouter.h"
#include "layout/CellEdges.h"
#include "layout/FloatArea.h"
#include "layout/FrameBox.h"
#include "layout/TableBox.h"

#include <QTextTable>

void TableLayouter::readFormat(QTextTable *table, TableBox &box)
{
    const QTextTableFormat format = table->format();
    box.scale = m_settings.device ? m_settings.deviceScale : 1;
    box.topMargin = m_frames.roundedScaled(format.topMargin());
    box.bottomMargin = m_frames.roundedScaled(format.bottomMargin());
    box.leftMargin = m_frames.roundedScaled(format.leftMargin());
    box.rightMargin = m_frames.roundedScaled(format.rightMargin());
    box.border = m_frames.roundedScaled(format.border());
    box.padding = m_frames.roundedScaled(format.padding());
    box.tableBorder = box.border;
    box.gridBorder = format.border();
    box.collapse = format.borderCollapse();
    box.cellBorder = box.collapse ? Fixed() : box.border;
    box.cellSpacing = m_settings.scaledFixed(box.collapse ? 0 : format.cellSpacing()).round();
    box.drawGrid = box.collapse && format.border() >= 1;
    box.cellPadding = m_settings.scaledFixed(format.cellPadding());
    readCells(table, box);
    box.topBorder = box.bottomBorder = box.leftBorder = box.rightBorder = box.border;
    if (box.collapse) {
        // The outer border is as wide as the widest border of the outermost cells, half of it
        // outside them.
        const CellEdges edges(box);
        qreal widest[4] = {0, 0, 0, 0};
        const auto widen = [&](int row, int column, CellEdges::Side side) {
            widest[side] = std::max(widest[side], edges.own(box.owners[std::size_t(row * box.columns + column)], side).width);
        };
        for (int r = 0; r < box.rows && box.columns > 0; ++r) {
            if (r == 0)
                for (int c = 0; c < box.columns; ++c)
                    widen(r, c, CellEdges::Top);
            if (r == box.rows - 1)
                for (int c = 0; c < box.columns; ++c)
                    widen(r, c, CellEdges::Bottom);
            widen(r, 0, CellEdges::Left);
            widen(r, box.columns - 1, CellEdges::Right);
        }
        box.topBorder = m_settings.scaledFixed(widest[CellEdges::Top] / 2).round();
        box.bottomBorder = m_settings.scaledFixed(widest[CellEdges::Bottom] / 2).round();
        box.leftBorder = m_settings.scaledFixed(widest[CellEdges::Left] / 2).round();
        box.rightBorder = m_settings.scaledFixed(widest[CellEdges::Right] / 2).round();
    }
    box.leftEdge = box.leftMargin + box.padding + box.leftBorder;
    box.rightEdge = box.rightMargin + box.padding + box.rightBorder;
    box.topEdge = box.topMargin + box.padding + box.topBorder;
    box.bottomEdge = box.bottomMargin + box.padding + box.bottomBorder;
}

// The cells' places in the grid, and what the layout needs of their formats, read once for all
// that follows: borders, paddings, alignment.
void TableLayouter::readCells(QTextTable *table, TableBox &box)
{
    static constexpr QTextFormat::Property kPadding[] = {QTextFormat::TableCellTopPadding, QTextFormat::TableCellRightPadding,
                                                         QTextFormat::TableCellBottomPadding, QTextFormat::TableCellLeftPadding};
    const int rows = box.rows;
    const int columns = box.columns;
    box.owners.assign(std::size_t(rows * columns), -1);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const int slot = r * columns + c;
            if (box.owners[std::size_t(slot)] >= 0)
                continue; // covered by a cell spanning from above or the left
            // Going through the grid row by row, a cell is met first at its top left slot.
            const QTextTableCell cell = table->cellAt(r, c);
            int rowSpan = 1;
            int columnSpan = 1;
            if (cell.isValid()) {
                while (c + columnSpan < columns && box.owners[std::size_t(slot + columnSpan)] < 0
                       && table->cellAt(r, c + columnSpan) == cell)
                    ++columnSpan;
                while (r + rowSpan < rows && table->cellAt(r + rowSpan, c) == cell)
                    ++rowSpan;
            }
            for (int down = 0; down < rowSpan; ++down)
                for (int across = 0; across < columnSpan; ++across)
                    box.owners[std::size_t(slot + down * columns + across)] = slot;
            TableBox::Cell &data = box.cells[std::size_t(slot)];
            data.rowSpan = rowSpan;
            data.columnSpan = columnSpan;
            const QTextCharFormat format = cell.isValid() ? cell.format() : QTextCharFormat();
            data.alignment = format.verticalAlignment();
            for (int side = 0; side < 4; ++side) {
                const QVariant padding = format.property(kPadding[side]);
                data.formatPadding[side] = padding.isNull() ? box.cellPadding : Fixed::fromReal(padding.toReal() * box.scale);
                data.edges[side] = CellEdges::read(box, format, slot, CellEdges::Side(side));
            }
        }
    }
    // A cell's padding holds its share of the border around it.
    const CellEdges edges(box);
    for (int slot = 0; slot < rows * columns; ++slot) {
        if (box.owners[std::size_t(slot)] != slot)
            continue;
        TableBox::Cell &data = box.cells[std::size_t(slot)];
        for (int side = 0; side < 4; ++side)
            data.padding[side] = data.formatPadding[side] + Fixed::fromReal(edges.inCell(slot, CellEdges::Side(side)));
    }
}

// A table with other rows or columns than it had is laid out afresh.
bool TableLayouter::reshape(QTextTable *table, TableBox &box)
{
    const int rows = table->rows();
    const int columns = table->columns();
    if (rows == box.rows && columns == box.columns)
        return false;
    box.rows = rows;
    box.columns = columns;
    box.cells.assign(std::size_t(rows * columns), TableBox::Cell());
    return true;
}

// The width the table's columns share.
Fixed TableLayouter::spaceFor(const TableBox &box, Fixed width) const
{
    return width - (box.border + box.padding) * 2 - box.leftMargin - box.rightMargin;
}

bool TableLayouter::layoutCells(QTextTable *table, TableBox &box, Fixed width, const QDeadlineTimer &deadline)
{
    const bool reshaped = reshape(table, box);
    if ((!box.dirty && !reshaped && box.laidOutWidth == width) || box.rows == 0 || box.columns == 0)
        return true;
    readFormat(table, box);
    const QTextOption::WrapMode wrap = m_settings.textOption.wrapMode();
    if (box.wrapMode != wrap) {
        for (TableBox::Cell &cell : box.cells)
            cell.dirty = true;
        box.wrapMode = wrap;
    }
    if (!measureCells(table, box, false, &deadline))
        return false;
    const Fixed space = spaceFor(box, width);
    sizeColumns(table, box, space);
    if (wrap == QTextOption::WrapAtWordBoundaryOrAnywhere && box.contentsWidth > space)
        return true; // too wide: laid out whole with words broken anywhere
    for (int slot = 0; slot < box.rows * box.columns; ++slot) {
        if (box.owners[std::size_t(slot)] != slot)
            continue;
        TableBox::Cell &data = box.cells[std::size_t(slot)];
        const Fixed cellWidth = box.cellWidth(box.columnOf(slot), data.columnSpan) - data.padding[CellEdges::Left]
                              - data.padding[CellEdges::Right];
        if (data.width == cellWidth)
            continue;
        data.height = layoutCell(table, box, slot, cellWidth).y;
        data.width = cellWidth;
        data.originY = Fixed::max();
        if (deadline.hasExpired())
            return false;
    }
    return true;
}

void TableLayouter::layout(QTextTable *table, TableBox &box, Fixed width, Fixed absoluteY, Fixed effectiveTop)
{
    const int rows = table->rows();
    const int columns = table->columns();
    const bool nearTop = absoluteY < Fixed::fromInt(64);
    if (!box.dirty && rows == box.rows && columns == box.columns && box.laidOutWidth == width && !nearTop && !box.nearTop)
        return;
    const bool reshaped = reshape(table, box);
    readFormat(table, box);
    box.effectiveTop = effectiveTop + box.topMargin + box.border + box.padding;
    box.absoluteY = absoluteY;
    box.laidOutWidth = width;
    box.nearTop = nearTop;
    box.dirty = false;
    if (rows == 0 || columns == 0) {
        box.width = box.leftEdge + box.rightEdge;
        box.height = box.topEdge + box.bottomEdge;
        return;
    }

    const Fixed space = spaceFor(box, width);
    // A table too wide for its place is laid out again with words broken anywhere, as in Qt.
    const QTextOption::WrapMode wrap = m_settings.textOption.wrapMode();
    measureCells(table, box, reshaped || box.wrapMode != wrap);
    box.wrapMode = wrap;
    sizeColumns(table, box, space);
    if (wrap == QTextOption::WrapAtWordBoundaryOrAnywhere && box.contentsWidth > space) {
        m_settings.textOption.setWrapMode(QTextOption::WrapAnywhere);
        box.wrapMode = QTextOption::WrapAnywhere;
        measureCells(table, box, true);
        sizeColumns(table, box, space);
        // The cells themselves are laid out with the document's own wrapping again.
        m_settings.textOption.setWrapMode(wrap);
        for (TableBox::Cell &cell : box.cells)
            cell.width = Fixed::fromInt(-1);
    }
    // Qt's layout keeps the first row clear of the frames' top edges (its page's top).
    const Fixed pageTop = absoluteY == Fixed::max() ? -Fixed::max()
                                                    : box.effectiveTop - absoluteY + box.cellSpacing + box.border;
    layoutRows(table, box, pageTop);
    alignCells(box);

    box.minimumWidth = box.columnPositions[0];
    box.maximumWidth = box.columnPositions[0];
    for (int c = 0; c < columns; ++c) {
        box.minimumWidth += box.minimumWidths[std::size_t(c)] + box.cellBorder * 2 + box.cellSpacing;
        if (box.maximumWidths[std::size_t(c)] != Fixed::max())
            box.maximumWidth += box.maximumWidths[std::size_t(c)] + box.cellBorder * 2 + box.cellSpacing;
    }
    box.minimumWidth += box.rightEdge - box.border;
    box.maximumWidth += box.rightEdge - box.border;
    box.width = box.leftEdge + box.contentsWidth + box.rightEdge;
    box.height = box.rowPositions.back() + box.heights.back() + box.padding + box.border + box.cellSpacing
               + box.bottomMargin + box.bottomBorder + box.padding;
}

FrameLayouter::Flow TableLayouter::layoutCell(QTextTable *table, TableBox &box, int slot, Fixed width, Fixed originY)
{
    TableBox::Cell &data = box.cells[std::size_t(slot)];
    const QTextTableCell cell = table->cellAt(box.rowOf(slot), box.columnOf(slot));
    FrameLayouter cellFrames(m_settings);
    const Fixed inside = box.effectiveTop + box.cellSpacing + box.border;
    const FrameLayouter::Column column{Fixed(), width, width, originY, inside + box.cellPadding};
    // The content keeps clear of the frames' top edges too.
    Fixed top;
    if (originY != Fixed::max()) {
        top = std::max(Fixed(), inside + data.formatPadding[CellEdges::Top] - originY);
    }
    FrameLayouter::Flow flow = cellFrames.layoutFlow(cell.begin(), column, top, data.floats, false);
    // A float counts for the cell's height and its widest width, so it stays in the cell.
    Fixed floatWidth;
    for (const FloatArea::Float &f : data.floats.floats()) {
        flow.y = std::max(flow.y, f.y + f.height);
        floatWidth = std::max(floatWidth, FrameBox::of(f.frame)->minimumWidth);
    }
    flow.maximum = std::max(flow.maximum, floatWidth);
    return flow;
}

// Each cell's narrowest and widest content, measured by laying it out at an unbounded width; with
// a deadline, until then. Returns whether all cells are measured.
bool TableLayouter::measureCells(QTextTable *table, TableBox &box, bool all, const QDeadlineTimer *deadline)
{
    for (int r = 0; r < box.rows; ++r) {
        for (int c = 0; c < box.columns; ++c) {
            if (box.owners[std::size_t(r * box.columns + c)] != r * box.columns + c)
                continue;
            TableBox::Cell &data = box.cell(r, c);
            if (!all && !data.dirty)
                continue;
            const FrameLayouter::Flow flow = layoutCell(table, box, r * box.columns + c, Fixed::max());
            data.minimum = flow.minimum;
            data.maximum = flow.maximum;
            data.dirty = false;
            data.width = Fixed::fromInt(-1); // laid out at the unbounded width: to be laid out again
            if (deadline && deadline->hasExpired())
                return false; // at least one cell done each time
        }
    }
    return true;
}

void TableLayouter::sizeColumns(QTextTable *table, TableBox &box, Fixed available)
{
    const int columns = box.columns;
    QList<QTextLength> constraints = table->format().columnWidthConstraints();
    constraints.resize(columns);
    const Fixed spacing = box.cellSpacing;

    Fixed remaining = available - box.cellBorder * (columns * 2) - spacing * (columns - 1) - spacing * 2;
    if (box.collapse)
        remaining -= box.leftBorder + box.rightBorder;
    const Fixed initialTotal = remaining;

    auto &widths = box.widths;
    auto &minimums = box.minimumWidths;
    auto &maximums = box.maximumWidths;
    widths.assign(std::size_t(columns), Fixed());
    minimums.assign(std::size_t(columns), Fixed::fromInt(1)); // an empty column stays wide enough to click into
    maximums.assign(std::size_t(columns), Fixed::max());

    for (int i = 0; i < columns; ++i) {
        for (int row = 0; row < box.rows; ++row) {
            const int slot = box.owners[std::size_t(row * columns + i)];
            const TableBox::Cell &data = box.cells[std::size_t(slot)];
            const int span = data.columnSpan;
            if (span > 1 && i != box.columnOf(slot))
                continue;
            const Fixed widthPadding = data.padding[CellEdges::Left] + data.padding[CellEdges::Right];
            // The narrowest width, spread over the columns the cell spans.
            Fixed spread = data.minimum + widthPadding;
            for (int n = 0; n < span; ++n) {
                const std::size_t col = std::size_t(i + n);
                const Fixed w = spread / (span - n);
                minimums[col] = std::max(minimums[col], w).ceil();
                spread -= minimums[col];
                if (spread <= Fixed())
                    break;
            }
            Fixed widest = maximums[std::size_t(i)];
            if (data.maximum != Fixed::max())
                widest = widest == Fixed::max() ? data.maximum + widthPadding : std::max(widest, data.maximum + widthPadding);
            if (widest == Fixed::max())
                continue;
            // Whole pixels, so the content is not wrapped by rounding the column down.
            spread = widest.ceil();
            for (int n = 0; n < span; ++n) {
                const std::size_t col = std::size_t(i + n);
                const Fixed w = spread / (span - n);
                maximums[col] = std::max(minimums[col], w);
                spread -= maximums[col];
                if (spread <= Fixed())
                    break;
            }
        }
    }

    Fixed totalPercentage;
    int variableColumns = 0;
    Fixed totalMinimum;
    for (int i = 0; i < columns; ++i) {
        const QTextLength &length = constraints.at(i);
        const std::size_t col = std::size_t(i);
        if (length.type() == QTextLength::FixedLength) {
            minimums[col] = widths[col] = std::max(m_settings.scaled(Fixed::fromReal(length.rawValue())), minimums[col]);
            remaining -= widths[col];
        } else if (length.type() == QTextLength::PercentageLength) {
            totalPercentage += Fixed::fromReal(length.rawValue());
        } else {
            ++variableColumns;
            widths[col] = minimums[col];
            remaining -= minimums[col];
        }
        totalMinimum += minimums[col];
    }

    {
        const Fixed percentagedWidth = initialTotal * totalPercentage / 100;
        Fixed remainingMinimums = totalMinimum;
        for (int i = 0; i < columns; ++i) {
            const std::size_t col = std::size_t(i);
            remainingMinimums -= minimums[col];
            if (constraints.at(i).type() != QTextLength::PercentageLength)
                continue;
            const Fixed allotted = Fixed::fromReal(constraints.at(i).rawValue());
            const Fixed percentWidth = percentagedWidth * allotted / totalPercentage;
            if (percentWidth >= minimums[col])
                widths[col] = std::clamp(percentWidth, minimums[col], std::max(minimums[col], remaining - remainingMinimums));
            else
                widths[col] = minimums[col];
            remaining -= widths[col];
        }
    }

    // What is left goes to the variable columns, first up to their widest content.
    if (variableColumns > 0 && remaining > Fixed()) {
        std::vector<int> sized;
        for (int i = 0; i < columns; ++i)
            if (constraints.at(i).type() == QTextLength::VariableLength && maximums[std::size_t(i)] != Fixed::max())
                sized.push_back(i);
        Fixed lastRemaining = remaining;
        while (remaining > Fixed()) {
            for (std::size_t k = 0; k < sized.size(); ++k) {
                const std::size_t col = std::size_t(sized[k]);
                const int left = int(sized.size() - k);
                const Fixed w = std::min(maximums[col] - widths[col], remaining / left);
                widths[col] += w;
                remaining -= w;
            }
            if (remaining == lastRemaining)
                break;
            lastRemaining = remaining;
        }
        if (remaining > Fixed() && table->format().width().type() != QTextLength::VariableLength) {
            const Fixed each = remaining / variableColumns;
            for (int i = 0; i < columns; ++i)
                if (constraints.at(i).type() == QTextLength::VariableLength)
                    widths[std::size_t(i)] += each;
        }
    }

    // Whole pixels, with the rounding error carried from each column to the next, so borders
    // between cells come out even.
    Fixed error;
    for (int i = 0; i < columns; ++i) {
        const std::size_t col = std::size_t(i);
        const Fixed original = widths[col];
        widths[col] = (widths[col] - error).round();
        error = widths[col] - original;
    }

    auto &positions = box.columnPositions;
    positions.assign(std::size_t(columns), Fixed());
    positions[0] = box.leftEdge + spacing + box.border;
    for (std::size_t i = 1; i < std::size_t(columns); ++i)
        positions[i] = positions[i - 1] + widths[i - 1] + box.cellBorder * 2 + spacing;
    box.contentsWidth = positions.back() + widths.back() + box.padding + box.border + spacing - box.leftEdge;
}

void TableLayouter::layoutRows(QTextTable *table, TableBox &box, Fixed firstRowTop)
{
    const int rows = box.rows;
    const int columns = box.columns;
    box.heights.assign(std::size_t(rows), Fixed());
    box.rowPositions.assign(std::size_t(rows), Fixed());
    box.rowPositions[0] = box.topEdge + box.cellSpacing + box.border;
    std::vector<Fixed> toDistribute(static_cast<std::size_t>(columns));
    bool rowSpans = false;
    for (int r = 0; r < rows; ++r) {
        const std::size_t row = std::size_t(r);
        if (r > 0)
            box.rowPositions[row] = box.rowPositions[row - 1] + box.heights[row - 1] + box.cellBorder * 2 + box.cellSpacing;
        box.rowPositions[row] = std::max(box.rowPositions[row], firstRowTop);
        for (int c = 0; c < columns; ++c) {
            const int slot = box.owners[std::size_t(r * columns + c)];
            TableBox::Cell &data = box.cells[std::size_t(slot)];
            const int rowSpan = data.rowSpan;
            const int columnSpan = data.columnSpan;
            if (columnSpan > 1 && box.columnOf(slot) != c)
                continue;
            if (rowSpan > 1) {
                rowSpans = true;
                if (box.rowOf(slot) != r) {
                    // The last row a cell spans gets what is left of its height.
                    if (box.rowOf(slot) + rowSpan - 1 == r)
                        box.heights[row] = std::max(box.heights[row], toDistribute[std::size_t(c)]).round();
                    continue;
                }
            }
            const Fixed topPadding = data.padding[CellEdges::Top];
            const Fixed bottomPadding = data.padding[CellEdges::Bottom];
            const Fixed width = box.cellWidth(c, columnSpan) - data.padding[CellEdges::Left] - data.padding[CellEdges::Right];
            const Fixed origin = box.absoluteY == Fixed::max() ? Fixed::max() : box.absoluteY + box.rowPositions[row] + topPadding;
            if (data.width != width || (box.nearTop && origin != data.originY)) {
                data.height = layoutCell(table, box, slot, width, origin).y;
                data.width = width;
                data.originY = origin;
            }
            const Fixed height = (data.height + bottomPadding + topPadding).round();
            if (rowSpan > 1)
                toDistribute[std::size_t(c)] = height;
            else
                box.heights[row] = std::max(box.heights[row], height);
        }
        if (rowSpans) {
            const Fixed effective = box.heights[row] + box.cellBorder + box.cellSpacing + box.cellBorder;
            for (Fixed &left : toDistribute)
                left = std::max(left - effective, Fixed());
        }
    }
}

void TableLayouter::alignCells(TableBox &box)
{
    box.verticalOffsets.assign(std::size_t(box.rows * box.columns), Fixed());
    for (int r = 0; r < box.rows; ++r) {
        for (int c = 0; c < box.columns; ++c) {
            const int slot = r * box.columns + c;
            if (box.owners[std::size_t(slot)] != slot)
                continue;
            const TableBox::Cell &data = box.cells[std::size_t(slot)];
            const std::size_t last = std::size_t(r + data.rowSpan - 1);
            const Fixed available = box.rowPositions[last] + box.heights[last] - box.rowPositions[std::size_t(r)];
            const Fixed height = data.height + data.padding[CellEdges::Top] + data.padding[CellEdges::Bottom];
            Fixed offset;
            switch (data.alignment) {
            case QTextCharFormat::AlignMiddle: offset = (available - height) / 2; break;
            case QTextCharFormat::AlignBottom: offset = available - height; break;
            default: break;
            }
            for (int down = 0; down < data.rowSpan; ++down)
                for (int across = 0; across < data.columnSpan; ++across)
                    box.verticalOffsets[std::size_t((c + across) + (r + down) * box.columns)] = offset;
        }
    }
}
