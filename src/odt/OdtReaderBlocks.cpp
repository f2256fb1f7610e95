// The OpenDocument reader's blocks: paragraphs, headings, lists and tables.
#include "odt/OdtFormats.h"
#include "odt/OdtReader.h"
#include "odt/OdtStyleFormats.h"
#include "odt/OdtUnits.h"
#include "odt/OdtXmlReader.h"
#include "rtf/RtfControlWords.h"
#include "rtf/TextFormats.h"

#include <QTextDocument>

using namespace OdtNamespaces;

namespace {

constexpr int kMaxColumns = RtfDocumentBuilder::kMaxColumns;
constexpr int kMaxRepeatedRows = 100;
constexpr double kDefaultTableWidth = 6.5 * 96; // pixels

QTextListFormat::Style numberStyle(const QString &format)
{
    if (format == u"a")
        return QTextListFormat::ListLowerAlpha;
    if (format == u"A")
        return QTextListFormat::ListUpperAlpha;
    if (format == u"i")
        return QTextListFormat::ListLowerRoman;
    if (format == u"I")
        return QTextListFormat::ListUpperRoman;
    return QTextListFormat::ListDecimal;
}

// A bullet of a symbol font (Symbol, Wingdings) stands in the private use area at U+F000 and its
// byte: the ones word processors use are the three styles Qt draws.
QTextListFormat::Style bulletStyle(const QString &bullet)
{
    const char16_t c = bullet.isEmpty() ? 0 : bullet[0].unicode();
    const char16_t symbol = c >= 0xF000 && c <= 0xF0FF ? c - 0xF000 : 0;
    if (bullet == u"◦" || bullet == u"○" || bullet == u"o" || c == 0xE006 || symbol == 0x6F)
        return QTextListFormat::ListCircle;
    if (bullet == u"▪" || bullet == u"■" || c == 0xE00A || symbol == 0xA7 || symbol == 0x6E)
        return QTextListFormat::ListSquare;
    return QTextListFormat::ListDisc;
}

// A bullet the three bullet styles do not draw, shown as it is (symbol fonts' private characters
// are drawn as the nearest style instead).
bool isOwnBullet(const QString &bullet)
{
    static const QString kDrawn = QStringLiteral("•●◦○o▪■");
    return bullet.size() == 1 && !kDrawn.contains(bullet) && !(bullet[0].unicode() >= 0xE000 && bullet[0].unicode() < 0xF900)
        && !bullet[0].isSpace();
}

} // namespace

void OdtReader::readBlocks(OdtXmlReader &xml)
{
    const int depth = xml.depth();
    while (xml.next() && xml.depth() >= depth)
        if (xml.isStart())
            readBlock(xml);
}

// One element where paragraphs stand (the body, a cell, a note, a section).
bool OdtReader::readBlock(OdtXmlReader &xml)
{
    if (xml.ns() == Text) {
        const QStringView name = xml.name();
        if (name == u"p" || name == u"h") {
            readParagraph(xml, name == u"h");
            return true;
        }
        if (name == u"list") {
            readList(xml);
            return true;
        }
        if (name == u"section" || name == u"numbered-paragraph" || name == u"list-item" || name == u"index-body"
            || name == u"index-title" || name == u"text-content") {
            readBlocks(xml); // their paragraphs are shown; the section itself is not kept
            return true;
        }
        if (name == u"soft-page-break") {
            xml.skipElement(); // where the last layout broke the page: no break of the document's
            return true;
        }
        if (name == u"table-of-content" || name == u"alphabetical-index" || name == u"illustration-index"
            || name == u"table-index" || name == u"object-index" || name == u"user-index" || name == u"bibliography") {
            readIndex(xml);
            return true;
        }
    }
    if (xml.ns() == Table && xml.name() == u"table") {
        readTable(xml);
        return true;
    }
    if ((xml.ns() == Draw || xml.ns() == Office) && mode_ != Mode::Display) {
        // A drawing or comment among paragraphs: it goes into a paragraph of its own.
        startParagraph(QString());
        if (xml.ns() == Draw && xml.name() == u"frame")
            readFrame(xml);
        else if (xml.ns() == Office && xml.name() == u"annotation")
            readAnnotation(xml); // kept, not shown, as in a paragraph: saved, it is read the same way
        else
            keepElement(xml);
        endParagraph(QString(), 0, false);
        return true;
    }
    if (isDeclaration(xml)) {
        pendingBlockKept_ += OdtFormats::entry(nextId(), xml.copyElement());
        return false;
    }
    // An element the program does not know: its paragraphs are shown (the element itself is not
    // kept), so that no text goes unseen.
    readBlocks(xml);
    return false;
}

