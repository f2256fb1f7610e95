// The OpenDocument writer's paragraphs, lists and runs.
#include "odt/OdtFormats.h"
#include "odt/OdtProperties.h"
#include "odt/OdtUnits.h"
#include "odt/OdtWriter.h"
#include "odt/OdtXmlText.h"
#include "rtf/DocumentExtras.h"
#include "rtf/DocumentStyle.h"
#include "rtf/FrameItem.h"
#include "rtf/KeptRtf.h"
#include "rtf/TextFormats.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

namespace {

QString esc(const QString &s)
{
    return OdtXmlText::escaped(s, true);
}

bool isFloat(const QTextFrame *frame)
{
    if (qobject_cast<const QTextTable *>(frame))
        return false;
    const QTextFrameFormat f = frame->frameFormat();
    if (f.hasProperty(TextFormats::kShapeProperty) || f.hasProperty(OdtFormats::kFrameAttributesProperty))
        return true;
    // A frame holding one picture and nothing else.
    QTextFrame::iterator it = frame->begin();
    if (it.atEnd() || !it.currentBlock().isValid())
        return false;
    const QTextBlock b = it.currentBlock();
    ++it;
    return it.atEnd() && b.length() == 2 && b.begin().fragment().charFormat().isImageFormat();
}

// What a list marker template says: its levels, and the text before and after the numbers.
struct Marker
{
    int levels = 1;
    QString prefix, suffix;
};

Marker markerOf(const QTextListFormat &f)
{
    Marker m;
    if (f.hasProperty(TextFormats::kListNumberTemplateProperty)) {
        const QString t = f.stringProperty(TextFormats::kListNumberTemplateProperty);
        static const QRegularExpression number(QStringLiteral("%[1-9]"));
        qsizetype first = -1, last = -1;
        int count = 0;
        for (auto it = number.globalMatch(t); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            if (first < 0)
                first = match.capturedStart();
            last = match.capturedEnd();
            ++count;
        }
        if (count > 0) {
            m.levels = count;
            m.prefix = t.left(first);
            m.suffix = t.mid(last);
            return m;
        }
    }
    m.prefix = f.numberPrefix();
    m.suffix = f.hasProperty(QTextFormat::ListNumberSuffix) ? f.numberSuffix() : QStringLiteral(".");
    return m;
}

bool isBullet(QTextListFormat::Style s)
{
    return s == QTextListFormat::ListDisc || s == QTextListFormat::ListCircle || s == QTextListFormat::ListSquare;
}

int startOf(const QTextListFormat &f)
{
    return f.hasProperty(TextFormats::kListStartProperty) ? f.intProperty(TextFormats::kListStartProperty) : 1;
}

QString groupOf(const QTextList *list)
{
    const QString group = list->format().stringProperty(TextFormats::kListGroupProperty);
    return group.isEmpty() ? QStringLiteral("list:%1").arg(quintptr(list)) : group;
}

} // namespace

void OdtWriter::writeItems(QTextFrame::iterator it)
{
    const QList<FrameItem> items = FrameItem::listFrom(it);
    for (qsizetype i = 0; i < items.size(); ++i) {
        const FrameItem &item = items[i];
        if (item.frame) {
            if (auto *table = qobject_cast<QTextTable *>(item.frame)) {
                closeLists(0);
                writeTable(table);
            } else if (isFloat(item.frame)) {
                part_->floats.push_back(item.frame);
            } else {
                writeItems(item.frame->begin()); // a frame of other text: its text
            }
            continue;
        }
        // Qt keeps an empty paragraph in front of a table that opens a frame; reading makes it again.
        if (i == 0 && items.size() > 1 && items[1].frame && !isFloat(items[1].frame) && item.block.length() <= 1
            && item.block.blockFormat().propertyCount() <= 1 && !item.block.textList())
            continue;
        writeBlock(item.block);
    }
}

