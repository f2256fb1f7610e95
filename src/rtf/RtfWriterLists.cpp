// The RTF writer's lists: the list tables and, for older readers, the \\pn form and the number as text.
#include "rtf/RtfWriter.h"
#include "rtf/DocumentExtras.h"
#include "rtf/TextFormats.h"
#include "rtf/ListMarkers.h"
#include "rtf/RtfListTable.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <utility>

namespace {

int twips(double pixels) { return TextFormats::roundedTwips(pixels); }

// The character a bullet list shows, by style.
QString bulletOf(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListCircle: return QStringLiteral("o");
    case QTextListFormat::ListSquare: return QString(QChar(0x25AA));
    default: return QString(QChar(0x2022));
    }
}

bool isBullet(QTextListFormat::Style style)
{
    return style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle
        || style == QTextListFormat::ListSquare;
}

int numberFormat(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListDecimal: return 0;
    case QTextListFormat::ListUpperRoman: return 1;
    case QTextListFormat::ListLowerRoman: return 2;
    case QTextListFormat::ListUpperAlpha: return 3;
    case QTextListFormat::ListLowerAlpha: return 4;
    case QTextListFormat::ListStyleUndefined: return 255;
    default: return 23;
    }
}

const char *oldListStyleWord(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListUpperRoman: return "pnucrm";
    case QTextListFormat::ListLowerRoman: return "pnlcrm";
    case QTextListFormat::ListUpperAlpha: return "pnucltr";
    case QTextListFormat::ListLowerAlpha: return "pnlcltr";
    default: return "pndec";
    }
}

// Qt shows a full stop after the number when the format names no suffix.
QString numberSuffix(const QTextListFormat &f)
{
    return f.hasProperty(QTextFormat::ListNumberSuffix) ? f.numberSuffix() : QStringLiteral(".");
}

int startOf(const QTextListFormat &f)
{
    return f.hasProperty(TextFormats::kListStartProperty) ? f.intProperty(TextFormats::kListStartProperty) : 1;
}

// A marker template's placeholders "%1" ... "%9" as \leveltext has them, characters 0 ... 8.
QString levelTextOf(const QString &pattern)
{
    QString text;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == u'%' && i + 1 < pattern.size() && pattern[i + 1] >= u'1' && pattern[i + 1] <= u'9')
            text += QChar(char16_t(pattern[++i].unicode() - u'1'));
        else
            text += pattern[i];
    }
    return text.left(RtfListTable::kMaxNumberText);
}

} // namespace

// A list's level: its indent, counted from 0.
int RtfWriter::listLevel(const QTextList *list)
{
    return qBound(0, list->format().indent() - 1, 8);
}

// The older list form and the list's marker as text, for readers without \listtable.
void RtfWriter::writeListFallback(const QTextBlock &block)
{
    QTextList *list = block.textList();
    const QTextListFormat f = list->format();
    const QString marker = ListMarkers::text(block);
    if (marker.isEmpty())
        return; // a level without a marker shows nothing
    const bool bullet = isBullet(f.style());
    raw("{\\pntext");
    needSpace_ = true;
    text(bullet ? bulletOf(f.style()) : marker);
    word("tab");
    if (f.style() == QTextListFormat::ListStyleUndefined) { // text without a number: no older list form
        raw("}");
        needSpace_ = false;
        return;
    }
    raw("}{\\*\\pn");
    if (bullet) {
        word("pnlvlblt");
    } else {
        word("pnlvlbody");
        word(oldListStyleWord(f.style()));
        if (startOf(f) != 1)
            word("pnstart", startOf(f));
    }
    word("pnindent", 360);
    const QString before = f.numberPrefix().left(RtfListTable::kMaxNumberText);
    const QString after = numberSuffix(f).left(RtfListTable::kMaxNumberText);
    if (bullet || !before.isEmpty()) {
        raw("{\\pntxtb");
        needSpace_ = true;
        text(bullet ? bulletOf(f.style()) : before);
        raw("}");
    }
    if (!bullet && !after.isEmpty()) {
        raw("{\\pntxta");
        needSpace_ = true;
        text(after);
        raw("}");
    }
    raw("}");
    // Named again after the older form, which some readers would otherwise let decide the list.
    word("ls", listIndex(list));
    word("ilvl", listLevel(list));
}

