#include "rtf/ListMarkers.h"
#include "rtf/NumberText.h"
#include "rtf/TextFormats.h"

#include <QHash>
#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <algorithm>
#include <array>

namespace {

constexpr int kLevels = 9;
constexpr char kCacheProperty[] = "scrivloListMarkers";

int levelOf(const QTextListFormat &f) { return qBound(0, f.indent() - 1, kLevels - 1); }

int startOf(const QTextListFormat &f)
{
    return f.hasProperty(TextFormats::kListStartProperty) ? f.intProperty(TextFormats::kListStartProperty) : 1;
}

bool isBullet(int style)
{
    return style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle
        || style == QTextListFormat::ListSquare;
}

QString bulletOf(int style)
{
    switch (style) {
    case QTextListFormat::ListCircle: return QString(QChar(0x25E6));
    case QTextListFormat::ListSquare: return QString(QChar(0x25AA));
    default: return QString(QChar(0x2022));
    }
}

// The levels of one list as its items reach them, in document order.
struct Levels
{
    std::array<int, kLevels> number{};   // the last number each level showed
    std::array<bool, kLevels> counted{}; // whether it showed one since a higher level did
    std::array<int, kLevels> start{};    // each level's first number, for a level not counted yet
    std::array<int, kLevels> style{};

    int numberOf(int level) const { return counted[std::size_t(level)] ? number[std::size_t(level)] : start[std::size_t(level)]; }
};

// A template's placeholders "%1" ... "%9", each in its own level's style.
QString fromTemplate(const QString &pattern, const Levels &levels)
{
    QString out;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'%' && i + 1 < pattern.size() && pattern[i + 1] >= u'1' && pattern[i + 1] <= u'9') {
            const int level = pattern[++i].unicode() - u'1';
            out += ListMarkers::number(levels.numberOf(level), levels.style[std::size_t(level)]);
        } else {
            out += c;
        }
    }
    return out;
}

QString markerOf(const QTextListFormat &f, int n, const Levels &levels)
{
    if (f.hasProperty(TextFormats::kListNumberTemplateProperty))
        return fromTemplate(f.stringProperty(TextFormats::kListNumberTemplateProperty), levels);
    const int style = f.style();
    if (isBullet(style))
        return bulletOf(style);
    if (style == QTextListFormat::ListStyleUndefined)
        return QString();
    // Qt's own marker: a full stop after the number when the format names no suffix.
    const QString suffix = f.hasProperty(QTextFormat::ListNumberSuffix) ? f.numberSuffix() : QStringLiteral(".");
    return f.numberPrefix() + ListMarkers::number(n, style) + suffix;
}

// The markers of a document's lists, worked out one list (group of QTextLists) at a time, for one
// revision of the document. A child of the document.
class MarkerCache : public QObject
{
public:
    explicit MarkerCache(QTextDocument *doc) : QObject(doc), m_doc(*doc) {}

    QString text(const QTextBlock &block, const QTextList *list)
    {
        if (m_revision != m_doc.revision())
            reset();
        if (const Entry *e = find(block, list))
            return e->text;
        const auto key = m_keys.constFind(list);
        if (key == m_keys.cend() || m_worked.contains(*key)) {
            reset(); // the document changed within one revision (an edit block)
            if (!m_keys.contains(list))
                return QString();
        }
        workOut(m_keys.value(list));
        const Entry *e = find(block, list);
        return e ? e->text : QString();
    }

private:
    struct Entry
    {
        const QTextList *list;
        int index;
        QString text;
    };
    struct Item
    {
        int position;
        const QTextList *list;
        int index;
    };

    const Entry *find(const QTextBlock &block, const QTextList *list) const
    {
        const auto e = m_markers.constFind(block.position());
        if (e == m_markers.cend() || e->list != list || e->index >= list->count() || list->item(e->index) != block)
            return nullptr;
        return &*e;
    }

    void reset()
    {
        m_revision = m_doc.revision();
        m_markers.clear();
        m_worked.clear();
        m_groups.clear();
        m_keys.clear();
        for (const QTextList *list : m_doc.findChildren<QTextList *>(QString(), Qt::FindDirectChildrenOnly)) {
            QString key = list->format().stringProperty(TextFormats::kListGroupProperty);
            if (key.isEmpty()) // a list of its own
                key = QStringLiteral("\x01") + QString::number(quintptr(list), 16);
            m_groups[key].append(list);
            m_keys.insert(list, key);
        }
    }

