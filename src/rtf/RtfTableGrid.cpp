#include "rtf/RtfTableGrid.h"
#include "rtf/RtfControlWords.h"
#include "rtf/RtfTableDraft.h"
#include "rtf/TextFormats.h"

#include <algorithm>
#include <map>

using namespace RtfValues;

namespace {

constexpr qint64 kMinWidth = 15;       // twips
constexpr qint64 kDefaultWidth = 1440; // for cells the row definition has no edge for
constexpr qint64 kMaxLeft = RtfDocumentBuilder::kMaxColumnWidth * 8;

// A filler has no borders: it is no cell of the file.
QTextTableCellFormat fillerFormat()
{
    QTextTableCellFormat f;
    f.setProperty(TextFormats::kGridFillerProperty, true);
    for (const TextFormats::CellBorderSide &side : TextFormats::kCellBorderSides) {
        f.setProperty(side.style, int(QTextFrameFormat::BorderStyle_None));
        f.setProperty(side.width, 0.0);
    }
    return f;
}

} // namespace

RtfTableGrid::RtfTableGrid(const RtfTableDraft &draft) : m_rows(int(draft.rows.size()))
{
    findDefinitions(draft);
    if (m_definitions.empty()) {
        layOutUnshaped(draft);
        return;
    }
    std::vector<std::vector<RowCell>> cells(static_cast<std::size_t>(m_rows));
    std::vector<qint64> lefts(static_cast<std::size_t>(m_rows));
    std::vector<qint64> edges;
    std::map<qint64, int> zeros; // at each edge, the most cells of no width one row has there
    for (int r = 0; r < m_rows; ++r) {
        const qint64 left = qBound(-kMaxLeft, qint64(m_definitions[std::size_t(r)]->left), kMaxLeft);
        lefts[std::size_t(r)] = left;
        cells[std::size_t(r)] = rowCells(draft, r, left);
        edges.push_back(left);
        std::map<qint64, int> here;
        for (const RowCell &cell : cells[std::size_t(r)]) {
            edges.push_back(cell.right);
            edges.insert(edges.end(), cell.inner.begin(), cell.inner.end());
            if (cell.right == cell.left)
                ++here[cell.left];
        }
        for (const auto &[edge, count] : here)
            zeros[edge] = qMax(zeros[edge], count);
    }
    makeGrid(std::move(edges), zeros);
    placeCells(cells, lefts);
    while (m_headerRows < m_rows && draft.rows[std::size_t(m_headerRows)].definition
           && draft.rows[std::size_t(m_headerRows)].definition->header)
        ++m_headerRows;
}

// Each row's definition: its own, else the last one before it (a row cut off before its end),
// else the first one of the table.
void RtfTableGrid::findDefinitions(const RtfTableDraft &draft)
{
    std::vector<const RtfDocumentBuilder::Row *> found(std::size_t(m_rows), nullptr);
    const RtfDocumentBuilder::Row *last = nullptr;
    for (int r = 0; r < m_rows; ++r) {
        if (draft.rows[std::size_t(r)].definition)
            last = &*draft.rows[std::size_t(r)].definition;
        found[std::size_t(r)] = last;
    }
    const auto first = std::find_if(found.begin(), found.end(), [](const auto *d) { return d != nullptr; });
    if (first == found.end())
        return;
    const RtfDocumentBuilder::Row *firstDefinition = *first;
    for (auto &d : found)
        if (!d)
            d = firstDefinition;
    m_definitions = std::move(found);
}

// Without widths: a column for each cell of the longest row, as the cells come.
void RtfTableGrid::layOutUnshaped(const RtfTableDraft &draft)
{
    m_columns = 1;
    for (const RtfTableDraft::Row &row : draft.rows)
        m_columns = qMax(m_columns, int(row.cells.size()));
    for (int r = 0; r < m_rows; ++r) {
        const int count = int(draft.rows[std::size_t(r)].cells.size());
        for (int c = 0; c < m_columns; ++c) {
            Slot slot;
            slot.row = r;
            slot.column = c;
            if (c < count)
                slot.sources.push_back({r, c});
            m_slots.push_back(slot);
        }
    }
}