void OdtWriter::writeBlock(const QTextBlock &block)
{
    const QTextBlockFormat f = block.blockFormat();
    const QString blockKept = f.stringProperty(OdtFormats::kKeptBlockXmlProperty);
    if (!blockKept.isEmpty()) {
        closeLists(0);
        writeKept(blockKept);
    }
    writeListPosition(block);
    const bool inList = !part_->lists.open.empty();
    int level = f.headingLevel();
    // A list item in a heading's style is a paragraph of the list: written as a heading,
    // LibreOffice would take it out of its list.
    if (level <= 0 && !(inList && block.textList())) {
        if (const DocumentStyle *s = documentStyle(f.stringProperty(TextFormats::kParagraphStyleProperty), false)) {
            static const QRegularExpression heading(QStringLiteral("^heading\\s*([1-9])$"), QRegularExpression::CaseInsensitiveOption);
            const QRegularExpressionMatch m = heading.match(s->name);
            level = m.hasMatch() ? m.captured(1).toInt() : s->blockFormat.headingLevel();
        }
    }
    const QString style = paragraphStyle(block, inList && block.textList());
    if (level > 0)
        raw(QStringLiteral("<text:h text:style-name=\"%1\" text:outline-level=\"%2\">").arg(esc(style)).arg(qBound(1, level, 10)));
    else
        raw(QStringLiteral("<text:p text:style-name=\"%1\">").arg(esc(style)));
    for (const QTextFrame *frame : std::exchange(part_->floats, {}))
        writeFloat(frame);
    writeRuns(block);
    raw(level > 0 ? QStringLiteral("</text:h>") : QStringLiteral("</text:p>"));
}

// Opens and closes text:list and text:list-item around the paragraph, as its list and level say.
void OdtWriter::writeListPosition(const QTextBlock &block)
{
    ListState &state = part_->lists;
    const QTextList *list = block.textList();
    QString group;
    int level = 0;
    if (list) {
        group = groupOf(list);
        level = qBound(0, list->format().indent() - 1, 9);
    } else {
        const QString continuation = block.blockFormat().stringProperty(OdtFormats::kListContinuationProperty);
        group = continuation.section(u' ', 1);
        level = continuation.section(u' ', 0, 0).toInt() - 1;
        if (continuation.isEmpty() || level < 0 || level > 9 || !part_->groups.contains(group)) {
            closeLists(0); // not in a list, or in one whose numbered items are gone
            return;
        }
    }
    if (!state.open.empty() && state.open.front().group != group)
        closeLists(0);
    if (state.open.empty()) {
        QString attributes = QStringLiteral(" text:style-name=\"%1\"").arg(esc(listStyle(group)));
        const auto id = state.ids.constFind(group);
        if (id != state.ids.cend()) {
            attributes += QStringLiteral(" text:continue-list=\"%1\"").arg(*id);
        } else {
            const QString newId = QStringLiteral("list%1").arg(++lists_);
            state.ids.insert(group, newId);
            attributes = QStringLiteral(" xml:id=\"%1\"").arg(newId) + attributes;
        }
        raw(QStringLiteral("<text:list") + attributes + u'>');
        state.open.push_back({group, false, false});
    }
    while (state.open.size() < std::size_t(level + 1)) {
        if (!state.open.back().itemOpen) {
            raw(QStringLiteral("<text:list-header>"));
            state.open.back().itemOpen = true;
            state.open.back().header = true;
        }
        raw(QStringLiteral("<text:list>"));
        state.open.push_back({group, false, false});
    }
    closeLists(std::size_t(level + 1));
    if (!list) { // a paragraph of the open item, or a heading of the list without a number
        if (!state.open.back().itemOpen) {
            raw(QStringLiteral("<text:list-header>"));
            state.open.back().itemOpen = true;
            state.open.back().header = true;
        }
        return;
    }
    if (state.open.back().itemOpen)
        raw(state.open.back().header ? QStringLiteral("</text:list-header>") : QStringLiteral("</text:list-item>"));
    // The number the item gets where the file says nothing, and the list's own.
    QList<int> &next = state.next[group];
    QList<const QTextList *> &current = state.current[group];
    next.resize(10, -1);
    current.resize(10, nullptr);
    const ListStyleDraft &draft = listStyles_[group];
    const std::optional<QTextListFormat> &styleLevel = draft.levels[std::size_t(level)];
    const int levelStart = !styleLevel ? 1
                         : styleLevel->hasProperty(OdtFormats::kListStyleStartProperty)
                               ? styleLevel->intProperty(OdtFormats::kListStyleStartProperty) : startOf(*styleLevel);
    const int natural = next[level] >= 0 ? next[level] : levelStart;
    int number = natural;
    QString attributes;
    if (current[level] != list) {
        const int start = startOf(list->format()) + int(list->itemNumber(block));
        if (start != natural) {
            attributes = QStringLiteral(" text:start-value=\"%1\"").arg(start);
            number = start;
        }
        current[level] = list;
    }
    next[level] = number + 1;
    for (int deeper = level + 1; deeper < 10; ++deeper) {
        next[deeper] = -1;
        current[deeper] = nullptr;
    }
    raw(QStringLiteral("<text:list-item") + attributes + u'>');
    state.open.back().itemOpen = true;
    state.open.back().header = false;
}