    void workOut(const QString &key)
    {
        m_worked.insert(key);
        const QList<const QTextList *> lists = m_groups.value(key);
        Levels levels;
        levels.start.fill(1);
        levels.style.fill(QTextListFormat::ListDecimal);
        std::array<bool, kLevels> known{};
        std::vector<Item> items;
        for (const QTextList *list : lists) {
            const QTextListFormat f = list->format();
            const std::size_t level = std::size_t(levelOf(f));
            if (!known[level]) {
                known[level] = true;
                levels.start[level] = startOf(f);
                levels.style[level] = f.style();
            }
            for (int i = 0; i < list->count(); ++i)
                items.push_back({list->item(i).position(), list, i});
        }
        std::sort(items.begin(), items.end(), [](const Item &a, const Item &b) { return a.position < b.position; });
        for (const Item &item : items) {
            const QTextListFormat f = item.list->format();
            const int level = levelOf(f);
            const int n = startOf(f) + item.index;
            levels.number[std::size_t(level)] = n;
            levels.counted[std::size_t(level)] = true;
            levels.style[std::size_t(level)] = f.style();
            for (int deeper = level + 1; deeper < kLevels; ++deeper)
                levels.counted[std::size_t(deeper)] = false; // they start again below this item
            m_markers.insert(item.position, {item.list, item.index, markerOf(f, n, levels)});
        }
    }

    QTextDocument &m_doc;
    int m_revision = -1;
    QHash<int, Entry> m_markers; // by the item's position, for the lists worked out
    QSet<QString> m_worked;
    QHash<QString, QList<const QTextList *>> m_groups; // the QTextLists of each list
    QHash<const QTextList *, QString> m_keys;
};

MarkerCache &cacheOf(QTextDocument &doc)
{
    // The cache is the document's own child (a copy of the document may carry the property).
    QObject *found = doc.property(kCacheProperty).value<QObject *>();
    if (found && found->parent() == &doc)
        return *static_cast<MarkerCache *>(found);
    auto *cache = new MarkerCache(&doc);
    doc.setProperty(kCacheProperty, QVariant::fromValue<QObject *>(cache));
    return *cache;
}

bool hidesQtMarker(const QTextBlockFormat &f)
{
    return f.hasProperty(QTextFormat::ListStyle) && f.intProperty(QTextFormat::ListStyle) == QTextListFormat::ListStyleUndefined;
}

} // namespace

QString ListMarkers::text(const QTextBlock &block)
{
    const QTextList *list = block.textList();
    if (!list)
        return QString();
    return cacheOf(*const_cast<QTextDocument *>(block.document())).text(block, list);
}

QString ListMarkers::number(int n, int style)
{
    const bool inRange = n > 0 && n < 5000;
    switch (style) {
    case QTextListFormat::ListLowerAlpha: return n > 0 ? NumberText::letters(n) : QString::number(n);
    case QTextListFormat::ListUpperAlpha: return n > 0 ? NumberText::letters(n).toUpper() : QString::number(n);
    case QTextListFormat::ListLowerRoman: return inRange ? NumberText::roman(n) : QString::number(n);
    case QTextListFormat::ListUpperRoman: return inRange ? NumberText::roman(n).toUpper() : QString::number(n);
    default: return QString::number(n);
    }
}

bool ListMarkers::hasMarker(const QTextListFormat &format)
{
    if (format.hasProperty(TextFormats::kListNumberTemplateProperty))
        return !format.stringProperty(TextFormats::kListNumberTemplateProperty).isEmpty();
    return format.style() != QTextListFormat::ListStyleUndefined;
}

bool ListMarkers::qtShowsMarker(const QTextListFormat &format)
{
    const int style = format.style();
    if (format.hasProperty(TextFormats::kListNumberTemplateProperty))
        return style == QTextListFormat::ListStyleUndefined
            && format.stringProperty(TextFormats::kListNumberTemplateProperty).isEmpty();
    return isBullet(style) || style == QTextListFormat::ListStyleUndefined || startOf(format) == 1;
}

void ListMarkers::hideWrongQtMarkers(QTextDocument &doc)
{
    for (const QTextList *list : doc.findChildren<QTextList *>(QString(), Qt::FindDirectChildrenOnly)) {
        const bool hide = !qtShowsMarker(list->format());
        for (int i = 0; i < list->count(); ++i) {
            const QTextBlock block = list->item(i);
            QTextBlockFormat f = block.blockFormat();
            if (hidesQtMarker(f) == hide)
                continue;
            if (hide)
                f.setProperty(QTextFormat::ListStyle, int(QTextListFormat::ListStyleUndefined));
            else
                f.clearProperty(QTextFormat::ListStyle);
            QTextCursor(block).setBlockFormat(f);
        }
    }
}

bool ListMarkers::drawnByProgram(const QTextBlock &block)
{
    return block.textList() && hidesQtMarker(block.blockFormat());
}
