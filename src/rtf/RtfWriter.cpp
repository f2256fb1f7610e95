#include "rtf/RtfWriter.h"
#include "rtf/DocumentExtras.h"
#include "rtf/RtfCodec.h"
#include "rtf/RtfListTable.h"
#include "rtf/RtfSymbolFonts.h"
#include "rtf/RtfTextDecoder.h"
#include "rtf/TextFormats.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QUrl>
#include <cmath>
#include <utility>

namespace {

constexpr int kTextWidthTwips = 9360; // 6.5 inches, for tables without fixed widths
constexpr int kHexBytesPerLine = 64;
constexpr int kMaxPartDepth = 4;

int twips(double pixels)
{
    return int(std::lround(qBound(-1e7, TextFormats::pixelsToTwips(pixels), 1e7)));
}

QByteArray sniffType(const QByteArray &bytes)
{
    if (bytes.startsWith("\x89PNG\r\n\x1a\n"))
        return "png";
    if (bytes.startsWith("\xFF\xD8\xFF"))
        return "jpeg";
    return QByteArray();
}

QSize encodedSize(const QByteArray &bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader(&buffer).size();
}

const char *underlineWord(int style)
{
    switch (style) {
    case QTextCharFormat::DashUnderline: return "uldash";
    case QTextCharFormat::DotLine: return "uld";
    case QTextCharFormat::DashDotLine: return "uldashd";
    case QTextCharFormat::DashDotDotLine: return "uldashdd";
    case QTextCharFormat::WaveUnderline:
    case QTextCharFormat::SpellCheckUnderline: return "ulwave";
    default: return "ul";
    }
}

QByteArray cw(const char *name) { return QByteArray("\\") + name; }
QByteArray cw(const char *name, long long v) { return QByteArray("\\") + name + QByteArray::number(v); }

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

QString romanNumber(int n)
{
    static constexpr std::pair<int, const char *> kDigits[] = {
        {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"},
        {50, "l"}, {40, "xl"}, {10, "x"}, {9, "ix"}, {5, "v"}, {4, "iv"}, {1, "i"}};
    QString s;
    for (const auto &[value, digits] : kDigits)
        for (; n >= value; n -= value)
            s += QLatin1String(digits);
    return s;
}

QString alphaNumber(int n)
{
    QString s;
    for (; n > 0; n = (n - 1) / 26)
        s.prepend(QChar(u'a' + (n - 1) % 26));
    return s;
}

// An item's number as the list shows it, with the text around it cut as the list tables cut it.
// (QTextList::itemText looks the item up in the whole list, which is slow for long lists.)
QString numberText(const QTextListFormat &f, int item)
{
    QString number;
    switch (f.style()) {
    case QTextListFormat::ListLowerAlpha: number = alphaNumber(item); break;
    case QTextListFormat::ListUpperAlpha: number = alphaNumber(item).toUpper(); break;
    case QTextListFormat::ListLowerRoman: number = item > 0 && item < 5000 ? romanNumber(item) : QString::number(item); break;
    case QTextListFormat::ListUpperRoman:
        number = item > 0 && item < 5000 ? romanNumber(item).toUpper() : QString::number(item);
        break;
    default: number = QString::number(item); break;
    }
    return f.numberPrefix().left(RtfListTable::kMaxNumberText) + number
         + numberSuffix(f).left(RtfListTable::kMaxNumberText);
}

int levelOf(const QTextList *list) { return qBound(0, list->format().indent() - 1, 8); }

// Alignment as RTF has it: left and right are the paragraph's start and end sides, as in Qt
// without AlignAbsolute. 0 left, 1 right, 2 centre, 3 justified.
int alignmentCode(const QTextBlockFormat &f)
{
    const Qt::Alignment align = f.alignment() & Qt::AlignHorizontal_Mask;
    if (align & Qt::AlignJustify)
        return 3;
    if (align & Qt::AlignHCenter)
        return 2;
    const bool right = align & (Qt::AlignRight | Qt::AlignTrailing);
    const bool turned = (align & Qt::AlignAbsolute) && f.layoutDirection() == Qt::RightToLeft;
    return right != turned ? 1 : 0;
}

const char *borderWord(int style)
{
    switch (style) {
    case QTextFrameFormat::BorderStyle_Dotted: return "brdrdot";
    case QTextFrameFormat::BorderStyle_Dashed: return "brdrdash";
    case QTextFrameFormat::BorderStyle_Double: return "brdrdb";
    case QTextFrameFormat::BorderStyle_DotDash: return "brdrdashd";
    case QTextFrameFormat::BorderStyle_DotDotDash: return "brdrdashdd";
    case QTextFrameFormat::BorderStyle_Groove: return "brdrengrave";
    case QTextFrameFormat::BorderStyle_Ridge: return "brdremboss";
    case QTextFrameFormat::BorderStyle_Inset: return "brdrinset";
    case QTextFrameFormat::BorderStyle_Outset: return "brdroutset";
    case QTextFrameFormat::BorderStyle_None: return "brdrnone";
    default: return "brdrs";
    }
}

int lineSpacingTwips(const QTextBlockFormat &f, bool &multiple)
{
    multiple = false;
    switch (f.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        if (f.lineHeight() == 100)
            return 0;
        multiple = true;
        return int(std::lround(f.lineHeight() * 240 / 100));
    case QTextBlockFormat::FixedHeight: return -twips(f.lineHeight());
    case QTextBlockFormat::MinimumHeight: return twips(f.lineHeight());
    default: return 0;
    }
}

} // namespace

RtfWriter::RtfWriter(const QTextDocument &doc, Mode mode, const DocumentExtras *styles)
    : doc_(doc), source_(&doc), mode_(mode), extras_(styles ? styles : DocumentExtras::find(doc))
{
    QStringDecoder cp1252("windows-1252");
    for (int b = 0xA0; b <= 0xFF; ++b)
        ansi_.insert(char16_t(b), char(b)); // Latin-1 and Windows-1252 agree here
    if (cp1252.isValid()) {
        for (int b = 0x80; b < 0xA0; ++b) {
            const char c = char(b);
            const QString s = cp1252.decode(QByteArrayView(&c, 1));
            if (s.size() == 1 && s[0].unicode() >= 0x100)
                ansi_.insert(s[0].unicode(), c);
        }
    }
}

QByteArray RtfWriter::write()
{
    writeItems(doc_.rootFrame()->begin(), 0, false);
    closeSpans(0);
    QByteArray body;
    std::swap(body, out_);
    QByteArray result = header();
    result += body;
    result += "}\r\n";
    return result;
}

// ---------------------------------------------------------------------------------------------
// Structure

// Blocks and tables of a frame or a cell. In a cell the last paragraph ends with \cell, in a
// part with `lastEnding`. A picture floating in a frame of its own is written in the paragraph
// after it, as the shape it was.
void RtfWriter::writeItems(QTextFrame::iterator it, int tableLevel, bool inCell, const char *lastEnding)
{
    struct Item
    {
        QTextBlock block;
        QTextFrame *frame = nullptr;
    };
    QList<Item> items;
    for (; !it.atEnd(); ++it) {
        if (QTextFrame *frame = it.currentFrame())
            items.append({QTextBlock(), frame});
        else if (it.currentBlock().isValid())
            items.append({it.currentBlock(), nullptr});
    }
    const char *ending = inCell ? (tableLevel >= 2 ? "nestcell" : "cell") : lastEnding ? lastEnding : "par";
    std::vector<const QTextFrame *> shapes;
    bool afterParagraph = false;
    for (qsizetype i = 0; i < items.size(); ++i) {
        const Item &item = items[i];
        if (item.frame) {
            if (auto *table = qobject_cast<QTextTable *>(item.frame)) {
                writeTable(table, tableLevel + 1);
                afterParagraph = false;
            } else if (item.frame->frameFormat().hasProperty(TextFormats::kShapeProperty)) {
                shapes.push_back(item.frame);
            } else {
                writeItems(item.frame->begin(), tableLevel, false); // other frames: their text only
            }
            continue;
        }
        // Qt keeps an empty paragraph in front of a table or frame that opens a frame; reading
        // makes it again, so it is written only when it has a format of its own.
        if (i == 0 && items.size() > 1 && items[1].frame && item.block.length() <= 1
            && item.block.blockFormat().properties().isEmpty())
            continue;
        const bool last = i + 1 == items.size();
        const QTextBlock next = !last && !items[i + 1].frame ? items[i + 1].block : QTextBlock();
        // A part's last paragraph has no \par, unless it is empty: it would not be read without.
        const char *lastWord = lastEnding && !inCell && item.block.length() <= 1 ? "par" : ending;
        shapes_ = std::exchange(shapes, {}); // they stand at the start of this paragraph
        writeBlock(item.block, tableLevel, last && (inCell || lastEnding) ? lastWord : "par", afterParagraph, next);
        afterParagraph = true;
    }
    if (!shapes.empty()) { // no paragraph after them: one of their own
        word("pard");
        for (const QTextFrame *shape : shapes)
            writeShape(shape);
        word("par");
        newline();
    }
}

void RtfWriter::writeBlock(const QTextBlock &block, int tableLevel, const char *ending, bool afterParagraph,
                           const QTextBlock &next)
{
    const bool breakBefore = block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore;
    // Between paragraphs a page break is \page; where no paragraph comes before (after a table,
    // at the start), it is the paragraph's own \pagebb, which other readers take there.
    const bool pageWord = tableLevel == 0 && breakBefore && afterParagraph;
    if (pageWord)
        word("page");
    writeParagraphFormat(block, tableLevel, breakBefore && !pageWord);
    if (block.textList())
        writeListFallback(block);
    for (const QTextFrame *shape : std::exchange(shapes_, {}))
        writeShape(shape);
    writeRuns(block);
    // Fields go on into the next paragraph when it starts inside them; all else closes here.
    QStringList continuing;
    if (next.isValid() && next.begin() != next.end()) {
        continuing = spansOf(next.begin().fragment().charFormat());
        while (!continuing.isEmpty() && continuing.last().startsWith(u"link:"))
            continuing.removeLast();
    }
    qsizetype common = 0;
    while (common < qsizetype(open_.size()) && common < continuing.size() && open_[std::size_t(common)].key == continuing[common])
        ++common;
    closeSpans(common);
    if (paragraphSpans_ > qsizetype(open_.size()))
        writeParagraphFormat(block, tableLevel, false); // the paragraph's words were in a closed group
    writeKept(block.charFormat().stringProperty(TextFormats::kKeptRtfProperty));
    if (state_.script != 0 && block.length() > 1) {
        // Raised or lowered text ends before the paragraph does: LibreOffice drops it otherwise.
        word("nosupersub");
        state_.script = 0;
    }
    if (*ending)
        word(ending);
    newline();
}

void RtfWriter::writeTable(QTextTable *table, int tableLevel)
{
    closeSpans(0);
    const QList<int> rights = cellRights(table);
    for (int r = 0; r < table->rows(); ++r) {
        if (tableLevel == 1)
            writeRowDefinition(table, r, rights);
        for (int c = 0; c < table->columns(); ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (cell.row() == r && cell.column() == c) {
                writeCell(cell, tableLevel);
                continue;
            }
            // A cell covered by a merged one: an empty paragraph keeps the count.
            word("pard");
            word("intbl");
            if (tableLevel > 1)
                word("itap", tableLevel);
            word(tableLevel > 1 ? "nestcell" : "cell");
        }
        if (tableLevel == 1) {
            word("row");
        } else {
            raw("{\\*\\nesttableprops");
            writeRowDefinition(table, r, rights);
            word("nestrow");
            raw("}{\\nonesttables\\par}");
            needSpace_ = false;
        }
        newline();
    }
}

void RtfWriter::writeCell(const QTextTableCell &cell, int tableLevel)
{
    writeItems(cell.begin(), tableLevel, true);
    closeSpans(0);
}

QList<int> RtfWriter::cellRights(QTextTable *table) const
{
    const int columns = table->columns();
    const QList<QTextLength> widths = table->format().columnWidthConstraints();
    QList<int> rights;
    int right = 0;
    for (int c = 0; c < columns; ++c) {
        const QTextLength w = c < widths.size() ? widths[c] : QTextLength();
        int width = kTextWidthTwips / qMax(1, columns);
        if (w.type() == QTextLength::FixedLength)
            width = twips(w.rawValue());
        else if (w.type() == QTextLength::PercentageLength)
            width = int(kTextWidthTwips * w.rawValue() / 100.0);
        right += qBound(15, width, 31680);
        rights.append(right);
    }
    return rights;
}

void RtfWriter::writeRowDefinition(QTextTable *table, int row, const QList<int> &rights)
{
    const QTextTableFormat f = table->format();
    word("trowd");
    word("trgaph", twips(f.cellPadding()));
    const Qt::Alignment align = f.alignment() & Qt::AlignHorizontal_Mask;
    if (align & Qt::AlignHCenter)
        word("trqc");
    else if (align & Qt::AlignRight)
        word("trqr");
    for (int c = 0; c < table->columns(); ++c) {
        const QTextTableCell cell = table->cellAt(row, c);
        if (cell.row() == row && cell.format().hasProperty(TextFormats::kRowHeightProperty)) {
            word("trrh", cell.format().intProperty(TextFormats::kRowHeightProperty));
            break;
        }
    }
    if (row < f.headerRowCount())
        word("trhdr");
    for (int c = 0; c < table->columns(); ++c) {
        const QTextTableCell cell = table->cellAt(row, c);
        writeCellFormat(cell);
        if (cell.columnSpan() > 1)
            word(cell.column() == c ? "clmgf" : "clmrg");
        if (cell.rowSpan() > 1)
            word(cell.row() == row ? "clvmgf" : "clvmrg");
        word("cellx", rights[c]);
    }
}

// A cell's alignment, borders, shading and padding, when it has its own.
void RtfWriter::writeCellFormat(const QTextTableCell &cell)
{
    const QTextTableCellFormat f = cell.format().toTableCellFormat();
    if (f.hasProperty(QTextFormat::TextVerticalAlignment)) {
        switch (f.verticalAlignment()) {
        case QTextCharFormat::AlignTop: word("clvertalt"); break;
        case QTextCharFormat::AlignMiddle: word("clvertalc"); break;
        case QTextCharFormat::AlignBottom: word("clvertalb"); break;
        default: break;
        }
    }
    static constexpr const char *kSides[] = {"clbrdrt", "clbrdrl", "clbrdrb", "clbrdrr"};
    static constexpr QTextFormat::Property kWidth[] = {QTextFormat::TableCellTopBorder, QTextFormat::TableCellLeftBorder,
                                                       QTextFormat::TableCellBottomBorder, QTextFormat::TableCellRightBorder};
    static constexpr QTextFormat::Property kStyle[] = {QTextFormat::TableCellTopBorderStyle, QTextFormat::TableCellLeftBorderStyle,
                                                       QTextFormat::TableCellBottomBorderStyle, QTextFormat::TableCellRightBorderStyle};
    static constexpr QTextFormat::Property kBrush[] = {QTextFormat::TableCellTopBorderBrush, QTextFormat::TableCellLeftBorderBrush,
                                                       QTextFormat::TableCellBottomBorderBrush, QTextFormat::TableCellRightBorderBrush};
    for (int side = 0; side < 4; ++side) {
        if (!f.hasProperty(kStyle[side]))
            continue;
        const int style = f.intProperty(kStyle[side]);
        word(kSides[side]);
        word(borderWord(style));
        if (style == QTextFrameFormat::BorderStyle_None)
            continue;
        word("brdrw", qBound(0, twips(f.doubleProperty(kWidth[side])), 1440));
        const QBrush brush = f.brushProperty(kBrush[side]);
        if (f.hasProperty(kBrush[side]) && brush.style() != Qt::NoBrush)
            word("brdrcf", colorIndex(brush.color()));
    }
    if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush)
        word("clcbpat", colorIndex(f.background().color()));
    static constexpr const char *kPad[] = {"clpadt", "clpadl", "clpadb", "clpadr"};
    static constexpr const char *kPadUnit[] = {"clpadft", "clpadfl", "clpadfb", "clpadfr"};
    static constexpr QTextFormat::Property kPadding[] = {QTextFormat::TableCellTopPadding, QTextFormat::TableCellLeftPadding,
                                                         QTextFormat::TableCellBottomPadding, QTextFormat::TableCellRightPadding};
    for (int side = 0; side < 4; ++side) {
        if (!f.hasProperty(kPadding[side]))
            continue;
        word(kPad[side], qMax(0, twips(f.doubleProperty(kPadding[side]))));
        word(kPadUnit[side], 3);
    }
}

