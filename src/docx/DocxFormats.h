#pragma once
#include <QTextFormat>

// What the Word reader keeps on the formats of a QTextDocument for the Word writer, beyond the
// shared conventions of rtf/TextFormats.h. Values that hold XML hold kept XML (DocxKeptXml.h).
// Other formats' writers leave them alone; the text and what TextFormats.h describes is all they
// need.
namespace DocxFormats {

// Character format: kept XML that stood just before this text (a comment's range, a drawing
// with nothing to show, a field without a result ...). On a block's own character format
// (QTextBlock::charFormat()) it stood at the end of that paragraph.
constexpr int kKeptProperty = QTextFormat::UserProperty + 0x5300;
// Character format: this text shows kept XML (a text box's or an equation's text); the writer
// writes the kept XML once instead of the text.
constexpr int kShownOnlyProperty = QTextFormat::UserProperty + 0x5301;
// Character format: run properties the program does not show (w:lang, w:kern ...), as kept XML
// whose elements go back into the run's w:rPr. Block format: the same for w:pPr.
constexpr int kRunPropertiesProperty = QTextFormat::UserProperty + 0x5302;
constexpr int kParagraphPropertiesProperty = QTextFormat::UserProperty + 0x5303;
// Character format: the run's w:rFonts as read, when it says more than the family
// (w:eastAsia, w:cs ...), with the family it gave (kFontFamilyProperty); written back while the
// family is the same.
constexpr int kFontsProperty = QTextFormat::UserProperty + 0x5304;
constexpr int kFontFamilyProperty = QTextFormat::UserProperty + 0x5305;
// Character format: the w:u kind as read ("double", "thick", "words" ...), written back while
// Qt's underline style is still the one it was shown with.
constexpr int kUnderlineProperty = QTextFormat::UserProperty + 0x5306;
// Character format: the text is a tracked change: "ins" or "del" (and "moveTo", "moveFrom"), then
// the change's w:author and w:date, separated by U+001F. Deleted text is shown struck through.
constexpr int kRevisionProperty = QTextFormat::UserProperty + 0x5307;
// Block format: kept XML of elements that stood before this paragraph (between paragraphs: a
// bookmark, an unknown block).
constexpr int kKeptBeforeProperty = QTextFormat::UserProperty + 0x5308;
// Image format: the picture's w:drawing (or w:pict) as read, written back with the picture's new
// relationship and size. Frame format of a floating picture: the same, for its anchor.
constexpr int kDrawingProperty = QTextFormat::UserProperty + 0x5309;
// Table format, table cell format: w:tblPr / w:tcPr (and the row's w:trPr, on each of its cells'
// formats) elements the program does not show, as kept XML.
constexpr int kTablePropertiesProperty = QTextFormat::UserProperty + 0x530A;
constexpr int kCellPropertiesProperty = QTextFormat::UserProperty + 0x530B;
constexpr int kRowPropertiesProperty = QTextFormat::UserProperty + 0x530C;
// List format: the level's w:lvl as read, with the style, template and start it was shown with
// (kLevelShownProperty); written back while they are the same.
constexpr int kLevelProperty = QTextFormat::UserProperty + 0x530D;
constexpr int kLevelShownProperty = QTextFormat::UserProperty + 0x530E;
// Table format: the table's w:tblStyle, written back while the styles are the document's own.
constexpr int kTableStyleProperty = QTextFormat::UserProperty + 0x530F;

// Block format: the paragraph ends a section. "first" for the first section, written from the
// document's page set-up, headers and footers ("first continuous" when the next section does not
// start a page); for a later section its kept w:sectPr (without its headers and footers).
constexpr int kSectionProperty = QTextFormat::UserProperty + 0x5310;

} // namespace DocxFormats
