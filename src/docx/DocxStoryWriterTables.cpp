// The Word story writer's tables: the grid, rows with their header and height, and cells with
// their spans, merges, borders, shading, padding and alignment.
#include "docx/DocxFormats.h"
#include "docx/DocxNamespaces.h"
#include "docx/DocxPropertyList.h"
#include "docx/DocxPropertyWriter.h"
#include "docx/DocxStoryWriter.h"
#include "docx/DocxStylesWriter.h"
#include "docx/DocxUnits.h"
#include "docx/DocxWriteContext.h"
#include "rtf/TextFormats.h"

#include <QTextTable>
#include <QXmlStreamWriter>
#include <cmath>

using namespace DocxNamespaces;

namespace {

const QString &w()
{
    static const QString ns = uri(W);
    return ns;
}

QString borderKind(int style)
{
    switch (style) {
    case QTextFrameFormat::BorderStyle_None: return QStringLiteral("nil");
    case QTextFrameFormat::BorderStyle_Dotted: return QStringLiteral("dotted");
    case QTextFrameFormat::BorderStyle_Dashed: return QStringLiteral("dashed");
    case QTextFrameFormat::BorderStyle_Double: return QStringLiteral("double");
    case QTextFrameFormat::BorderStyle_DotDash: return QStringLiteral("dotDash");
    case QTextFrameFormat::BorderStyle_DotDotDash: return QStringLiteral("dotDotDash");
    case QTextFrameFormat::BorderStyle_Groove: return QStringLiteral("threeDEngrave");
    case QTextFrameFormat::BorderStyle_Ridge: return QStringLiteral("threeDEmboss");
    case QTextFrameFormat::BorderStyle_Inset: return QStringLiteral("inset");
    case QTextFrameFormat::BorderStyle_Outset: return QStringLiteral("outset");
    default: return QStringLiteral("single");
    }
}

constexpr QTextFormat::Property kPadding[4] = {QTextFormat::TableCellTopPadding, QTextFormat::TableCellLeftPadding,
                                               QTextFormat::TableCellBottomPadding, QTextFormat::TableCellRightPadding};
const char *const kSideNames[4] = {"top", "left", "bottom", "right"};

// The grid's widths in twips: fixed ones as they are, percentages of the text width, the rest
// sharing what is left.
QList<int> gridWidths(const QTextTable *table, double textWidth)
{
    const int columns = table->columns();
    QList<QTextLength> constraints = table->format().columnWidthConstraints();
    constraints.resize(columns);
    QList<double> px(columns, -1);
    double used = 0;
    int open = 0;
    for (int c = 0; c < columns; ++c) {
        const QTextLength &l = constraints[c];
        if (l.type() == QTextLength::FixedLength)
            px[c] = l.rawValue();
        else if (l.type() == QTextLength::PercentageLength)
            px[c] = textWidth * l.rawValue() / 100.0;
        if (px[c] >= 0)
            used += px[c];
        else
            ++open;
    }
    const double share = open ? qMax(24.0, (textWidth - used) / open) : 0;
    QList<int> twips;
    for (int c = 0; c < columns; ++c)
        twips.append(qMax(15, TextFormats::roundedTwips(px[c] >= 0 ? px[c] : share)));
    return twips;
}

bool isFiller(const QTextTableCell &cell)
{
    return cell.format().boolProperty(TextFormats::kGridFillerProperty) && cell.rowSpan() == 1 && cell.columnSpan() == 1;
}

} // namespace

