#include "rtf/RtfDocumentBuilder.h"
#include "rtf/RtfControlWords.h"
#include "rtf/TextFormats.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextList>
#include <QTextTable>
#include <array>

using namespace RtfValues;

RtfDocumentBuilder::RtfDocumentBuilder(QTextDocument &doc) : doc_(doc), cursor_(&doc) {}

void RtfDocumentBuilder::startParagraph(int tableLevel, const QTextBlockFormat &block,
                                        const QTextCharFormat &chars, const ListItem *item)
{
    enterLevel(qBound(0, tableLevel, kMaxNesting));
    if (!tables_.empty())
        enterCell();
    if (blockUsed_) {
        cursor_.insertBlock(block, chars);
    } else {
        cursor_.setBlockFormat(block);
        cursor_.setBlockCharFormat(chars);
    }
    blockUsed_ = true;
    if (item) {
        addToList(*item);
    } else if (!oldLists_.empty()) {
        oldLists_.clear(); // the older lists end at a paragraph outside them
        ++oldListGroup_;
    }
}

void RtfDocumentBuilder::insertText(const QString &text, const QTextCharFormat &format)
{
    cursor_.insertText(text, format);
}

void RtfDocumentBuilder::addToList(const ListItem &item)
{
    std::vector<QTextList *> &levels = item.endsAtPlainParagraph ? oldLists_ : lists_[item.key];
    const std::size_t level = std::size_t(qBound(0, item.level, 8));
    levels.resize(level + 1, nullptr); // deeper levels restart after this item
    // Qt touches every item of a list when one is added, so a long list is cut into shorter ones;
    // the next one goes on counting from where the last one stopped.
    const bool bullets = item.format.style() == QTextListFormat::ListDisc
                      || item.format.style() == QTextListFormat::ListCircle
                      || item.format.style() == QTextListFormat::ListSquare;
    QTextList *current = levels[level];
    if (current && current->count() < (bullets ? kMaxBulletItems : kMaxListItems)) {
        current->add(cursor_.block());
        return;
    }
    QTextListFormat format = item.format;
    const QString group = item.endsAtPlainParagraph ? item.key + QString::number(oldListGroup_) : item.key;
    format.setProperty(TextFormats::kListGroupProperty, group + u'-' + groupPrefix_);
    if (current) {
        const int start = current->format().property(TextFormats::kListStartProperty).isValid()
                              ? current->format().intProperty(TextFormats::kListStartProperty) : 1;
        TextFormats::setListStart(format, start + current->count());
    }
    levels[level] = cursor_.createList(format);
}

void RtfDocumentBuilder::enterLevel(int level)
{
    while (int(tables_.size()) > level)
        closeTable();
    while (int(tables_.size()) < level) {
        if (!tables_.empty())
            enterCell();
        openTable();
    }
}

void RtfDocumentBuilder::openTable()
{
    QTextTableFormat format;
    format.setBorder(1);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderCollapse(true);
    format.setCellSpacing(0);
    format.setCellPadding(4);
    QTextTable *table = cursor_.insertTable(1, 1, format);
    OpenTable t;
    t.table = table;
    cursor_ = table->cellAt(0, 0).firstCursorPosition();
    t.cellPositions.push_back(cursor_.position());
    tables_.push_back(t);
    blockUsed_ = false;
}

void RtfDocumentBuilder::closeTable()
{
    OpenTable &t = tables_.back();
    if (t.rows > t.row + 1)
        t.table->removeRows(t.row + 1, t.rows - t.row - 1);
    if (t.headerRows > 0) {
        QTextTableFormat format = t.table->format();
        format.setHeaderRowCount(t.headerRows);
        t.table->setFormat(format);
    }
    mergeCells(t);
    cursor_.setPosition(t.table->lastPosition() + 1);
    tables_.pop_back();
    blockUsed_ = false;
}