// ---------------------------------------------------------------------------------------------
// Paragraphs

const DocumentStyle *RtfWriter::paragraphStyle(const QTextBlockFormat &f)
{
    if (!extras_ || !f.hasProperty(TextFormats::kParagraphStyleProperty))
        return nullptr;
    const DocumentStyle *style = extras_->style(f.stringProperty(TextFormats::kParagraphStyleProperty),
                                                DocumentStyle::Paragraph);
    if (style)
        stylesUsed_.insert(style->number);
    return style;
}

const DocumentStyle *RtfWriter::characterStyle(const QString &name)
{
    if (!extras_ || name.isEmpty())
        return nullptr;
    const DocumentStyle *style = extras_->style(name, DocumentStyle::Character);
    if (style)
        stylesUsed_.insert(style->number);
    return style;
}

// The paragraph's words: those that differ from the defaults and, after a style, those that
// differ from the style, so readers with and without styles see the same paragraph.
void RtfWriter::writeParagraphFormat(const QTextBlock &block, int tableLevel, bool pageBreakWord)
{
    const QTextBlockFormat f = block.blockFormat();
    const DocumentStyle *style = paragraphStyle(f);
    const QTextBlockFormat base = style ? style->blockFormat : QTextBlockFormat();
    word("pard");
    if (style) {
        word("plain");
        word("s", style->number);
        styleBase_ = stateOf(style->charFormat, true);
        state_ = CharState();
    }
    paragraphSpans_ = qsizetype(open_.size());
    if (tableLevel > 0)
        word("intbl");
    if (tableLevel > 1)
        word("itap", tableLevel);
    const int align = alignmentCode(f);
    if (align != 0 || alignmentCode(base) != 0) {
        static constexpr const char *kAlign[] = {"ql", "qr", "qc", "qj"};
        word(kAlign[align]);
    }
    const bool rtl = f.layoutDirection() == Qt::RightToLeft;
    if (rtl || (base.layoutDirection() == Qt::RightToLeft))
        word(rtl ? "rtlpar" : "ltrpar");
    QTextList *list = block.textList();
    const int left = twips(TextFormats::leftIndentPixels(block));
    const int first = list ? -360 : twips(f.textIndent());
    auto differs = [](int value, int styleValue) { return value != 0 || styleValue != 0; };
    if (differs(left, twips(base.leftMargin())))
        word("li", left);
    if (differs(twips(f.rightMargin()), twips(base.rightMargin())))
        word("ri", twips(f.rightMargin()));
    if (differs(first, twips(base.textIndent())))
        word("fi", first);
    if (differs(twips(f.topMargin()), twips(base.topMargin())))
        word("sb", twips(f.topMargin()));
    word("sa", twips(f.bottomMargin())); // some readers assume a spacing after when it is absent
    bool multiple = false, baseMultiple = false;
    const int spacing = lineSpacingTwips(f, multiple);
    if (spacing != 0 || lineSpacingTwips(base, baseMultiple) != 0) {
        word("sl", spacing);
        if (multiple || baseMultiple)
            word("slmult", multiple ? 1 : 0);
    }
    for (const QTextOption::Tab &tab : f.tabPositions()) {
        if (tab.type == QTextOption::RightTab)
            word("tqr");
        else if (tab.type == QTextOption::CenterTab)
            word("tqc");
        else if (tab.type == QTextOption::DelimiterTab)
            word("tqdec");
        word("tx", twips(tab.position));
    }
    if (pageBreakWord)
        word("pagebb");
    else if (tableLevel == 0 && (base.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
             && !(f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore))
        word("pagebb", 0);
    if (list) {
        word("ls", listIndex(list));
        word("ilvl", levelOf(list));
    }
}

// The older list form and the list's number as text, for readers without \listtable.
void RtfWriter::writeListFallback(const QTextBlock &block)
{
    QTextList *list = block.textList();
    const QTextListFormat f = list->format();
    const int item = ++itemsWritten_[list];
    if (f.style() == QTextListFormat::ListStyleUndefined)
        return; // a level without a number shows nothing
    const bool bullet = isBullet(f.style());
    raw("{\\pntext");
    needSpace_ = true;
    text(bullet ? bulletOf(f.style()) : numberText(f, startOf(f) - 1 + item));
    word("tab");
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
    word("ilvl", levelOf(list));
}

void RtfWriter::writeRuns(const QTextBlock &block)
{
    std::vector<QTextFragment> fragments;
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it)
        fragments.push_back(it.fragment());
    QString lastAuto;
    for (std::size_t i = 0; i < fragments.size(); ++i) {
        const QTextFragment &fragment = fragments[i];
        const QTextCharFormat f = fragment.charFormat();
        openSpans(spansOf(f));
        writeKept(f.stringProperty(TextFormats::kKeptRtfProperty));
        const QString shown = f.stringProperty(TextFormats::kShownOnlyProperty);
        if (!shown.isEmpty()) { // the text shows kept RTF, which is written instead
            writeKept(shown);
            lastAuto.clear();
            continue;
        }
        switchTo(stateOf(f));
        const QString note = f.stringProperty(TextFormats::kNoteProperty);
        const QString autoText = f.stringProperty(TextFormats::kAutoTextProperty);
        const QString mark = f.stringProperty(TextFormats::kMarkIdProperty) + note;
        if (f.isImageFormat()) {
            for (int k = 0; k < fragment.length(); ++k)
                writeImage(f.toImageFormat());
        } else if (autoText == u"chftn" || autoText == u"chpgn") {
            if (autoText + mark != lastAuto) // once for a mark in several runs
                word(autoText == u"chftn" ? "chftn" : "chpgn");
        } else {
            text(fragment.text());
        }
        lastAuto = autoText.isEmpty() ? QString() : autoText + mark;
        auto markOf = [](const QTextCharFormat &g) {
            return g.stringProperty(TextFormats::kMarkIdProperty) + g.stringProperty(TextFormats::kNoteProperty);
        };
        const bool noteEnds = i + 1 == fragments.size() || markOf(fragments[i + 1].charFormat()) != mark;
        if (!note.isEmpty() && noteEnds)
            writeNote(f);
    }
    if (block.length() <= 1)
        switchTo(stateOf(block.charFormat())); // an empty paragraph keeps its size
}

