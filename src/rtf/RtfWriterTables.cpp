// The RTF writer's tables: rows, cells and their looks.
#include "rtf/RtfWriter.h"
#include "rtf/DocumentExtras.h"
#include "rtf/TextFormats.h"

#include <QTextTable>

namespace {

constexpr int kTextWidthTwips = 9360; // 6.5 inches, for tables without fixed widths
constexpr int kMaxCellWidthTwips = 31680; // 22 inches, the widest cell a reading takes

int twips(double pixels) { return TextFormats::roundedTwips(pixels); }

const char *borderWord(int style)
{
    switch (style) {
    case QTextFrameFormat::BorderStyle_Dotted: return "brdrdot";
    case QTextFrameFormat::BorderStyle_Dashed: return "brdrdash";
    case QTextFrameFormat::BorderStyle_Double: return "brdrdb";
    case QTextFrameFormat::BorderStyle_DotDash: return "brdrdashd";
    case QTextFrameFormat::BorderStyle_DotDotDash: return "brdrdashdd";
    case QTextFrameFormat::BorderStyle_Groove: return "brdrengrave";
    case QTextFrameFormat::BorderStyle_Ridge: return "brdremboss";
    case QTextFrameFormat::BorderStyle_Inset: return "brdrinset";
    case QTextFrameFormat::BorderStyle_Outset: return "brdroutset";
    case QTextFrameFormat::BorderStyle_None: return "brdrnone";
    default: return "brdrs";
    }
}

} // namespace

namespace {

// How many columns each of the cells a cell stands for spans: one cell, or the cells the file
// merged across (as their column counts, else one cell per column). A cell wider than a reading
// takes one is written as cells merged across, one per column.
QList<int> mergedParts(const QTextCharFormat &f, int span, int width)
{
    if (span > 1 && width > kMaxCellWidthTwips && !f.hasProperty(TextFormats::kCellHorizontalMergeProperty))
        return QList<int>(span, 1);
    if (span <= 1 || !f.hasProperty(TextFormats::kCellHorizontalMergeProperty))
        return {span};
    const QList<int> parts = f.property(TextFormats::kCellHorizontalMergeProperty).value<QList<int>>();
    int sum = 0;
    for (const int p : parts)
        sum += p >= 1 ? p : span + 1;
    return sum == span && parts.size() > 1 ? parts : QList<int>(span, 1);
}

} // namespace

// A row's cells as the file has them: the table's columns are a grid that rows need not fill
// (fillers stand for no cell), a cell spans the columns between its edges, and a span the file
// wrote as cells merged across is written back as those cells.
QList<RtfWriter::RowCell> RtfWriter::rowCells(QTextTable *table, int row, const QList<int> &edges) const
{
    QList<RowCell> cells;
    for (int c = 0; c < table->columns();) {
        const QTextTableCell cell = table->cellAt(row, c);
        const int span = qMax(1, cell.columnSpan());
        const QTextCharFormat f = cell.format();
        // A filler someone typed into is a cell: its text is not dropped.
        const bool filler = f.boolProperty(TextFormats::kGridFillerProperty) && cell.firstPosition() == cell.lastPosition();
        if (!filler) {
            const int last = qMin(c + span, int(edges.size()) - 1);
            const QList<int> parts = mergedParts(f, span, edges[last] - edges[qMin(c, last)]);
            int first = c;
            for (qsizetype k = 0; k < parts.size(); ++k) {
                RowCell rc;
                rc.cell = cell;
                rc.first = first;
                rc.last = first + parts[k];
                rc.shown = cell.row() == row && k == 0;
                rc.merge = parts.size() > 1 ? (k == 0 ? "clmgf" : "clmrg") : nullptr;
                cells.append(rc);
                first = rc.last;
            }
        }
        c = qMax(c + 1, cell.column() + span);
    }
    return cells;
}

void RtfWriter::writeTable(QTextTable *table, int tableLevel)
{
    closeSpans(0);
    const QList<int> edges = columnEdges(table);
    for (int r = 0; r < table->rows(); ++r) {
        const QList<RowCell> cells = rowCells(table, r, edges);
        if (tableLevel == 1)
            writeRowDefinition(table, r, cells, edges);
        for (const RowCell &rc : cells) {
            if (rc.shown) {
                writeCell(rc.cell, tableLevel);
                continue;
            }
            // A cell merged into another: an empty paragraph keeps the count.
            word("pard");
            word("intbl");
            if (tableLevel > 1)
                word("itap", tableLevel);
            word(tableLevel > 1 ? "nestcell" : "cell");
        }
        if (tableLevel == 1) {
            word("row");
        } else {
            raw("{\\*\\nesttableprops");
            writeRowDefinition(table, r, cells, edges);
            word("nestrow");
            raw("}{\\nonesttables\\par}");
            needSpace_ = false;
        }
        newline();
    }
}

