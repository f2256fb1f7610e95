#include "rtf/RtfDocumentBuilder.h"
#include "rtf/RtfTableGrid.h"
#include "rtf/TextFormats.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextList>
#include <QTextTable>

RtfDocumentBuilder::RtfDocumentBuilder(QTextDocument &doc) : doc_(doc), cursor_(&doc) {}

RtfDocumentBuilder::~RtfDocumentBuilder() = default;

void RtfDocumentBuilder::startParagraph(int tableLevel, const QTextBlockFormat &block,
                                        const QTextCharFormat &chars, const ListItem *item)
{
    enterLevel(qBound(0, tableLevel, kMaxNesting));
    if (open_.empty()) {
        putParagraph(block, chars, item);
        return;
    }
    RtfTableDraft::Piece piece;
    piece.kind = RtfTableDraft::Piece::Paragraph;
    piece.block = block;
    piece.chars = chars;
    if (item)
        piece.item = *item;
    enterCell().pieces.push_back(std::move(piece));
}

void RtfDocumentBuilder::insertText(const QString &text, const QTextCharFormat &format)
{
    if (open_.empty()) {
        cursor_.insertText(text, format);
        return;
    }
    RtfTableDraft::Piece piece;
    piece.kind = RtfTableDraft::Piece::Text;
    piece.text = text;
    piece.chars = format;
    enterCell().pieces.push_back(std::move(piece));
}

void RtfDocumentBuilder::insertFloat(int tableLevel, const QTextFrameFormat &frame, const QTextImageFormat &image)
{
    enterLevel(qBound(0, tableLevel, kMaxNesting));
    if (open_.empty()) {
        putFloat(frame, image);
        return;
    }
    RtfTableDraft::Piece piece;
    piece.kind = RtfTableDraft::Piece::Float;
    piece.frame = frame;
    piece.chars = image;
    enterCell().pieces.push_back(std::move(piece));
}