void OdtWriter::closeLists(std::size_t depth)
{
    ListState &state = part_->lists;
    while (state.open.size() > depth) {
        if (state.open.back().itemOpen)
            raw(state.open.back().header ? QStringLiteral("</text:list-header>") : QStringLiteral("</text:list-item>"));
        raw(QStringLiteral("</text:list>"));
        state.open.pop_back();
    }
}

// The first list of each level of each list group in a part, for the groups' list styles.
void OdtWriter::findLists(Part &part) const
{
    for (QTextBlock b = part.doc->begin(); b.isValid(); b = b.next()) {
        const QTextList *list = b.textList();
        if (!list)
            continue;
        auto &levels = part.groups[groupOf(list)];
        const std::size_t level = std::size_t(qBound(0, list->format().indent() - 1, 9));
        if (!levels[level])
            levels[level] = list;
    }
}

// The list style of a list group, its levels those of the group's first lists.
QString OdtWriter::listStyle(const QString &group)
{
    ListStyleDraft &draft = listStyles_[group];
    if (!draft.name.isEmpty())
        return draft.name;
    draft.name = part_->styles->freshName(QStringLiteral("L"));
    draft.scope = part_->styles;
    listStyleOrder_.append(group);
    const auto levels = part_->groups.value(group);
    for (std::size_t level = 0; level < levels.size(); ++level) {
        if (!levels[level])
            continue;
        draft.levels[level] = levels[level]->format();
        const QTextBlock first = levels[level]->item(0);
        draft.indents[level] = (first.isValid() ? first.blockFormat().leftMargin() : 0) + part_->doc->indentWidth() * double(level + 1);
    }
    return draft.name;
}

