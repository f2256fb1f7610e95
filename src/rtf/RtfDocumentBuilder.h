#pragma once
#include "rtf/RtfListItem.h"
#include "rtf/RtfRowDefinition.h"
#include "rtf/RtfTableDraft.h"

#include <QHash>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextListFormat>
#include <QTextTableCellFormat>
#include <memory>
#include <vector>

class QTextDocument;
class QTextFrameFormat;
class QTextImageFormat;
class QTextList;
class QTextTable;

// Puts paragraphs, tables and lists into a QTextDocument, in reading order, through one cursor.
class RtfDocumentBuilder
{
public:
    static constexpr int kMaxNesting = 16;
    static constexpr int kMaxColumns = 64;
    static constexpr int kMaxColumnWidth = 31680; // twips, 22 inches
    static constexpr int kMaxListItems = 1000;  // numbered
    static constexpr int kMaxBulletItems = 128;

    using ListItem = RtfListItem;
    using Row = RtfRowDefinition;
    using Cell = RtfRowDefinition::Cell;

    explicit RtfDocumentBuilder(QTextDocument &doc);
    ~RtfDocumentBuilder();

    // Starts a paragraph at a table nesting level (0 outside tables); text follows.
    void startParagraph(int tableLevel, const QTextBlockFormat &block, const QTextCharFormat &chars,
                        const ListItem *item);
    void insertText(const QString &text, const QTextCharFormat &format);
    void endCell(int tableLevel);
    void endRow(int tableLevel, const Row &row);
    // Ends the tables being read: a row that follows starts a new one.
    void endTables() { enterLevel(0); }
    // A picture in a frame of its own, floating beside the paragraphs that follow (or on a line of
    // its own), before the paragraph that comes next.
    void insertFloat(int tableLevel, const QTextFrameFormat &frame, const QTextImageFormat &image);
    // Adds kept RTF to the character format of the document's last paragraph.
    void keepAtEnd(const QString &kept);
    // Makes the list groups of this document differ from any other's.
    void setListGroupPrefix(const QString &prefix) { groupPrefix_ = prefix; }
    void finish();

private:
    // Tables are drafted while they are read (RtfTableDraft) and go into the document whole,
    // once the outermost one ends.
    void enterLevel(int level);
    void openTable();
    void closeTable();
    RtfTableDraft::Cell &enterCell();
    void insertTable(RtfTableDraft &draft);
    void fillCell(const RtfTableDraft &draft, const std::vector<std::pair<int, int>> &sources);
    void insertPiece(const RtfTableDraft::Piece &piece);

    void putParagraph(const QTextBlockFormat &block, const QTextCharFormat &chars, const ListItem *item);
    void putFloat(const QTextFrameFormat &frame, const QTextImageFormat &image);
    void addToList(const ListItem &item);

    QTextDocument &doc_;
    QTextCursor cursor_;
    bool blockUsed_ = false; // the cursor's block holds a paragraph already
    std::unique_ptr<RtfTableDraft> table_; // the outermost table being read
    std::vector<RtfTableDraft *> open_;    // the tables being read, outermost first
    QHash<QString, std::vector<QTextList *>> lists_; // by key, then level
    std::vector<QTextList *> oldLists_;               // the older \pn lists, by level
    int oldListGroup_ = 0;                            // counts the runs of \pn paragraphs
    QString groupPrefix_;
};
