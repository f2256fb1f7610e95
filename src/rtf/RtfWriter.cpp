#include "rtf/RtfWriter.h"
#include "rtf/RtfListTable.h"
#include "rtf/RtfSymbolFonts.h"
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
    case QTextListFormat::ListLowerRoman: number = item < 5000 ? romanNumber(item) : QString::number(item); break;
    case QTextListFormat::ListUpperRoman:
        number = item < 5000 ? romanNumber(item).toUpper() : QString::number(item);
        break;
    default: number = QString::number(item); break;
    }
    return f.numberPrefix().left(RtfListTable::kMaxNumberText) + number
         + numberSuffix(f).left(RtfListTable::kMaxNumberText);
}

int levelOf(const QTextList *list) { return qBound(0, list->format().indent() - 1, 8); }

} // namespace

RtfWriter::RtfWriter(const QTextDocument &doc) : doc_(doc)
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
    closeLink();
    QByteArray body;
    std::swap(body, out_);
    QByteArray result = header();
    result += body;
    result += "}\r\n";
    return result;
}

// ---------------------------------------------------------------------------------------------
// Structure

// Blocks and tables of a frame or a cell. In a cell the last paragraph ends with \cell.
void RtfWriter::writeItems(QTextFrame::iterator it, int tableLevel, bool inCell)
{
    struct Item
    {
        QTextBlock block;
        QTextTable *table = nullptr;
    };
    QList<Item> items;
    for (; !it.atEnd(); ++it) {
        if (QTextFrame *frame = it.currentFrame()) {
            if (auto *table = qobject_cast<QTextTable *>(frame))
                items.append({QTextBlock(), table});
            else
                writeItems(frame->begin(), tableLevel, false); // other frames: their text only
        } else if (it.currentBlock().isValid()) {
            items.append({it.currentBlock(), nullptr});
        }
    }
    const char *ending = tableLevel >= 2 ? "nestcell" : "cell";
    for (qsizetype i = 0; i < items.size(); ++i) {
        const Item &item = items[i];
        if (item.table) {
            writeTable(item.table, tableLevel + 1);
            continue;
        }
        // Qt keeps an empty paragraph in front of a table that opens a frame; reading makes it
        // again, so it is written only when it has a format of its own.
        if (i == 0 && items.size() > 1 && items[1].table && item.block.length() <= 1
            && item.block.blockFormat().properties().isEmpty())
            continue;
        const bool last = i + 1 == items.size();
        writeBlock(item.block, tableLevel, inCell && last ? ending : "par");
    }
}

void RtfWriter::writeBlock(const QTextBlock &block, int tableLevel, const char *ending)
{
    if (tableLevel == 0 && (block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore))
        word("page");
    writeParagraphFormat(block, tableLevel);
    if (block.textList())
        writeListFallback(block);
    writeRuns(block);
    word(ending);
    newline();
}

void RtfWriter::writeTable(QTextTable *table, int tableLevel)
{
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
        if (cell.columnSpan() > 1)
            word(cell.column() == c ? "clmgf" : "clmrg");
        if (cell.rowSpan() > 1)
            word(cell.row() == row ? "clvmgf" : "clvmrg");
        word("cellx", rights[c]);
    }
}

// ---------------------------------------------------------------------------------------------
// Paragraphs