QString OdtWriter::listStylesXml(const OdtAutomaticStyles *scope)
{
    QString out;
    for (const QString &group : std::as_const(listStyleOrder_)) {
        ListStyleDraft &d = listStyles_[group];
        if (d.scope != scope)
            continue;
        d.scope = nullptr;
        out += QStringLiteral("<text:list-style style:name=\"%1\">").arg(esc(d.name));
        std::optional<QTextListFormat> last;
        for (int k = 0; k < 10; ++k) {
            if (d.levels[std::size_t(k)])
                last = d.levels[std::size_t(k)];
            const QTextListFormat f = d.levels[std::size_t(k)].value_or(last.value_or(QTextListFormat()));
            const double indent = d.levels[std::size_t(k)] ? d.indents[std::size_t(k)] : 48.0 * (k + 1);
            const QString position = QStringLiteral("<style:list-level-properties text:list-level-position-and-space-mode=\"label-alignment\">"
                                                    "<style:list-level-label-alignment text:label-followed-by=\"listtab\" "
                                                    "text:list-tab-stop-position=\"%1\" fo:text-indent=\"-0.25in\" fo:margin-left=\"%1\"/>"
                                                    "</style:list-level-properties>")
                                         .arg(OdtUnits::inches(qMax(24.0, indent)));
            const QTextListFormat::Style style = d.levels[std::size_t(k)] || last ? f.style() : QTextListFormat::ListDisc;
            if (isBullet(style)) {
                QString bullet = style == QTextListFormat::ListCircle ? QStringLiteral("◦")
                               : style == QTextListFormat::ListSquare ? QStringLiteral("▪") : QStringLiteral("•");
                const QString own = f.stringProperty(TextFormats::kListNumberTemplateProperty);
                if (own.size() == 1 && own != u"%")
                    bullet = own;
                const QString suffix = f.hasProperty(QTextFormat::ListNumberSuffix) && !f.numberSuffix().isEmpty()
                                           ? QStringLiteral(" style:num-suffix=\"%1\"").arg(esc(f.numberSuffix())) : QString();
                out += QStringLiteral("<text:list-level-style-bullet text:level=\"%1\"%2 text:bullet-char=\"%3\">%4</text:list-level-style-bullet>")
                           .arg(k + 1).arg(suffix, esc(bullet), position);
                continue;
            }
            QString format;
            switch (style) {
            case QTextListFormat::ListLowerAlpha: format = QStringLiteral("a"); break;
            case QTextListFormat::ListUpperAlpha: format = QStringLiteral("A"); break;
            case QTextListFormat::ListLowerRoman: format = QStringLiteral("i"); break;
            case QTextListFormat::ListUpperRoman: format = QStringLiteral("I"); break;
            case QTextListFormat::ListDecimal: format = QStringLiteral("1"); break;
            default: break; // no number
            }
            Marker m = markerOf(f);
            if (format.isEmpty()) { // no number: what stands around it
                m.levels = 1;
                m.prefix = f.numberPrefix();
                m.suffix = f.hasProperty(QTextFormat::ListNumberSuffix) ? f.numberSuffix() : QString();
            }
            out += QStringLiteral("<text:list-level-style-number text:level=\"%1\" style:num-prefix=\"%2\" style:num-suffix=\"%3\" "
                                  "style:num-format=\"%4\"")
                       .arg(k + 1).arg(esc(m.prefix), esc(m.suffix), format);
            if (m.levels > 1)
                out += QStringLiteral(" text:display-levels=\"%1\"").arg(qMin(m.levels, k + 1));
            const int start = f.hasProperty(OdtFormats::kListStyleStartProperty) ? f.intProperty(OdtFormats::kListStyleStartProperty)
                                                                                  : startOf(f);
            if (start != 1)
                out += QStringLiteral(" text:start-value=\"%1\"").arg(start);
            out += u'>' + position + QStringLiteral("</text:list-level-style-number>");
        }
        out += QStringLiteral("</text:list-style>");
    }
    return out;
}

QString OdtWriter::paragraphStyle(const QTextBlock &block, bool inList)
{
    const bool first = firstParagraph_;
    firstParagraph_ = false;
    // A list item names its list's style too, as LibreOffice does: without it, LibreOffice takes
    // a heading's item into the outline of its paragraph style, out of the list.
    const QString listStyleName = inList && block.textList() ? listStyle(groupOf(block.textList())) : QString();
    const std::pair<qint64, QString> key{(qint64(block.blockFormatIndex()) << 32) | (qint64(block.charFormatIndex()) << 1) | (inList ? 1 : 0),
                                         listStyleName};
    const bool cacheable = !first;
    if (cacheable) {
        const auto cached = part_->paragraphStyles.constFind(key);
        if (cached != part_->paragraphStyles.cend())
            return *cached;
    }
    const QTextBlockFormat f = block.blockFormat();
    const QTextCharFormat chars = block.charFormat();
    const QString display = f.stringProperty(TextFormats::kParagraphStyleProperty);
    const DocumentStyle *style = documentStyle(display, false);
    const QTextBlockFormat baseBlock = style ? style->blockFormat : QTextBlockFormat();
    QTextCharFormat baseChars;
    if (style) {
        baseChars = style->charFormat;
    } else {
        TextFormats::setFamily(baseChars, part_->doc->defaultFont().family());
        baseChars.setFontPointSize(part_->doc->defaultFont().pointSizeF() > 0 ? part_->doc->defaultFont().pointSizeF() : 12);
    }
    QString attributes = QStringLiteral(" style:parent-style-name=\"%1\"").arg(esc(style ? styleId(display, false) : QStringLiteral("Standard")));
    if (first && !firstMaster_.isEmpty())
        attributes += QStringLiteral(" style:master-page-name=\"%1\"").arg(esc(firstMaster_));
    if (!listStyleName.isEmpty())
        attributes += QStringLiteral(" style:list-style-name=\"%1\"").arg(esc(listStyleName));
    QString content = QStringLiteral("<style:paragraph-properties")
                    + OdtProperties::attributes(OdtProperties::paragraph(f, &baseBlock, inList),
                                                f.stringProperty(OdtFormats::kParagraphAttributesProperty));
    const QString tabs = OdtProperties::tabStops(f);
    content += tabs.isEmpty() ? QStringLiteral("/>") : u'>' + tabs + QStringLiteral("</style:paragraph-properties>");
    const QString text = OdtProperties::attributes(OdtProperties::text(chars, &baseChars),
                                                   chars.stringProperty(OdtFormats::kTextAttributesProperty));
    if (!text.isEmpty())
        content += QStringLiteral("<style:text-properties") + text + QStringLiteral("/>");
    const QString name = part_->styles->name(QStringLiteral("paragraph"), attributes, content);
    if (cacheable)
        part_->paragraphStyles.insert(key, name);
    return name;
}

