#pragma once
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextFrameFormat>
#include <QTextImageFormat>
#include <QTextListFormat>
#include <QTextTableCellFormat>
#include <QTextTableFormat>
#include <QUrl>
#include <QVariant>
#include <vector>

// Where a Word story reader puts what it reads, in reading order: a DocxDocumentBuilder that
// builds a QTextDocument, or a DocxBuildQueue that hands the same calls to one on another thread.
class DocxBuildSink
{
public:
    static constexpr int kMaxNesting = 16;
    static constexpr int kMaxColumns = 64;

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

    virtual ~DocxBuildSink() = default;

    virtual void startParagraph(const QTextBlockFormat &block, const QTextCharFormat &chars, const ListItem *item) = 0;
    virtual void insertText(const QString &text, const QTextCharFormat &format) = 0;
    // A picture in a frame of its own, floating beside the paragraph that comes next.
    virtual void insertFloat(const QTextFrameFormat &frame, const QTextImageFormat &image) = 0;
    // Tables: a table with its grid's widths, then rows of cells.
    virtual void openTable(const QTextTableFormat &format, int gridColumns) = 0;
    virtual void startRow() = 0;
    // The paragraphs that follow go into this cell of the open row.
    virtual void startCell(const Cell &cell) = 0;
    // Ends the row; `filler` is the format of the cells it lacks (w:gridBefore/After).
    virtual void endRow(const QTextTableCellFormat &filler, bool header) = 0;
    // Closes the innermost table; `lastRowBottom` (when it has properties) goes onto the bottom
    // of the last row's cells but those of the columns `ownBottom` marks.
    virtual void closeTable(const QTextTableCellFormat &lastRowBottom, const std::vector<bool> &ownBottom) = 0;
    // Adds kept data to a property of the last paragraph's own format.
    virtual void keepAtEnd(int property, const QString &kept) = 0;
    virtual void addResource(int type, const QUrl &name, const QVariant &resource) = 0;
    virtual void finish() = 0;
};
