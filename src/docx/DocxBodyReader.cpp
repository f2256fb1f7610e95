// The Word story reader's blocks: paragraphs, lists, tables and sections.
#include "docx/DocxBodyReader.h"
#include "docx/DocxFormats.h"
#include "docx/DocxKeptXml.h"
#include "docx/DocxReadContext.h"
#include "docx/DocxUnits.h"
#include "docx/DocxXml.h"
#include "rtf/HeaderFooter.h"
#include "rtf/TextFormats.h"

#include <QTextDocument>
#include <QXmlStreamWriter>

using namespace DocxNamespaces;

namespace {

QTextFrameFormat::BorderStyle borderStyle(const QString &kind)
{
    if (kind == u"double" || kind.startsWith(u"thinThick") || kind.startsWith(u"thickThin") || kind == u"triple")
        return QTextFrameFormat::BorderStyle_Double;
    if (kind == u"dotted")
        return QTextFrameFormat::BorderStyle_Dotted;
    if (kind.startsWith(u"dash") && !kind.startsWith(u"dashDot"))
        return QTextFrameFormat::BorderStyle_Dashed;
    if (kind == u"dotDash" || kind == u"dashDotStroked")
        return QTextFrameFormat::BorderStyle_DotDash;
    if (kind == u"dotDotDash")
        return QTextFrameFormat::BorderStyle_DotDotDash;
    if (kind == u"inset")
        return QTextFrameFormat::BorderStyle_Inset;
    if (kind == u"outset")
        return QTextFrameFormat::BorderStyle_Outset;
    if (kind.contains(u"groove") || kind == u"threeDEngrave")
        return QTextFrameFormat::BorderStyle_Groove;
    if (kind.contains(u"ridge") || kind == u"threeDEmboss")
        return QTextFrameFormat::BorderStyle_Ridge;
    return QTextFrameFormat::BorderStyle_Solid;
}

void setBorder(QTextTableCellFormat &f, int side, const std::optional<DocxTableProperties::Border> &border)
{
    if (!border)
        return;
    const TextFormats::CellBorderSide &s = TextFormats::kCellBorderSides[side];
    if (border->isNone()) {
        f.setProperty(s.width, 0.0);
        f.setProperty(s.style, QTextFrameFormat::BorderStyle_None);
        return;
    }
    f.setProperty(s.width, border->eighths / 6.0); // eighths of a point in pixels
    f.setProperty(s.style, borderStyle(border->kind));
    f.setProperty(s.brush, QBrush(border->color.isValid() ? border->color : QColor(Qt::black)));
}

constexpr double kDefaultCellMargin = 108; // twips, left and right, as Word has it

} // namespace

DocxBodyReader::DocxBodyReader(DocxReadContext &context, DocxBuildSink &sink, const QString &part, Mode mode,
                               const QString &noteMark)
    : context_(context), builder_(sink), part_(part), mode_(mode), noteMark_(noteMark), pictures_(context.package, sink)
{
}

DocxBodyReader::~DocxBodyReader() = default;

void DocxBodyReader::read(DocxXml &xml)
{
    readBlocks(xml);
    if (paragraph_.open)
        endParagraph();
    builder_.finish();
    // What waited for text that never came stays at the end of the last paragraph.
    if (!pendingKept_.isEmpty() || !pendingBlockKept_.isEmpty())
        builder_.keepAtEnd(DocxFormats::kKeptProperty, pendingBlockKept_ + pendingKept_);
    if (!pendingKeptRtf_.isEmpty())
        builder_.keepAtEnd(TextFormats::kKeptRtfProperty, pendingKeptRtf_);
    pendingKept_.clear();
    pendingBlockKept_.clear();
    pendingKeptRtf_.clear();
}

void DocxBodyReader::readBlocks(DocxXml &xml)
{
    const int depth = xml.depth();
    while (xml.nextChild(depth))
        readBlock(xml);
}