QString OdtWriter::textStyle(const QTextFragment &fragment, const QTextBlock &block)
{
    const qint64 key = (qint64(fragment.charFormatIndex()) << 32) | quint32(block.charFormatIndex());
    const auto cached = part_->textStyles.constFind(key);
    if (cached != part_->textStyles.cend())
        return *cached;
    const QTextCharFormat f = fragment.charFormat();
    const QTextCharFormat base = block.charFormat();
    const QString text = OdtProperties::attributes(OdtProperties::text(f, &base), f.stringProperty(OdtFormats::kTextAttributesProperty));
    const QString characterStyle = f.stringProperty(TextFormats::kCharacterStyleProperty);
    QString attributes;
    if (!characterStyle.isEmpty() && documentStyle(characterStyle, true))
        attributes = QStringLiteral(" style:parent-style-name=\"%1\"").arg(esc(styleId(characterStyle, true)));
    QString name;
    if (!text.isEmpty() || !attributes.isEmpty())
        name = part_->styles->name(QStringLiteral("text"), attributes, QStringLiteral("<style:text-properties") + text + QStringLiteral("/>"));
    part_->textStyles.insert(key, name);
    return name;
}

void OdtWriter::writeRuns(const QTextBlock &block)
{
    std::vector<QTextFragment> fragments;
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it)
        fragments.push_back(it.fragment());
    QString openLink, openSpan;
    bool lastSpace = true;
    bool afterNoteMark = false; // a note's own mark (RTF \chftn) was left out: so is one space after it
    auto closeSpan = [&] {
        if (!openSpan.isNull())
            raw(QStringLiteral("</text:span>"));
        openSpan = QString();
    };
    auto closeLink = [&] {
        closeSpan();
        if (!openLink.isEmpty())
            raw(QStringLiteral("</text:a>"));
        openLink.clear();
    };
    auto keyOf = [](const QTextCharFormat &g) {
        return g.stringProperty(TextFormats::kMarkIdProperty) + g.stringProperty(TextFormats::kNoteProperty);
    };
    for (std::size_t i = 0; i < fragments.size(); ++i) {
        const QTextFragment &fragment = fragments[i];
        const QTextCharFormat f = fragment.charFormat();
        writeKept(f.stringProperty(OdtFormats::kKeptXmlProperty));
        writeKeptRtf(f.stringProperty(TextFormats::kKeptRtfProperty));
        const QString href = f.isAnchor() ? f.anchorHref() : QString();
        if (href != openLink) {
            closeLink();
            if (!href.isEmpty())
                raw(QStringLiteral("<text:a xlink:type=\"simple\" xlink:href=\"%1\">").arg(esc(href)));
            openLink = href;
        }
        const QString shown = f.stringProperty(OdtFormats::kShownXmlProperty);
        if (!shown.isEmpty()) { // the text shows a kept element, written instead
            closeSpan();
            writeKept(shown);
            lastSpace = true;
            continue;
        }
        const QString autoText = f.stringProperty(TextFormats::kAutoTextProperty);
        const QString note = f.stringProperty(TextFormats::kNoteProperty);
        if (autoText == u"chftn" && note.isEmpty()) {
            afterNoteMark = true; // the note's own mark: OpenDocument shows it by itself
            continue;
        }
        const QString style = textStyle(fragment, block);
        if (style != openSpan) {
            closeSpan();
            if (!style.isEmpty())
                raw(QStringLiteral("<text:span text:style-name=\"%1\">").arg(esc(style)));
            openSpan = style.isEmpty() ? QString() : style;
        }
        if (!note.isEmpty()) {
            QString citation = fragment.text();
            while (i + 1 < fragments.size() && keyOf(fragments[i + 1].charFormat()) == keyOf(f))
                citation += fragments[++i].text();
            writeNote(f, citation);
            lastSpace = true;
            continue;
        }
        if (f.isImageFormat()) {
            const QString frame = f.stringProperty(OdtFormats::kFrameAttributesProperty);
            for (int k = 0; k < fragment.length(); ++k)
                writeImage(f.toImageFormat(), QStringLiteral("as-char"), frame);
            lastSpace = true;
            continue;
        }
        const QString fields = f.stringProperty(TextFormats::kFieldsProperty);
        if (!fields.isEmpty() || autoText == u"chpgn") {
            QString result = fragment.text();
            while (i + 1 < fragments.size() && fragments[i + 1].charFormat().stringProperty(TextFormats::kFieldsProperty) == fields
                   && fragments[i + 1].charFormat().stringProperty(TextFormats::kAutoTextProperty) == autoText
                   && fragments[i + 1].charFormat().stringProperty(OdtFormats::kShownXmlProperty).isEmpty())
                result += fragments[++i].text();
            writeField(autoText == u"chpgn" ? QStringLiteral("PAGE") : fields, result, lastSpace);
            continue;
        }
        QString text = fragment.text();
        if (std::exchange(afterNoteMark, false) && text.startsWith(u' '))
            text.remove(0, 1);
        writeText(text, lastSpace);
    }
    closeLink();
    writeKept(block.charFormat().stringProperty(OdtFormats::kKeptXmlProperty));
    writeKeptRtf(block.charFormat().stringProperty(TextFormats::kKeptRtfProperty));
}