// An index (a table of contents) shows the paragraphs of its last result.
void OdtReader::readIndex(OdtXmlReader &xml)
{
    const int depth = xml.depth();
    while (xml.next() && xml.depth() >= depth) {
        if (!xml.isStart())
            continue;
        if (xml.ns() == Text && xml.name() == u"index-body")
            readBlocks(xml);
        else
            xml.skipElement();
    }
}

// What a paragraph style gives: its block and character formats (with what they keep), the
// formatting its text starts from, its master page.
const OdtReader::ParagraphLook &OdtReader::paragraphLook(const QString &styleName)
{
    const auto known = paragraphLooks_.constFind(styleName);
    if (known != paragraphLooks_.cend())
        return *known;
    OdtStyleSheet &sheet = shared_.styles;
    const OdtStyleSheet::Resolved &resolved = sheet.resolved(QStringLiteral("paragraph"), styleName);
    ParagraphLook look;
    look.block = OdtStyleFormats::blockFormat(resolved.props[OdtStyleSheet::ParagraphProps], resolved.tabs);
    look.chars = OdtStyleFormats::charFormat(resolved.props[OdtStyleSheet::TextProps], sheet);
    look.outlineLevel = resolved.outlineLevel;
    look.base.key = QStringLiteral("p:") + styleName;
    look.base.text = resolved.props[OdtStyleSheet::TextProps];
    const OdtStyleSheet::Style *own = sheet.style(QStringLiteral("paragraph"), styleName);
    const OdtStyleSheet::Style *common = own && own->automatic ? sheet.style(QStringLiteral("paragraph"), own->parent) : own;
    if (own && own->automatic) {
        const QString paragraph = OdtStyleFormats::unshown(own->props[OdtStyleSheet::ParagraphProps], OdtStyleSheet::ParagraphProps);
        if (!paragraph.isEmpty())
            look.block.setProperty(OdtFormats::kParagraphAttributesProperty, paragraph);
        const QString text = OdtStyleFormats::unshown(own->props[OdtStyleSheet::TextProps], OdtStyleSheet::TextProps);
        if (!text.isEmpty())
            look.chars.setProperty(OdtFormats::kTextAttributesProperty, text);
    }
    if (common && !common->automatic)
        look.block.setProperty(TextFormats::kParagraphStyleProperty, documentStyle(*common));
    // The paragraph's own style names the master page, or the common style it is made from.
    for (const OdtStyleSheet::Style *s : {own, common}) {
        if (s && !s->masterPage.isEmpty()) {
            look.masterPage = s->masterPage;
            break;
        }
    }
    return *paragraphLooks_.insert(styleName, look);
}

void OdtReader::startParagraph(const QString &styleName)
{
    const ParagraphLook &look = paragraphLook(styleName);
    if (!sawFirstParagraph_ && mode_ == Mode::Document) {
        sawFirstParagraph_ = true;
        firstMasterPage_ = look.masterPage;
    }
    inParagraph_ = true;
    runs_.clear();
    floats_.clear();
    lastWasSpace_ = true;
    spans_.assign(1, look.base);
}

void OdtReader::readParagraph(OdtXmlReader &xml, bool heading)
{
    if (inParagraph_) { // a paragraph inside a paragraph's element (broken nesting): its text joins
        readInline(xml);
        return;
    }
    const QString styleName = xml.attribute(Text, QLatin1StringView("style-name"));
    const int outline = heading ? qBound(1, xml.attribute(Text, QLatin1StringView("outline-level")).toInt(), 10) : 0;
    startParagraph(styleName);
    readInline(xml);
    endParagraph(styleName, outline, heading);
}