// A row's cells with their edges, merged across. Edges go from left to right; a cell may have no
// width. A row with fewer cells than edges has its last cell reach the last edge, as other word
// processors show it; cells past the last edge share the last cell's width.
std::vector<RtfTableGrid::RowCell> RtfTableGrid::rowCells(const RtfTableDraft &draft, int row, qint64 left) const
{
    const RtfDocumentBuilder::Row &d = *m_definitions[std::size_t(row)];
    const int filled = int(draft.rows[std::size_t(row)].cells.size());
    const int defined = qMin(int(d.cells.size()), RtfDocumentBuilder::kMaxColumns);
    std::vector<qint64> rights;
    for (int c = 0; c < defined; ++c) {
        const qint64 from = rights.empty() ? left : rights.back();
        rights.push_back(from + qBound(qint64(0), qint64(d.cells[std::size_t(c)].right) - from,
                                       qint64(RtfDocumentBuilder::kMaxColumnWidth)));
    }
    if (filled > defined) {
        const qint64 from = defined >= 2 ? rights[std::size_t(defined) - 2] : left;
        const qint64 to = defined >= 1 ? rights.back() : left + kDefaultWidth * filled;
        const int sharing = filled - qMax(defined - 1, 0);
        const qint64 share = (to - from) / sharing;
        rights.resize(std::size_t(qMax(defined - 1, 0)));
        for (int k = 1; k <= sharing; ++k)
            rights.push_back(from + share * k);
    }
    std::vector<RowCell> cells;
    qint64 from = left;
    for (int c = 0; c < int(rights.size()); ++c) {
        const qint64 right = rights[std::size_t(c)];
        const int merge = c < defined ? d.cells[std::size_t(c)].merge : 0;
        const bool pastContent = c >= filled && filled > 0;
        if (((merge & MergeNext) || pastContent) && !cells.empty()) {
            RowCell &first = cells.back();
            if (!pastContent) {
                first.inner.push_back(first.right);
                first.merged = true;
            }
            first.right = right;
            if (c < filled)
                first.cells.push_back(c);
        } else {
            RowCell cell;
            cell.left = from;
            cell.right = right;
            cell.firstCell = c;
            cell.merge = merge;
            if (c < filled)
                cell.cells.push_back(c);
            cells.push_back(cell);
        }
        from = right;
    }
    return cells;
}

// The grid's edges: all the rows' edges, an edge once more for each column of no width there; or,
// when they are more than the widest table has columns, the edges snapped to an even spacing.
void RtfTableGrid::makeGrid(std::vector<qint64> edges, const std::map<qint64, int> &zeros)
{
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    m_origin = edges.front();
    if (edges.size() > std::size_t(RtfDocumentBuilder::kMaxColumns) + 1) {
        m_step = (edges.back() - edges.front() + RtfDocumentBuilder::kMaxColumns - 1) / RtfDocumentBuilder::kMaxColumns;
        for (qint64 &e : edges)
            e = snapped(e);
        edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    } else {
        std::vector<qint64> withZeros;
        for (const qint64 e : edges) {
            const auto z = zeros.find(e);
            withZeros.insert(withZeros.end(), std::size_t(z == zeros.end() ? 1 : 1 + z->second), e);
        }
        edges = std::move(withZeros);
    }
    if (edges.size() < 2)
        edges.push_back(edges.back() + kDefaultWidth);
    m_edges = std::move(edges);
}

qint64 RtfTableGrid::snapped(qint64 edge) const
{
    if (m_step <= 0)
        return edge;
    return m_origin + (edge - m_origin + m_step / 2) / m_step * m_step;
}