// ---------------------------------------------------------------------------------------------
// Fields, hyperlinks and kept RTF

// What a run stands inside: its fields, outermost first, and its hyperlink, innermost.
QStringList RtfWriter::spansOf(const QTextCharFormat &format)
{
    QStringList spans;
    const QString fields = format.stringProperty(TextFormats::kFieldsProperty);
    if (!fields.isEmpty())
        spans = KeptRtf::split(fields);
    if (format.isAnchor() && !format.anchorHref().isEmpty())
        spans.append(QStringLiteral("link:") + format.anchorHref());
    return spans;
}

void RtfWriter::openSpans(const QStringList &spans)
{
    qsizetype common = 0;
    while (common < qsizetype(open_.size()) && common < spans.size() && open_[std::size_t(common)].key == spans[common])
        ++common;
    closeSpans(common);
    for (qsizetype i = common; i < spans.size(); ++i) {
        const QString &span = spans[i];
        open_.push_back({span, state_, styleBase_});
        if (span.startsWith(u"link:")) {
            QString target = span.mid(5);
            raw("{\\field{\\*\\fldinst{HYPERLINK ");
            target.replace(u'"', QStringLiteral("%22"));
            if (target.startsWith(u'#')) {
                raw("\\\\l ");
                target.remove(0, 1);
            }
            raw("\"");
            needSpace_ = false;
            text(target);
            raw("\"}}{\\fldrslt{");
            needSpace_ = false;
            continue;
        }
        // The field's group without its closing brace, then its result.
        QByteArray group;
        if (!writeKeptContent(span, group) || !group.endsWith('}')) {
            group = "{\\field";
        } else {
            group.chop(1);
        }
        const bool object = group.startsWith("{\\object");
        raw(group);
        raw(object ? "{\\result " : "{\\fldrslt ");
        needSpace_ = false;
    }
}

