#include "rtf/RtfDocumentBuilder.h"
#include "rtf/RtfControlWords.h"
#include "rtf/TextFormats.h"

#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

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
        return;
    }
    for (auto it = lists_.begin(); it != lists_.end();)
        it = it.key().startsWith(u"pn") ? lists_.erase(it) : std::next(it);
}

void RtfDocumentBuilder::insertText(const QString &text, const QTextCharFormat &format)
{
    cursor_.insertText(text, format);
}

void RtfDocumentBuilder::addToList(const ListItem &item)
{
    std::vector<QTextList *> &levels = lists_[item.key];
    const std::size_t level = std::size_t(qBound(0, item.level, 8));
    levels.resize(level + 1, nullptr); // deeper levels restart after this item
    if (levels[level])
        levels[level]->add(cursor_.block());
    else
        levels[level] = cursor_.createList(item.format);
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
    tables_.push_back(t);
    cursor_ = table->cellAt(0, 0).firstCursorPosition();
    blockUsed_ = false;
}

void RtfDocumentBuilder::closeTable()
{
    OpenTable &t = tables_.back();
    for (int c = 0; c < int(t.verticalStart.size()); ++c)
        endVerticalMerge(t, c);
    for (const Merge &m : t.merges)
        t.table->mergeCells(m.row, m.column, m.rows, m.columns);
    cursor_.setPosition(t.table->lastPosition() + 1);
    tables_.pop_back();
    blockUsed_ = false;
}

// Moves the cursor into the cell that the next paragraph of the innermost table belongs to,
// adding a row or a column when the file goes beyond the table so far.
void RtfDocumentBuilder::enterCell()
{
    OpenTable &t = tables_.back();
    if (!t.rowOpen) {
        t.table->appendRows(1);
        ++t.row;
        t.column = 0;
        t.rowOpen = true;
        t.cellEntered = false;
    }
    if (t.cellEntered)
        return;
    t.cellEntered = true;
    if (t.column >= t.table->columns() && t.table->columns() < kMaxColumns)
        t.table->appendColumns(1);
    if (t.column >= t.table->columns()) {
        // Past the widest table we make: the text joins the last cell.
        t.column = t.table->columns() - 1;
        cursor_ = t.table->cellAt(t.row, t.column).lastCursorPosition();
        blockUsed_ = true;
        return;
    }
    cursor_ = t.table->cellAt(t.row, t.column).firstCursorPosition();
    blockUsed_ = false;
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
    collectMerges(t, row);
    t.rowOpen = false;
    t.cellEntered = false;
}

void RtfDocumentBuilder::shapeTable(OpenTable &t, const Row &row)
{
    if (row.cells.empty())
        return;
    t.shaped = true;
    QTextTableFormat format = t.table->format();
    QList<QTextLength> widths;
    int left = row.left;
    for (const Cell &cell : row.cells) {
        widths.append(QTextLength(QTextLength::FixedLength,
                                  TextFormats::twipsToPixels(qMax(15, cell.right - left))));
        left = qMax(left, cell.right);
    }
    while (widths.size() < t.table->columns())
        widths.append(QTextLength());
    widths.resize(t.table->columns());
    format.setColumnWidthConstraints(widths);
    if (row.gap >= 0)
        format.setCellPadding(TextFormats::twipsToPixels(row.gap));
    static constexpr Qt::Alignment kAlign[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
    format.setAlignment(kAlign[qBound(0, row.alignment, 2)]);
    t.table->setFormat(format);
}

void RtfDocumentBuilder::collectMerges(OpenTable &t, const Row &row)
{
    const int cells = int(qMin(row.cells.size(), std::size_t(t.table->columns())));
    if (int(t.verticalStart.size()) < cells) {
        t.verticalStart.resize(cells, -1);
        t.verticalEnd.resize(cells, -1);
    }
    int spanStart = -1;
    for (int c = 0; c < cells; ++c) {
        const int merge = row.cells[c].merge;
        if (merge == MergeNext && spanStart >= 0) {
            if (c + 1 == cells || row.cells[c + 1].merge != MergeNext)
                t.merges.push_back({t.row, spanStart, 1, c - spanStart + 1});
            continue;
        }
        spanStart = merge == MergeFirst ? c : -1;
        if (merge == VMergeNext && t.verticalStart[c] >= 0) {
            t.verticalEnd[c] = t.row;
            continue;
        }
        endVerticalMerge(t, c);
        if (merge == VMergeFirst)
            t.verticalStart[c] = t.verticalEnd[c] = t.row;
    }
}

void RtfDocumentBuilder::endVerticalMerge(OpenTable &t, int column)
{
    const int start = t.verticalStart[column];
    const int end = t.verticalEnd[column];
    if (start >= 0 && end > start)
        t.merges.push_back({start, column, end - start + 1, 1});
    t.verticalStart[column] = t.verticalEnd[column] = -1;
}

void RtfDocumentBuilder::finish()
{
    enterLevel(0);
}