// Text, its white space as OpenDocument keeps it: a space after a space (or at the start) is
// text:s, tabs and line breaks are elements.
void OdtWriter::writeText(QStringView text, bool &lastSpace)
{
    QString &out = *part_->out;
    qsizetype plain = 0; // start of the run of ordinary text not yet written
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const bool special = c == u' ' ? lastSpace : (c == u'\t' || c == 0x2028 || c == u'\n' || c == u'\r'
                                                        || c == QChar::ObjectReplacementCharacter);
        if (!special) {
            lastSpace = c == u' ';
            continue;
        }
        OdtXmlText::appendEscaped(out, text.sliced(plain, i - plain), false);
        if (c == u' ') { // a second space and those after it
            int count = 1;
            while (i + 1 < text.size() && text[i + 1] == u' ') {
                ++count;
                ++i;
            }
            out += count == 1 ? QStringLiteral("<text:s/>") : QStringLiteral("<text:s text:c=\"%1\"/>").arg(count);
        } else if (c == u'\t') {
            out += QLatin1StringView("<text:tab/>");
        } else if (c != QChar::ObjectReplacementCharacter) {
            out += QLatin1StringView("<text:line-break/>");
        }
        lastSpace = true;
        plain = i + 1;
    }
    OdtXmlText::appendEscaped(out, text.sliced(plain), false);
}

// Kept entries not written yet.
void OdtWriter::writeKept(const QString &value)
{
    if (value.isEmpty())
        return;
    for (const auto &[id, xml] : OdtFormats::entries(value)) {
        if (written_.contains(id))
            continue;
        written_.insert(id);
        raw(xml);
    }
}