// Closes the spans past the first `keep`, innermost first.
void RtfWriter::closeSpans(qsizetype keep)
{
    while (qsizetype(open_.size()) > keep) {
        const OpenSpan span = open_.back();
        open_.pop_back();
        raw(span.key.startsWith(u"link:") ? "}}}" : "}}");
        needSpace_ = false;
        state_ = span.saved;
        styleBase_ = span.savedBase;
    }
}

void RtfWriter::writeKept(const QString &kept)
{
    if (kept.isEmpty())
        return;
    for (const QString &part : KeptRtf::split(kept)) {
        const KeptRtf::Parts parts = KeptRtf::parse(part);
        if (!parts.id.isEmpty() && keptWritten_.contains(parts.id))
            continue; // already written where an edit spread it
        if (!parts.id.isEmpty())
            keptWritten_.insert(parts.id);
        bool endsInWord = false;
        QByteArray bytes;
        if (!copierFor(parts).copy(parts.content, bytes, &endsInWord))
            continue;
        raw(bytes);
        needSpace_ = endsInWord;
    }
}

RtfGroupCopier RtfWriter::copierFor(const KeptRtf::Parts &parts)
{
    RtfGroupCopier copier;
    copier.mapFont = [this, fonts = parts.fonts](int i) { return i >= 0 && i < fonts.size() ? fontIndex(fonts[i]) : 0; };
    copier.mapColor = [this, colors = parts.colors](int i) {
        return i > 0 && i < colors.size() && colors[i].isValid() ? colorIndex(colors[i]) : 0;
    };
    return copier;
}