void DocxBodyReader::readBlock(DocxXml &xml)
{
    if (xml.ns() == MC && xml.name() == u"AlternateContent") {
        readAlternateContent(xml, false);
        return;
    }
    if (xml.ns() != W) {
        keepElement(xml, false);
        return;
    }
    const QStringView n = xml.name();
    if (n == u"p") {
        readParagraph(xml);
    } else if (n == u"tbl") {
        readTable(xml);
    } else if (n == u"sdt") {
        const int depth = xml.depth();
        while (xml.nextChild(depth))
            if (xml.isW(u"sdtContent"))
                readBlocks(xml);
    } else if (n == u"customXml" || n == u"ins" || n == u"del" || n == u"moveTo" || n == u"moveFrom"
               || n == u"smartTag") {
        readBlocks(xml);
    } else if (n == u"sectPr") {
        readSection(xml);
    } else if (n == u"bookmarkStart" || n == u"bookmarkEnd") {
        bookmark(xml, n == u"bookmarkStart");
    } else if (n == u"proofErr" || n == u"permStart" || n == u"permEnd" || n == u"tblPr" || n == u"tblGrid") {
        xml.skip();
    } else {
        keepElement(xml, false);
    }
}

void DocxBodyReader::ensureBase()
{
    if (paragraph_.baseReady)
        return;
    paragraph_.baseReady = true;
    const QString style = paragraph_.props.style.value_or(context_.styles.defaultStyle(DocumentStyle::Paragraph));
    paragraph_.runBase = context_.styles.runDefaults();
    if (!cellRuns_.empty())
        paragraph_.runBase.merge(cellRuns_.back());
    paragraph_.runBase.merge(context_.styles.paragraph(style).mark);
}

void DocxBodyReader::readParagraph(DocxXml &xml)
{
    if (paragraph_.open)
        endParagraph(); // a paragraph inside a paragraph (through a text box kept whole): the outer ends
    paragraph_ = Paragraph();
    paragraph_.open = true;
    paragraph_.pageBreakBefore = std::exchange(breakAfterSection_, false);
    const int depth = xml.depth();
    while (xml.nextChild(depth)) {
        if (xml.isW(u"pPr") && !paragraph_.baseReady) {
            paragraph_.props.read(xml, context_.theme, mode_ != Mode::Display, [this](DocxXml &x) { readSection(x); });
            continue;
        }
        ensureBase();
        readInlineElement(xml);
    }
    endParagraph();
}

QTextBlockFormat DocxBodyReader::blockFormat(const DocxParagraphProperties &direct, DocxBuildSink::ListItem *item,
                                             bool &isItem)
{
    const DocxStyles &styles = context_.styles;
    const QString styleId = direct.style.value_or(styles.defaultStyle(DocumentStyle::Paragraph));
    const DocxParagraphProperties &style = styles.paragraph(styleId);
    DocxParagraphProperties p = styles.paragraphDefaults();
    const int numId = direct.numId.value_or(style.numId.value_or(0));
    const int level = qBound(0, direct.level.value_or(direct.numId ? 0 : style.level.value_or(0)), 8);
    const DocxNumbering::Level *definition = numId > 0 ? context_.numbering.level(numId, level) : nullptr;
    if (definition && !direct.numId) { // the style's own numbering: the style's indents win
        p.merge(definition->paragraph);
        p.merge(style);
    } else {
        p.merge(style);
        if (definition)
            p.merge(definition->paragraph);
    }
    p.merge(direct);
    QTextBlockFormat f;
    p.apply(f);
    if (const DocxStyles::Style *s = styles.find(styleId))
        f.setProperty(TextFormats::kParagraphStyleProperty, s->name);
    isItem = definition != nullptr && mode_ != Mode::Display;
    if (isItem) {
        const int abstractId = context_.numbering.abstractOf(numId);
        item->key = abstractId >= 0 ? QStringLiteral("a%1").arg(abstractId) : QStringLiteral("n%1").arg(numId);
        item->level = level;
        item->format = DocxNumbering::format(*definition, level);
        const QString started = QStringLiteral("%1/%2").arg(numId).arg(level);
        if (const auto start = context_.numbering.startOverride(numId, level);
            start && !context_.listsStarted.contains(started)) {
            item->restart = true;
            TextFormats::setListStart(item->format, *start);
        }
        context_.listsStarted.insert(started);
        // Qt indents list items by their level and hangs the marker itself.
        f.setLeftMargin(qMax(0.0, f.leftMargin() - context_.indentWidth * (level + 1)));
        f.clearProperty(QTextFormat::TextIndent);
    }
    return f;
}