// Kept RTF that OpenDocument has a place for: bookmarks, hidden text, comments.
void OdtWriter::writeKeptRtf(const QString &value)
{
    if (value.isEmpty())
        return;
    QStringList starts, ends, hidden;
    QList<KeptRtf::Annotation> comments;
    for (const QString &part : KeptRtf::split(value)) {
        const KeptRtf::Parts parts = KeptRtf::parse(part);
        // Written already, or as the OpenDocument XML it was read from (which has the same id).
        if (!parts.id.isEmpty() && (written_.contains(QStringLiteral("rtf:") + parts.id) || written_.contains(parts.id)))
            continue;
        written_.insert(QStringLiteral("rtf:") + parts.id);
        for (const KeptRtf::Bookmark &b : KeptRtf::bookmarks(parts.content))
            (b.start ? starts : ends) << b.name;
        if (const QString text = KeptRtf::hiddenText(parts.content); !text.isEmpty())
            hidden << text;
        comments << KeptRtf::annotations(parts.content);
    }
    for (const QString &name : std::as_const(starts)) {
        if (ends.removeOne(name))
            raw(QStringLiteral("<text:bookmark text:name=\"%1\"/>").arg(esc(name)));
        else
            raw(QStringLiteral("<text:bookmark-start text:name=\"%1\"/>").arg(esc(name)));
    }
    for (const QString &name : std::as_const(ends))
        raw(QStringLiteral("<text:bookmark-end text:name=\"%1\"/>").arg(esc(name)));
    for (const QString &text : std::as_const(hidden)) {
        const QString style = part_->styles->name(QStringLiteral("text"), QString(),
                                                  QStringLiteral("<style:text-properties text:display=\"none\"/>"));
        raw(QStringLiteral("<text:span text:style-name=\"%1\">").arg(esc(style)));
        bool lastSpace = false;
        writeText(text, lastSpace);
        raw(QStringLiteral("</text:span>"));
    }
    for (const KeptRtf::Annotation &comment : std::as_const(comments))
        writeAnnotation(comment);
}

// A comment another format kept.
void OdtWriter::writeAnnotation(const KeptRtf::Annotation &comment)
{
    raw(QStringLiteral("<office:annotation>"));
    if (!comment.author.isEmpty())
        raw(QStringLiteral("<dc:creator>%1</dc:creator>").arg(esc(comment.author)));
    if (!comment.initials.isEmpty())
        raw(QStringLiteral("<meta:creator-initials>%1</meta:creator-initials>").arg(esc(comment.initials)));
    for (const QString &paragraph : comment.paragraphs) {
        raw(QStringLiteral("<text:p>"));
        bool lastSpace = true;
        writeText(paragraph, lastSpace);
        raw(QStringLiteral("</text:p>"));
    }
    raw(QStringLiteral("</office:annotation>"));
}

// A field the RTF model keeps (PAGE, NUMPAGES, DATE ...) as its OpenDocument element; one
// OpenDocument has none of is its result.
void OdtWriter::writeField(const QString &fields, const QString &result, bool &lastSpace)
{
    QString instruction = fields;
    if (fields != u"PAGE") {
        const QList<QString> each = KeptRtf::split(fields);
        instruction = each.isEmpty() ? QString() : KeptRtf::fieldInstruction(each.last());
    }
    const QString name = instruction.section(u' ', 0, 0).toUpper();
    static const QHash<QString, QString> kElements{
        {QStringLiteral("PAGE"), QStringLiteral("text:page-number text:select-page=\"current\"")},
        {QStringLiteral("NUMPAGES"), QStringLiteral("text:page-count")},
        {QStringLiteral("SECTIONPAGES"), QStringLiteral("text:page-count")},
        {QStringLiteral("DATE"), QStringLiteral("text:date")},
        {QStringLiteral("CREATEDATE"), QStringLiteral("text:creation-date")},
        {QStringLiteral("TIME"), QStringLiteral("text:time")},
        {QStringLiteral("TITLE"), QStringLiteral("text:title")},
        {QStringLiteral("SUBJECT"), QStringLiteral("text:subject")},
        {QStringLiteral("AUTHOR"), QStringLiteral("text:initial-creator")},
        {QStringLiteral("LASTSAVEDBY"), QStringLiteral("text:creator")},
        {QStringLiteral("FILENAME"), QStringLiteral("text:file-name")},
        {QStringLiteral("NUMWORDS"), QStringLiteral("text:word-count")},
        {QStringLiteral("NUMCHARS"), QStringLiteral("text:character-count")},
        {QStringLiteral("KEYWORDS"), QStringLiteral("text:keywords")},
        {QStringLiteral("COMMENTS"), QStringLiteral("text:description")},
    };
    const auto element = kElements.constFind(name);
    if (element == kElements.cend()) {
        writeText(result, lastSpace);
        return;
    }
    raw(u'<' + *element + u'>' + OdtXmlText::escaped(result, false) + QStringLiteral("</") + element->section(u' ', 0, 0) + u'>');
    lastSpace = true;
}