void OdtReader::endParagraph(const QString &styleName, int outlineLevel, bool heading)
{
    const ParagraphLook &look = paragraphLook(styleName);
    QTextBlockFormat block = look.block;
    QTextCharFormat chars = look.chars;
    if (heading)
        block.setHeadingLevel(outlineLevel > 0 ? outlineLevel : qMax(1, look.outlineLevel));
    if (!pendingKept_.isEmpty())
        chars.setProperty(OdtFormats::kKeptXmlProperty, std::exchange(pendingKept_, QString()));
    if (!pendingRtf_.isEmpty())
        chars.setProperty(TextFormats::kKeptRtfProperty, std::exchange(pendingRtf_, QString()));
    if (!pendingBlockKept_.isEmpty())
        block.setProperty(OdtFormats::kKeptBlockXmlProperty, std::exchange(pendingBlockKept_, QString()));

    RtfDocumentBuilder::ListItem item;
    bool numbered = false;
    if (!lists_.empty()) {
        ListLevelContext &context = lists_.back();
        const double start = listTextStart(context.style, context.level);
        if (!context.header && !context.itemStarted) {
            item = listItem(context);
            numbered = true;
            context.itemStarted = true;
            block.setLeftMargin(qMax(0.0, start - doc_.indentWidth() * (context.level + 1)));
            block.setTextIndent(0);
        } else {
            block.setProperty(OdtFormats::kListContinuationProperty,
                              QString::number(context.level + 1) + u' ' + context.key + u'-' + listGroupPrefix_);
            block.setLeftMargin(qMax(0.0, start));
            block.setTextIndent(0);
        }
    }
    for (const Float &f : std::as_const(floats_))
        builder_.insertFloat(tableLevel_, f.frame, f.image);
    builder_.startParagraph(tableLevel_, block, chars, numbered ? &item : nullptr);
    ++paragraphCount_;
    for (const Run &run : std::as_const(runs_))
        builder_.insertText(run.text, run.format);
    runs_.clear();
    floats_.clear();
    spans_.clear();
    inParagraph_ = false;
}

void OdtReader::readList(OdtXmlReader &xml)
{
    ListLevelContext context;
    const QString own = xml.attribute(Text, QLatin1StringView("style-name"));
    context.style = own.isEmpty() && !lists_.empty() ? lists_.back().style : own;
    context.level = lists_.empty() ? 0 : qMin(lists_.back().level + 1, 9);
    const QString id = xml.attribute(Xml, QLatin1StringView("id"));
    if (!lists_.empty()) {
        context.key = lists_.back().key; // a nested list is a level of the list around it
    } else {
        const QString continues = xml.attribute(Text, QLatin1StringView("continue-list"));
        if (!continues.isEmpty() && listKeysById_.contains(continues))
            context.key = listKeysById_.value(continues);
        else if (xml.attribute(Text, QLatin1StringView("continue-numbering")) == u"true")
            context.key = lastKeyByStyle_.value(context.style, lastListKey_);
        if (context.key.isEmpty())
            context.key = QStringLiteral("L%1").arg(++shared_.listCount);
    }
    if (!id.isEmpty())
        listKeysById_.insert(id, context.key);
    lists_.push_back(context);
    const std::size_t index = lists_.size() - 1;
    const int depth = xml.depth();
    while (xml.next() && xml.depth() >= depth) {
        if (!xml.isStart())
            continue;
        const bool header = xml.is(Text, QLatin1StringView("list-header"));
        if (!header && !xml.is(Text, QLatin1StringView("list-item"))) {
            xml.skipElement();
            continue;
        }
        ListLevelContext &item = lists_[index];
        item.itemStarted = false;
        item.header = header;
        item.restart.reset();
        const QString start = xml.attribute(Text, QLatin1StringView("start-value"));
        if (!start.isEmpty()) {
            item.restart = qBound(0, start.toInt(), 1000000);
            item.key += QStringLiteral("/%1").arg(++shared_.listCount); // numbering starts again here
        }
        readBlocks(xml);
    }
    if (index == 0) {
        lastKeyByStyle_.insert(lists_[index].style, lists_[index].key);
        lastListKey_ = lists_[index].key;
    }
    lists_.pop_back();
}

RtfDocumentBuilder::ListItem OdtReader::listItem(ListLevelContext &context) const
{
    RtfDocumentBuilder::ListItem item;
    item.key = context.key;
    item.level = context.level;
    item.format = listFormat(shared_.styles.listStyle(context.style, context.level), context.level);
    if (context.restart) {
        const int styleStart = item.format.hasProperty(TextFormats::kListStartProperty)
                                   ? item.format.intProperty(TextFormats::kListStartProperty) : 1;
        item.format.setProperty(OdtFormats::kListStyleStartProperty, styleStart);
        TextFormats::setListStart(item.format, *context.restart);
    }
    return item;
}