// The kept groups of `kept` in this document's tables.
bool RtfWriter::writeKeptContent(const QString &kept, QByteArray &out,
                                 const std::function<void(QByteArrayView, QByteArray &)> &beforeClose)
{
    const KeptRtf::Parts parts = KeptRtf::parse(kept);
    RtfGroupCopier copier = copierFor(parts);
    copier.beforeClose = beforeClose;
    return copier.copy(parts.content, out);
}

void RtfWriter::writeNote(const QTextCharFormat &format)
{
    const QByteArray rtf = TextFormats::rtfBytes(format.stringProperty(TextFormats::kNoteProperty));
    raw("{\\*\\footnote");
    needSpace_ = true;
    if (format.intProperty(TextFormats::kNoteKindProperty) == NoteSettings::Endnote)
        word("ftnalt");
    const CharState saved = state_;
    writePart(rtf);
    raw("}");
    needSpace_ = false;
    state_ = saved;
    styleBase_.reset();
}

// A part (a note, a header) written in this document's tables, inside the group the caller
// opened.
void RtfWriter::writePart(const QByteArray &rtf)
{
    if (partDepth_ >= kMaxPartDepth)
        return;
    QTextDocument part;
    part.setDefaultFont(doc_.defaultFont());
    RtfCodec::read(rtf, part);
    ++partDepth_;
    const QTextDocument *saved = source_;
    source_ = &part;
    std::vector<OpenSpan> outerSpans = std::exchange(open_, {});
    const qsizetype outerParagraph = paragraphSpans_;
    writeItems(part.rootFrame()->begin(), 0, false, "");
    closeSpans(0);
    open_ = std::move(outerSpans);
    paragraphSpans_ = outerParagraph;
    source_ = saved;
    --partDepth_;
    // The part's lists end with it.
    for (QTextList *list : part.findChildren<QTextList *>()) {
        listOf_.remove(list);
        itemsWritten_.remove(list);
    }
}

// ---------------------------------------------------------------------------------------------
// Pictures

void RtfWriter::writeImage(const QTextImageFormat &format)
{
    const QUrl url(format.name());
    QByteArray bytes = source_->resource(TextFormats::kOriginalImageResource, TextFormats::originalImageUrl(url)).toByteArray();
    QByteArray type = format.property(TextFormats::kImageTypeProperty).toString().toLatin1();
    QSize native = format.property(TextFormats::kImageNativeSizeProperty).toSize();
    if (bytes.isEmpty() || type.isEmpty()) {
        const QVariant resource = source_->resource(QTextDocument::ImageResource, url);
        QImage image;
        if (resource.userType() == QMetaType::QByteArray) {
            bytes = resource.toByteArray();
            type = sniffType(bytes);
            if (type.isEmpty())
                image = QImage::fromData(bytes);
        } else if (resource.userType() == QMetaType::QImage) {
            image = resource.value<QImage>();
        } else if (resource.userType() == QMetaType::QPixmap) {
            image = resource.value<QPixmap>().toImage();
        }
        if (type.isEmpty()) {
            if (image.isNull())
                return;
            bytes.clear();
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            if (!image.save(&buffer, "PNG"))
                return; // too large for PNG: nothing that readers could show
            type = "png";
        }
        native = QSize();
    }
    const bool raster = type == "png" || type == "jpeg";
    if (raster)
        native = encodedSize(bytes);
    const double width = format.width() > 0 ? format.width() : native.width();
    const double height = format.height() > 0 ? format.height() : native.height();
    raw("{\\pict");
    if (type == "png")
        word("pngblip");
    else if (type == "jpeg")
        word("jpegblip");
    else if (type == "emf")
        word("emfblip");
    else if (type == "wmf")
        word("wmetafile", 8);
    else
        word("macpict");
    if (native.isValid()) {
        word("picw", native.width());
        word("pich", native.height());
    }
    word("picwgoal", twips(width));
    word("pichgoal", twips(height));
    const QByteArray hex = bytes.toHex();
    for (qsizetype i = 0; i < hex.size(); i += 2 * kHexBytesPerLine) {
        newline();
        raw(QByteArrayView(hex).sliced(i, qMin<qsizetype>(2 * kHexBytesPerLine, hex.size() - i)));
    }
    raw("}");
    needSpace_ = false;
}

