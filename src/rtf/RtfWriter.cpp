#include "rtf/RtfWriter.h"
#include "rtf/DocumentExtras.h"
#include "rtf/FrameItem.h"
#include "rtf/ListMarkers.h"
#include "rtf/TextFormats.h"
#include "rtf/RtfCodec.h"
#include "rtf/RtfSymbolFonts.h"

#include <QStringDecoder>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <utility>

namespace {

constexpr int kMaxPartDepth = 4;

int twips(double pixels) { return TextFormats::roundedTwips(pixels); }

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
    if (mode_ == Part) {
        // Font 0, which kept RTF without a font of its own reads in, is the font of the part's
        // first text, whatever is written before it: reading the part back gives the same.
        for (QTextBlock b = doc_.begin(); b.isValid(); b = b.next()) {
            if (b.begin() != b.end()) {
                fontIndex(TextFormats::family(b.begin().fragment().charFormat(), doc_.defaultFont()));
                break;
            }
        }
        // A part has no headers of its own, but one read from a file may hold some: they are
        // written at its start, where reading the part back keeps them.
        if (const DocumentExtras *own = DocumentExtras::find(doc_))
            writeHeadersFooters(*own, true);
    }
    writeItems(doc_.rootFrame()->begin(), 0, false);
    closeSpans(0);
    QByteArray body;
    std::swap(body, out_);
    QByteArray result = header();
    result += body;
    result += "}\r\n";
    return result;
}

// Blocks and tables of a frame or a cell. In a cell the last paragraph ends with \cell, in a
// part with `lastEnding`. A picture floating in a frame of its own is written in the paragraph
// after it, as the shape it was.
void RtfWriter::writeItems(QTextFrame::iterator it, int tableLevel, bool inCell, const char *lastEnding)
{
    const QList<FrameItem> items = FrameItem::listFrom(it);
    const char *ending = inCell ? (tableLevel >= 2 ? "nestcell" : "cell") : lastEnding ? lastEnding : "par";
    std::vector<const QTextFrame *> shapes;
    bool afterParagraph = false;
    for (qsizetype i = 0; i < items.size(); ++i) {
        const FrameItem &item = items[i];
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
    // at the start), it is the paragraph's own \pagebb, which other readers take there. The words
    // of the paragraph before end first: other readers give them to what follows \page (the next
    // item of a list before it).
    const bool pageWord = tableLevel == 0 && breakBefore && afterParagraph;
    if (pageWord) {
        word("pard");
        word("page");
    }
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
        state_ = afterPlain();
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
    const int first = list && ListMarkers::hasMarker(list->format()) ? -360 : twips(f.textIndent());
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
        if (multiple || baseMultiple || style) // a style may say \slmult without a spacing of its own
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
        word("ilvl", listLevel(list));
    }
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
        const QString shown = f.stringProperty(TextFormats::kShownOnlyProperty);
        QStringList spans = spansOf(f);
        if (!shown.isEmpty()) // a link in shown kept RTF is the kept RTF's own
            spans.removeIf([](const QString &span) { return span.startsWith(u"link:"); });
        openSpans(spans);
        writeKept(f.stringProperty(TextFormats::kKeptRtfProperty));
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
                                 const std::function<void(QByteArrayView, int, QByteArray &)> &beforeClose)
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
    if (const DocumentExtras *nested = DocumentExtras::find(part))
        writeHeadersFooters(*nested, true); // see write()
    writeItems(part.rootFrame()->begin(), 0, false, "");
    closeSpans(0);
    open_ = std::move(outerSpans);
    paragraphSpans_ = outerParagraph;
    source_ = saved;
    --partDepth_;
    // The part's lists end with it.
    for (QTextList *list : part.findChildren<QTextList *>())
        listOf_.remove(list);
}

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
