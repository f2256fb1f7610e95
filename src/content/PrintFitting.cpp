#include "content/PrintFitting.h"

#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

namespace {

// Widths are compared with a little room, so that rounding never narrows a table that fits.
constexpr double kSlack = 0.5;

// The space a table's frame takes around its cells on both sides, and between its columns.
double tableOverhead(const QTextTableFormat &format, int columns)
{
    const double frame = format.leftMargin() + format.rightMargin() + 2 * (format.border() + format.padding());
    return frame + columns * 2 * format.border() + (columns + 1) * format.cellSpacing();
}

// What a paragraph takes from the width of its frame: its margins and indents.
double blockIndents(const QTextBlock &block)
{
    const QTextBlockFormat format = block.blockFormat();
    const double indentWidth = block.document()->indentWidth();
    double indents = format.leftMargin() + format.rightMargin() + format.indent() * indentWidth;
    if (const QTextList *list = block.textList())
        indents += list->format().indent() * indentWidth;
    return indents;
}

double cellPadding(const QTextTableCell &cell, const QTextTableFormat &table)
{
    const QTextTableCellFormat format = cell.format().toTableCellFormat();
    const double left = format.hasProperty(QTextFormat::TableCellLeftPadding) ? format.leftPadding() : table.cellPadding();
    const double right = format.hasProperty(QTextFormat::TableCellRightPadding) ? format.rightPadding() : table.cellPadding();
    return left + right;
}

} // namespace

void PrintFitting::fit(QTextDocument &doc, QSizeF body)
{
    PrintFitting(doc, body).fitFrame(*doc.rootFrame(), body.width(), false);
}

void PrintFitting::fitFrame(QTextFrame &frame, double width, bool narrow)
{
    for (auto it = frame.begin(); !it.atEnd(); ++it) {
        QTextFrame *child = it.currentFrame();
        if (!child) {
            fitPictures(it.currentBlock(), width - blockIndents(it.currentBlock()));
        } else if (auto *table = qobject_cast<QTextTable *>(child)) {
            fitTable(*table, width, narrow);
        } else {
            QTextFrameFormat format = child->frameFormat();
            const double around = format.leftMargin() + format.rightMargin() + 2 * (format.border() + format.padding());
            double inner = width - around;
            if (format.width().type() == QTextLength::FixedLength) {
                if (format.width().rawValue() > inner + kSlack) {
                    format.setWidth(QTextLength(QTextLength::FixedLength, std::max(0.0, inner)));
                    child->setFrameFormat(format);
                } else {
                    inner = format.width().rawValue();
                }
            }
            fitFrame(*child, inner, narrow);
        }
    }
}

void PrintFitting::fitTable(QTextTable &table, double width, bool narrow)
{
    QTextTableFormat format = table.format();
    const double inner = columnSpace(format, table.columns(), width);
    const bool narrowed = narrowColumns(format, table.columns(), inner, narrow);
    if (format != table.format())
        table.setFormat(format);

    const QList<double> columnWidths = columnRoom(table, inner);
    const double between = 2 * format.border() + format.cellSpacing();
    for (int row = 0; row < table.rows(); ++row) {
        for (int column = 0; column < table.columns(); ++column) {
            const QTextTableCell cell = table.cellAt(row, column);
            if (cell.row() != row || cell.column() != column)
                continue; // covered by a cell that spans it
            double cellWidth = (cell.columnSpan() - 1) * between - cellPadding(cell, format);
            for (int spanned = column; spanned < std::min(table.columns(), column + cell.columnSpan()); ++spanned)
                cellWidth += columnWidths[spanned];
            fitCell(cell, std::min(cellWidth, inner), narrowed);
        }
    }
}

// The width the columns of a table standing in `width` share. A table of its own fixed width
// keeps it when it fits, and is given the width it stands in when it does not.
double PrintFitting::columnSpace(QTextTableFormat &format, int columns, double width)
{
    const double outer = width - format.leftMargin() - format.rightMargin();
    double inner = width - tableOverhead(format, columns);
    if (format.width().type() == QTextLength::FixedLength) {
        if (format.width().rawValue() > outer + kSlack)
            format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        else
            inner -= outer - format.width().rawValue();
    }
    return inner;
}

// Turns fixed column widths that add up to more than `inner` (or any, when `narrow`) into shares
// of it, each in proportion to its width, beside the shares other columns already have. True when
// it did.
bool PrintFitting::narrowColumns(QTextTableFormat &format, int columns, double inner, bool narrow)
{
    QList<QTextLength> widths = format.columnWidthConstraints();
    widths.resize(columns);
    double fixed = 0, percent = 0;
    for (const QTextLength &length : std::as_const(widths)) {
        if (length.type() == QTextLength::FixedLength)
            fixed += length.rawValue();
        else if (length.type() == QTextLength::PercentageLength)
            percent += length.rawValue();
    }
    if (fixed <= 0 || (!narrow && fixed <= inner + kSlack))
        return false;
    const double share = std::max(0.0, 100 - percent);
    for (QTextLength &length : widths)
        if (length.type() == QTextLength::FixedLength)
            length = QTextLength(QTextLength::PercentageLength, length.rawValue() / fixed * share);
    format.setColumnWidthConstraints(widths);
    return true;
}