// A floating picture: its kept shape with the picture put back as the shape's pib property.
void RtfWriter::writeShape(const QTextFrame *frame)
{
    QTextCharFormat image;
    for (QTextFrame::iterator it = frame->begin(); !it.atEnd() && !image.isImageFormat(); ++it)
        for (QTextBlock::iterator f = it.currentBlock().begin(); !f.atEnd(); ++f)
            if (f.fragment().charFormat().isImageFormat()) {
                image = f.fragment().charFormat();
                break;
            }
    if (!image.isImageFormat())
        return;
    openSpans(spansOf(image)); // a field the picture is the result of (LibreOffice's SHAPE)
    writeKept(image.stringProperty(TextFormats::kKeptRtfProperty)); // what stood before the picture
    QByteArray picture;
    std::swap(picture, out_);
    writeImage(image.toImageFormat());
    std::swap(picture, out_);
    bool injected = false;
    auto inject = [&](QByteArrayView group, QByteArray &out) {
        if (injected || (group != QByteArrayView("shpinst") && group != QByteArrayView("shp")))
            return;
        injected = true;
        out += "{\\sp{\\sn pib}{\\sv " + picture + "}}";
    };
    QByteArray shape;
    if (!writeKeptContent(frame->frameFormat().stringProperty(TextFormats::kShapeProperty), shape, inject) || !injected) {
        raw(picture); // no shape to put it in: the picture where it stood
        return;
    }
    raw(shape);
    needSpace_ = false;
}

// ---------------------------------------------------------------------------------------------
// Character formatting

// The state of a format, its fonts and colours put in the tables; or, for a style's state, looked
// up only (what the tables lack is -2, which no run has).
RtfWriter::CharState RtfWriter::stateOf(const QTextCharFormat &f, bool lookUpOnly)
{
    const QFont &base = doc_.defaultFont();
    auto colorIndexOf = [&](const QColor &c) {
        return lookUpOnly ? colorIndex_.value(c.rgb() | 0xFF000000u, -2) : colorIndex(c);
    };
    CharState s;
    s.font = lookUpOnly ? -1 : fontIndex(TextFormats::family(f, base));
    const double size = TextFormats::pointSize(f, base);
    s.halfPoints = size > 0 ? int(std::lround(size * 2)) : 24;
    s.bold = TextFormats::isBold(f);
    s.italic = f.fontItalic();
    if (TextFormats::isUnderlined(f))
        s.underline = f.hasProperty(QTextFormat::TextUnderlineStyle) ? int(f.underlineStyle())
                                                                     : int(QTextCharFormat::SingleUnderline);
    s.strike = f.fontStrikeOut();
    const QBrush fg = f.foreground();
    if (f.hasProperty(QTextFormat::ForegroundBrush) && fg.style() != Qt::NoBrush)
        s.foreground = colorIndexOf(fg.color());
    const QBrush bg = f.background();
    if (f.hasProperty(QTextFormat::BackgroundBrush) && bg.style() != Qt::NoBrush)
        s.background = colorIndexOf(bg.color());
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        s.script = 1;
    else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
        s.script = 2;
    s.offset = int(std::lround(TextFormats::charOffsetTwips(f, base) / 10.0));
    s.caps = f.fontCapitalization() == QFont::AllUppercase;
    s.smallCaps = f.fontCapitalization() == QFont::SmallCaps;
    if (!lookUpOnly)
        if (const DocumentStyle *style = characterStyle(f.stringProperty(TextFormats::kCharacterStyleProperty)))
            s.charStyle = style->number;
    return s;
}

QByteArray RtfWriter::changes(const CharState &from, const CharState &to)
{
    return changesFromEither(from, from, to);
}

// The words that bring either of two states to the target: every property where one of them
// differs from it.
QByteArray RtfWriter::changesFromEither(const CharState &a, const CharState &b, const CharState &to)
{
    QByteArray w;
    if (a.font != to.font || b.font != to.font)
        w += cw("f", to.font);
    if (a.halfPoints != to.halfPoints || b.halfPoints != to.halfPoints)
        w += cw("fs", to.halfPoints);
    if (a.bold != to.bold || b.bold != to.bold)
        w += to.bold ? cw("b") : cw("b", 0);
    if (a.italic != to.italic || b.italic != to.italic)
        w += to.italic ? cw("i") : cw("i", 0);
    if (a.underline != to.underline || b.underline != to.underline)
        w += to.underline ? cw(underlineWord(to.underline)) : cw("ulnone");
    if (a.strike != to.strike || b.strike != to.strike)
        w += to.strike ? cw("strike") : cw("strike", 0);
    if (a.foreground != to.foreground || b.foreground != to.foreground)
        w += cw("cf", to.foreground);
    if (a.background != to.background || b.background != to.background)
        w += cw("highlight", to.background);
    if (a.script != to.script || b.script != to.script)
        w += to.script == 1 ? cw("super") : to.script == 2 ? cw("sub") : cw("nosupersub");
    if (a.offset != to.offset || b.offset != to.offset)
        w += to.offset >= 0 ? cw("up", to.offset) : cw("dn", -to.offset);
    if (a.caps != to.caps || b.caps != to.caps)
        w += to.caps ? cw("caps") : cw("caps", 0);
    if (a.smallCaps != to.smallCaps || b.smallCaps != to.smallCaps)
        w += to.smallCaps ? cw("scaps") : cw("scaps", 0);
    return w;
}

// Writes the words from the current state to the target, or \plain and the words from the
// defaults, whichever is shorter. Raised and lowered text always ends with \nosupersub, which
// some readers need. After a style (\plain\sN, \csN) the words bring both a reader that applies
// styles and one that does not to the target; the font is always named there, since what a
// style without a font falls back to differs between readers.
void RtfWriter::switchTo(const CharState &target)
{
    const bool leavingScript = state_.script != 0 && target.script == 0;
    QByteArray words;
    if (target.charStyle >= 0 && (styleBase_ || target.charStyle != state_.charStyle)) {
        words = (leavingScript ? cw("nosupersub") : QByteArray()) + "\\plain" + cw("cs", target.charStyle);
        words += changesFromEither(withoutFont(characterStyleState(target.charStyle)), CharState(), target);
    } else if (styleBase_) {
        words = changesFromEither(withoutFont(*styleBase_), state_, target);
    } else if (target.charStyle != state_.charStyle) { // leaving a character style
        words = (leavingScript ? cw("nosupersub") : QByteArray()) + "\\plain" + changes(CharState(), target);
    } else {
        if (target == state_)
            return;
        const QByteArray direct = changes(state_, target);
        const QByteArray plain = "\\plain" + changes(CharState(), target);
        words = !leavingScript && plain.size() < direct.size() ? plain : direct;
    }
    styleBase_.reset();
    raw(words);
    needSpace_ = true;
    state_ = target;
}

