#include "docx/DocxDocumentBuilder.h"
#include "rtf/TextFormats.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextList>
#include <QTextTable>

DocxDocumentBuilder::DocxDocumentBuilder(QTextDocument &doc) : doc_(doc), cursor_(&doc) {}

void DocxDocumentBuilder::startParagraph(const QTextBlockFormat &block, const QTextCharFormat &chars,
                                         const ListItem *item)
{
    if (!tables_.empty() && !tables_.back().inCell)
        enterCellAt(tables_.back(), 0); // text between cells goes into the row's first free cell
    if (blockUsed_) {
        cursor_.insertBlock(block, chars);
    } else {
        cursor_.setBlockFormat(block);
        cursor_.setBlockCharFormat(chars);
    }
    blockUsed_ = true;
    if (item)
        addToList(*item);
}

void DocxDocumentBuilder::insertText(const QString &text, const QTextCharFormat &format)
{
    cursor_.insertText(text, format);
}

void DocxDocumentBuilder::insertFloat(const QTextFrameFormat &frame, const QTextImageFormat &image)
{
    if (!tables_.empty() && !tables_.back().inCell)
        enterCellAt(tables_.back(), 0);
    QTextFrame *f = cursor_.insertFrame(frame);
    QTextCursor inside = f->firstCursorPosition();
    inside.insertText(QString(QChar::ObjectReplacementCharacter), image);
    cursor_.setPosition(f->lastPosition() + 1);
    blockUsed_ = false;
}

void DocxDocumentBuilder::addToList(const ListItem &item)
{
    std::vector<QTextList *> &levels = lists_[item.key];
    const std::size_t level = std::size_t(qBound(0, item.level, 8));
    levels.resize(level + 1, nullptr); // deeper levels restart after this item
    const QTextListFormat::Style style = item.format.style();
    const bool bullets = style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle
                      || style == QTextListFormat::ListSquare;
    QTextList *current = levels[level];
    // Qt touches every item of a list when one is added, so a long list is cut into shorter ones;
    // the next one counts on from where the last one stopped.
    if (current && !item.restart && current->count() < (bullets ? kMaxBulletItems : kMaxListItems)) {
        current->add(cursor_.block());
        return;
    }
    QTextListFormat format = item.format;
    format.setProperty(TextFormats::kListGroupProperty, item.key + u'-' + groupPrefix_);
    if (current && !item.restart) {
        const QTextListFormat previous = current->format();
        const int start = previous.hasProperty(TextFormats::kListStartProperty)
                              ? previous.intProperty(TextFormats::kListStartProperty) : 1;
        TextFormats::setListStart(format, start + current->count());
    }
    levels[level] = cursor_.createList(format);
}

void DocxDocumentBuilder::openTable(const QTextTableFormat &format, int gridColumns)
{
    if (!tables_.empty() && !tables_.back().inCell)
        enterCellAt(tables_.back(), 0);
    const int columns = qBound(1, gridColumns, kMaxColumns);
    QTextTable *table = cursor_.insertTable(1, columns, format);
    OpenTable t;
    t.table = table;
    t.columns = columns;
    t.lastStart.assign(std::size_t(columns), -1);
    tables_.push_back(t);
    blockUsed_ = false;
}

void DocxDocumentBuilder::startRow()
{
    if (tables_.empty())
        return;
    OpenTable &t = tables_.back();
    ++t.row;
    if (t.row >= t.rows) {
        const int more = qMin(t.rows, 4096);
        t.table->appendRows(more);
        t.rows += more;
    }
    t.taken.assign(std::size_t(t.columns), false);
    t.cellFormats.clear();
    t.inCell = false;
}