// What each column gives its cells. Columns of variable width share what the others leave: each
// may have its widest picture when they all fit, else a share in proportion to it (a column
// without pictures asks for an even share). Pictures in such columns would otherwise overlap:
// Qt does not widen a column for the pictures in it.
QList<double> PrintFitting::columnRoom(const QTextTable &table, double inner) const
{
    const QTextTableFormat format = table.format();
    QList<QTextLength> widths = format.columnWidthConstraints();
    widths.resize(table.columns());
    QList<double> room(widths.size(), 0.0);
    QList<double> wanted(widths.size(), 0.0);
    double left = inner;
    int variable = 0;
    for (qsizetype column = 0; column < widths.size(); ++column) {
        if (widths[column].type() != QTextLength::VariableLength) {
            room[column] = widths[column].value(inner);
            left -= room[column];
            continue;
        }
        ++variable;
        for (int row = 0; row < table.rows(); ++row) {
            const QTextTableCell cell = table.cellAt(row, int(column));
            if (cell.columnSpan() == 1)
                wanted[column] = std::max(wanted[column], widestPicture(cell) + cellPadding(cell, format));
        }
    }
    left = std::max(0.0, left);
    double allWanted = 0;
    for (qsizetype column = 0; column < widths.size(); ++column) {
        if (widths[column].type() == QTextLength::VariableLength && wanted[column] <= 0)
            wanted[column] = left / variable;
        allWanted += wanted[column]; // zero for the other columns
    }
    for (qsizetype column = 0; column < widths.size(); ++column) {
        if (widths[column].type() != QTextLength::VariableLength)
            continue;
        room[column] = allWanted <= left ? left - (allWanted - wanted[column]) : left * wanted[column] / allWanted;
    }
    return room;
}

// The width of the widest picture in the cell's own paragraphs, with their indents.
double PrintFitting::widestPicture(const QTextTableCell &cell) const
{
    double widest = 0;
    for (auto it = cell.begin(); !it.atEnd(); ++it) {
        if (it.currentFrame())
            continue;
        const QTextBlock block = it.currentBlock();
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextCharFormat format = fragment.fragment().charFormat();
            if (format.isImageFormat())
                widest = std::max(widest, pictureSize(format.toImageFormat()).width() + blockIndents(block));
        }
    }
    return widest;
}

void PrintFitting::fitCell(const QTextTableCell &cell, double width, bool narrow)
{
    for (auto it = cell.begin(); !it.atEnd(); ++it) {
        QTextFrame *child = it.currentFrame();
        if (!child)
            fitPictures(it.currentBlock(), width - blockIndents(it.currentBlock()));
        else if (auto *table = qobject_cast<QTextTable *>(child))
            fitTable(*table, width, narrow);
        else
            fitFrame(*child, width, narrow);
    }
}

void PrintFitting::fitPictures(const QTextBlock &block, double width)
{
    struct Picture {
        int position;
        int length;
        QTextImageFormat format;
    };
    QList<Picture> tooLarge;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.charFormat().isImageFormat())
            continue;
        QTextImageFormat format = fragment.charFormat().toImageFormat();
        const QSizeF size = pictureSize(format);
        if (size.isEmpty() || (size.width() <= width + kSlack && size.height() <= m_body.height() + kSlack))
            continue;
        const QSizeF fitted = size.scaled(QSizeF(std::max(1.0, width), m_body.height()), Qt::KeepAspectRatio);
        format.setWidth(fitted.width());
        format.setHeight(fitted.height());
        tooLarge.append({fragment.position(), fragment.length(), format});
    }
    QTextCursor cursor(&m_doc);
    for (const Picture &picture : std::as_const(tooLarge)) {
        cursor.setPosition(picture.position);
        cursor.setPosition(picture.position + picture.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(picture.format);
    }
}

// The size a picture is shown at: the one its format gives, else its own, or in proportion to
// its own when only one side is given.
QSizeF PrintFitting::pictureSize(const QTextImageFormat &format) const
{
    const QVariant resource = m_doc.resource(QTextDocument::ImageResource, QUrl(format.name()));
    QSizeF natural;
    if (resource.typeId() == QMetaType::QImage)
        natural = resource.value<QImage>().size();
    else if (resource.typeId() == QMetaType::QPixmap)
        natural = resource.value<QPixmap>().size();
    const bool hasWidth = format.hasProperty(QTextFormat::ImageWidth);
    const bool hasHeight = format.hasProperty(QTextFormat::ImageHeight);
    if (hasWidth && hasHeight)
        return {format.width(), format.height()};
    if (natural.isEmpty())
        return {};
    if (hasWidth)
        return {format.width(), format.width() * natural.height() / natural.width()};
    if (hasHeight)
        return {format.height() * natural.width() / natural.height(), format.height()};
    return natural;
}
