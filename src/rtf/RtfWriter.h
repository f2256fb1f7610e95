#pragma once
#include "rtf/KeptRtf.h"
#include "rtf/PageSetup.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QRgb>
#include <QSet>
#include <QStringList>
#include <QTextFrame>
#include <QTextTable>
#include <QTextListFormat>
#include <array>
#include <optional>
#include <vector>

class DocumentExtras;
struct DocumentStyle;
class QTextBlock;
class QTextBlockFormat;
class QTextCharFormat;
class QTextDocument;
class QTextImageFormat;
class QTextList;

// Writes a QTextDocument as Rich Text Format: Windows-1252 header, non-ASCII as \uN with an
// ANSI fallback, font and colour tables of what is used, runs with the fewest words that change
// the format, lists in both the \ls and the older \pn form, PNG/JPEG pictures, tables and links.
// It also writes back what the document keeps beyond its text (DocumentExtras, and the inline
// data of TextFormats.h): page set-up, headers and footers, notes, styles, fields, kept RTF.
// Its code: RtfWriter.cpp (structure, paragraphs, runs, fields, notes, kept RTF),
// RtfWriterFormats.cpp, RtfWriterTables.cpp, RtfWriterLists.cpp, RtfWriterPictures.cpp and
// RtfWriterHead.cpp (tables, stylesheet, information, page set-up, headers).
class RtfWriter
{
public:
    // A whole document, or a part of one (a header, a note) as a document of its own: its text,
    // tables and the styles it uses, from `styles` (else its own DocumentExtras).
    enum Mode { Whole, Part };

    explicit RtfWriter(const QTextDocument &doc, Mode mode = Whole, const DocumentExtras *styles = nullptr);
    // The page written for a whole document that has no page set-up of its own.
    void setDefaultPage(const std::optional<PageSetup> &page) { defaultPage_ = page; }
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
        int charStyle = -1;
        bool bold = false;
        bool italic = false;
        bool strike = false;
        bool caps = false;
        bool smallCaps = false;
        bool operator==(const CharState &) const = default;
    };
    struct Font
    {
        QString name;
        int charset = 0;
        int codePage = 0;
    };
    // The QTextLists written as one RTF list, by level.
    struct ListGroup
    {
        std::array<std::optional<QTextListFormat>, 9> levels;
    };
    // A field (or hyperlink) whose result is being written.
    struct OpenSpan
    {
        QString key;  // the kept field, or "link:" and the target
        CharState saved;
        std::optional<CharState> savedBase;
    };

    void writeItems(QTextFrame::iterator it, int tableLevel, bool inCell, const char *lastEnding = nullptr);
    void writeBlock(const QTextBlock &block, int tableLevel, const char *ending, bool afterParagraph,
                    const QTextBlock &next);
    // A cell of a table row as it is written: its grid columns [first, last).
    struct RowCell
    {
        QTextTableCell cell;
        int first = 0, last = 1;
        bool shown = true;           // its content is written here (not merged into another)
        const char *merge = nullptr; // "clmgf" or "clmrg" for cells merged across
    };
    void writeTable(QTextTable *table, int tableLevel);
    QList<RowCell> rowCells(QTextTable *table, int row, const QList<int> &edges) const;
    void writeRowDefinition(QTextTable *table, int row, const QList<RowCell> &cells, const QList<int> &edges);
    void writeCellFormat(const QTextTableCell &cell);
    void writeCell(const QTextTableCell &cell, int tableLevel);
    QList<int> columnEdges(QTextTable *table) const;
    void writeParagraphFormat(const QTextBlock &block, int tableLevel, bool pageBreakWord);
    void writeListFallback(const QTextBlock &block);
    void writeRuns(const QTextBlock &block);
    void writeImage(const QTextImageFormat &format);
    void writeShape(const QTextFrame *frame);
    void writeNote(const QTextCharFormat &format);
    void writePart(const QByteArray &rtf);
    void writeHeadersFooters(const DocumentExtras &x, bool nested);

    // Fields and hyperlinks around the text, kept RTF in it.
    static QStringList spansOf(const QTextCharFormat &format);
    void openSpans(const QStringList &spans);
    void closeSpans(qsizetype keep);
    void writeKept(const QString &kept);
    RtfGroupCopier copierFor(const KeptRtf::Parts &parts);
    bool writeKeptContent(const QString &kept, QByteArray &out,
                          const std::function<void(QByteArrayView, int, QByteArray &)> &beforeClose = {});

    const DocumentStyle *paragraphStyle(const QTextBlockFormat &f);
    const DocumentStyle *characterStyle(const QString &name);
    CharState stateOf(const QTextCharFormat &format, bool lookUpOnly = false);
    void switchTo(const CharState &target);
    static QByteArray changes(const CharState &from, const CharState &to);
    static QByteArray changesFromEither(const CharState &a, const CharState &b, const CharState &to);
    static CharState withoutFont(CharState s);
    CharState afterPlain() const;
    CharState characterStyleState(int number);

    void word(const char *name);
    void word(const char *name, long long value);
    void raw(QByteArrayView bytes);
    void text(QStringView s);
    void plainText(QStringView s);
    void newline();

    int fontIndex(const QString &family);
    int fontIndex(const KeptRtf::Font &font);
    int colorIndex(const QColor &color);
    int listIndex(QTextList *list);
    static int listLevel(const QTextList *list);
    QByteArray header();
    QByteArray fontTable();
    QByteArray styleSheet();
    QByteArray listTables();
    QByteArray information();
    QByteArray documentWords();

    const QTextDocument &doc_;
    const QTextDocument *source_;      // the document whose text is being written: doc_ or a part
    Mode mode_;
    const DocumentExtras *extras_;     // styles (and, for a whole document, the rest)
    std::optional<PageSetup> defaultPage_;
    QByteArray out_;
    bool needSpace_ = false;
    bool nameFonts_ = false;           // in a nested header: see afterPlain()
    CharState state_;
    std::optional<CharState> styleBase_; // after \plain\sN: what a reader without styles has
    std::vector<OpenSpan> open_;
    std::vector<const QTextFrame *> shapes_; // floating pictures waiting for their paragraph
    qsizetype paragraphSpans_ = 0;     // how many spans were open when the paragraph's words were written
    QSet<QString> keptWritten_;        // ids of kept RTF written
    QSet<int> stylesUsed_;
    int partDepth_ = 0;
    QList<Font> fonts_;
    QHash<QString, int> fontIndex_;
    QList<QRgb> colors_;
    QHash<QRgb, int> colorIndex_;
    QList<ListGroup> listGroups_;
    QHash<QString, int> listGroupIndex_;   // by TextFormats::kListGroupProperty
    QHash<const QTextList *, int> listOf_; // group index of each list seen in the current document
    QHash<char16_t, char> ansi_; // characters Windows-1252 has, for the fallback after \uN
};
