#include "odt/OdtStyleSheet.h"
#include "odt/OdtPartIndex.h"
#include "odt/OdtUnits.h"
#include "odt/OdtXmlReader.h"

#include <functional>

using namespace OdtNamespaces;

namespace {

constexpr int kMaxChain = 32;          // parents followed, so a cycle ends
constexpr int kMaxStyles = 100000;     // per kind of table: more are not read
constexpr int kMaxTabs = 64;

NoteSettings::Format noteFormat(const QString &format)
{
    if (format == u"a")
        return NoteSettings::LowerAlpha;
    if (format == u"A")
        return NoteSettings::UpperAlpha;
    if (format == u"i")
        return NoteSettings::LowerRoman;
    if (format == u"I")
        return NoteSettings::UpperRoman;
    return NoteSettings::Arabic;
}

} // namespace

void OdtStyleSheet::readFontFaces(OdtXmlReader &xml)
{
    const int depth = xml.depth();
    while (xml.next() && xml.depth() >= depth) {
        if (xml.isStart() && xml.is(OdtNamespaces::Style, QLatin1StringView("font-face"))) {
            QString family = xml.attribute(Svg, QLatin1StringView("font-family")).trimmed();
            if (family.size() >= 2 && (family.front() == u'\'' || family.front() == u'"') && family.back() == family.front())
                family = family.mid(1, family.size() - 2);
            const QString name = xml.attribute(OdtNamespaces::Style, QLatin1StringView("name"));
            if (fontFaces_.size() < kMaxStyles)
                fontFaces_.insert(name, family.isEmpty() ? name : family);
        }
    }
}

void OdtStyleSheet::readStyles(OdtXmlReader &xml, Scope scope, bool automatic)
{
    const int depth = xml.depth();
    while (xml.next() && xml.depth() >= depth) {
        if (!xml.isStart())
            continue;
        if (xml.is(OdtNamespaces::Style, QLatin1StringView("style")))
            readStyle(xml, scope, automatic, false);
        else if (xml.is(OdtNamespaces::Style, QLatin1StringView("default-style")))
            readStyle(xml, scope, automatic, true);
        else if (xml.is(Text, QLatin1StringView("list-style")))
            readListStyle(xml, scope, automatic);
        else if (xml.is(OdtNamespaces::Style, QLatin1StringView("page-layout")))
            readPageLayout(xml);
        else if (xml.is(Text, QLatin1StringView("notes-configuration")))
            readNotesConfiguration(xml);
        else
            xml.skipElement();
    }
    for (auto &cache : resolved_)
        cache.clear();
}

void OdtStyleSheet::readStyle(OdtXmlReader &xml, Scope scope, bool automatic, bool isDefault)
{
    Style s;
    s.automatic = automatic;
    s.name = xml.attribute(OdtNamespaces::Style, QLatin1StringView("name"));
    s.displayName = xml.attribute(OdtNamespaces::Style, QLatin1StringView("display-name"));
    s.family = xml.attribute(OdtNamespaces::Style, QLatin1StringView("family"));
    s.parent = xml.attribute(OdtNamespaces::Style, QLatin1StringView("parent-style-name"));
    s.next = xml.attribute(OdtNamespaces::Style, QLatin1StringView("next-style-name"));
    s.listStyle = xml.attribute(OdtNamespaces::Style, QLatin1StringView("list-style-name"));
    s.masterPage = xml.attribute(OdtNamespaces::Style, QLatin1StringView("master-page-name"));
    s.outlineLevel = qBound(0, xml.attribute(OdtNamespaces::Style, QLatin1StringView("default-outline-level")).toInt(), 10);
    const int depth = xml.depth();
    while (xml.next() && xml.depth() >= depth) {
        if (!xml.isStart())
            continue;
        static const std::pair<const char *, Kind> kElements[] = {
            {"text-properties", TextProps},           {"paragraph-properties", ParagraphProps},
            {"table-properties", TableProps},         {"table-column-properties", ColumnProps},
            {"table-row-properties", RowProps},       {"table-cell-properties", CellProps},
            {"graphic-properties", GraphicProps},
        };
        bool known = false;
        for (const auto &[name, kind] : kElements) {
            if (xml.is(OdtNamespaces::Style, QLatin1StringView(name))) {
                readProperties(xml, s, kind);
                known = true;
                break;
            }
        }
        if (!known)
            xml.skipElement();
    }
    if (isDefault) {
        defaults_.insert_or_assign(s.family, s);
        return;
    }
    auto &table = automatic ? automatic_[scope] : common_;
    if (s.name.isEmpty() || table.size() >= std::size_t(kMaxStyles))
        return;
    table.insert_or_assign(key(s.family, s.name), s);
}