// The \ls number of a list: the QTextLists of one group are the levels of one list.
int RtfWriter::listIndex(QTextList *list)
{
    const auto known = listOf_.constFind(list);
    if (known != listOf_.cend())
        return *known + 1;
    const QTextListFormat f = list->format();
    int group = -1;
    const QString key = f.stringProperty(TextFormats::kListGroupProperty);
    if (!key.isEmpty())
        group = listGroupIndex_.value(key, -1);
    if (group < 0) {
        listGroups_.append(ListGroup());
        group = int(listGroups_.size()) - 1;
        if (!key.isEmpty())
            listGroupIndex_.insert(key, group);
    }
    std::optional<QTextListFormat> &level = listGroups_[group].levels[std::size_t(listLevel(list))];
    if (!level)
        level = f;
    listOf_.insert(list, group);
    return group + 1;
}

// \listtable and \listoverridetable: one list per group of QTextLists, each at its level.
QByteArray RtfWriter::listTables()
{
    if (listGroups_.isEmpty())
        return QByteArray();
    QByteArray saved;
    std::swap(saved, out_);
    raw("{\\*\\listtable");
    for (qsizetype i = 0; i < listGroups_.size(); ++i) {
        newline();
        raw("{\\list");
        word("listtemplateid", i + 1);
        for (int k = 0; k < 9; ++k) {
            const std::optional<QTextListFormat> &defined = listGroups_[i].levels[std::size_t(k)];
            const QTextListFormat f = defined ? *defined : QTextListFormat();
            const QTextListFormat::Style style = defined ? f.style() : QTextListFormat::ListDisc;
            const bool bullet = isBullet(style);
            const bool none = style == QTextListFormat::ListStyleUndefined;
            // \leveltext counts its characters in one byte.
            const QString before = bullet || none ? QString() : f.numberPrefix().left(RtfListTable::kMaxNumberText);
            const QString after = bullet || none ? QString() : numberSuffix(f).left(RtfListTable::kMaxNumberText);
            raw("{\\listlevel");
            word("levelnfc", numberFormat(style));
            word("levelnfcn", numberFormat(style));
            word("leveljc", 0);
            word("levelfollow", 0);
            word("levelstartat", defined ? startOf(f) : 1);
            raw("{\\leveltext");
            needSpace_ = false;
            QString level = bullet ? bulletOf(style) : none ? QString() : before + QChar(char16_t(k)) + after;
            if (f.hasProperty(TextFormats::kListNumberTemplateProperty))
                level = levelTextOf(f.stringProperty(TextFormats::kListNumberTemplateProperty));
            out_ += "\\'" + QByteArray::number(int(level.size()), 16).rightJustified(2, '0');
            QByteArray numbers;
            for (qsizetype p = 0; p < level.size(); ++p) {
                const QChar c = level[p];
                if (c.unicode() < 9) {
                    out_ += "\\'0" + QByteArray::number(c.unicode());
                    numbers += "\\'" + QByteArray::number(int(p + 1), 16).rightJustified(2, '0');
                    needSpace_ = false;
                } else {
                    text(QStringView(&c, 1));
                }
            }
            raw(";}{\\levelnumbers");
            raw(numbers);
            raw(";}");
            needSpace_ = false;
            const bool marker = !defined || ListMarkers::hasMarker(f);
            word("fi", marker ? -360 : 0); // a level without a marker indents nothing
            word("li", marker ? twips(doc_.indentWidth() * (k + 1)) : 0);
            raw("}");
            needSpace_ = false;
        }
        word("listid", i + 1);
        raw("}");
        needSpace_ = false;
    }
    raw("}");
    newline();
    raw("{\\*\\listoverridetable");
    for (qsizetype i = 0; i < listGroups_.size(); ++i) {
        raw("{\\listoverride");
        word("listid", i + 1);
        word("listoverridecount", 0);
        word("ls", i + 1);
        raw("}");
        needSpace_ = false;
    }
    raw("}");
    newline();
    std::swap(saved, out_);
    return saved;
}
