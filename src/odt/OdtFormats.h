#pragma once
#include <QList>
#include <QString>
#include <QTextFormat>
#include <utility>

// What an OpenDocument file holds that the program keeps but does not show, on the formats of the
// text it belongs to (beside the shared properties of rtf/TextFormats.h, which the OpenDocument
// reader fills as the RTF reader does). Values are strings, which Qt hashes with the format.
namespace OdtFormats {

// Character format: XML of elements that stood just before this text and show nothing here
// (comments, marks of tracked changes, elements the program does not know); on a block's own
// character format, at the end of that paragraph. Kept entries (see entry()).
constexpr int kKeptXmlProperty = QTextFormat::UserProperty + 0x5401;
// Character format: the text shows this kept XML (a text box, a drawing, a formula, a field the
// program cannot work out); the writer writes the XML once instead of the text. A kept entry.
constexpr int kShownXmlProperty = QTextFormat::UserProperty + 0x5402;
// Block format: attributes of the paragraph's own formatting that the program does not show
// (fo:keep-with-next="always" ...), as XML attribute text, written back into its style.
constexpr int kParagraphAttributesProperty = QTextFormat::UserProperty + 0x5403;
// Character format: the same for the text's formatting.
constexpr int kTextAttributesProperty = QTextFormat::UserProperty + 0x5404;
// Table format: the table's own attributes and those of its style the program does not show.
constexpr int kTableAttributesProperty = QTextFormat::UserProperty + 0x5405;
// Table cell format: the same for the cell's style.
constexpr int kCellAttributesProperty = QTextFormat::UserProperty + 0x5406;
// Frame format of a floating picture: the attributes of its frame and of its graphic style, as
// "frame-attributes\u0001style-attributes", written back around the picture.
constexpr int kFrameAttributesProperty = QTextFormat::UserProperty + 0x5407;
// Block format: the paragraph was an item of a list without a number of its own (text:list-header),
// or a paragraph after the first of an item; it is written inside the list without a number. The
// value is the level (1 for the first) and the list's group (TextFormats::kListGroupProperty),
// "2 group".
constexpr int kListContinuationProperty = QTextFormat::UserProperty + 0x5408;

// Block format: block-level XML that stood before this paragraph and shows nothing (a section's
// start, an element the program does not know). Kept entries.
constexpr int kKeptBlockXmlProperty = QTextFormat::UserProperty + 0x540A;

// List format: the number the list style's level starts at, where the list starts at another
// (an item's text:start-value); written back in the list style, the list's own start on its item.
constexpr int kListStyleStartProperty = QTextFormat::UserProperty + 0x540B;

// A kept entry is an id and XML; a value holds entries one after the other. The id tells
// alike entries apart, so that the writer writes each once where edits spread it over runs.
inline QString entry(const QString &id, const QString &xml)
{
    return QChar(0x1) + id + QChar(0x2) + xml;
}

inline QList<std::pair<QString, QString>> entries(const QString &value)
{
    QList<std::pair<QString, QString>> out;
    for (const QStringView part : QStringView(value).split(QChar(0x1), Qt::SkipEmptyParts)) {
        const qsizetype split = part.indexOf(QChar(0x2));
        if (split < 0)
            continue;
        out.append({part.left(split).toString(), part.mid(split + 1).toString()});
    }
    return out;
}

} // namespace OdtFormats