// Moves the cursor into the cell that the next paragraph of the innermost table belongs to,
// adding a row or a column when the file goes beyond the table so far. Rows are made ahead in
// growing batches, and cells are found from the table's end (the cells after the one being
// filled are all empty, one character each): Qt rebuilds a table's whole grid on rows(),
// columns() and cellAt() after every change, which would make reading a long table quadratic.
void RtfDocumentBuilder::enterCell()
{
    OpenTable &t = tables_.back();
    if (!t.rowOpen) {
        ++t.row;
        t.column = 0;
        t.rowOpen = true;
        t.cellEntered = false;
        if (t.row >= t.rows) {
            const int more = qMin(t.rows, 4096);
            t.table->appendRows(more);
            t.rows += more;
        }
    }
    if (t.cellEntered)
        return;
    t.cellEntered = true;
    if (t.column >= t.columns && t.columns < kMaxColumns) {
        t.table->appendColumns(1);
        ++t.columns;
    }
    if (t.column >= t.columns) {
        // Past the widest table we make: the text joins the last cell.
        t.column = t.columns - 1;
        cursor_ = t.table->cellAt(t.row, t.column).lastCursorPosition();
        blockUsed_ = true;
        return;
    }
    const int emptyCellsAfter = (t.rows - 1 - t.row) * t.columns + (t.columns - 1 - t.column);
    cursor_.setPosition(t.table->lastPosition() - emptyCellsAfter);
    blockUsed_ = false;
    if (int(t.cellPositions.size()) <= t.column)
        t.cellPositions.resize(std::size_t(t.column) + 1, -1);
    t.cellPositions[std::size_t(t.column)] = cursor_.position();
}

void RtfDocumentBuilder::endCell(int tableLevel)
{
    const int level = qBound(1, tableLevel, kMaxNesting);
    if (int(tables_.size()) < level)
        return;
    enterLevel(level);
    OpenTable &t = tables_.back();
    if (!t.rowOpen)
        return;
    ++t.column;
    t.cellEntered = false;
}

void RtfDocumentBuilder::endRow(int tableLevel, const Row &row)
{
    const int level = qBound(1, tableLevel, kMaxNesting);
    if (int(tables_.size()) < level)
        return;
    enterLevel(level);
    OpenTable &t = tables_.back();
    if (!t.rowOpen)
        return;
    if (!t.shaped)
        shapeTable(t, row);
    std::vector<int> merges;
    for (const Cell &cell : row.cells)
        merges.push_back(cell.merge);
    t.merges.resize(std::size_t(t.row));
    t.merges.push_back(std::move(merges));
    formatCells(t, row);
    if (row.header && t.headerOpen && t.headerRows == t.row)
        ++t.headerRows;
    else
        t.headerOpen = false;
    t.cellPositions.clear();
    t.rowOpen = false;
    t.cellEntered = false;
}

// A cell's format lives in the character format of its first paragraph's block.
void RtfDocumentBuilder::formatCells(OpenTable &t, const Row &row)
{
    const std::size_t n = qMin(row.cells.size(), t.cellPositions.size());
    for (std::size_t c = 0; c < n; ++c) {
        const QTextTableCellFormat &format = row.cells[c].format;
        if (t.cellPositions[c] < 0 || format.propertyCount() <= 1) // just its object type
            continue;
        QTextCursor cell(&doc_);
        cell.setPosition(t.cellPositions[c]);
        cell.mergeBlockCharFormat(format);
    }
}

void RtfDocumentBuilder::shapeTable(OpenTable &t, const Row &row)
{
    if (row.cells.empty())
        return;
    t.shaped = true;
    QTextTableFormat format = t.table->format();
    QList<QTextLength> widths;
    qint64 left = row.left;
    for (const Cell &cell : row.cells) {
        const qint64 width = qBound(qint64(15), cell.right - left, qint64(kMaxColumnWidth));
        widths.append(QTextLength(QTextLength::FixedLength, TextFormats::twipsToPixels(double(width))));
        left = qMax(left, qint64(cell.right));
    }
    while (widths.size() < t.columns)
        widths.append(QTextLength());
    widths.resize(t.columns);
    format.setColumnWidthConstraints(widths);
    if (row.gap >= 0)
        format.setCellPadding(TextFormats::twipsToPixels(row.gap));
    static constexpr Qt::Alignment kAlign[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
    format.setAlignment(kAlign[qBound(0, row.alignment, 2)]);
    format.merge(row.table);
    t.table->setFormat(format);
}

// Joins the cells that \clmgf/\clmrg (across) and \clvmgf/\clvmrg (down) mark: each first cell
// spans the marked cells that follow it.
void RtfDocumentBuilder::mergeCells(OpenTable &t)
{
    auto bits = [&](int r, int c) {
        return r < int(t.merges.size()) && c < int(t.merges[std::size_t(r)].size())
                   ? t.merges[std::size_t(r)][std::size_t(c)] : 0;
    };
    const int rows = t.table->rows(), columns = t.table->columns();
    std::vector<std::array<int, 4>> spans; // row, column, rows, columns
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const int b = bits(r, c);
            if (!(b & (MergeFirst | VMergeFirst)) || (b & (MergeNext | VMergeNext)))
                continue;
            int across = 1, down = 1;
            if (b & MergeFirst)
                while (c + across < columns && (bits(r, c + across) & MergeNext))
                    ++across;
            if (b & VMergeFirst)
                while (r + down < rows && (bits(r + down, c) & VMergeNext))
                    ++down;
            if (across > 1 || down > 1)
                spans.push_back({r, c, down, across});
        }
    }
    if (spans.empty())
        return;
    const std::vector<CellStart> before = cellStarts(t.table);
    for (const auto &m : spans)
        t.table->mergeCells(m[0], m[1], m[2], m[3]);
    restoreCellStarts(t.table, before);
}

