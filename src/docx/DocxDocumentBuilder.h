#pragma once
#include "docx/DocxBuildSink.h"

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
class DocxDocumentBuilder : public DocxBuildSink
{
public:
    static constexpr int kMaxListItems = 1000;
    static constexpr int kMaxBulletItems = 128;

    explicit DocxDocumentBuilder(QTextDocument &doc);

    void startParagraph(const QTextBlockFormat &block, const QTextCharFormat &chars, const ListItem *item) override;
    void insertText(const QString &text, const QTextCharFormat &format) override;
    void insertFloat(const QTextFrameFormat &frame, const QTextImageFormat &image) override;

    void openTable(const QTextTableFormat &format, int gridColumns) override;
    void startRow() override;
    void startCell(const Cell &cell) override;
    void endRow(const QTextTableCellFormat &filler, bool header) override;
    void closeTable(const QTextTableCellFormat &lastRowBottom, const std::vector<bool> &ownBottom) override;
    void keepAtEnd(int property, const QString &kept) override;
    void addResource(int type, const QUrl &name, const QVariant &resource) override;
    void setListGroupPrefix(const QString &prefix) { groupPrefix_ = prefix; }
    void finish() override;

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
    QTextTable *close();
    void patchLastRow(QTextTable *table, const QTextTableCellFormat &bottom, const std::vector<bool> &ownBottom);
    void addToList(const ListItem &item);
    void mergeCells(OpenTable &t);

    QTextDocument &doc_;
    QTextCursor cursor_;
    bool blockUsed_ = false;
    std::vector<OpenTable> tables_;
    QHash<QString, std::vector<QTextList *>> lists_;
    QString groupPrefix_;
};