void DocxStoryWriter::writeTable(QTextTable *table)
{
    const QTextTableFormat tf = table->format();
    const int rows = table->rows(), columns = table->columns();
    const QList<int> grid = gridWidths(table, context_.textWidth);
    // The table's cell margins: the first real cell's, which the others mostly share.
    const double saved[4] = {cellPadding_[0], cellPadding_[1], cellPadding_[2], cellPadding_[3]};
    const QTextTableCellFormat firstCell = table->cellAt(0, 0).format().toTableCellFormat();
    for (int side = 0; side < 4; ++side)
        cellPadding_[side] = firstCell.hasProperty(kPadding[side]) ? firstCell.doubleProperty(kPadding[side]) : tf.cellPadding();

    out_.writeStartElement(w(), QStringLiteral("tbl"));
    DocxPropertyList props(DocxPropertyList::Table);
    const QString style = tf.stringProperty(DocxFormats::kTableStyleProperty);
    if (!style.isEmpty() && context_.styles.hasTableStyle(style))
        props.addValue(QStringLiteral("tblStyle"), style);
    const QTextLength width = tf.width();
    if (width.type() == QTextLength::FixedLength)
        props.add(QStringLiteral("tblW"), {{QStringLiteral("w"), DocxPropertyWriter::twips(width.rawValue())},
                                           {QStringLiteral("type"), QStringLiteral("dxa")}});
    else if (width.type() == QTextLength::PercentageLength)
        props.add(QStringLiteral("tblW"), {{QStringLiteral("w"), QString::number(std::lround(width.rawValue() * 50))},
                                           {QStringLiteral("type"), QStringLiteral("pct")}});
    else
        props.add(QStringLiteral("tblW"), {{QStringLiteral("w"), QStringLiteral("0")}, {QStringLiteral("type"), QStringLiteral("auto")}});
    const Qt::Alignment align = tf.alignment() & Qt::AlignHorizontal_Mask;
    if (align & Qt::AlignHCenter)
        props.addValue(QStringLiteral("jc"), QStringLiteral("center"));
    else if (align & Qt::AlignRight)
        props.addValue(QStringLiteral("jc"), QStringLiteral("right"));
    if (tf.leftMargin() > 0)
        props.add(QStringLiteral("tblInd"), {{QStringLiteral("w"), DocxPropertyWriter::twips(tf.leftMargin())},
                                             {QStringLiteral("type"), QStringLiteral("dxa")}});
    props.add(QStringLiteral("tblLayout"), {{QStringLiteral("type"), QStringLiteral("fixed")}});
    const double padding[4] = {cellPadding_[0], cellPadding_[1], cellPadding_[2], cellPadding_[3]};
    props.addCustom(QStringLiteral("tblCellMar"), [padding](QXmlStreamWriter &out) {
        out.writeStartElement(w(), QStringLiteral("tblCellMar"));
        for (int side = 0; side < 4; ++side) {
            out.writeEmptyElement(w(), QLatin1String(kSideNames[side]));
            out.writeAttribute(w(), QStringLiteral("w"), DocxPropertyWriter::twips(padding[side]));
            out.writeAttribute(w(), QStringLiteral("type"), QStringLiteral("dxa"));
        }
        out.writeEndElement();
    });
    props.addKept(tf.stringProperty(DocxFormats::kTablePropertiesProperty));
    props.write(out_, QStringLiteral("tblPr"), true);
    out_.writeStartElement(w(), QStringLiteral("tblGrid"));
    for (const int twips : grid) {
        out_.writeEmptyElement(w(), QStringLiteral("gridCol"));
        out_.writeAttribute(w(), QStringLiteral("w"), QString::number(twips));
    }
    out_.writeEndElement();

    for (int r = 0; r < rows; ++r) {
        int before = 0, after = 0;
        while (before < columns && isFiller(table->cellAt(r, before)))
            ++before;
        while (after < columns - before && isFiller(table->cellAt(r, columns - 1 - after)))
            ++after;
        out_.writeStartElement(w(), QStringLiteral("tr"));
        DocxPropertyList row(DocxPropertyList::Row);
        if (before)
            row.addValue(QStringLiteral("gridBefore"), QString::number(before));
        if (after)
            row.addValue(QStringLiteral("gridAfter"), QString::number(after));
        const QTextTableCellFormat rowCell = table->cellAt(r, before < columns ? before : 0).format().toTableCellFormat();
        if (rowCell.hasProperty(TextFormats::kRowHeightProperty)) {
            const int height = rowCell.intProperty(TextFormats::kRowHeightProperty);
            if (height != 0)
                row.add(QStringLiteral("trHeight"), {{QStringLiteral("val"), QString::number(std::abs(height))},
                                                     {QStringLiteral("hRule"), height < 0 ? QStringLiteral("exact")
                                                                                          : QStringLiteral("atLeast")}});
        }
        if (r < tf.headerRowCount())
            row.add(QStringLiteral("tblHeader"));
        row.addKept(rowCell.stringProperty(DocxFormats::kRowPropertiesProperty));
        row.write(out_, QStringLiteral("trPr"));
        for (int c = before; c < columns - after; ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (cell.column() != c)
                continue; // covered by a cell to its left
            out_.writeStartElement(w(), QStringLiteral("tc"));
            const bool continued = cell.row() != r;
            writeCellProperties(table, cell, grid, continued);
            if (continued)
                out_.writeEmptyElement(w(), QStringLiteral("p"));
            else
                writeChildren(cell.begin(), true);
            out_.writeEndElement();
            c += cell.columnSpan() - 1;
        }
        out_.writeEndElement();
    }
    out_.writeEndElement();
    for (int side = 0; side < 4; ++side)
        cellPadding_[side] = saved[side];
}