void RtfDocumentBuilder::putParagraph(const QTextBlockFormat &block, const QTextCharFormat &chars, const ListItem *item)
{
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

void RtfDocumentBuilder::putFloat(const QTextFrameFormat &frame, const QTextImageFormat &image)
{
    QTextFrame *f = cursor_.insertFrame(frame);
    QTextCursor inside = f->firstCursorPosition();
    inside.insertText(QString(QChar::ObjectReplacementCharacter), image);
    cursor_.setPosition(f->lastPosition() + 1);
    blockUsed_ = false;
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
    while (int(open_.size()) > level)
        closeTable();
    while (int(open_.size()) < level)
        openTable();
}

void RtfDocumentBuilder::openTable()
{
    if (open_.empty()) {
        table_ = std::make_unique<RtfTableDraft>();
        open_.push_back(table_.get());
        return;
    }
    RtfTableDraft::Piece piece;
    piece.kind = RtfTableDraft::Piece::Table;
    piece.table = std::make_unique<RtfTableDraft>();
    RtfTableDraft *nested = piece.table.get();
    enterCell().pieces.push_back(std::move(piece));
    open_.push_back(nested);
}

void RtfDocumentBuilder::closeTable()
{
    open_.pop_back();
    if (!open_.empty())
        return;
    const std::unique_ptr<RtfTableDraft> table = std::move(table_);
    insertTable(*table);
}

// The cell of the innermost table that the next piece goes into, starting a row or a cell after
// the last one ended. Past the widest table we make, text joins the last cell.
RtfTableDraft::Cell &RtfDocumentBuilder::enterCell()
{
    RtfTableDraft &t = *open_.back();
    if (!t.rowOpen) {
        t.rows.emplace_back();
        t.rowOpen = true;
        t.cellOpen = false;
    }
    std::vector<RtfTableDraft::Cell> &cells = t.rows.back().cells;
    if (!t.cellOpen && (cells.empty() || int(cells.size()) < kMaxColumns))
        cells.emplace_back();
    t.cellOpen = true;
    return cells.back();
}

void RtfDocumentBuilder::endCell(int tableLevel)
{
    const int level = qBound(1, tableLevel, kMaxNesting);
    if (int(open_.size()) < level)
        return;
    enterLevel(level);
    RtfTableDraft &t = *open_.back();
    if (t.rowOpen)
        t.cellOpen = false;
}

void RtfDocumentBuilder::endRow(int tableLevel, const Row &row)
{
    const int level = qBound(1, tableLevel, kMaxNesting);
    if (int(open_.size()) < level)
        return;
    enterLevel(level);
    RtfTableDraft &t = *open_.back();
    if (!t.rowOpen)
        return;
    t.rows.back().definition = row;
    t.rowOpen = false;
    t.cellOpen = false;
}

// A table read whole goes into the document at the cursor: its grid, its merged cells, then the
// cells' content one after the other. Cells are found from the table's end (the cells after the
// one being filled are all empty, one character each): Qt rebuilds a table's whole grid on
// cellAt() after every change, which would make filling a long table quadratic.
void RtfDocumentBuilder::insertTable(RtfTableDraft &draft)
{
    if (draft.rows.empty())
        return;
    const RtfTableGrid grid(draft);
    QTextTableFormat format;
    format.setBorder(1);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderCollapse(true);
    format.setCellSpacing(0);
    format.setCellPadding(4);
    if (const Row *first = grid.firstDefinition()) {
        if (first->gap >= 0)
            format.setCellPadding(TextFormats::twipsToPixels(first->gap));
        static constexpr Qt::Alignment kAlign[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
        format.setAlignment(kAlign[qBound(0, first->alignment, 2)]);
        format.merge(first->table);
    }
    const std::vector<qint64> &edges = grid.edges();
    if (!edges.empty()) {
        QList<QTextLength> widths;
        for (std::size_t c = 0; c + 1 < edges.size(); ++c)
            widths.append(QTextLength(QTextLength::FixedLength, TextFormats::twipsToPixels(double(edges[c + 1] - edges[c]))));
        format.setColumnWidthConstraints(widths);
        if (edges.front() > 0) // the rows' left edge, \trleft
            format.setLeftMargin(TextFormats::twipsToPixels(double(edges.front())));
    }
    if (grid.headerRows() > 0)
        format.setHeaderRowCount(grid.headerRows());
    QTextTable *table = cursor_.insertTable(grid.rows(), grid.columns(), format);
    for (const RtfTableGrid::Slot &slot : grid.cells())
        if (slot.rows > 1 || slot.columns > 1)
            table->mergeCells(slot.row, slot.column, slot.rows, slot.columns);
    const int count = int(grid.cells().size());
    for (int i = 0; i < count; ++i) {
        const RtfTableGrid::Slot &slot = grid.cells()[std::size_t(i)];
        const int start = table->lastPosition() - (count - 1 - i);
        cursor_.setPosition(start);
        blockUsed_ = false;
        fillCell(draft, slot.sources);
        // The cell's look lives in the character format of its first paragraph's block, with its spans.
        QTextTableCellFormat cellFormat = slot.format;
        if (!slot.merged.empty())
            cellFormat.setProperty(TextFormats::kCellHorizontalMergeProperty,
                                   QVariant::fromValue(QList<int>(slot.merged.begin(), slot.merged.end())));
        QTextCursor first(&doc_);
        first.setPosition(start);
        QTextCharFormat chars = first.blockCharFormat();
        if (cellFormat.propertyCount() > 1) // more than its object type
            chars.merge(cellFormat);
        if (slot.rows > 1)
            chars.setProperty(QTextFormat::TableCellRowSpan, slot.rows);
        if (slot.columns > 1)
            chars.setProperty(QTextFormat::TableCellColumnSpan, slot.columns);
        if (chars != first.blockCharFormat())
            first.setBlockCharFormat(chars);
    }
    cursor_.setPosition(table->lastPosition() + 1);
    blockUsed_ = false;
}

// A cell's content, with that of the cells merged into it; those hold an empty paragraph as a
// rule, which is not added.
void RtfDocumentBuilder::fillCell(const RtfTableDraft &draft, const std::vector<std::pair<int, int>> &sources)
{
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const RtfTableDraft::Cell &cell = draft.rows[std::size_t(sources[i].first)].cells[std::size_t(sources[i].second)];
        if (i > 0 && cell.isEmpty())
            continue;
        for (const RtfTableDraft::Piece &piece : cell.pieces)
            insertPiece(piece);
    }
}

void RtfDocumentBuilder::insertPiece(const RtfTableDraft::Piece &piece)
{
    switch (piece.kind) {
    case RtfTableDraft::Piece::Paragraph:
        putParagraph(piece.block, piece.chars, piece.item ? &*piece.item : nullptr);
        break;
    case RtfTableDraft::Piece::Text:
        cursor_.insertText(piece.text, piece.chars);
        break;
    case RtfTableDraft::Piece::Float:
        putFloat(piece.frame, piece.chars.toImageFormat());
        break;
    case RtfTableDraft::Piece::Table:
        insertTable(*piece.table);
        break;
    }
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