// Moves the cursor to a cell of the row being filled. Cells after it are all still empty (one
// position each), so its place is found from the table's end: Qt rebuilds the whole grid on
// cellAt() after every change, which would make a long table quadratic.
void DocxDocumentBuilder::enterCellAt(OpenTable &t, int column)
{
    if (t.row < 0)
        startRow();
    if (column >= t.columns) {
        const int more = qMin(column + 1, kMaxColumns) - t.columns;
        if (more > 0) {
            t.table->appendColumns(more);
            t.columns += more;
            t.taken.resize(std::size_t(t.columns), false);
            t.lastStart.resize(std::size_t(t.columns), -1);
        }
        column = qMin(column, t.columns - 1);
    }
    const int emptyCellsAfter = (t.rows - 1 - t.row) * t.columns + (t.columns - 1 - column);
    cursor_.setPosition(t.table->lastPosition() - emptyCellsAfter);
    blockUsed_ = false;
    t.inCell = true;
    if (!t.taken[std::size_t(column)]) {
        t.taken[std::size_t(column)] = true;
        t.cellFormats.emplace_back(cursor_.position(), QTextTableCellFormat());
    }
}

void DocxDocumentBuilder::startCell(const Cell &cell)
{
    if (tables_.empty())
        return;
    OpenTable &t = tables_.back();
    if (t.row < 0)
        startRow();
    int column = qMax(0, cell.column);
    // A cell that would land on one already filled (rows that disagree with the grid) takes the
    // next free column.
    while (column < t.columns && t.taken[std::size_t(column)])
        ++column;
    if (column >= kMaxColumns) {
        // Past the widest table we make: the text joins the last cell.
        const int last = t.columns - 1;
        cursor_.setPosition(t.table->cellAt(t.row, last).lastPosition());
        blockUsed_ = true;
        t.inCell = true;
        return;
    }
    enterCellAt(t, column);
    column = qMin(column, t.columns - 1);
    const int span = qBound(1, cell.span, t.columns - column);
    const bool mergeable = column + span <= t.columns;
    for (int c = column + 1; c < column + span && c < t.columns; ++c)
        t.taken[std::size_t(c)] = true;
    t.cellFormats.back().second = cell.format;
    int &start = t.lastStart[std::size_t(column)];
    if (cell.continuesAbove && start >= 0 && mergeable) {
        auto &s = t.spans[std::size_t(start)];
        if (s[1] == column && s[3] == span) {
            s[2] = t.row - s[0] + 1;
            return;
        }
    }
    if (span > 1 || cell.continuesAbove) // a vertical merge may follow from this cell
        t.spans.push_back({t.row, column, 1, span});
    else
        t.spans.push_back({t.row, column, 1, 1});
    start = int(t.spans.size()) - 1;
    for (int c = column + 1; c < column + span && c < t.columns; ++c)
        t.lastStart[std::size_t(c)] = -1;
}

void DocxDocumentBuilder::endRow(const QTextTableCellFormat &filler, bool header)
{
    if (tables_.empty())
        return;
    OpenTable &t = tables_.back();
    if (t.row < 0)
        return;
    QTextCursor c(&doc_);
    for (const auto &[position, format] : t.cellFormats) {
        if (format.propertyCount() <= 1) // just its object type
            continue;
        c.setPosition(position);
        c.mergeBlockCharFormat(format);
    }
    for (int column = 0; column < t.columns; ++column) {
        if (t.taken[std::size_t(column)])
            continue;
        t.lastStart[std::size_t(column)] = -1;
        c.setPosition(t.table->cellAt(t.row, column).firstPosition());
        c.mergeBlockCharFormat(filler);
    }
    if (header && t.headerOpen && t.headerRows == t.row)
        ++t.headerRows;
    else
        t.headerOpen = false;
    t.cellFormats.clear();
    t.inCell = false;
}

void DocxDocumentBuilder::closeTable(const QTextTableCellFormat &lastRowBottom, const std::vector<bool> &ownBottom)
{
    QTextTable *table = close();
    if (table && lastRowBottom.propertyCount() > 1)
        patchLastRow(table, lastRowBottom, ownBottom);
}