void DocxBodyReader::endParagraph()
{
    if (!paragraph_.open)
        return;
    if (paragraph_.fromBreak && paragraph_.runs.empty() && paragraph_.floats.empty() && pendingKept_.isEmpty()
        && pendingKeptRtf_.isEmpty() && lastSectionProperty_.isEmpty()) {
        // A page break that ended its paragraph: the next paragraph starts the page.
        paragraph_ = Paragraph();
        breakAfterSection_ = true;
        return;
    }
    ensureBase();
    DocxBuildSink::ListItem item;
    bool isItem = false;
    QTextBlockFormat block = blockFormat(paragraph_.props, &item, isItem);
    if (paragraph_.pageBreakBefore)
        block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    if (!pendingBlockKept_.isEmpty()) {
        block.setProperty(DocxFormats::kKeptBeforeProperty, pendingBlockKept_);
        pendingBlockKept_.clear();
    }
    if (!lastSectionProperty_.isEmpty())
        block.setProperty(DocxFormats::kSectionProperty, std::exchange(lastSectionProperty_, QString()));
    DocxRunProperties mark = paragraph_.runBase;
    mark.merge(paragraph_.props.mark);
    QTextCharFormat chars = formatOf(mark);
    if (tableDepth_ > 0) // the cell's shading lives in the same property
        chars.clearBackground();
    if (!pendingKept_.isEmpty())
        chars.setProperty(DocxFormats::kKeptProperty, std::exchange(pendingKept_, QString()));
    if (!pendingKeptRtf_.isEmpty())
        chars.setProperty(TextFormats::kKeptRtfProperty, std::exchange(pendingKeptRtf_, QString()));
    for (const Float &f : paragraph_.floats)
        builder_.insertFloat(f.frame, f.image);
    builder_.startParagraph(block, chars, isItem ? &item : nullptr);
    for (const Run &run : paragraph_.runs)
        builder_.insertText(run.text, run.format);
    paragraph_ = Paragraph();
    runFormatValid_ = false;
}

// A page break inside a paragraph: what follows starts a paragraph of its own, on a new page.
void DocxBodyReader::pageBreak()
{
    Paragraph rest;
    rest.props = paragraph_.props;
    rest.props.hasSection = false;
    rest.runBase = paragraph_.runBase;
    rest.baseReady = true;
    rest.open = true;
    rest.pageBreakBefore = true;
    rest.fromBreak = true;
    paragraph_.props.hasSection = false;
    const QString section = std::exchange(lastSectionProperty_, QString());
    endParagraph();
    lastSectionProperty_ = section;
    paragraph_ = rest;
}

