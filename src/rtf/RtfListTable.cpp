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

// A level text with its placeholders (characters below 9, for the levels' numbers) as a marker
// template, "%1" ... "%9".
QString templateOf(const QString &body)
{
    QString pattern;
    for (const QChar c : body)
        pattern += isPlaceholder(c) ? QStringLiteral("%") + QString::number(c.unicode() + 1) : QString(c);
    return pattern;
}

} // namespace

QTextListFormat RtfListTable::format(const Level &level, int levelIndex)
{
    QTextListFormat f;
    f.setIndent(levelIndex + 1);
    if (level.start != 1)
        TextFormats::setListStart(f, qBound(0, level.start, 32767));
    // \leveltext starts with its length; the characters below 9 stand for level numbers.
    const int length = level.text.isEmpty() ? 0 : level.text.front().unicode();
    const QString body = level.text.mid(1, length).left(kMaxNumberText);
    if (level.numberFormat == 23) {
        f.setStyle(bulletStyle(body));
        return f;
    }
    qsizetype first = -1, last = -1, count = 0;
    for (qsizetype i = 0; i < body.size(); ++i) {
        if (isPlaceholder(body[i])) {
            if (first < 0)
                first = i;
            last = i;
            ++count;
        }
    }
    if (level.numberFormat == 255) { // no number of its own: the level shows its text, if any
        f.setStyle(QTextListFormat::ListStyleUndefined);
        if (!body.isEmpty())
            f.setProperty(TextFormats::kListNumberTemplateProperty, templateOf(body));
        return f;
    }
    f.setStyle(numberStyle(level.numberFormat));
    if (level.text.isEmpty()) { // no level text at all: the number and a full stop
        f.setNumberSuffix(QStringLiteral("."));
        return f;
    }
    // Qt shows the text around the level's own number; any other text ("1.1.", a number of
    // another level, no number at all) takes a template.
    f.setNumberPrefix(first >= 0 ? body.left(first) : QString());
    f.setNumberSuffix(first >= 0 ? body.mid(last + 1) : body);
    if (count != 1 || body[first].unicode() != levelIndex)
        f.setProperty(TextFormats::kListNumberTemplateProperty, templateOf(body));
    return f;
}
