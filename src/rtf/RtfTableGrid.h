#pragma once
#include "rtf/RtfDocumentBuilder.h"

#include <QTextTableCellFormat>
#include <map>
#include <utility>
#include <vector>

struct RtfTableDraft;

// Where the cells of a table read from RTF go in a QTextTable. Each RTF row has cells of its own
// widths; the table's columns are the grid of all their edges (past kMaxColumns edges, edges are
// snapped to an even spacing), with columns of no width where rows have cells of no width. A cell
// spans the columns between its edges, cells merged across (\clmgf, \clmrg) or down (\clvmgf,
// \clvmrg) are one cell, and the columns before a row's first cell or after its last are
// fillers, which stand for no cell of the file. A table whose rows give no widths has a column
// for each cell of its longest row.
class RtfTableGrid
{
public:
    // A cell of the QTextTable.
    struct Slot
    {
        int row = 0, column = 0;
        int rows = 1, columns = 1;
        bool filler = false;
        std::vector<int> merged; // for cells the file merged across: how many columns each spans
        // The draft's cells (row, cell) whose content it shows: the cell it stands for, then the
        // cells merged into it.
        std::vector<std::pair<int, int>> sources;
        QTextTableCellFormat format;
    };

    explicit RtfTableGrid(const RtfTableDraft &draft);

    int rows() const { return m_rows; }
    int columns() const { return m_edges.size() > 1 ? int(m_edges.size()) - 1 : m_columns; }
    // The column edges in twips, columns() + 1 of them, equal around a column of no width; none
    // when the rows give no widths.
    const std::vector<qint64> &edges() const { return m_edges; }
    // Row after row, left to right: the order of the cells in the document.
    const std::vector<Slot> &cells() const { return m_slots; }
    // The definition the table's look comes from (its first row's), or null.
    const RtfDocumentBuilder::Row *firstDefinition() const { return m_definitions.empty() ? nullptr : m_definitions.front(); }
    // How many rows at the top repeat on each page.
    int headerRows() const { return m_headerRows; }

private:
    // A cell of a row as the file gives it, merged across already, with its edges.
    struct RowCell
    {
        qint64 left = 0, right = 0;
        std::vector<qint64> inner; // the edges of the cells merged into it
        int firstCell = 0;
        int merge = 0; // the merge bits of its first cell
        bool merged = false;
        std::vector<int> cells; // the draft's cells it holds
        int start = 0, end = 0; // its columns
    };

    void findDefinitions(const RtfTableDraft &draft);
    void layOutUnshaped(const RtfTableDraft &draft);
    std::vector<RowCell> rowCells(const RtfTableDraft &draft, int row, qint64 left) const;
    void makeGrid(std::vector<qint64> edges, const std::map<qint64, int> &zeros);
    qint64 snapped(qint64 edge) const;
    int firstColumnAt(qint64 edge) const;
    int lastColumnAt(qint64 edge) const;
    void placeCells(std::vector<std::vector<RowCell>> &cells, const std::vector<qint64> &rowLefts);

    int m_rows = 0;
    int m_columns = 1;
    std::vector<const RtfDocumentBuilder::Row *> m_definitions; // by row
    std::vector<qint64> m_edges;
    qint64 m_origin = 0, m_step = 0; // edges are snapped to origin + k * step when there are too many
    std::vector<Slot> m_slots;
    int m_headerRows = 0;
};