void RtfWriter::writeCell(const QTextTableCell &cell, int tableLevel)
{
    writeItems(cell.begin(), tableLevel, true);
    closeSpans(0);
}

// The edges of the table's columns in twips, from the table's left edge: fixed widths as they are,
// others as shares of a page.
QList<int> RtfWriter::columnEdges(QTextTable *table) const
{
    const int columns = table->columns();
    const QTextTableFormat format = table->format();
    const QList<QTextLength> widths = format.columnWidthConstraints();
    QList<int> edges;
    int edge = twips(format.leftMargin());
    edges.append(edge);
    for (int c = 0; c < columns; ++c) {
        const QTextLength w = c < widths.size() ? widths[c] : QTextLength();
        int width = kTextWidthTwips / qMax(1, columns);
        if (w.type() == QTextLength::FixedLength) // a column of no width stands for cells of none
            width = qBound(0, twips(w.rawValue()), kMaxCellWidthTwips);
        else if (w.type() == QTextLength::PercentageLength)
            width = qBound(15, int(kTextWidthTwips * w.rawValue() / 100.0), kMaxCellWidthTwips);
        edge += width;
        edges.append(edge);
    }
    return edges;
}

void RtfWriter::writeRowDefinition(QTextTable *table, int row, const QList<RowCell> &cells, const QList<int> &edges)
{
    const QTextTableFormat f = table->format();
    word("trowd");
    word("trgaph", twips(f.cellPadding()));
    const int left = edges[cells.isEmpty() ? 0 : cells.first().first];
    if (left != 0)
        word("trleft", left);
    const Qt::Alignment align = f.alignment() & Qt::AlignHorizontal_Mask;
    if (align & Qt::AlignHCenter)
        word("trqc");
    else if (align & Qt::AlignRight)
        word("trqr");
    for (const RowCell &rc : cells) {
        if (rc.cell.row() == row && rc.cell.format().hasProperty(TextFormats::kRowHeightProperty)) {
            word("trrh", rc.cell.format().intProperty(TextFormats::kRowHeightProperty));
            break;
        }
    }
    if (row < f.headerRowCount())
        word("trhdr");
    for (const RowCell &rc : cells) {
        writeCellFormat(rc.cell);
        if (rc.merge)
            word(rc.merge);
        if (rc.cell.rowSpan() > 1)
            word(rc.cell.row() == row ? "clvmgf" : "clvmrg");
        word("cellx", edges[rc.last]);
    }
}

// A cell's alignment, borders, shading and padding, when it has its own.
void RtfWriter::writeCellFormat(const QTextTableCell &cell)
{
    const QTextTableCellFormat f = cell.format().toTableCellFormat();
    if (f.hasProperty(QTextFormat::TextVerticalAlignment)) {
        switch (f.verticalAlignment()) {
        case QTextCharFormat::AlignTop: word("clvertalt"); break;
        case QTextCharFormat::AlignMiddle: word("clvertalc"); break;
        case QTextCharFormat::AlignBottom: word("clvertalb"); break;
        default: break;
        }
    }
    static constexpr const char *kSides[] = {"clbrdrt", "clbrdrl", "clbrdrb", "clbrdrr"};
    for (int side = 0; side < 4; ++side) {
        const TextFormats::CellBorderSide &p = TextFormats::kCellBorderSides[side];
        if (!f.hasProperty(p.style))
            continue;
        const int style = f.intProperty(p.style);
        word(kSides[side]);
        word(borderWord(style));
        if (style == QTextFrameFormat::BorderStyle_None)
            continue;
        word("brdrw", qBound(0, twips(f.doubleProperty(p.width)), 1440));
        const QBrush brush = f.brushProperty(p.brush);
        if (f.hasProperty(p.brush) && brush.style() != Qt::NoBrush)
            word("brdrcf", colorIndex(brush.color()));
    }
    if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush)
        word("clcbpat", colorIndex(f.background().color()));
    static constexpr const char *kPad[] = {"clpadt", "clpadl", "clpadb", "clpadr"};
    static constexpr const char *kPadUnit[] = {"clpadft", "clpadfl", "clpadfb", "clpadfr"};
    static constexpr QTextFormat::Property kPadding[] = {QTextFormat::TableCellTopPadding, QTextFormat::TableCellLeftPadding,
                                                         QTextFormat::TableCellBottomPadding, QTextFormat::TableCellRightPadding};
    for (int side = 0; side < 4; ++side) {
        if (!f.hasProperty(kPadding[side]))
            continue;
        word(kPad[side], qMax(0, twips(f.doubleProperty(kPadding[side]))));
        word(kPadUnit[side], 3);
    }
}