// The first of the columns that start at an edge (those of no width first), and the last.
int RtfTableGrid::firstColumnAt(qint64 edge) const
{
    const auto at = std::lower_bound(m_edges.begin(), m_edges.end(), snapped(edge));
    return qBound(0, int(at - m_edges.begin()), int(m_edges.size()) - 1);
}

int RtfTableGrid::lastColumnAt(qint64 edge) const
{
    const auto at = std::upper_bound(m_edges.begin(), m_edges.end(), snapped(edge));
    return qBound(0, int(at - m_edges.begin()) - 1, int(m_edges.size()) - 1);
}

// The cells of each row in their columns, cells merged down joined to the cell above, and the
// columns left over at either end filled.
void RtfTableGrid::placeCells(std::vector<std::vector<RowCell>> &cells, const std::vector<qint64> &rowLefts)
{
    std::vector<std::pair<int, int>> spans(static_cast<std::size_t>(m_rows)); // each row's first and last column
    int widest = columns();
    for (int r = 0; r < m_rows; ++r) {
        // A cell takes the columns of no width at its left edge that the row has no cell of no
        // width for; the row's last cell also those at its right edge.
        const int start = firstColumnAt(rowLefts[std::size_t(r)]);
        int at = start;
        std::vector<RowCell> &row = cells[std::size_t(r)];
        for (std::size_t i = 0; i < row.size(); ++i) {
            RowCell &cell = row[i];
            cell.start = qMax(firstColumnAt(cell.left), at);
            const bool last = i + 1 == row.size();
            const int end = snapped(cell.left) == snapped(cell.right) ? cell.start + 1
                          : last ? lastColumnAt(cell.right) : firstColumnAt(cell.right);
            cell.end = qMax(end, cell.start + 1);
            at = cell.end;
        }
        spans[std::size_t(r)] = {start, at};
        widest = qMax(widest, at);
    }
    while (columns() < widest) // edges snapped together: the grid grows to hold every cell
        m_edges.push_back(m_edges.back() + kMinWidth);
    const int count = columns();
    std::map<int, std::pair<std::size_t, int>> above, here; // by first column: the slot and its last column
    for (int r = 0; r < m_rows; ++r) {
        here.clear();
        const auto [start, end] = spans[std::size_t(r)];
        if (start > 0)
            m_slots.push_back({r, 0, 1, start, true, {}, {}, fillerFormat()});
        const RtfDocumentBuilder::Row &definition = *m_definitions[std::size_t(r)];
        for (const RowCell &cell : cells[std::size_t(r)]) {
            if (cell.merge & VMergeNext) {
                const auto a = above.find(cell.start);
                if (a != above.end() && a->second.second == cell.end) {
                    Slot &first = m_slots[a->second.first];
                    if (first.row + first.rows == r) {
                        ++first.rows;
                        for (const int c : cell.cells)
                            first.sources.push_back({r, c});
                        here[cell.start] = a->second;
                        continue;
                    }
                }
            }
            Slot slot;
            slot.row = r;
            slot.column = cell.start;
            slot.columns = cell.end - cell.start;
            if (cell.merged) {
                int from = cell.start;
                for (const qint64 inner : cell.inner) {
                    const int at = qBound(from + 1, firstColumnAt(inner), cell.end - 1);
                    slot.merged.push_back(at - from);
                    from = at;
                }
                slot.merged.push_back(cell.end - from);
            }
            for (const int c : cell.cells)
                slot.sources.push_back({r, c});
            if (cell.firstCell < int(definition.cells.size()))
                slot.format = definition.cells[std::size_t(cell.firstCell)].format;
            here[cell.start] = {m_slots.size(), cell.end};
            m_slots.push_back(slot);
        }
        if (end < count)
            m_slots.push_back({r, end, 1, count - end, true, {}, {}, fillerFormat()});
        above.swap(here);
    }
}