// A state whose font differs from every font, so the words after it always name the font.
RtfWriter::CharState RtfWriter::withoutFont(CharState s)
{
    s.font = -1;
    return s;
}

RtfWriter::CharState RtfWriter::characterStyleState(int number)
{
    CharState state;
    if (extras_)
        for (const DocumentStyle &style : extras_->styles())
            if (style.number == number && style.kind == DocumentStyle::Character)
                state = stateOf(style.charFormat, true);
    state.charStyle = number;
    return state;
}

// ---------------------------------------------------------------------------------------------
// Output

void RtfWriter::word(const char *name)
{
    out_ += '\\';
    out_ += name;
    needSpace_ = true;
}

void RtfWriter::word(const char *name, long long value)
{
    word(name);
    out_ += QByteArray::number(value);
}

void RtfWriter::raw(QByteArrayView bytes)
{
    out_.append(bytes);
}

void RtfWriter::newline()
{
    out_ += "\r\n";
    needSpace_ = false;
}

void RtfWriter::text(QStringView s)
{
    const bool symbolFont = state_.font >= 0 && state_.font < fonts_.size()
                         && RtfSymbolFonts::fontNamed(fonts_[state_.font].name) != RtfSymbolFonts::None;
    for (const QChar ch : s) {
        const char16_t c = ch.unicode();
        if (symbolFont && c >= 0x20 && c < 0x80) {
            // In a symbol font a byte stands for a symbol, so even ASCII goes as \uN there.
            word("u", int(c));
            out_ += '?';
            needSpace_ = false;
            continue;
        }
        switch (c) {
        case u'\\': raw("\\\\"); needSpace_ = false; continue;
        case u'{': raw("\\{"); needSpace_ = false; continue;
        case u'}': raw("\\}"); needSpace_ = false; continue;
        case u'\t': word("tab"); continue;
        case 0x2028: word("line"); continue;
        case 0x00A0: raw("\\~"); needSpace_ = false; continue;
        case 0x00AD: raw("\\-"); needSpace_ = false; continue;
        case 0x2011: raw("\\_"); needSpace_ = false; continue;
        default: break;
        }
        if (c == QChar::ObjectReplacementCharacter || c == u'\n' || c == u'\r')
            continue; // an object character without a picture stands for nothing
        if (c < 0x20) { // a control character the user put in: spelled out, so it reads back
            word("u", int(c));
            out_ += '?';
            needSpace_ = false;
            continue;
        }
        if (c < 0x80) {
            if (needSpace_)
                out_ += ' ';
            out_ += char(c);
            needSpace_ = false;
            continue;
        }
        word("u", c > 32767 ? int(c) - 65536 : int(c));
        const auto fallback = ansi_.constFind(c);
        if (fallback == ansi_.cend()) {
            out_ += " ?";
        } else {
            out_ += "\\'";
            out_ += QByteArray(1, *fallback).toHex();
        }
        needSpace_ = false;
    }
}

// Text of the head (names, document information), whatever font the body is in.
void RtfWriter::plainText(QStringView s)
{
    const int font = state_.font;
    state_.font = -1;
    text(s);
    state_.font = font;
}

int RtfWriter::fontIndex(const QString &family)
{
    QString name = family;
    name.remove(u';');
    const auto found = fontIndex_.constFind(name);
    if (found != fontIndex_.cend())
        return *found;
    fonts_.append({name, 0, 0});
    fontIndex_.insert(name, int(fonts_.size()) - 1);
    return int(fonts_.size()) - 1;
}

// A font of kept RTF: with its character set when it has one, so its bytes read as they did.
int RtfWriter::fontIndex(const KeptRtf::Font &font)
{
    const bool plain = (font.charset == 0 || font.charset == 1) && font.codePage <= 0;
    if (plain)
        return fontIndex(font.name);
    QString name = font.name;
    name.remove(u';');
    const QString key = name + u'\n' + QString::number(font.charset) + u'\n' + QString::number(font.codePage);
    const auto found = fontIndex_.constFind(key);
    if (found != fontIndex_.cend())
        return *found;
    fonts_.append({name, qBound(0, font.charset, 255), font.codePage});
    fontIndex_.insert(key, int(fonts_.size()) - 1);
    return int(fonts_.size()) - 1;
}

// Index in the colour table; 0 is the automatic colour.
int RtfWriter::colorIndex(const QColor &color)
{
    const QRgb rgb = color.rgb() | 0xFF000000u;
    const auto found = colorIndex_.constFind(rgb);
    if (found != colorIndex_.cend())
        return *found;
    colors_.append(rgb);
    colorIndex_.insert(rgb, int(colors_.size()));
    return int(colors_.size());
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
    std::optional<QTextListFormat> &level = listGroups_[group].levels[std::size_t(levelOf(list))];
    if (!level)
        level = f;
    listOf_.insert(list, group);
    return group + 1;
}

// ---------------------------------------------------------------------------------------------
// The head of the file

QByteArray RtfWriter::header()
{
    // What the head holds is written first, so its fonts and colours are in the tables.
    const QByteArray styles = styleSheet();
    const QByteArray info = information();
    const QByteArray document = documentWords();
    const QByteArray lists = listTables();
    QByteArray head = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\r\n";
    head += fontTable();
    QByteArray colors = "{\\colortbl;";
    for (const QRgb rgb : std::as_const(colors_))
        colors += cw("red", qRed(rgb)) + cw("green", qGreen(rgb)) + cw("blue", qBlue(rgb)) + ';';
    head += colors + "}\r\n";
    head += styles + lists + info + document;
    return head;
}

QByteArray RtfWriter::fontTable()
{
    if (fonts_.isEmpty())
        fontIndex(doc_.defaultFont().family());
    QByteArray saved;
    std::swap(saved, out_);
    raw("{\\fonttbl");
    for (qsizetype i = 0; i < fonts_.size(); ++i) {
        raw("{");
        word("f", i);
        word("fnil");
        word("fcharset", fonts_[i].charset);
        if (fonts_[i].codePage > 0)
            word("cpg", fonts_[i].codePage);
        needSpace_ = true;
        plainText(fonts_[i].name);
        raw(";}");
        needSpace_ = false;
    }
    raw("}");
    newline();
    std::swap(saved, out_);
    return saved;
}