// The last row's cells take the table's bottom border, which the rows above take as inside
// lines; cells with a bottom border of their own keep it.
void DocxDocumentBuilder::patchLastRow(QTextTable *table, const QTextTableCellFormat &bottom, const std::vector<bool> &ownBottom)
{
    const int last = table->rows() - 1;
    for (int c = 0; c < table->columns(); ++c) {
        QTextTableCell cell = table->cellAt(last, c);
        if (cell.column() != c || cell.row() + cell.rowSpan() - 1 != last)
            continue;
        QTextTableCellFormat f = cell.format().toTableCellFormat();
        if (f.boolProperty(TextFormats::kGridFillerProperty) || (std::size_t(c) < ownBottom.size() && ownBottom[std::size_t(c)]))
            continue;
        for (const int p : {QTextFormat::TableCellBottomBorder, QTextFormat::TableCellBottomBorderStyle,
                            QTextFormat::TableCellBottomBorderBrush}) {
            if (bottom.hasProperty(p))
                f.setProperty(p, bottom.property(p));
            else
                f.clearProperty(p);
        }
        cell.setFormat(f);
    }
}

void DocxDocumentBuilder::addResource(int type, const QUrl &name, const QVariant &resource)
{
    doc_.addResource(type, name, resource);
}

QTextTable *DocxDocumentBuilder::close()
{
    if (tables_.empty())
        return nullptr;
    OpenTable &t = tables_.back();
    if (t.row < 0) { // a table without rows: nothing of it stays
        const int first = t.table->firstPosition() - 1, last = t.table->lastPosition() + 1;
        tables_.pop_back();
        QTextCursor c(&doc_);
        c.setPosition(first);
        c.setPosition(last, QTextCursor::KeepAnchor);
        c.removeSelectedText();
        cursor_ = c;
        blockUsed_ = false;
        return nullptr;
    }
    if (t.rows > t.row + 1)
        t.table->removeRows(t.row + 1, t.rows - t.row - 1);
    if (t.headerRows > 0) {
        QTextTableFormat format = t.table->format();
        format.setHeaderRowCount(t.headerRows);
        t.table->setFormat(format);
    }
    mergeCells(t);
    QTextTable *table = t.table;
    tables_.pop_back();
    cursor_.setPosition(table->lastPosition() + 1);
    blockUsed_ = false;
    if (!tables_.empty())
        tables_.back().inCell = true; // the cell the table stands in goes on after it
    return table;
}

void DocxDocumentBuilder::mergeCells(OpenTable &t)
{
    std::vector<std::array<int, 4>> spans;
    for (const auto &s : t.spans)
        if (s[2] > 1 || s[3] > 1)
            spans.push_back(s);
    if (spans.empty())
        return;
    // Qt's merging may give a cell's first paragraph another cell's format: each is put back.
    std::vector<CellStart> starts;
    for (const auto &s : spans) {
        const QTextTableCell cell = t.table->cellAt(s[0], s[1]);
        const QTextBlock first = doc_.findBlock(cell.firstPosition());
        starts.push_back({s[0], s[1], first.blockFormat(), first.charFormat()});
    }
    for (const auto &s : spans)
        t.table->mergeCells(s[0], s[1], s[2], s[3]);
    for (const CellStart &start : starts) {
        const QTextTableCell cell = t.table->cellAt(start.row, start.column);
        if (cell.row() != start.row || cell.column() != start.column)
            continue;
        QTextCursor c = cell.firstCursorPosition();
        if (c.blockFormat() != start.block)
            c.setBlockFormat(start.block);
        QTextCharFormat chars = start.chars;
        const QTextCharFormat current = c.blockCharFormat();
        for (const int span : {QTextFormat::TableCellRowSpan, QTextFormat::TableCellColumnSpan}) {
            chars.clearProperty(span);
            if (current.hasProperty(span))
                chars.setProperty(span, current.property(span));
        }
        if (current != chars)
            c.setBlockCharFormat(chars);
    }
}

void DocxDocumentBuilder::keepAtEnd(int property, const QString &kept)
{
    QTextCursor end(&doc_);
    end.movePosition(QTextCursor::End);
    QTextCharFormat f = end.blockCharFormat();
    f.setProperty(property, f.stringProperty(property) + kept);
    end.setBlockCharFormat(f);
}

void DocxDocumentBuilder::finish()
{
    while (!tables_.empty())
        close();
}