void RtfWriter::writeParagraphFormat(const QTextBlock &block, int tableLevel)
{
    const QTextBlockFormat f = block.blockFormat();
    word("pard");
    if (tableLevel > 0)
        word("intbl");
    if (tableLevel > 1)
        word("itap", tableLevel);
    const Qt::Alignment align = f.alignment() & Qt::AlignHorizontal_Mask;
    if (align & Qt::AlignJustify)
        word("qj");
    else if (align & Qt::AlignHCenter)
        word("qc");
    else if (align & (Qt::AlignRight | Qt::AlignTrailing))
        word("qr");
    QTextList *list = block.textList();
    const int left = twips(TextFormats::leftIndentPixels(block));
    const int first = list ? -360 : twips(f.textIndent());
    if (left != 0)
        word("li", left);
    if (f.rightMargin() != 0)
        word("ri", twips(f.rightMargin()));
    if (first != 0)
        word("fi", first);
    if (f.topMargin() != 0)
        word("sb", twips(f.topMargin()));
    word("sa", twips(f.bottomMargin())); // some readers assume a spacing after when it is absent
    switch (f.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        if (f.lineHeight() != 100) {
            word("sl", std::lround(f.lineHeight() * 240 / 100));
            word("slmult", 1);
        }
        break;
    case QTextBlockFormat::FixedHeight: word("sl", -twips(f.lineHeight())); break;
    case QTextBlockFormat::MinimumHeight: word("sl", twips(f.lineHeight())); break;
    default: break;
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
    const bool bullet = isBullet(f.style());
    raw("{\\pntext");
    needSpace_ = true;
    const int item = ++itemsWritten_[list];
    text(bullet ? bulletOf(f.style()) : numberText(f, item));
    word("tab");
    raw("}{\\*\\pn");
    if (bullet) {
        word("pnlvlblt");
    } else {
        word("pnlvlbody");
        word(oldListStyleWord(f.style()));
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
    needSpace_ = false;
}

void RtfWriter::writeRuns(const QTextBlock &block)
{
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat f = fragment.charFormat();
        const QString href = f.isAnchor() ? f.anchorHref() : QString();
        if (href != link_) {
            closeLink();
            if (!href.isEmpty())
                openLink(href);
        }
        switchTo(stateOf(f));
        if (f.isImageFormat()) {
            for (int i = 0; i < fragment.length(); ++i)
                writeImage(f.toImageFormat());
        } else {
            text(fragment.text());
        }
    }
    closeLink();
    if (block.length() <= 1)
        switchTo(stateOf(block.charFormat())); // an empty paragraph keeps its size
}

void RtfWriter::openLink(const QString &href)
{
    savedState_ = state_;
    link_ = href;
    raw("{\\field{\\*\\fldinst{HYPERLINK ");
    QString target = href;
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
}

void RtfWriter::closeLink()
{
    if (link_.isEmpty())
        return;
    raw("}}}");
    needSpace_ = false;
    state_ = savedState_;
    link_.clear();
}

// ---------------------------------------------------------------------------------------------
// Pictures

void RtfWriter::writeImage(const QTextImageFormat &format)
{
    const QUrl url(format.name());
    QByteArray bytes = doc_.resource(TextFormats::kOriginalImageResource, TextFormats::originalImageUrl(url)).toByteArray();
    QByteArray type = format.property(TextFormats::kImageTypeProperty).toString().toLatin1();
    QSize native = format.property(TextFormats::kImageNativeSizeProperty).toSize();
    if (bytes.isEmpty() || type.isEmpty()) {
        const QVariant resource = doc_.resource(QTextDocument::ImageResource, url);
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

// ---------------------------------------------------------------------------------------------
// Character formatting

RtfWriter::CharState RtfWriter::stateOf(const QTextCharFormat &f)
{
    const QFont &base = doc_.defaultFont();
    CharState s;
    s.font = fontIndex(TextFormats::family(f, base));
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
        s.foreground = colorIndex(fg.color());
    const QBrush bg = f.background();
    if (f.hasProperty(QTextFormat::BackgroundBrush) && bg.style() != Qt::NoBrush)
        s.background = colorIndex(bg.color());
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        s.script = 1;
    else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
        s.script = 2;
    s.offset = int(std::lround(TextFormats::charOffsetTwips(f, base) / 10.0));
    s.caps = f.fontCapitalization() == QFont::AllUppercase;
    s.smallCaps = f.fontCapitalization() == QFont::SmallCaps;
    return s;
}

QByteArray RtfWriter::changes(const CharState &from, const CharState &to)
{
    QByteArray w;
    if (from.font != to.font)
        w += cw("f", to.font);
    if (from.halfPoints != to.halfPoints)
        w += cw("fs", to.halfPoints);
    if (from.bold != to.bold)
        w += to.bold ? cw("b") : cw("b", 0);
    if (from.italic != to.italic)
        w += to.italic ? cw("i") : cw("i", 0);
    if (from.underline != to.underline)
        w += to.underline ? cw(underlineWord(to.underline)) : cw("ulnone");
    if (from.strike != to.strike)
        w += to.strike ? cw("strike") : cw("strike", 0);
    if (from.foreground != to.foreground)
        w += cw("cf", to.foreground);
    if (from.background != to.background)
        w += cw("highlight", to.background);
    if (from.script != to.script)
        w += to.script == 1 ? cw("super") : to.script == 2 ? cw("sub") : cw("nosupersub");
    if (from.offset != to.offset)
        w += to.offset >= 0 ? cw("up", to.offset) : cw("dn", -to.offset);
    if (from.caps != to.caps)
        w += to.caps ? cw("caps") : cw("caps", 0);
    if (from.smallCaps != to.smallCaps)
        w += to.smallCaps ? cw("scaps") : cw("scaps", 0);
    return w;
}

// Writes the words from the current state to the target, or \plain and the words from the
// defaults, whichever is shorter.
void RtfWriter::switchTo(const CharState &target)
{
    if (target == state_)
        return;
    const QByteArray direct = changes(state_, target);
    const QByteArray plain = "\\plain" + changes(CharState(), target);
    raw(plain.size() < direct.size() ? plain : direct);
    needSpace_ = true;
    state_ = target;
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
    const bool symbolFont = RtfSymbolFonts::fontNamed(fonts_.value(state_.font)) != RtfSymbolFonts::None;
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

int RtfWriter::fontIndex(const QString &family)
{
    QString name = family;
    name.remove(u';');
    const auto found = fontIndex_.constFind(name);
    if (found != fontIndex_.cend())
        return *found;
    fonts_.append(name);
    fontIndex_.insert(name, int(fonts_.size()) - 1);
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

int RtfWriter::listIndex(QTextList *list)
{
    const auto found = listIndex_.constFind(list);
    if (found != listIndex_.cend())
        return *found;
    lists_.append(list);
    listIndex_.insert(list, int(lists_.size()));
    return int(lists_.size());
}

QByteArray RtfWriter::header()
{
    if (fonts_.isEmpty())
        fontIndex(doc_.defaultFont().family());
    QByteArray body;
    std::swap(body, out_);
    raw("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1");
    newline();
    raw("{\\fonttbl");
    const CharState bodyState = state_;
    state_.font = -1; // font names are plain text, whatever font the body ended in
    for (qsizetype i = 0; i < fonts_.size(); ++i) {
        raw("{");
        word("f", i);
        word("fnil");
        word("fcharset", 0);
        needSpace_ = true;
        text(fonts_[i]);
        raw(";}");
        needSpace_ = false;
    }
    state_ = bodyState;
    raw("}");
    newline();
    raw("{\\colortbl;");
    for (const QRgb rgb : colors_) {
        word("red", qRed(rgb));
        word("green", qGreen(rgb));
        word("blue", qBlue(rgb));
        raw(";");
    }
    raw("}");
    newline();
    raw(listTables());
    std::swap(body, out_);
    return body;
}

// \listtable and \listoverridetable: one list per QTextList, its own style at its level.
QByteArray RtfWriter::listTables()
{
    if (lists_.isEmpty())
        return QByteArray();
    QByteArray saved;
    std::swap(saved, out_);
    raw("{\\*\\listtable");
    for (qsizetype i = 0; i < lists_.size(); ++i) {
        const QTextListFormat f = lists_[i]->format();
        const int level = levelOf(lists_[i]);
        newline();
        raw("{\\list");
        word("listtemplateid", i + 1);
        for (int k = 0; k < 9; ++k) {
            const QTextListFormat::Style style = k == level ? f.style() : QTextListFormat::ListDisc;
            const bool bullet = isBullet(style);
            // \leveltext counts its characters in one byte.
            const QString before = bullet ? QString() : f.numberPrefix().left(RtfListTable::kMaxNumberText);
            const QString after = bullet ? QString() : numberSuffix(f).left(RtfListTable::kMaxNumberText);
            raw("{\\listlevel");
            word("levelnfc", numberFormat(style));
            word("levelnfcn", numberFormat(style));
            word("leveljc", 0);
            word("levelfollow", 0);
            word("levelstartat", 1);
            raw("{\\leveltext");
            needSpace_ = false;
            const QString level = bullet ? bulletOf(style) : before + QChar(char16_t(k)) + after;
            out_ += "\\'" + QByteArray::number(int(level.size()), 16).rightJustified(2, '0');
            for (const QChar c : level) {
                if (c.unicode() < 9) {
                    out_ += "\\'0" + QByteArray::number(c.unicode());
                    needSpace_ = false;
                } else {
                    text(QStringView(&c, 1));
                }
            }
            raw(";}{\\levelnumbers");
            if (!bullet)
                out_ += "\\'" + QByteArray::number(int(before.size() + 1), 16).rightJustified(2, '0');
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
    for (qsizetype i = 0; i < lists_.size(); ++i) {
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