void OdtStyleSheet::readProperties(OdtXmlReader &xml, Style &style, Kind kind)
{
    Properties &props = style.props[kind];
    for (const QXmlStreamAttribute &a : xml.attributes()) {
        const QString name = xml.qualified(a);
        if (name.isEmpty())
            continue;
        // Thousands of styles spell the same names and values: one copy each. Each is taken out of
        // the set before the next insertion, which may move the set's entries.
        const QString sharedName = *strings_.insert(name);
        const QString sharedValue = *strings_.insert(a.value().toString());
        props.insert(sharedName, sharedValue);
    }
    props.squeeze(); // thousands of styles: no room kept for growth
    const int depth = xml.depth();
    while (xml.next() && xml.depth() >= depth) {
        if (!xml.isStart())
            continue;
        if (kind == ParagraphProps && xml.is(OdtNamespaces::Style, QLatin1StringView("tab-stops"))) {
            QList<QTextOption::Tab> tabs;
            const int tabsDepth = xml.depth();
            while (xml.next() && xml.depth() >= tabsDepth) {
                if (!xml.isStart() || !xml.is(OdtNamespaces::Style, QLatin1StringView("tab-stop")) || tabs.size() >= kMaxTabs)
                    continue;
                QTextOption::Tab tab;
                tab.position = qMax(0.0, OdtUnits::pixels(xml.attribute(OdtNamespaces::Style, QLatin1StringView("position"))).value_or(0));
                const QString type = xml.attribute(OdtNamespaces::Style, QLatin1StringView("type"));
                tab.type = type == u"right" ? QTextOption::RightTab
                         : type == u"center" ? QTextOption::CenterTab
                         : type == u"char" ? QTextOption::DelimiterTab : QTextOption::LeftTab;
                const QString c = xml.attribute(OdtNamespaces::Style, QLatin1StringView("char"));
                if (tab.type == QTextOption::DelimiterTab && !c.isEmpty())
                    tab.delimiter = c.front();
                tabs.append(tab);
            }
            style.tabs = tabs;
        } else {
            xml.skipElement();
        }
    }
}

void OdtStyleSheet::readListStyle(OdtXmlReader &xml, Scope scope, bool automatic, int upToLevel)
{
    ListStyle list;
    list.name = xml.attribute(OdtNamespaces::Style, QLatin1StringView("name"));
    list.defined = true;
    const int depth = xml.depth();
    while (xml.next() && xml.depth() >= depth) {
        if (!xml.isStart())
            continue;
        const int level = xml.attribute(Text, QLatin1StringView("level")).toInt();
        if (level < 1 || level > 10) {
            xml.skipElement();
            continue;
        }
        if (level > upToLevel + 1) { // levels come in order: the rest when they are needed
            list.levelsRead = upToLevel + 1;
            break;
        }
        ListLevel &l = list.levels[std::size_t(level - 1)];
        if (xml.is(Text, QLatin1StringView("list-level-style-number"))) {
            l.kind = ListLevel::Number;
            l.format = xml.attribute(OdtNamespaces::Style, QLatin1StringView("num-format"));
            if (l.format.isEmpty())
                l.kind = ListLevel::None;
            l.displayLevels = qBound(1, xml.attribute(Text, QLatin1StringView("display-levels")).toInt(), level);
            const QString start = xml.attribute(Text, QLatin1StringView("start-value"));
            l.start = start.isEmpty() ? 1 : qBound(0, start.toInt(), 1000000);
        } else if (xml.is(Text, QLatin1StringView("list-level-style-bullet"))) {
            l.kind = ListLevel::Bullet;
            l.bullet = xml.attribute(Text, QLatin1StringView("bullet-char"));
        } else if (xml.is(Text, QLatin1StringView("list-level-style-image"))) {
            l.kind = ListLevel::Image;
        } else {
            xml.skipElement();
            continue;
        }
        l.prefix = xml.attribute(OdtNamespaces::Style, QLatin1StringView("num-prefix"));
        l.suffix = xml.attribute(OdtNamespaces::Style, QLatin1StringView("num-suffix"));
        l.textStyle = xml.attribute(Text, QLatin1StringView("style-name"));
        readListLevel(xml, l);
    }
    auto &table = automatic ? automaticLists_[scope] : commonLists_;
    if (!list.name.isEmpty() && table.size() < std::size_t(kMaxStyles))
        table.insert_or_assign(list.name, list);
}