// The format of each cell's first paragraph, which Qt's merging may give to another cell.
std::vector<RtfDocumentBuilder::CellStart> RtfDocumentBuilder::cellStarts(QTextTable *table) const
{
    std::vector<CellStart> starts;
    for (int r = 0; r < table->rows(); ++r) {
        for (int c = 0; c < table->columns(); ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            const QTextBlock first = doc_.findBlock(cell.firstPosition());
            const QTextBlock last = doc_.findBlock(cell.lastPosition());
            starts.push_back({r, c, first.blockFormat(), first.charFormat(), last.blockFormat(), last.charFormat(),
                              last.blockNumber() - first.blockNumber() + 1});
        }
    }
    return starts;
}

void RtfDocumentBuilder::restoreCellStarts(QTextTable *table, const std::vector<CellStart> &starts)
{
    for (const CellStart &start : starts) {
        const QTextTableCell cell = table->cellAt(start.row, start.column);
        if (cell.row() != start.row || cell.column() != start.column)
            continue; // covered by a merged cell
        QTextCursor c = cell.firstCursorPosition();
        if (c.blockFormat() != start.block)
            c.setBlockFormat(start.block);
        // A cell's spans live in its first block's character format.
        QTextCharFormat chars = start.chars;
        const QTextCharFormat current = c.blockCharFormat();
        for (const int span : {QTextFormat::TableCellRowSpan, QTextFormat::TableCellColumnSpan}) {
            chars.clearProperty(span);
            if (current.hasProperty(span))
                chars.setProperty(span, current.property(span));
        }
        if (current != chars)
            c.setBlockCharFormat(chars);
        // Merging into a cell of several paragraphs may also give its last one another format.
        QTextCursor end = cell.lastCursorPosition();
        const int blocks = end.block().blockNumber() - c.block().blockNumber() + 1;
        if (start.blocks > 1 && blocks == start.blocks && end.blockFormat() != start.lastBlock) {
            end.setBlockFormat(start.lastBlock);
            end.setBlockCharFormat(start.lastChars);
        }
    }
}

void RtfDocumentBuilder::insertFloat(int tableLevel, const QTextFrameFormat &frame, const QTextImageFormat &image)
{
    enterLevel(qBound(0, tableLevel, kMaxNesting));
    if (!tables_.empty())
        enterCell();
    QTextFrame *f = cursor_.insertFrame(frame);
    QTextCursor inside = f->firstCursorPosition();
    inside.insertText(QString(QChar::ObjectReplacementCharacter), image);
    cursor_.setPosition(f->lastPosition() + 1);
    blockUsed_ = false;
}

void RtfDocumentBuilder::keepAtEnd(const QString &kept)
{
    QTextCursor end(&doc_);
    end.movePosition(QTextCursor::End);
    QTextCharFormat f = end.blockCharFormat();
    f.setProperty(TextFormats::kKeptRtfProperty, f.stringProperty(TextFormats::kKeptRtfProperty) + kept);
    end.setBlockCharFormat(f);
}

void RtfDocumentBuilder::finish()
{
    enterLevel(0);
}