// The stylesheet as it was read: a whole document's every style, a part's the styles it uses
// and their bases.
QByteArray RtfWriter::styleSheet()
{
    if (!extras_ || extras_->styles().isEmpty())
        return QByteArray();
    QSet<int> wanted = stylesUsed_;
    if (mode_ == Part) {
        for (bool grew = true; grew;) {
            grew = false;
            for (const DocumentStyle &s : extras_->styles())
                if (wanted.contains(s.number) && s.basedOn >= 0 && !wanted.contains(s.basedOn)) {
                    wanted.insert(s.basedOn);
                    grew = true;
                }
        }
        if (wanted.isEmpty())
            return QByteArray();
    }
    QByteArray saved;
    std::swap(saved, out_);
    raw("{\\stylesheet");
    for (const DocumentStyle &s : extras_->styles()) {
        if (mode_ == Part && !wanted.contains(s.number))
            continue;
        QByteArray entry;
        if (writeKeptContent(s.definition, entry) && !entry.isEmpty()) {
            newline();
            raw(entry);
        }
    }
    raw("}");
    newline();
    std::swap(saved, out_);
    return saved;
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
            const QString kept = f.stringProperty(TextFormats::kListLevelTextProperty);
            const qsizetype colon = kept.indexOf(u':');
            if (colon > 0 && kept.left(colon).toInt() == numberFormat(style) && kept.size() > colon + 1)
                level = kept.mid(colon + 2, kept[colon + 1].unicode()); // as read: "1.1." back as it was
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
            word("fi", -360);
            word("li", twips(doc_.indentWidth() * (k + 1)));
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

QByteArray RtfWriter::information()
{
    if (mode_ != Whole || !extras_ || extras_->info().isEmpty())
        return QByteArray();
    const DocumentInfo &info = extras_->info();
    QByteArray saved;
    std::swap(saved, out_);
    raw("{\\info");
    for (auto it = info.texts.cbegin(); it != info.texts.cend(); ++it) {
        raw("{\\" + it.key().toLatin1());
        needSpace_ = true;
        plainText(it.value());
        raw("}");
        needSpace_ = false;
    }
    for (auto it = info.dates.cbegin(); it != info.dates.cend(); ++it) {
        const QDateTime &t = it.value();
        raw("{\\" + it.key().toLatin1());
        word("yr", t.date().year());
        word("mo", t.date().month());
        word("dy", t.date().day());
        word("hr", t.time().hour());
        word("min", t.time().minute());
        word("sec", t.time().second());
        raw("}");
        needSpace_ = false;
    }
    raw("}");
    newline();
    std::swap(saved, out_);
    return saved;
}

// The rest of the head: kept groups, page set-up, note numbering, then the section with its
// headers and footers.
QByteArray RtfWriter::documentWords()
{
    if (mode_ != Whole || !extras_)
        return QByteArray();
    const DocumentExtras &x = *extras_;
    QByteArray saved;
    std::swap(saved, out_);
    const CharState bodyState = state_;
    state_ = CharState();
    if (const auto &page = x.pageSetup()) {
        word("paperw", page->paperWidth);
        word("paperh", page->paperHeight);
        word("margl", page->marginLeft);
        word("margr", page->marginRight);
        word("margt", page->marginTop);
        word("margb", page->marginBottom);
        if (page->landscape)
            word("landscape");
    }
    if (x.facingPages())
        word("facingp");
    if (const auto &notes = x.noteSettings()) {
        static constexpr const char *kFootnote[] = {"ftnnar", "ftnnalc", "ftnnauc", "ftnnrlc", "ftnnruc", "ftnnchi"};
        static constexpr const char *kEndnote[] = {"aftnnar", "aftnnalc", "aftnnauc", "aftnnrlc", "aftnnruc", "aftnnchi"};
        static constexpr const char *kRestart[] = {"ftnrstcont", "ftnrestart", "ftnrstpg"};
        word(notes->footnotesBeneathText ? "ftntj" : "ftnbj");
        word(notes->endnotesAtSectionEnd ? "aendnotes" : "aenddoc");
        word(kFootnote[notes->footnoteFormat]);
        word(kEndnote[notes->endnoteFormat]);
        word("ftnstart", notes->footnoteStart);
        word("aftnstart", notes->endnoteStart);
        word(kRestart[notes->footnoteRestart]);
        word(notes->endnoteRestart == NoteSettings::Continuous ? "aftnrstcont" : "aftnrestart");
        word("fet", notes->noteTypes);
    }
    bool anyPart = false;
    for (int kind = 0; kind < HeaderFooter::kKinds; ++kind)
        anyPart = anyPart || !x.headerFooter(HeaderFooter::Kind(kind)).isEmpty();
    if (anyPart || x.titlePage() || x.pageSetup()) {
        word("sectd");
        if (x.titlePage())
            word("titlepg");
        if (const auto &page = x.pageSetup()) { // the section's page too, which readers take first
            word("pgwsxn", page->paperWidth);
            word("pghsxn", page->paperHeight);
            word("marglsxn", page->marginLeft);
            word("margrsxn", page->marginRight);
            word("margtsxn", page->marginTop);
            word("margbsxn", page->marginBottom);
            if (page->landscape)
                word("lndscpsxn");
            word("headery", page->headerDistance);
            word("footery", page->footerDistance);
        }
    }
    for (int kind = 0; kind < HeaderFooter::kKinds; ++kind) {
        const QByteArray part = x.headerFooter(HeaderFooter::Kind(kind));
        if (part.isEmpty())
            continue;
        newline();
        raw("{\\");
        raw(HeaderFooter::word(HeaderFooter::Kind(kind)));
        needSpace_ = true;
        state_ = CharState();
        writePart(part);
        raw("}");
        needSpace_ = false;
    }
    // Kept groups of the head come after the headers, which a reader takes as the first ones.
    state_ = CharState();
    writeKept(x.keptHead());
    styleBase_.reset();
    state_ = bodyState;
    if (!out_.isEmpty())
        newline();
    std::swap(saved, out_);
    return saved;
}
