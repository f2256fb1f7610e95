#pragma once
#include <QHash>
#include <QList>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextListFormat>
#include <QTextTableCellFormat>
#include <QTextTableFormat>
#include <array>
#include <vector>

class QTextDocument;
class QTextFrameFormat;
class QTextImageFormat;
class QTextList;
class QTextTable;

// Puts the paragraphs, lists, tables and floating pictures of a Word story into a QTextDocument,
// in reading order, through one cursor. Tables follow the shared model (TextFormats.h): their
// columns are the grid, a cell that spans columns or is merged down is a Qt span.
class DocxDocumentBuilder
{
public:
    static constexpr int kMaxNesting = 16;
    static constexpr int kMaxColumns = 64;
    static constexpr int kMaxListItems = 1000;
    static constexpr int kMaxBulletItems = 128;

    // A paragraph's place in a list: items of one key and level share a QTextList, so they count
    // on; an item of a higher level restarts the levels below it; `restart` starts the level anew.
    struct ListItem
    {
        QString key;
        int level = 0;
        QTextListFormat format;
        bool restart = false;
    };
    // A cell as a row gives it: where it starts in the grid, how many columns it spans, whether
    // it continues the cell above (w:vMerge), and its format.
    struct Cell
    {
        int column = 0;
        int span = 1;
        bool continuesAbove = false;
        QTextTableCellFormat format;
    };

    explicit DocxDocumentBuilder(QTextDocument &doc);

    void startParagraph(const QTextBlockFormat &block, const QTextCharFormat &chars, const ListItem *item);
    void insertText(const QString &text, const QTextCharFormat &format);
    void insertFloat(const QTextFrameFormat &frame, const QTextImageFormat &image);

    // Tables: a table with its grid's widths (pixels; none where unknown), then rows of cells.
    void openTable(const QTextTableFormat &format, int gridColumns);
    void startRow();
    // The paragraphs that follow go into this cell of the open row.
    void startCell(const Cell &cell);
    // Ends the row; `fillers` are the format of the cells it lacks (w:gridBefore/After).
    void endRow(const QTextTableCellFormat &filler, bool header);
    // Closes the innermost table; null when it had no rows and was left out.
    QTextTable *closeTable();
    int tableDepth() const { return int(tables_.size()); }

    // Adds kept XML (DocxFormats::kKeptProperty) to the last paragraph's own format.
    void keepAtEnd(int property, const QString &kept);
    void setListGroupPrefix(const QString &prefix) { groupPrefix_ = prefix; }
    void finish();

private:
    struct OpenTable
    {
        QTextTable *table = nullptr;
        int row = -1;     // the row being filled
        int rows = 1;     // rows made so far, some of them spare
        int columns = 1;
        std::vector<int> nextFree;  // per row being filled: columns taken so far
        std::vector<std::array<int, 4>> spans; // row, column, rows, columns
        std::vector<int> lastStart;           // per column: the row where its vertical merge started, -1
        std::vector<std::pair<int, QTextTableCellFormat>> cellFormats; // position, format of the row's cells
        std::vector<bool> taken;             // columns of the open row that have a cell
        int headerRows = 0;
        bool headerOpen = true;
        bool inCell = false;
    };
    struct CellStart
    {
        int row, column;
        QTextBlockFormat block;
        QTextCharFormat chars;
    };

    void enterCellAt(OpenTable &t, int column);
    void addToList(const ListItem &item);
    void mergeCells(OpenTable &t);

    QTextDocument &doc_;
    QTextCursor cursor_;
    bool blockUsed_ = false;
    std::vector<OpenTable> tables_;
    QHash<QString, std::vector<QTextList *>> lists_;
    QString groupPrefix_;
};