// A level's position and its label's formatting.
void OdtStyleSheet::readListLevel(OdtXmlReader &xml, ListLevel &level)
{
    double spaceBefore = 0, minLabel = 0;
    bool alignment = false;
    const int depth = xml.depth();
    while (xml.next() && xml.depth() >= depth) {
        if (!xml.isStart())
            continue;
        if (xml.is(OdtNamespaces::Style, QLatin1StringView("list-level-properties"))) {
            spaceBefore = OdtUnits::pixels(xml.attribute(Text, QLatin1StringView("space-before"))).value_or(0);
            minLabel = OdtUnits::pixels(xml.attribute(Text, QLatin1StringView("min-label-width"))).value_or(0);
            alignment = xml.attribute(Text, QLatin1StringView("list-level-position-and-space-mode")) == u"label-alignment";
        } else if (xml.is(OdtNamespaces::Style, QLatin1StringView("list-level-label-alignment"))) {
            level.textStart = OdtUnits::pixels(xml.attribute(Fo, QLatin1StringView("margin-left"))).value_or(0);
            level.labelOffset = OdtUnits::pixels(xml.attribute(Fo, QLatin1StringView("text-indent"))).value_or(0);
        }
    }
    if (!alignment) {
        level.textStart = spaceBefore + minLabel;
        level.labelOffset = -minLabel;
    }
}

void OdtStyleSheet::readPageLayout(OdtXmlReader &xml)
{
    const QString name = xml.attribute(OdtNamespaces::Style, QLatin1StringView("name"));
    PageLayout layout;
    Properties *target = nullptr;
    const int depth = xml.depth();
    while (xml.next() && xml.depth() >= depth) {
        if (!xml.isStart())
            continue;
        if (xml.is(OdtNamespaces::Style, QLatin1StringView("header-style")))
            target = &layout.header;
        else if (xml.is(OdtNamespaces::Style, QLatin1StringView("footer-style")))
            target = &layout.footer;
        Properties *props = xml.is(OdtNamespaces::Style, QLatin1StringView("page-layout-properties")) ? &layout.page
                          : xml.is(OdtNamespaces::Style, QLatin1StringView("header-footer-properties")) ? target : nullptr;
        if (!props)
            continue;
        for (const QXmlStreamAttribute &a : xml.attributes()) {
            const QString n = xml.qualified(a);
            if (!n.isEmpty())
                props->insert(n, a.value().toString());
        }
        props->insert(QStringLiteral("present"), QStringLiteral("true"));
    }
    if (!name.isEmpty() && layouts_.size() < kMaxStyles)
        layouts_.insert(name, layout);
}

void OdtStyleSheet::readNotesConfiguration(OdtXmlReader &xml)
{
    NoteSettings notes = notes_.value_or(NoteSettings());
    const bool endnote = xml.attribute(Text, QLatin1StringView("note-class")) == u"endnote";
    const NoteSettings::Format format = noteFormat(xml.attribute(OdtNamespaces::Style, QLatin1StringView("num-format")));
    const int start = qBound(0, xml.attribute(Text, QLatin1StringView("start-value")).toInt(), 100000) + 1;
    if (endnote) {
        notes.endnoteFormat = format;
        notes.endnoteStart = start;
    } else {
        notes.footnoteFormat = format;
        notes.footnoteStart = start;
        const QString restart = xml.attribute(Text, QLatin1StringView("start-numbering-at"));
        notes.footnoteRestart = restart == u"page" ? NoteSettings::EachPage
                              : restart == u"chapter" ? NoteSettings::EachSection : NoteSettings::Continuous;
        notes.endnotesAtSectionEnd = false;
    }
    notes_ = notes;
    xml.skipElement();
}

void OdtStyleSheet::readMasterStyles(OdtXmlReader &xml)
{
    const int depth = xml.depth();
    while (xml.next() && xml.depth() >= depth) {
        if (xml.isStart() && xml.is(OdtNamespaces::Style, QLatin1StringView("master-page")))
            readMasterPage(xml);
        else if (xml.isStart())
            xml.skipElement();
    }
}