QTextListFormat OdtReader::listFormat(const OdtStyleSheet::ListStyle *style, int level) const
{
    QTextListFormat f;
    f.setIndent(level + 1);
    if (!style) {
        f.setStyle(QTextListFormat::ListDisc);
        return f;
    }
    const OdtStyleSheet::ListLevel &l = style->levels[std::size_t(qBound(0, level, 9))];
    switch (l.kind) {
    case OdtStyleSheet::ListLevel::Number: {
        f.setStyle(numberStyle(l.format));
        f.setNumberPrefix(l.prefix);
        f.setNumberSuffix(l.suffix);
        if (l.start != 1)
            TextFormats::setListStart(f, l.start);
        QString marker;
        for (int shown = level + 1 - l.displayLevels + 1; shown <= level + 1; ++shown) {
            if (shown < 1)
                continue;
            if (!marker.isEmpty())
                marker += u'.';
            marker += u'%' + QString::number(shown);
        }
        f.setProperty(TextFormats::kListNumberTemplateProperty, l.prefix + marker + l.suffix);
        break;
    }
    case OdtStyleSheet::ListLevel::Bullet:
        f.setStyle(bulletStyle(l.bullet));
        if (!l.suffix.isEmpty()) // shown by no one, but kept
            f.setNumberSuffix(l.suffix);
        if (isOwnBullet(l.bullet))
            f.setProperty(TextFormats::kListNumberTemplateProperty, l.bullet);
        break;
    case OdtStyleSheet::ListLevel::Image: f.setStyle(QTextListFormat::ListDisc); break;
    case OdtStyleSheet::ListLevel::None:
        f.setStyle(QTextListFormat::ListStyleUndefined);
        f.setNumberPrefix(l.prefix);
        f.setNumberSuffix(l.suffix);
        f.setProperty(TextFormats::kListNumberTemplateProperty, QString());
        break;
    }
    return f;
}

double OdtReader::listTextStart(const QString &style, int level) const
{
    const OdtStyleSheet::ListStyle *list = shared_.styles.listStyle(style, level);
    if (!list)
        return doc_.indentWidth() * (level + 1);
    return list->levels[std::size_t(qBound(0, level, 9))].textStart;
}