void DocxStoryWriter::writeCellProperties(QTextTable *table, const QTextTableCell &cell, const QList<int> &grid,
                                          bool continued)
{
    Q_UNUSED(table);
    const QTextTableCellFormat f = cell.format().toTableCellFormat();
    DocxPropertyList props(DocxPropertyList::Cell);
    int width = 0;
    for (int c = cell.column(); c < cell.column() + cell.columnSpan() && c < grid.size(); ++c)
        width += grid[c];
    props.add(QStringLiteral("tcW"), {{QStringLiteral("w"), QString::number(width)}, {QStringLiteral("type"), QStringLiteral("dxa")}});
    if (cell.columnSpan() > 1)
        props.addValue(QStringLiteral("gridSpan"), QString::number(cell.columnSpan()));
    if (continued)
        props.add(QStringLiteral("vMerge"));
    else if (cell.rowSpan() > 1)
        props.addValue(QStringLiteral("vMerge"), QStringLiteral("restart"));
    bool anyBorder = false;
    for (const TextFormats::CellBorderSide &s : TextFormats::kCellBorderSides)
        anyBorder = anyBorder || f.hasProperty(s.style) || f.hasProperty(s.width);
    if (anyBorder) {
        props.addCustom(QStringLiteral("tcBorders"), [f](QXmlStreamWriter &out) {
            out.writeStartElement(w(), QStringLiteral("tcBorders"));
            for (int side = 0; side < 4; ++side) {
                const TextFormats::CellBorderSide &s = TextFormats::kCellBorderSides[side];
                if (!f.hasProperty(s.style) && !f.hasProperty(s.width))
                    continue;
                const double px = f.doubleProperty(s.width);
                const int style = f.hasProperty(s.style) ? f.intProperty(s.style)
                                                          : int(QTextFrameFormat::BorderStyle_Solid);
                const bool none = style == QTextFrameFormat::BorderStyle_None;
                out.writeEmptyElement(w(), QLatin1String(kSideNames[side]));
                out.writeAttribute(w(), QStringLiteral("val"), none ? QStringLiteral("nil") : borderKind(style));
                if (none)
                    continue;
                out.writeAttribute(w(), QStringLiteral("sz"), QString::number(qBound(2L, std::lround(px * 6), 96L)));
                out.writeAttribute(w(), QStringLiteral("space"), QStringLiteral("0"));
                const QBrush brush = f.brushProperty(s.brush);
                out.writeAttribute(w(), QStringLiteral("color"), brush.style() == Qt::NoBrush ? QStringLiteral("auto")
                                                                                   : DocxUnits::colorName(brush.color()));
            }
            out.writeEndElement();
        });
    }
    if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush)
        props.add(QStringLiteral("shd"), {{QStringLiteral("val"), QStringLiteral("clear")},
                                          {QStringLiteral("color"), QStringLiteral("auto")},
                                          {QStringLiteral("fill"), DocxUnits::colorName(f.background().color())}});
    bool ownPadding = false;
    for (int side = 0; side < 4; ++side)
        ownPadding = ownPadding || (f.hasProperty(kPadding[side])
                                    && std::lround(f.doubleProperty(kPadding[side]) * 15) != std::lround(cellPadding_[side] * 15));
    if (ownPadding) {
        double padding[4];
        for (int side = 0; side < 4; ++side)
            padding[side] = f.hasProperty(kPadding[side]) ? f.doubleProperty(kPadding[side]) : cellPadding_[side];
        props.addCustom(QStringLiteral("tcMar"), [padding](QXmlStreamWriter &out) {
            out.writeStartElement(w(), QStringLiteral("tcMar"));
            for (int side = 0; side < 4; ++side) {
                out.writeEmptyElement(w(), QLatin1String(kSideNames[side]));
                out.writeAttribute(w(), QStringLiteral("w"), DocxPropertyWriter::twips(padding[side]));
                out.writeAttribute(w(), QStringLiteral("type"), QStringLiteral("dxa"));
            }
            out.writeEndElement();
        });
    }
    if (f.hasProperty(QTextFormat::TextVerticalAlignment)) {
        const int v = f.verticalAlignment();
        if (v == QTextCharFormat::AlignMiddle)
            props.addValue(QStringLiteral("vAlign"), QStringLiteral("center"));
        else if (v == QTextCharFormat::AlignBottom)
            props.addValue(QStringLiteral("vAlign"), QStringLiteral("bottom"));
    }
    if (!continued)
        props.addKept(f.stringProperty(DocxFormats::kCellPropertiesProperty));
    props.write(out_, QStringLiteral("tcPr"));
}
