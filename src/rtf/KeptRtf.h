#pragma once
#include "rtf/RtfGroupCopier.h"

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// RTF kept as it was, in a form that stands on its own: a small RTF document holding the kept
// groups, a font table and a colour table of just the fonts and colours they use, and an id:
//   {\rtf1{\*\id ID}{\fonttbl{\f0\fcharset128 MS Mincho;}}{\colortbl;\red255\green0\blue0;}GROUPS}
// The groups' font and colour numbers refer to these small tables, so the kept RTF can be written
// into any document's tables (RtfWriter maps them again). Font names are UTF-8 in the tables.
// The id (empty for groups kept once) tells apart kept groups that are alike; the writer writes
// each id once. The id group always comes first, the tables at most once each, in that order.
class KeptRtf
{
public:
    static constexpr int kMaxBytes = 64 << 20; // kept by one document

    struct Font
    {
        QString name;
        int charset = 0; // \fcharset
        int codePage = 0; // \cpg, 0 for none
        bool operator==(const Font &) const = default;
    };
    using FontLookup = std::function<Font(int number)>;
    using ColorLookup = std::function<QColor(int index)>; // invalid for none

    // Keeps the groups (or words) of `rtf`, balanced and with the list words left out, with the
    // fonts and colours they use from the file's tables. Null when they nest too deep.
    // `copier` may leave out groups or add to them; its maps are set here.
    // What of `rtf` is kept (balanced, without the document's tables and words), in the file's own
    // font and colour numbers: what a reading of the kept RTF reads.
    static QByteArray asKept(QByteArrayView rtf);
    static QString make(QByteArrayView rtf, const FontLookup &fonts, const ColorLookup &colors, const QString &id,
                        RtfGroupCopier copier);

    struct Parts
    {
        QString id;
        QList<Font> fonts;
        QList<QColor> colors; // by index; 0 is the automatic colour and not listed
        QByteArray content;   // the kept groups
    };
    static Parts parse(const QString &kept);
    // The kept groups alone, fonts and colours still the kept ones.
    static QByteArray content(const QString &kept) { return parse(kept).content; }

    // Splits concatenated kept documents (kFieldsProperty) into each.
    static QList<QString> split(const QString &kepts);

    // The instruction of a kept field group ({\field{\*\fldinst PAGE}}): "PAGE".
    static QString fieldInstruction(const QString &kept);

    // Text as kept RTF spells it: \\, \{ and \} escaped, tabs and line breaks as words, the rest
    // but ASCII as \uN.
    static QByteArray text(QStringView text);

    // What formats with places of their own for them (Word, OpenDocument) take out of kept RTF's
    // content (Parts::content): its hidden text (\v: letters, tabs and line ends, without what
    // destinations hold), its comments (annotations) and its bookmarks, in order.
    static QString hiddenText(QByteArrayView content);
    struct Annotation
    {
        QString author;
        QString initials;
        QStringList paragraphs;
    };
    static QList<Annotation> annotations(QByteArrayView content);
    struct Bookmark
    {
        bool start = true; // else its end
        QString name;
    };
    static QList<Bookmark> bookmarks(QByteArrayView content);
};
