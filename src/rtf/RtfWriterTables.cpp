// The RTF writer's tables: rows, cells and their looks.
#include "rtf/RtfWriter.h"
#include "rtf/DocumentExtras.h"
#include "rtf/TextFormats.h"

#include <QTextTable>

namespace {

constexpr int kTextWidthTwips = 9360; // 6.5 inches, for tables without fixed widths

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

void RtfWriter::writeTable(QTextTable *table, int tableLevel)
{
    closeSpans(0);
    const QList<int> rights = cellRights(table);
    for (int r = 0; r < table->rows(); ++r) {
        if (tableLevel == 1)
            writeRowDefinition(table, r, rights);
        for (int c = 0; c < table->columns(); ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (cell.row() == r && cell.column() == c) {
                writeCell(cell, tableLevel);
                continue;
            }
            // A cell covered by a merged one: an empty paragraph keeps the count.
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
            writeRowDefinition(table, r, rights);
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

QList<int> RtfWriter::cellRights(QTextTable *table) const
{
    const int columns = table->columns();
    const QList<QTextLength> widths = table->format().columnWidthConstraints();
    QList<int> rights;
    int right = 0;
    for (int c = 0; c < columns; ++c) {
        const QTextLength w = c < widths.size() ? widths[c] : QTextLength();
        int width = kTextWidthTwips / qMax(1, columns);
        if (w.type() == QTextLength::FixedLength)
            width = twips(w.rawValue());
        else if (w.type() == QTextLength::PercentageLength)
            width = int(kTextWidthTwips * w.rawValue() / 100.0);
        right += qBound(15, width, 31680);
        rights.append(right);
    }
    return rights;
}

void RtfWriter::writeRowDefinition(QTextTable *table, int row, const QList<int> &rights)
{
    const QTextTableFormat f = table->format();
    word("trowd");
    word("trgaph", twips(f.cellPadding()));
    const Qt::Alignment align = f.alignment() & Qt::AlignHorizontal_Mask;
    if (align & Qt::AlignHCenter)
        word("trqc");
    else if (align & Qt::AlignRight)
        word("trqr");
    for (int c = 0; c < table->columns(); ++c) {
        const QTextTableCell cell = table->cellAt(row, c);
        if (cell.row() == row && cell.format().hasProperty(TextFormats::kRowHeightProperty)) {
            word("trrh", cell.format().intProperty(TextFormats::kRowHeightProperty));
            break;
        }
    }
    if (row < f.headerRowCount())
        word("trhdr");
    for (int c = 0; c < table->columns(); ++c) {
        const QTextTableCell cell = table->cellAt(row, c);
        writeCellFormat(cell);
        if (cell.columnSpan() > 1)
            word(cell.column() == c ? "clmgf" : "clmrg");
        if (cell.rowSpan() > 1)
            word(cell.row() == row ? "clvmgf" : "clvmrg");
        word("cellx", rights[c]);
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