void OdtStyleSheet::readMasterPage(OdtXmlReader &xml)
{
    MasterPage page;
    page.name = xml.attribute(OdtNamespaces::Style, QLatin1StringView("name"));
    page.pageLayout = xml.attribute(OdtNamespaces::Style, QLatin1StringView("page-layout-name"));
    page.next = xml.attribute(OdtNamespaces::Style, QLatin1StringView("next-style-name"));
    const int depth = xml.depth();
    while (xml.next() && xml.depth() >= depth) {
        if (!xml.isStart())
            continue;
        const QString name = xml.name().toString();
        const bool part = (xml.ns() == OdtNamespaces::Style || xml.ns() == LoExt)
                       && (name.startsWith(u"header") || name.startsWith(u"footer"));
        if (!part || xml.attribute(OdtNamespaces::Style, QLatin1StringView("display")) == u"false") {
            xml.skipElement();
            continue;
        }
        page.parts.insert(name, xml.copyElement());
    }
    if (masters_.size() < 1000)
        masters_.append(page);
}

void OdtStyleSheet::overlay(Properties &into, const Properties &from)
{
    static const QString kSize = QStringLiteral("fo:font-size");
    static const QString kFamily = QStringLiteral("fo:font-family");
    static const QString kFontName = QStringLiteral("style:font-name");
    if (from.isEmpty())
        return; // `into` stays shared with what it was copied from
    // The nearer style naming the font one way drops the other way the farther one named it.
    const bool dropFamily = from.contains(kFontName) && !from.contains(kFamily);
    const bool dropFontName = from.contains(kFamily) && !from.contains(kFontName);
    // Both lists are sorted: one merge, into a list of the size it needs.
    Properties out;
    out.reserve(into.size() + from.size());
    auto a = into.cbegin();
    auto b = from.cbegin();
    auto keepOld = [&](const QString &name) {
        return !(dropFamily && name == kFamily) && !(dropFontName && name == kFontName);
    };
    while (a != into.cend() || b != from.cend()) {
        if (b == from.cend() || (a != into.cend() && a.key() < b.key())) {
            if (keepOld(a.key()))
                out.append(a.key(), a.value());
            ++a;
            continue;
        }
        const bool same = a != into.cend() && a.key() == b.key();
        QString value = b.value();
        if (b.key() == kSize) {
            // A size in percent is of the size it overrides.
            if (const auto percent = OdtUnits::percent(value)) {
                const double base = OdtUnits::points(same ? a.value() : QString()).value_or(12.0);
                value = OdtUnits::pointText(qBound(1.0, base * *percent / 100.0, 1638.0));
            }
        }
        out.append(b.key(), value);
        if (same)
            ++a;
        ++b;
    }
    into = std::move(out);
}

void OdtStyleSheet::share(Properties &props) const
{
    if (props.isEmpty())
        return;
    const auto known = shared_.constFind(props);
    if (known != shared_.cend())
        props = *known;
    else
        shared_.insert(props);
}

const OdtStyleSheet::Style *OdtStyleSheet::find(const QString &k, bool automatic, Scope scope) const
{
    auto &table = automatic ? automatic_[scope] : common_;
    const auto parsed = table.find(k);
    if (parsed != table.end())
        return &parsed->second;
    auto &index = automatic ? automaticIndex_[scope] : commonIndex_;
    const auto at = index.constFind(k);
    if (at == index.cend() || !part_)
        return nullptr;
    const auto [start, end] = *at;
    index.erase(at);
    OdtXmlReader xml = OdtXmlReader::slice(QByteArrayView(part_->data()).sliced(start, end - start), QStringLiteral("styles.xml"));
    if (xml.next() && xml.isStart())
        const_cast<OdtStyleSheet *>(this)->readStyle(xml, scope, automatic, false);
    const auto made = table.find(k);
    return made != table.end() ? &made->second : nullptr;
}

const OdtStyleSheet::Style *OdtStyleSheet::style(const QString &family, const QString &name) const
{
    const QString k = key(family, name);
    if (const Style *s = find(k, true, scope_))
        return s;
    return find(k, false, scope_);
}

const OdtStyleSheet::Resolved &OdtStyleSheet::resolved(const QString &family, const QString &name) const
{
    auto &cache = resolved_[scope_];
    const QString k = key(family, name);
    const auto cached = cache.find(k);
    if (cached != cache.end())
        return cached->second;
    QList<const Style *> chain;
    QString next = name;
    bool automaticAllowed = true;
    for (int i = 0; i < kMaxChain && !next.isEmpty(); ++i) {
        const Style *s = automaticAllowed ? style(family, next) : find(key(family, next), false, scope_);
        if (!s || chain.contains(s))
            break;
        chain.prepend(s);
        automaticAllowed = false; // an automatic style's parent is a common style
        next = s->parent;
    }
    Resolved r;
    if (const auto d = defaults_.find(family); d != defaults_.end()) {
        r.props = d->second.props;
        if (d->second.tabs)
            r.tabs = *d->second.tabs;
    }
    for (const Style *s : std::as_const(chain)) {
        for (int kind = 0; kind < kKinds; ++kind)
            overlay(r.props[std::size_t(kind)], s->props[std::size_t(kind)]);
        if (s->tabs)
            r.tabs = *s->tabs;
        if (!s->listStyle.isEmpty())
            r.listStyle = s->listStyle;
        if (s->outlineLevel > 0)
            r.outlineLevel = s->outlineLevel;
    }
    for (Properties &p : r.props)
        share(p);
    return cache.insert_or_assign(k, r).first->second;
}

