#include "rtf/RtfListTable.h"
#include "rtf/TextFormats.h"

void RtfListTable::addList(const List &list)
{
    lists_.insert(list.id, list);
}

void RtfListTable::addOverride(int override, int listId)
{
    overrides_.insert(override, listId);
}

const RtfListTable::List *RtfListTable::listFor(int override) const
{
    const auto o = overrides_.constFind(override);
    if (o == overrides_.cend())
        return nullptr;
    const auto l = lists_.constFind(*o);
    return l == lists_.cend() ? nullptr : &*l;
}

QTextListFormat::Style RtfListTable::bulletStyle(QStringView bullet)
{
    const char16_t c = bullet.isEmpty() ? u'\x2022' : bullet.front().unicode();
    switch (c) {
    case u'o': case u'\x25E6': case u'\x25CB': case u'\x25A1':
        return QTextListFormat::ListCircle;
    case u'\x25AA': case u'\x25A0': case u'\x25FC': case u'\x25FE': case u'\xA7':
        return QTextListFormat::ListSquare;
    default:
        return QTextListFormat::ListDisc;
    }
}

namespace {

QTextListFormat::Style numberStyle(int numberFormat)
{
    switch (numberFormat) {
    case 1: return QTextListFormat::ListUpperRoman;
    case 2: return QTextListFormat::ListLowerRoman;
    case 3: return QTextListFormat::ListUpperAlpha;
    case 4: return QTextListFormat::ListLowerAlpha;
    default: return QTextListFormat::ListDecimal;
    }
}

bool isPlaceholder(QChar c) { return c.unicode() < 9; }

} // namespace

QTextListFormat RtfListTable::format(const Level &level, int levelIndex)
{
    QTextListFormat f;
    f.setIndent(levelIndex + 1);
    if (level.start != 1)
        TextFormats::setListStart(f, qBound(0, level.start, 32767));
    // \leveltext starts with its length; the characters below 9 stand for level numbers.
    const int length = level.text.isEmpty() ? 0 : level.text.front().unicode();
    const QString body = level.text.mid(1, length);
    if (level.numberFormat == 255) { // no number: the level shows no marker
        f.setStyle(QTextListFormat::ListStyleUndefined);
        return f;
    }
    if (level.numberFormat == 23) {
        f.setStyle(bulletStyle(body));
        return f;
    }
    f.setStyle(numberStyle(level.numberFormat));
    qsizetype first = -1, last = -1;
    for (qsizetype i = 0; i < body.size(); ++i) {
        if (isPlaceholder(body[i])) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (last < 0) {
        f.setNumberSuffix(QStringLiteral("."));
        return f;
    }
    // Qt shows one level's number only: keep the text before it when it is the only number, and
    // the whole text ("1.1.") for writing back when there are more.
    f.setNumberPrefix(first == last ? body.left(first).left(kMaxNumberText) : QString());
    f.setNumberSuffix(body.mid(last + 1).left(kMaxNumberText));
    if (first != last)
        f.setProperty(TextFormats::kListLevelTextProperty,
                      QString::number(level.numberFormat) + u':' + level.text.left(kMaxNumberText + 1));
    return f;
}