// A table: its grid from the column definitions, its rows cell by cell. A cell spanning columns
// or rows is the first of the cells it merges; the covered cells under it are the others.
void OdtReader::readTable(OdtXmlReader &xml)
{
    if (inParagraph_) { // a table inside a paragraph's element: its text joins the paragraph
        readInline(xml);
        return;
    }
    OdtStyleSheet &sheet = shared_.styles;
    const QString styleName = xml.attribute(Table, QLatin1StringView("style-name"));
    if (!sawFirstParagraph_ && mode_ == Mode::Document && tableLevel_ == 0) { // a table first names the master page
        sawFirstParagraph_ = true;
        if (const OdtStyleSheet::Style *s = sheet.style(QStringLiteral("table"), styleName))
            firstMasterPage_ = s->masterPage;
    }
    const OdtStyleSheet::Properties tableProps = sheet.resolved(QStringLiteral("table"), styleName).props[OdtStyleSheet::TableProps];
    QList<double> absolute, relative; // by grid column
    struct Span
    {
        int row, column, rows, columns;
    };
    std::vector<Span> spans;
    int row = 0;
    bool first = true;
    std::vector<RtfDocumentBuilder::Row> pendingRepeats;
    QList<int> rights;
    auto gridRights = [&]() {
        if (!rights.isEmpty())
            return;
        const int columns = int(qMax(absolute.size(), relative.size()));
        double width = OdtUnits::pixels(tableProps.value(QStringLiteral("style:width"))).value_or(0);
        if (width <= 0)
            width = kDefaultTableWidth;
        double relativeSum = 0;
        bool allAbsolute = true;
        for (int c = 0; c < columns; ++c) {
            relativeSum += c < relative.size() ? relative[c] : 0;
            allAbsolute = allAbsolute && c < absolute.size() && absolute[c] > 0;
        }
        double right = 0;
        for (int c = 0; c < columns; ++c) {
            double w = allAbsolute || relativeSum <= 0 ? (c < absolute.size() ? absolute[c] : 0)
                                                       : width * (c < relative.size() ? relative[c] : 0) / relativeSum;
            if (w <= 0)
                w = width / qMax(1, columns);
            right += w;
            rights.append(TextFormats::roundedTwips(right));
        }
    };
    auto readColumn = [&]() {
        const int repeat = qBound(1, xml.attribute(Table, QLatin1StringView("number-columns-repeated")).toInt(), kMaxColumns);
        const OdtStyleSheet::Properties props = sheet.resolved(QStringLiteral("table-column"),
                                                               xml.attribute(Table, QLatin1StringView("style-name")))
                                                    .props[OdtStyleSheet::ColumnProps];
        const double w = OdtUnits::pixels(props.value(QStringLiteral("style:column-width"))).value_or(0);
        const double rel = props.value(QStringLiteral("style:rel-column-width")).remove(u'*').toDouble();
        for (int i = 0; i < repeat && absolute.size() < kMaxColumns; ++i) {
            absolute.append(w);
            relative.append(rel);
        }
        xml.skipElement();
    };
    auto readRow = [&](bool header) {
        gridRights();
        const QString rowStyle = xml.attribute(Table, QLatin1StringView("style-name"));
        const OdtStyleSheet::Properties rowProps = sheet.resolved(QStringLiteral("table-row"), rowStyle).props[OdtStyleSheet::RowProps];
        int height = 0;
        if (const auto exact = OdtUnits::pixels(rowProps.value(QStringLiteral("style:row-height"))); exact && *exact > 0)
            height = -TextFormats::roundedTwips(*exact);
        else if (const auto least = OdtUnits::pixels(rowProps.value(QStringLiteral("style:min-row-height"))); least && *least > 0)
            height = TextFormats::roundedTwips(*least);
        const int repeatRows = qBound(1, xml.attribute(Table, QLatin1StringView("number-rows-repeated")).toInt(), kMaxRepeatedRows);
        RtfDocumentBuilder::Row r;
        r.header = header;
        int column = 0;
        const int rowDepth = xml.depth();
        while (xml.next() && xml.depth() >= rowDepth) {
            if (!xml.isStart())
                continue;
            const bool covered = xml.is(Table, QLatin1StringView("covered-table-cell"));
            if (!covered && !xml.is(Table, QLatin1StringView("table-cell"))) {
                xml.skipElement();
                continue;
            }
            const int columnSpan = qBound(1, xml.attribute(Table, QLatin1StringView("number-columns-spanned")).toInt(), kMaxColumns);
            const int rowSpan = qBound(1, xml.attribute(Table, QLatin1StringView("number-rows-spanned")).toInt(), 1 << 20);
            const int repeat = qBound(1, xml.attribute(Table, QLatin1StringView("number-columns-repeated")).toInt(), kMaxColumns);
            const QString cellStyle = xml.attribute(Table, QLatin1StringView("style-name"));
            RtfDocumentBuilder::Cell cell;
            QTextTableCellFormat &format = cell.format;
            OdtStyleFormats::applyCell(sheet.resolved(QStringLiteral("table-cell"), cellStyle).props[OdtStyleSheet::CellProps], format);
            if (const OdtStyleSheet::Style *own = sheet.style(QStringLiteral("table-cell"), cellStyle)) {
                const QString unshown = OdtStyleFormats::unshown(own->props[OdtStyleSheet::CellProps], OdtStyleSheet::CellProps);
                if (!unshown.isEmpty())
                    format.setProperty(OdtFormats::kCellAttributesProperty, unshown);
            }
            if (height != 0)
                format.setProperty(TextFormats::kRowHeightProperty, height);
            const int before = paragraphCount_;
            for (int i = 0; i < repeat; ++i) {
                int bits = 0;
                if (covered) {
                    for (const Span &s : spans) {
                        if (row >= s.row && row < s.row + s.rows && column >= s.column && column < s.column + s.columns) {
                            if (column > s.column)
                                bits |= RtfValues::MergeNext;
                            if (row > s.row)
                                bits |= RtfValues::VMergeNext;
                        }
                    }
                } else if (i == 0 && (columnSpan > 1 || rowSpan > 1)) {
                    if (columnSpan > 1)
                        bits |= RtfValues::MergeFirst;
                    if (rowSpan > 1)
                        bits |= RtfValues::VMergeFirst;
                    spans.push_back({row, column, rowSpan, columnSpan});
                }
                cell.merge = bits;
                cell.right = column < rights.size() ? rights[column] : (rights.isEmpty() ? 1440 : rights.last() + 1440 * (column - rights.size() + 1));
                if (i == 0)
                    readBlocks(xml);
                if (paragraphCount_ == before || i > 0) { // every cell holds a paragraph, so that its row is made
                    startParagraph(QString());
                    endParagraph(QString(), 0, false);
                }
                builder_.endCell(tableLevel_);
                r.cells.push_back(cell);
                ++column;
            }
        }
        if (first) {
            first = false;
            QTextFormat &t = r.table;
            t.setProperty(QTextFormat::FrameBorder, 0.0);
            const QString align = tableProps.value(QStringLiteral("table:align"));
            r.alignment = align == u"center" ? 2 : align == u"right" ? 1 : 0;
            if (const auto width = OdtUnits::pixels(tableProps.value(QStringLiteral("style:width"))); width && *width > 0
                && align != u"margins")
                t.setProperty(QTextFormat::FrameWidth, QTextLength(QTextLength::FixedLength, *width));
            const QColor background = OdtUnits::color(tableProps.value(QStringLiteral("fo:background-color")));
            if (background.isValid())
                t.setBackground(background);
            if (tableProps.value(QStringLiteral("fo:break-before")) == u"page")
                t.setProperty(QTextFormat::PageBreakPolicy, int(QTextFormat::PageBreak_AlwaysBefore));
            if (const OdtStyleSheet::Style *own = sheet.style(QStringLiteral("table"), styleName)) {
                const QString unshown = OdtStyleFormats::unshown(own->props[OdtStyleSheet::TableProps], OdtStyleSheet::TableProps);
                if (!unshown.isEmpty())
                    t.setProperty(OdtFormats::kTableAttributesProperty, unshown);
            }
        }
        builder_.endRow(tableLevel_, r);
        ++row;
        // Rows the file repeats: more of the same, empty.
        for (int i = 1; i < repeatRows; ++i) {
            RtfDocumentBuilder::Row copy = r;
            for (std::size_t c = 0; c < copy.cells.size(); ++c) {
                copy.cells[c].merge = 0;
                startParagraph(QString());
                endParagraph(QString(), 0, false);
                builder_.endCell(tableLevel_);
            }
            builder_.endRow(tableLevel_, copy);
            ++row;
        }
        std::erase_if(spans, [&](const Span &s) { return s.row + s.rows <= row; });
    };

    ++tableLevel_;
    const auto savedLists = std::exchange(lists_, {}); // a list does not go on inside a table
    const int depth = xml.depth();
    std::vector<int> groupDepths;
    while (xml.next() && xml.depth() >= depth) {
        if (xml.isEnd())
            continue;
        if (!xml.isStart())
            continue;
        if (xml.ns() != Table) {
            xml.skipElement();
            continue;
        }
        const QStringView name = xml.name();
        if (name == u"table-column")
            readColumn();
        else if (name == u"table-row")
            readRow(inHeaderRows_ > 0);
        else if (name == u"table-header-rows") {
            // Its rows repeat on each page; they are read by the loop as it goes on.
            ++inHeaderRows_;
            const int headerDepth = xml.depth();
            while (xml.next() && xml.depth() >= headerDepth)
                if (xml.isStart() && xml.is(Table, QLatin1StringView("table-row")))
                    readRow(true);
                else if (xml.isStart())
                    xml.skipElement();
            --inHeaderRows_;
        } else if (name == u"table-columns" || name == u"table-column-group" || name == u"table-header-columns"
                   || name == u"table-rows" || name == u"table-row-group") {
            continue; // their children are read by this loop
        } else {
            xml.skipElement();
        }
    }
    if (row == 0) { // a table without rows: an empty row keeps it
        gridRights();
        RtfDocumentBuilder::Row r;
        for (int c = 0; c < qMax(1, int(rights.size())); ++c) {
            startParagraph(QString());
            endParagraph(QString(), 0, false);
            builder_.endCell(tableLevel_);
            RtfDocumentBuilder::Cell cell;
            cell.right = c < rights.size() ? rights[c] : 1440;
            r.cells.push_back(cell);
        }
        builder_.endRow(tableLevel_, r);
    }
    lists_ = savedLists;
    --tableLevel_;
}