QString OdtStyleSheet::fontFamily(const QString &fontName) const
{
    return fontFaces_.value(fontName, fontName);
}

const OdtStyleSheet::ListStyle *OdtStyleSheet::findList(const QString &name, bool automatic, Scope scope, int level) const
{
    auto &table = automatic ? automaticLists_[scope] : commonLists_;
    const auto parsed = table.find(name);
    if (parsed != table.end() && parsed->second.levelsRead > level)
        return &parsed->second;
    auto &index = automatic ? automaticListIndex_[scope] : commonListIndex_;
    const auto at = index.constFind(name);
    if (at == index.cend() || !part_)
        return parsed != table.end() ? &parsed->second : nullptr;
    const auto [start, end] = *at;
    OdtXmlReader xml = OdtXmlReader::slice(QByteArrayView(part_->data()).sliced(start, end - start), QStringLiteral("styles.xml"));
    if (xml.next() && xml.isStart())
        const_cast<OdtStyleSheet *>(this)->readListStyle(xml, scope, automatic, level);
    const auto made = table.find(name);
    return made != table.end() ? &made->second : nullptr;
}

const OdtStyleSheet::ListStyle *OdtStyleSheet::listStyle(const QString &name, int level) const
{
    level = qBound(0, level, 9);
    if (const ListStyle *l = findList(name, true, scope_, level))
        return l;
    return findList(name, false, scope_, level);
}

const OdtStyleSheet::PageLayout *OdtStyleSheet::pageLayout(const QString &name) const
{
    const auto it = layouts_.constFind(name);
    return it != layouts_.cend() ? &*it : nullptr;
}

const OdtStyleSheet::MasterPage *OdtStyleSheet::masterPage(const QString &name) const
{
    for (const MasterPage &m : masters_)
        if (m.name == name)
            return &m;
    return nullptr;
}

void OdtStyleSheet::index(const OdtPartIndex &part, Scope scope)
{
    part_ = &part;
    auto parse = [&](const OdtPartIndex::Element &e, const std::function<void(OdtXmlReader &)> &read) {
        OdtXmlReader xml = OdtXmlReader::slice(part.whole(e), QStringLiteral("styles.xml"));
        if (xml.next() && xml.isStart())
            read(xml);
    };
    for (qsizetype t = 0; t < part.tops().size(); ++t) {
        const OdtPartIndex::Element &top = part.tops()[t];
        if (top.name == "office:font-face-decls") {
            parse(top, [&](OdtXmlReader &xml) { readFontFaces(xml); });
        } else if (top.name == "office:master-styles") {
            parse(top, [&](OdtXmlReader &xml) { readMasterStyles(xml); });
        } else if (top.name == "office:styles" || top.name == "office:automatic-styles") {
            const bool automatic = top.name == "office:automatic-styles";
            for (const OdtPartIndex::Element &e : part.children(t)) {
                const std::pair<qsizetype, qsizetype> where{e.start, e.end};
                if (e.name == "style:style") {
                    const QString k = key(part.attribute(e, "style:family"), part.attribute(e, "style:name"));
                    (automatic ? automaticIndex_[scope] : commonIndex_).insert(k, where);
                } else if (e.name == "text:list-style") {
                    (automatic ? automaticListIndex_[scope] : commonListIndex_).insert(part.attribute(e, "style:name"), where);
                } else if (e.name == "style:default-style") {
                    parse(e, [&](OdtXmlReader &xml) { readStyle(xml, scope, false, true); });
                } else if (e.name == "style:page-layout") {
                    parse(e, [&](OdtXmlReader &xml) { readPageLayout(xml); });
                } else if (e.name == "text:notes-configuration") {
                    parse(e, [&](OdtXmlReader &xml) { readNotesConfiguration(xml); });
                }
            }
        }
    }
    for (auto &cache : resolved_)
        cache.clear();
}
