#pragma once
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QRgb>
#include <QStringList>
#include <QTextFrame>

class QTextBlock;
class QTextCharFormat;
class QTextDocument;
class QTextImageFormat;
class QTextList;
class QTextTable;
class QTextTableCell;

// Writes a QTextDocument as Rich Text Format: Windows-1252 header, non-ASCII as \uN with an
// ANSI fallback, font and colour tables of what is used, runs with the fewest words that change
// the format, lists in both the \ls and the older \pn form, PNG/JPEG pictures, tables and links.
class RtfWriter
{
public:
    explicit RtfWriter(const QTextDocument &doc);
    QByteArray write();

private:
    // The character formatting the output has reached, in RTF terms.
    struct CharState
    {
        int font = 0;
        int halfPoints = 24;
        int underline = 0;
        int foreground = 0;
        int background = 0;
        int script = 0;
        int offset = 0;
        bool bold = false;
        bool italic = false;
        bool strike = false;
        bool caps = false;
        bool smallCaps = false;
        bool operator==(const CharState &) const = default;
    };

    void writeItems(QTextFrame::iterator it, int tableLevel, bool inCell);
    void writeBlock(const QTextBlock &block, int tableLevel, const char *ending);
    void writeTable(QTextTable *table, int tableLevel);
    void writeRowDefinition(QTextTable *table, int row, const QList<int> &rights);
    void writeCell(const QTextTableCell &cell, int tableLevel);
    QList<int> cellRights(QTextTable *table) const;
    void writeParagraphFormat(const QTextBlock &block, int tableLevel);
    void writeListFallback(const QTextBlock &block);
    void writeRuns(const QTextBlock &block);
    void openLink(const QString &href);
    void closeLink();
    void writeImage(const QTextImageFormat &format);

    CharState stateOf(const QTextCharFormat &format);
    void switchTo(const CharState &target);
    static QByteArray changes(const CharState &from, const CharState &to);

    void word(const char *name);
    void word(const char *name, long long value);
    void raw(QByteArrayView bytes);
    void text(QStringView s);
    void newline();

    int fontIndex(const QString &family);
    int colorIndex(const QColor &color);
    int listIndex(QTextList *list);
    QByteArray header();
    QByteArray listTables();

    const QTextDocument &doc_;
    QByteArray out_;
    bool needSpace_ = false;
    CharState state_;
    CharState savedState_;
    QString link_;
    QStringList fonts_;
    QHash<QString, int> fontIndex_;
    QList<QRgb> colors_;
    QHash<QRgb, int> colorIndex_;
    QList<QTextList *> lists_;
    QHash<QTextList *, int> listIndex_;
    QHash<QTextList *, int> itemsWritten_; // numbers the items of each list as they are written
    QHash<char16_t, char> ansi_; // characters Windows-1252 has, for the fallback after \uN
};