void DocxBodyReader::readTable(DocxXml &xml)
{
    if (paragraph_.open)
        endParagraph();
    if (tableDepth_ >= DocxBuildSink::kMaxNesting) {
        // Past the deepest nesting we make, the rows' paragraphs stand in the cell one after another.
        const int depth = xml.depth();
        while (xml.nextChild(depth)) {
            if (!xml.isW(u"tr"))
                continue;
            const int d = xml.depth();
            while (xml.nextChild(d))
                if (xml.isW(u"tc"))
                    readBlocks(xml);
        }
        return;
    }
    Table table;
    DocxTableProperties direct;
    bool opened = false;
    int row = 0;
    const int depth = xml.depth();
    auto open = [&] {
        if (opened)
            return;
        opened = true;
        const QString style = direct.style.value_or(context_.styles.defaultStyle(DocumentStyle::Table));
        table.props = context_.styles.table(style);
        table.props.merge(direct);
        table.conditionals = context_.styles.conditionals(style);
        table.run = context_.styles.tableRun(style);
        table.look = direct.look.value_or(0);
        table.props.kept = direct.kept;
        table.columns = int(qMin<qsizetype>(table.grid.size(), DocxBuildSink::kMaxColumns));
        QTextTableFormat f;
        f.setBorder(0);
        f.setBorderStyle(QTextFrameFormat::BorderStyle_None);
        f.setBorderCollapse(true);
        f.setCellSpacing(0);
        f.setCellPadding(0);
        f.setMargin(0);
        if (!table.grid.isEmpty()) {
            QList<QTextLength> widths;
            for (const double w : std::as_const(table.grid))
                widths.append(QTextLength(QTextLength::FixedLength, TextFormats::twipsToPixels(qBound(15.0, w, 31680.0))));
            widths.resize(qMin<qsizetype>(widths.size(), DocxBuildSink::kMaxColumns));
            f.setColumnWidthConstraints(widths);
        }
        if (table.props.width)
            f.setWidth(table.props.width->percent
                           ? QTextLength(QTextLength::PercentageLength, table.props.width->value)
                           : QTextLength(QTextLength::FixedLength, TextFormats::twipsToPixels(table.props.width->value)));
        static constexpr Qt::Alignment kAlign[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
        f.setAlignment(kAlign[qBound(0, table.props.alignment.value_or(0), 2)]);
        if (table.props.indent && *table.props.indent > 0)
            f.setLeftMargin(TextFormats::twipsToPixels(qMin(*table.props.indent, 31680.0)));
        if (!table.props.kept.isEmpty() && mode_ != Mode::Display)
            f.setProperty(DocxFormats::kTablePropertiesProperty, table.props.kept);
        if (direct.style)
            f.setProperty(DocxFormats::kTableStyleProperty, *direct.style);
        builder_.openTable(f, qMax(1, table.columns));
        ++tableDepth_;
    };
    while (xml.nextChild(depth)) {
        if (xml.isW(u"tblPr")) {
            direct.read(xml, mode_ != Mode::Display);
        } else if (xml.isW(u"tblGrid")) {
            const int d = xml.depth();
            while (xml.nextChild(d))
                if (xml.isW(u"gridCol") && table.grid.size() < 1000)
                    table.grid.append(DocxUnits::twips(xml.attribute(u"w")).value_or(0.0));
        } else if (xml.isW(u"tr")) {
            open();
            readRow(xml, table, row++);
        } else if (xml.isW(u"sdt") || xml.isW(u"customXml")) {
            // Rows wrapped in a content control or custom XML.
            open();
            const int d = xml.depth();
            while (xml.nextChild(d)) {
                if (xml.isW(u"sdtContent")) {
                    const int dd = xml.depth();
                    while (xml.nextChild(dd))
                        if (xml.isW(u"tr"))
                            readRow(xml, table, row++);
                } else if (xml.isW(u"tr")) {
                    readRow(xml, table, row++);
                }
            }
        } else if (xml.isW(u"bookmarkStart") || xml.isW(u"bookmarkEnd")) {
            bookmark(xml, xml.isW(u"bookmarkStart"));
        }
    }
    if (!opened)
        return;
    if (paragraph_.open)
        endParagraph();
    builder_.closeTable(lastRowBottom(table), table.ownBottom);
    --tableDepth_;
}

// What the last row's cells take at their bottom: the table's bottom border, which the rows
// above take as inside lines; nothing to change when the table has neither.
QTextTableCellFormat DocxBodyReader::lastRowBottom(const Table &props) const
{
    QTextTableCellFormat f;
    const auto &bottom = props.props.borders[DocxTableProperties::Bottom];
    const auto &inside = props.props.borders[DocxTableProperties::InsideH];
    if (bottom || inside)
        setBorder(f, 2, bottom ? bottom : DocxTableProperties::Border());
    return f;
}

void DocxBodyReader::readRow(DocxXml &xml, Table &table, int row)
{
    DocxTableProperties rowProps;
    int column = 0;
    bool started = false;
    const int depth = xml.depth();
    auto start = [&] {
        if (started)
            return;
        started = true;
        builder_.startRow();
        column = rowProps.gridBefore;
        table.ownBottom.assign(std::size_t(qMax(1, table.columns)), false);
    };
    while (xml.nextChild(depth)) {
        if (xml.isW(u"trPr")) {
            rowProps.read(xml, mode_ != Mode::Display);
        } else if (xml.isW(u"tc")) {
            start();
            readCell(xml, table, rowProps, row, column);
        } else if (xml.isW(u"sdt") || xml.isW(u"customXml")) {
            start();
            const int d = xml.depth();
            while (xml.nextChild(d)) {
                if (xml.isW(u"sdtContent")) {
                    const int dd = xml.depth();
                    while (xml.nextChild(dd))
                        if (xml.isW(u"tc"))
                            readCell(xml, table, rowProps, row, column);
                } else if (xml.isW(u"tc")) {
                    readCell(xml, table, rowProps, row, column);
                }
            }
        } else if (xml.isW(u"bookmarkStart") || xml.isW(u"bookmarkEnd")) {
            bookmark(xml, xml.isW(u"bookmarkStart"));
        }
    }
    start();
    QTextTableCellFormat filler;
    filler.setProperty(TextFormats::kGridFillerProperty, true);
    for (int side = 0; side < 4; ++side)
        setBorder(filler, side, DocxTableProperties::Border());
    builder_.endRow(filler, rowProps.header);
}

void DocxBodyReader::readCell(DocxXml &xml, Table &table, const DocxTableProperties &rowProps, int row,
                              int &column)
{
    DocxTableProperties cellProps;
    bool started = false;
    bool pushed = false;
    auto start = [&] {
        if (started)
            return;
        started = true;
        DocxBuildSink::Cell cell;
        cell.column = column;
        cell.span = cellProps.gridSpan;
        cell.continuesAbove = cellProps.verticalMergeRestart && !*cellProps.verticalMergeRestart;
        cell.format = cellFormat(table, cellProps, rowProps, row, column, cellProps.gridSpan);
        builder_.startCell(cell);
        DocxRunProperties run = table.run;
        for (const QString &type : conditionalTypes(table, row, column, cellProps.gridSpan))
            run.merge(table.conditionals.value(type).run);
        cellRuns_.push_back(run);
        pushed = true;
    };
    const int depth = xml.depth();
    while (xml.nextChild(depth)) {
        if (xml.isW(u"tcPr") && !started) {
            cellProps.read(xml, mode_ != Mode::Display);
            continue;
        }
        start();
        readBlock(xml);
    }
    start();
    if (paragraph_.open)
        endParagraph();
    if (pushed)
        cellRuns_.pop_back();
    if (cellProps.borders[DocxTableProperties::Bottom] && std::size_t(column) < table.ownBottom.size())
        table.ownBottom[std::size_t(column)] = true;
    column += cellProps.gridSpan;
}

// The parts of its table's style a cell is in, from the weakest to the strongest.
QStringList DocxBodyReader::conditionalTypes(const Table &table, int row, int column, int span) const
{
    using T = DocxTableProperties;
    QStringList types;
    if (table.conditionals.isEmpty())
        return types;
    types << QStringLiteral("wholeTable");
    const int look = table.look;
    const bool firstRow = row == 0 && (look & T::FirstRow);
    const bool firstColumn = column == 0 && (look & T::FirstColumn);
    const bool lastColumn = table.columns > 0 && column + span >= table.columns && (look & T::LastColumn);
    if (!(look & T::NoColumnBands) && !firstColumn && !lastColumn) {
        const int band = (column - ((look & T::FirstColumn) ? 1 : 0)) / table.props.columnBandSize.value_or(1);
        types << (band % 2 == 0 ? QStringLiteral("band1Vert") : QStringLiteral("band2Vert"));
    }
    if (!(look & T::NoRowBands) && !firstRow) {
        const int band = (row - ((look & T::FirstRow) ? 1 : 0)) / table.props.rowBandSize.value_or(1);
        types << (band % 2 == 0 ? QStringLiteral("band1Horz") : QStringLiteral("band2Horz"));
    }
    if (firstColumn)
        types << QStringLiteral("firstCol");
    if (lastColumn)
        types << QStringLiteral("lastCol");
    if (firstRow)
        types << QStringLiteral("firstRow");
    if (firstRow && firstColumn)
        types << QStringLiteral("nwCell");
    if (firstRow && lastColumn)
        types << QStringLiteral("neCell");
    return types;
}

QTextTableCellFormat DocxBodyReader::cellFormat(const Table &table, const DocxTableProperties &direct,
                                                const DocxTableProperties &row, int rowIndex, int column,
                                                int span) const
{
    using T = DocxTableProperties;
    const T &t = table.props;
    // The table style's formatting of the cell's parts, then the cell's own.
    T cell;
    for (const QString &type : conditionalTypes(table, rowIndex, column, span))
        cell.mergeCell(table.conditionals.value(type).cell);
    cell.mergeCell(direct);
    cell.margins = direct.margins;
    cell.kept = direct.kept;
    QTextTableCellFormat f;
    const bool lastColumn = table.columns > 0 && column + span >= table.columns;
    const std::optional<T::Border> sides[4] = {
        cell.borders[T::Top] ? cell.borders[T::Top] : rowIndex == 0 ? t.borders[T::Top] : t.borders[T::InsideH],
        cell.borders[T::Left] ? cell.borders[T::Left] : column == 0 ? t.borders[T::Left] : t.borders[T::InsideV],
        cell.borders[T::Bottom] ? cell.borders[T::Bottom] : t.borders[T::InsideH], // the last row's: finishTable()
        cell.borders[T::Right] ? cell.borders[T::Right] : lastColumn ? t.borders[T::Right] : t.borders[T::InsideV],
    };
    for (int side = 0; side < 4; ++side)
        setBorder(f, side, sides[side]);
    const std::optional<QColor> fill = cell.shading ? cell.shading : t.shading;
    if (fill && fill->isValid())
        f.setBackground(*fill);
    static constexpr QTextFormat::Property kPadding[4] = {QTextFormat::TableCellTopPadding, QTextFormat::TableCellLeftPadding,
                                                          QTextFormat::TableCellBottomPadding, QTextFormat::TableCellRightPadding};
    for (int side = 0; side < 4; ++side) {
        const double fallback = side % 2 ? kDefaultCellMargin : 0;
        const double twips = cell.margins[std::size_t(side)].value_or(t.margins[std::size_t(side)].value_or(fallback));
        f.setProperty(kPadding[side], TextFormats::twipsToPixels(twips));
    }
    const int valign = cell.verticalAlignment.value_or(t.verticalAlignment.value_or(0));
    if (valign == 1)
        f.setVerticalAlignment(QTextCharFormat::AlignMiddle);
    else if (valign == 2)
        f.setVerticalAlignment(QTextCharFormat::AlignBottom);
    if (row.height)
        f.setProperty(TextFormats::kRowHeightProperty, int(std::lround(*row.height)));
    if (mode_ != Mode::Display) {
        if (!cell.kept.isEmpty())
            f.setProperty(DocxFormats::kCellPropertiesProperty, cell.kept);
        if (!row.kept.isEmpty())
            f.setProperty(DocxFormats::kRowPropertiesProperty, row.kept);
    }
    return f;
}

// A w:sectPr: the first one read gives the document's page set-up, headers and footers; each
// ends its section, and one that is not the last starts a page for what follows (unless
// continuous).
void DocxBodyReader::readSection(DocxXml &xml)
{
    if (mode_ != Mode::Document) {
        xml.skip();
        return;
    }
    const QString kept = DocxKeptXml::captureElement(xml);
    DocxXml copy(DocxKeptXml::document(kept).toUtf8(), xml.part());
    copy.start();
    copy.nextChild(1);
    DocxReadContext::Section s;
    PageSetup page;
    page.marginLeft = page.marginRight = 1440; // Word's, where the section does not say
    bool pageSet = false;
    bool continuous = false;
    const int depth = copy.depth();
    while (copy.nextChild(depth)) {
        if (copy.ns() != W)
            continue;
        const QStringView n = copy.name();
        if (n == u"headerReference" || n == u"footerReference") {
            const QStringView type = copy.attribute(u"type");
            int kind = n == u"headerReference" ? HeaderFooter::Header : HeaderFooter::Footer;
            if (type == u"first")
                kind += 3;
            else if (type == u"even")
                kind += 1;
            if (const DocxPackage::Relationship *r = context_.package.relationship(part_, copy.attribute(R, u"id")))
                if (!r->external)
                    s.parts[std::size_t(kind)] = r->target;
            continue;
        }
        if (n == u"pgSz") {
            pageSet = true;
            if (const auto w = DocxUnits::twips(copy.attribute(u"w")); w && *w >= 144)
                page.paperWidth = int(qMin(*w, 31680.0 * 2));
            if (const auto h = DocxUnits::twips(copy.attribute(u"h")); h && *h >= 144)
                page.paperHeight = int(qMin(*h, 31680.0 * 2));
            page.landscape = copy.attribute(u"orient") == u"landscape";
        } else if (n == u"pgMar") {
            pageSet = true;
            auto margin = [&](const char16_t *name, int &into) {
                if (const auto t = DocxUnits::twips(copy.attribute(QStringView(name))))
                    into = int(qBound(-31680.0, *t, 31680.0));
            };
            margin(u"top", page.marginTop);
            margin(u"bottom", page.marginBottom);
            margin(u"left", page.marginLeft);
            margin(u"right", page.marginRight);
            margin(u"header", page.headerDistance);
            margin(u"footer", page.footerDistance);
            page.marginTop = qAbs(page.marginTop);
            page.marginBottom = qAbs(page.marginBottom);
        } else if (n == u"titlePg") {
            s.titlePage = DocxUnits::onOff(copy.val());
        } else if (n == u"type") {
            continuous = copy.val() == u"continuous";
        } else if (n == u"footnotePr" || n == u"endnotePr") {
            context_.readNoteProperties(copy, n == u"footnotePr");
        }
    }
    const bool first = !context_.firstSection;
    if (first) {
        if (pageSet)
            s.page = page;
        s.xml = kept;
        context_.firstSection = s;
    }
    if (paragraph_.open) { // a section that ends at a paragraph, with more after it
        lastSectionProperty_ = first ? (continuous ? QStringLiteral("first continuous") : QStringLiteral("first"))
                                     : kept; // a later section keeps its own headers, for Word
        paragraph_.props.hasSection = true;
        breakAfterSection_ = !continuous;
    } else if (!first) {
        context_.lastSection = kept;
    }
}
