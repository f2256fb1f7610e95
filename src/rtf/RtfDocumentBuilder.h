#pragma once
#include <QHash>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextListFormat>
#include <QTextTableCellFormat>
#include <QTextTableFormat>
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

    // A paragraph's place in a list. Items with the same key and level share one QTextList, so
    // their numbering continues; an item of a higher level restarts the levels below it. The
    // QTextLists of one key are the levels of one list (TextFormats::kListGroupProperty).
    struct ListItem
    {
        QString key;
        int level = 0;
        QTextListFormat format;
        bool endsAtPlainParagraph = false; // the older \pn lists end at a paragraph outside them
    };
    struct Cell
    {
        int right = 0; // twips
        int merge = 0; // RtfValues::CellMerge
        QTextTableCellFormat format;
    };
    struct Row
    {
        std::vector<Cell> cells;
        int left = 0;
        int gap = -1;
        int alignment = 0;
        bool header = false; // repeated at the top of each page
        QTextTableFormat table; // more properties of the table, given with its first row
    };

    explicit RtfDocumentBuilder(QTextDocument &doc);

    // Starts a paragraph at a table nesting level (0 outside tables); text follows.
    void startParagraph(int tableLevel, const QTextBlockFormat &block, const QTextCharFormat &chars,
                        const ListItem *item);
    void insertText(const QString &text, const QTextCharFormat &format);
    void endCell(int tableLevel);
    void endRow(int tableLevel, const Row &row);
    // A picture in a frame of its own, floating beside the paragraphs that follow (or on a line of
    // its own), before the paragraph that comes next.
    void insertFloat(int tableLevel, const QTextFrameFormat &frame, const QTextImageFormat &image);
    // Adds kept RTF to the character format of the document's last paragraph.
    void keepAtEnd(const QString &kept);
    // Makes the list groups of this document differ from any other's.
    void setListGroupPrefix(const QString &prefix) { groupPrefix_ = prefix; }
    void finish();

private:
    struct OpenTable
    {
        QTextTable *table = nullptr;
        int row = 0;          // the row being filled
        int column = 0;
        int rows = 1;         // rows made so far, some of them spare
        int columns = 1;
        bool rowOpen = true;
        bool cellEntered = true;
        bool shaped = false;             // widths and alignment set from the first row
        std::vector<std::vector<int>> merges; // each row's RtfValues::CellMerge bits, by cell
        std::vector<int> cellPositions;       // where each cell of the row being filled starts
        int headerRows = 0;                   // leading rows that repeat on each page
        bool headerOpen = true;
    };

    void enterLevel(int level);
    void openTable();
    void closeTable();
    void enterCell();
    void shapeTable(OpenTable &t, const Row &row);
    void formatCells(OpenTable &t, const Row &row);
    struct CellStart
    {
        int row, column;
        QTextBlockFormat block;
        QTextCharFormat chars;
        QTextBlockFormat lastBlock; // of the cell's last paragraph
        QTextCharFormat lastChars;
        int blocks;
    };
    void mergeCells(OpenTable &t);
    std::vector<CellStart> cellStarts(QTextTable *table) const;
    void restoreCellStarts(QTextTable *table, const std::vector<CellStart> &starts);
    void addToList(const ListItem &item);

    QTextDocument &doc_;
    QTextCursor cursor_;
    bool blockUsed_ = false; // the cursor's block holds a paragraph already
    std::vector<OpenTable> tables_;
    QHash<QString, std::vector<QTextList *>> lists_; // by key, then level
    std::vector<QTextList *> oldLists_;               // the older \pn lists, by level
    int oldListGroup_ = 0;                            // counts the runs of \pn paragraphs
    QString groupPrefix_;
};
