#pragma once
#include <QFont>
#include <QStringList>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>
#include <cmath>

// Conventions shared by the RTF reader/writer and the editing surface, so that what one writes the
// other reads the same way.
namespace TextFormats {

// Lengths in a QTextDocument (margins, indents, image sizes) are pixels at 96 per inch.
constexpr double kTwipsPerPixel = 15.0;
constexpr double kTwipsPerPoint = 20.0;

inline double twipsToPixels(double twips) { return twips / kTwipsPerPixel; }
inline double pixelsToTwips(double px) { return px * kTwipsPerPixel; }
// Whole twips, for writing: rounded, and within what a file can hold.
inline int roundedTwips(double px) { return int(std::lround(qBound(-1e7, pixelsToTwips(px), 1e7))); }

// The font family of a character format: the first of its families, else its single family,
// else the document's default font.
inline QString family(const QTextCharFormat &f, const QFont &documentDefault)
{
    if (f.hasProperty(QTextFormat::FontFamilies)) {
        const QStringList families = f.fontFamilies().toStringList();
        if (!families.isEmpty() && !families.first().isEmpty())
            return families.first();
    }
    if (f.hasProperty(QTextFormat::FontFamily) && !f.stringProperty(QTextFormat::FontFamily).isEmpty())
        return f.stringProperty(QTextFormat::FontFamily);
    return documentDefault.family();
}

// Sets the family both ways Qt knows, so every reader of the format agrees.
inline void setFamily(QTextCharFormat &f, const QString &name)
{
    f.setFontFamilies(QStringList{name});
    f.setProperty(QTextFormat::FontFamily, name);
}

// Point size of a character format, falling back to the document's default font.
inline double pointSize(const QTextCharFormat &f, const QFont &documentDefault)
{
    if (f.hasProperty(QTextFormat::FontPointSize) && f.fontPointSize() > 0)
        return f.fontPointSize();
    return documentDefault.pointSizeF();
}

inline bool isBold(const QTextCharFormat &f) { return f.fontWeight() >= QFont::DemiBold; }
inline bool isUnderlined(const QTextCharFormat &f)
{
    if (f.hasProperty(QTextFormat::TextUnderlineStyle))
        return f.underlineStyle() != QTextCharFormat::NoUnderline;
    return f.fontUnderline();
}

// Character offset (raised or lowered text). The offset is kept as QTextCharFormat::baselineOffset,
// a percentage of the run's point size (positive = up); it is independent of the superscript and
// subscript vertical alignments, which stand for their own markers and have an offset of 0 here.
// 20 twips are one point.
inline double charOffsetTwips(const QTextCharFormat &f, const QFont &documentDefault)
{
    if (!f.hasProperty(QTextFormat::TextBaselineOffset))
        return 0.0;
    return f.baselineOffset() / 100.0 * pointSize(f, documentDefault) * kTwipsPerPoint;
}

// Sets the offset for the run's current point size; 0 removes it.
inline void setCharOffsetTwips(QTextCharFormat &f, double twips, const QFont &documentDefault)
{
    const double size = pointSize(f, documentDefault);
    if (twips == 0.0 || size <= 0.0) {
        f.clearProperty(QTextFormat::TextBaselineOffset);
        return;
    }
    f.setBaselineOffset(twips / (size * kTwipsPerPoint) * 100.0);
}

// Left indent of a paragraph as the user sees it, in pixels: a paragraph in a list is indented by
// its list's levels (QTextListFormat::indent() steps of QTextDocument::indentWidth()) on top of
// its own left margin.
inline double leftIndentPixels(const QTextBlock &block)
{
    double px = block.blockFormat().leftMargin();
    if (const QTextList *list = block.textList())
        px += list->format().indent() * block.document()->indentWidth();
    return px;
}

// Pictures. An inline picture is U+FFFC with a QTextImageFormat whose name is a URL registered
// with addResource(QTextDocument::ImageResource, ...), holding a QImage, a QPixmap or encoded bytes.
// A picture read from Rich Text Format also keeps its original encoded bytes, as a QByteArray
// resource (type kOriginalImageResource) under originalImageUrl() of its URL (QTextDocument keys
// resources by URL alone), and its original type in the format's kImageTypeProperty ("png",
// "jpeg", "wmf", "emf" or "pict"). For "wmf", "emf" and "pict", which Qt cannot draw (and for
// pictures that are broken or too large), the ImageResource is a small grey placeholder that the
// format's width and height scale to the picture's size; kImageNativeSizeProperty holds a
// metafile's own size (RTF \picw and \pich) as a QSize.
// The RTF writer re-emits the original bytes when they are there, else writes the image as PNG
// (or as JPEG when the resource is JPEG bytes).
constexpr int kOriginalImageResource = QTextDocument::UserResource + 1;
constexpr int kImageTypeProperty = QTextFormat::UserProperty + 0x5201;
constexpr int kImageNativeSizeProperty = QTextFormat::UserProperty + 0x5202;

inline QUrl originalImageUrl(const QUrl &image)
{
    QUrl url(image);
    url.setFragment(QStringLiteral("original-bytes"));
    return url;
}

// Inline data that Qt has no place for. It lives on formats as user properties, so it stays with
// its text through editing, undo and copy/paste within the program (the clipboard carries RTF,
// which writes it). Document-level data lives in DocumentExtras (DocumentExtras.h).
//
// Kept RTF is RTF the program reads but cannot show, written back as it was: a small standalone
// RTF document holding the groups and a font and colour table of just what they use (KeptRtf.h).
// Properties that hold RTF hold it as a QString of its bytes (Latin-1, see rtfOf()/rtfBytes()),
// because Qt hashes formats by their string properties but not by byte arrays.

// Character format: kept RTF of groups that stood just before this text (unknown \* destinations,
// bookmarks, comments, fields without a result, objects without a result). On a block's own
// character format (QTextBlock::charFormat()) it stood at the end of that paragraph. Each kept
// value carries an id of its own, so the writer writes it once even where edits spread it over
// several runs.
constexpr int kKeptRtfProperty = QTextFormat::UserProperty + 0x5203;
// Character format: the fields (and objects) whose shown result this text is, outermost first:
// for each, its group without the result (e.g. {\field{\*\fldinst PAGE}}), as kept RTF documents
// one after the other. Hyperlinks are anchors (QTextCharFormat::anchorHref) instead.
constexpr int kFieldsProperty = QTextFormat::UserProperty + 0x5204;
// Character format of a note's reference mark: the note's text as a standalone RTF document
// (Notes.h makes a QTextDocument of it); kNoteKindProperty is 0 for a footnote, 1 for an endnote.
constexpr int kNoteProperty = QTextFormat::UserProperty + 0x5205;
constexpr int kNoteKindProperty = QTextFormat::UserProperty + 0x5206;
// Character format: text that shows an automatic value, by its RTF word: "chftn" a note's number,
// "chpgn" the page number. The writer writes the word instead of the text.
constexpr int kAutoTextProperty = QTextFormat::UserProperty + 0x5207;
// Character format: text shown for kept RTF that the program can only show as text (a text box or
// drawing shape). The value is that kept RTF; the writer writes it once instead of the text.
constexpr int kShownOnlyProperty = QTextFormat::UserProperty + 0x5208;
// Block format: the name of the paragraph's style; character format: the name of the character
// style. The styles themselves are DocumentExtras::styles().
constexpr int kParagraphStyleProperty = QTextFormat::UserProperty + 0x5209;
constexpr int kCharacterStyleProperty = QTextFormat::UserProperty + 0x520A;
// List format: the number of the first item (RTF \levelstartat, \pnstart). Qt 6.4 always counts
// from 1 on screen; the value is kept and written back.
constexpr int kListStartProperty = QTextFormat::UserProperty + 0x520B;
// List format: the QTextLists that are the levels of one RTF list share this string, so they are
// written back as one list whose levels restart each other.
constexpr int kListGroupProperty = QTextFormat::UserProperty + 0x520C;
// Table cell format: the height of the cell's row in twips (> 0 at least, < 0 exactly, RTF \trrh).
constexpr int kRowHeightProperty = QTextFormat::UserProperty + 0x520E;
// Frame format of a picture that floats beside the text (or stands on a line of its own): the kept
// RTF of its shape without the picture, so it is written back as the same floating shape.
constexpr int kShapeProperty = QTextFormat::UserProperty + 0x520F;
// Character format of a note's mark or of automatic text: an id, so that marks next to each
// other (two notes of the same text, "1" and "2") stay apart instead of joining into one run.
constexpr int kMarkIdProperty = QTextFormat::UserProperty + 0x5210;

// Tables of every document format share one model. A QTextTable's columns are the table's grid: the
// union of the cell edges of all its rows (RTF \cellx of each row, Word's w:gridCol, OpenDocument's
// table:table-column), with their widths in QTextTableFormat::columnWidthConstraints. A cell wider
// than one grid column is a Qt column span, a vertically merged cell a Qt row span.
// Table cell format: the span was written by the file as merged cells (RTF \clmgf/\clmrg, Word's
// w:hMerge) rather than as one wide cell; it is written back the same way. The value is true, or
// how many columns each of the merged cells spans (a QList<int> adding up to the span).
constexpr int kCellHorizontalMergeProperty = QTextFormat::UserProperty + 0x5211;
// Table cell format: grid columns a row has no cell for (before its first cell or after its last:
// Word's w:gridBefore/w:gridAfter, an RTF row that starts or ends inside the grid). Shown empty and
// without borders; not a cell of the file, so it is written as nothing.
constexpr int kGridFillerProperty = QTextFormat::UserProperty + 0x5212;
// List format: the level's marker as a template, "%1" … "%9" standing for the current numbers of the
// list's levels 1 … 9 (each in its own level's number style), other characters as they are ("%1.%2."
// gives "3.1."). Absent: the marker is Qt's own (prefix, number, suffix). Empty: no marker.
constexpr int kListNumberTemplateProperty = QTextFormat::UserProperty + 0x5213;
// The marker of a list item is ListMarkers::text(). Where Qt 6.4 would draw another (a start other
// than 1, a template), ListMarkers::hideWrongQtMarkers() sets the item's block format list style
// (QTextFormat::ListStyle) to ListStyleUndefined, and the program draws the marker itself.

// Sets a list's first number: kept in kListStartProperty, and shown where Qt can (6.6 and later).
inline void setListStart(QTextListFormat &f, int start)
{
    f.setProperty(kListStartProperty, start);
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    f.setStart(start);
#endif
}

inline QString rtfOf(QByteArrayView bytes) { return QString::fromLatin1(bytes.data(), bytes.size()); }
inline QByteArray rtfBytes(const QString &rtf) { return rtf.toLatin1(); }

// The cell format properties of a border side, in RTF's order of sides: top, left, bottom, right.
struct CellBorderSide
{
    QTextFormat::Property width, style, brush;
};
constexpr CellBorderSide kCellBorderSides[4] = {
    {QTextFormat::TableCellTopBorder, QTextFormat::TableCellTopBorderStyle, QTextFormat::TableCellTopBorderBrush},
    {QTextFormat::TableCellLeftBorder, QTextFormat::TableCellLeftBorderStyle, QTextFormat::TableCellLeftBorderBrush},
    {QTextFormat::TableCellBottomBorder, QTextFormat::TableCellBottomBorderStyle, QTextFormat::TableCellBottomBorderBrush},
    {QTextFormat::TableCellRightBorder, QTextFormat::TableCellRightBorderStyle, QTextFormat::TableCellRightBorderBrush},
};

} // namespace TextFormats
