#include "rtf/RtfReader.h"
#include "rtf/TextFormats.h"

#include <QTextDocument>
#include <QUrl>
#include <QUuid>

#include <algorithm>

using namespace RtfValues;
using D = RtfDestination;

namespace {

bool isHighSurrogate(int c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(int c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Characters that must not reach a QTextDocument as text: its own structure markers and the
// object character, which only pictures may carry.
bool isReserved(char32_t c)
{
    return (c >= 0xFDD0 && c <= 0xFDEF) || c == 0xFFFC || c == 0xFFFE || c == 0xFFFF || c > 0x10FFFF;
}

bool showsSymbols(RtfDestination d)
{
    return d == RtfDestination::Body || d == RtfDestination::ListText || d == RtfDestination::OldListTextBefore
        || d == RtfDestination::OldListTextAfter;
}

// The quoted or bare arguments of a field instruction, with its switches.
QStringList fieldArguments(const QString &instruction)
{
    QStringList args;
    const qsizetype n = instruction.size();
    qsizetype i = 0;
    while (i < n) {
        while (i < n && instruction[i].isSpace())
            ++i;
        if (i >= n)
            break;
        QString arg;
        if (instruction[i] == u'"') {
            ++i;
            while (i < n && instruction[i] != u'"')
                arg += instruction[i++];
            ++i;
        } else {
            while (i < n && !instruction[i].isSpace())
                arg += instruction[i++];
        }
        args.append(arg);
    }
    return args;
}

// Links that may be followed from a document; script and data URLs are not.
bool isSafeLink(const QString &url)
{
    const QString scheme = QUrl(url).scheme().toLower();
    return scheme != u"javascript" && scheme != u"vbscript" && scheme != u"data";
}

} // namespace

RtfReader::RtfReader(QByteArrayView rtf, QTextDocument &doc)
    : doc_(doc), tokenizer_(rtf), builder_(doc)
{
    stack_.reserve(64);
    stack_.emplace_back();
}

void RtfReader::read()
{
    while (!done_) {
        const RtfToken t = tokenizer_.next();
        if (t.type == RtfToken::End)
            break;
        if (skipping()) {
            if (t.type == RtfToken::GroupOpen)
                ++skipDepth_;
            else if (t.type == RtfToken::GroupClose && skipDepth_ > 0)
                --skipDepth_;
            else if (t.type == RtfToken::GroupClose)
                closeGroup();
            continue;
        }
        switch (t.type) {
        case RtfToken::GroupOpen: openGroup(); break;
        case RtfToken::GroupClose: closeGroup(); break;
        case RtfToken::ControlWord: controlWord(t); break;
        case RtfToken::ControlSymbol: controlSymbol(t.byte); break;
        case RtfToken::Text: text(t.data); break;
        case RtfToken::HexByte: hexByte(t.byte); break;
        case RtfToken::Binary: binary(t.data); break;
        case RtfToken::End: break;
        }
    }
    if (!done_)
        finishDocument();
}

// ---------------------------------------------------------------------------------------------
// Groups and destinations

void RtfReader::openGroup()
{
    flushPending();
    unicodeFallback_ = 0;
    if (int(stack_.size()) > kMaxDepth) {
        ++overflowDepth_;
        return;
    }
    stack_.push_back(stack_.back());
    top().starred = false;
}

void RtfReader::closeGroup()
{
    flushPending();
    unicodeFallback_ = 0;
    if (overflowDepth_ > 0) {
        --overflowDepth_;
        return;
    }
    if (stack_.size() < 2)
        return; // a stray closing brace
    if (stack_.size() == 2) {
        finishDocument(); // everything after the document's own group is ignored
        done_ = true;
        return;
    }
    const RtfGroupState closed = std::move(stack_.back());
    stack_.pop_back();
    if (closed.destination != top().destination)
        leaveDestination(closed);
}

void RtfReader::enterDestination(RtfDestination d)
{
    RtfGroupState &s = top();
    const D current = s.destination;
    switch (d) {
    case D::Transparent:
        return;
    case D::Field:
        fields_.push_back({QString(), s.field});
        s.field = int(fields_.size()) - 1;
        s.outer = current;
        break;
    case D::FieldInstruction:
        if (s.field < 0 || current != D::Field)
            d = D::Skip;
        break;
    case D::FieldResult:
        if (s.field >= 0 && current == D::Field) {
            const int link = linkOf(fields_[std::size_t(s.field)].instruction);
            if (link >= 0 && s.outer == D::Body)
                s.chars.link = link;
            s.field = fields_[std::size_t(s.field)].parent;
        }
        d = s.outer;
        break;
    case D::Shape:
        if (current != D::Shape) // a shape in a group of shapes shows where the group would
            s.outer = current;
        s.shape = ++shapeCount_;
        break;
    case D::Object:
    case D::UnicodePair:
        s.outer = current;
        break;
    case D::ObjectResult:
    case D::UnicodeText:
        d = s.outer;
        break;
    case D::ShapeProperty:
        shapePropertyText_.clear();
        break;
    case D::ShapePropertyValue:
        d = shapePropertyText_.trimmed() == u"pib" ? s.outer : D::Skip;
        break;
    case D::ShapeResult:
        // The result repeats the shape for older readers: skip it when the shape was shown.
        d = s.shape >= 0 && s.shape == lastShownShape_ ? D::Skip : s.outer;
        break;
    case D::ShapeText:
        if (s.shape >= 0)
            lastShownShape_ = s.shape;
        d = s.outer;
        break;
    case D::ListText:
        if (current != D::Body)
            d = D::Skip;
        break;
    case D::FontTable:
        fontDraft_ = FontDraft();
        break;
    case D::List:
        listDraft_ = RtfListTable::List();
        break;
    case D::ListLevel:
        levelDraft_ = RtfListTable::Level();
        break;
    case D::LevelText:
        levelDraft_.text.clear();
        break;
    case D::ListOverride:
        overrideDraft_ = ListOverrideDraft();
        break;
    case D::OldList:
        oldListDraft_ = RtfParaProps::OldList();
        oldListDraft_.defined = true;
        break;
    case D::Picture:
        picture_ = RtfPicture();
        break;
    default:
        break;
    }
    s.destination = d;
}

void RtfReader::leaveDestination(const RtfGroupState &closed)
{
    switch (closed.destination) {
    case D::FontTable:
        commitFont();
        formats_.clear();
        break;
    case D::ColorTable:
        formats_.clear();
        break;
    case D::ListLevel:
        if (listDraft_.levelCount < int(listDraft_.levels.size()))
            listDraft_.levels[std::size_t(listDraft_.levelCount++)] = levelDraft_;
        break;
    case D::List:
        lists_.addList(listDraft_);
        break;
    case D::ListOverride:
        lists_.addOverride(overrideDraft_.override, overrideDraft_.listId);
        break;
    case D::OldList:
        top().para.oldList = oldListDraft_;
        break;
    case D::Picture:
        if (top().destination == D::Body && !top().chars.hidden)
            insertPicture();
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------------------------
// Control words and symbols

bool RtfReader::consumeFallback()
{
    if (unicodeFallback_ <= 0)
        return false;
    --unicodeFallback_;
    return true;
}

void RtfReader::controlWord(const RtfToken &t)
{
    if (t.data != QByteArrayView("u"))
        flushPending();
    if (consumeFallback() || stack_.size() < 2)
        return;
    const RtfControlWord *entry = t.data.size() <= RtfTokenizer::kMaxWordLength
                                      ? RtfControlWords::find(t.data) : nullptr;
    RtfGroupState &s = top();
    if (s.starred) {
        s.starred = false;
        if (!entry || entry->kind != RtfKind::Destination) {
            s.destination = D::Skip;
            return;
        }
    }
    if (!entry)
        return;
    const int value = RtfControlWords::effectiveValue(*entry, t.hasParameter, t.parameter);
    switch (entry->kind) {
    case RtfKind::Destination:
        enterDestination(RtfDestination(value));
        return;
    case RtfKind::Symbol:
        if (value)
            appendCharacter(char32_t(value));
        return;
    default:
        break;
    }
    switch (entry->word) {
    case RtfWord::Unicode:
        appendCodePoint(t.hasParameter ? t.parameter : 0);
        unicodeFallback_ = s.unicodeSkip;
        return;
    case RtfWord::UnicodeSkip:
        s.unicodeSkip = value;
        return;
    default:
        break;
    }
    switch (s.destination) {
    case D::FontTable: fontTableWord(entry->word, value); break;
    case D::ColorTable: colorTableWord(entry->word, value); break;
    case D::ListTable:
    case D::List:
    case D::ListLevel:
    case D::LevelText:
    case D::ListOverrideTable:
    case D::ListOverride: listWord(entry->word, value); break;
    case D::OldList: oldListWord(entry->word, value); break;
    case D::Picture: pictureWord(entry->word, value, t); break;
    default: bodyWord(entry->word, value); break;
    }
}

void RtfReader::controlSymbol(uchar c)
{
    flushPending();
    if (consumeFallback() || stack_.size() < 2)
        return;
    switch (c) {
    case '*': top().starred = true; break;
    case '~': appendCharacter(0xA0); break;
    case '-': appendCharacter(0xAD); break;
    case '_': appendCharacter(0x2011); break;
    case '\t': appendCharacter('\t'); break;
    case '\n': breakWord(RtfWord::Par); break;
    default: break;
    }
}

void RtfReader::bodyWord(RtfWord w, int value)
{
    RtfCharProps &c = top().chars;
    switch (w) {
    case RtfWord::CodePage:
    case RtfWord::AnsiCodePage:
        ansiCodePage_ = value > 0 ? value : RtfTextDecoder::kDefaultCodePage;
        break;
    case RtfWord::DefaultFont: defaultFont_ = value; formats_.clear(); break;
    case RtfWord::Font: c.font = value; break;
    case RtfWord::Plain: c.reset(); break;
    case RtfWord::Bold: c.bold = value; break;
    case RtfWord::Italic: c.italic = value; break;
    case RtfWord::Underline: c.underline = quint8(value); break;
    case RtfWord::Strike: c.strike = value; break;
    case RtfWord::FontSize:
        if (value > 0)
            c.halfPoints = value;
        break;
    case RtfWord::Foreground: c.foreground = value; break;
    case RtfWord::Background: c.background = value; break;
    case RtfWord::Highlight: c.highlight = value; break;
    case RtfWord::Up: c.offset = value; break;
    case RtfWord::Down: c.offset = -value; break;
    case RtfWord::Script: c.script = quint8(value); break;
    case RtfWord::Hidden: c.hidden = value; break;
    case RtfWord::Caps: c.caps = value; break;
    case RtfWord::SmallCaps: c.smallCaps = value; break;
    case RtfWord::RowDefaults:
        rowLevel_ = qBound(1, top().para.nestLevel, RtfDocumentBuilder::kMaxNesting);
        rows_[std::size_t(rowLevel_)] = RtfDocumentBuilder::Row();
        cellMerge_ = 0;
        break;
    case RtfWord::CellRight:
        if (int(rows_[std::size_t(rowLevel_)].cells.size()) < RtfDocumentBuilder::kMaxColumns)
            rows_[std::size_t(rowLevel_)].cells.push_back({value, cellMerge_});
        cellMerge_ = 0;
        break;
    case RtfWord::CellMerge: cellMerge_ |= value; break;
    case RtfWord::RowGap: rows_[std::size_t(rowLevel_)].gap = qMax(0, value); break;
    case RtfWord::RowAlignment: rows_[std::size_t(rowLevel_)].alignment = value; break;
    case RtfWord::SectionBreak:
        if (value == BreakNone)
            pageBreakPending_ = false;
        break;
    case RtfWord::Par:
    case RtfWord::Sect:
    case RtfWord::Page:
    case RtfWord::Cell:
    case RtfWord::NestCell:
    case RtfWord::Row:
    case RtfWord::NestRow:
        breakWord(w);
        break;
    default:
        paragraphWord(w, value);
        break;
    }
}

void RtfReader::paragraphWord(RtfWord w, int value)
{
    RtfParaProps &p = top().para;
    switch (w) {
    case RtfWord::ParagraphDefault: p = RtfParaProps(); break;
    case RtfWord::Alignment: p.alignment = value; break;
    case RtfWord::LeftIndent: p.leftIndent = value; break;
    case RtfWord::RightIndent: p.rightIndent = value; break;
    case RtfWord::FirstIndent: p.firstIndent = value; break;
    case RtfWord::SpaceBefore: p.spaceBefore = qMax(0, value); break;
    case RtfWord::SpaceAfter: p.spaceAfter = qMax(0, value); break;
    case RtfWord::LineSpacing: p.lineSpacing = value; break;
    case RtfWord::LineMultiple: p.lineMultiple = value != 0; break;
    case RtfWord::TabKind: p.nextTabKind = value; break;
    case RtfWord::TabPosition:
        if (p.tabs.size() < kMaxTabs && value >= 0) {
            static constexpr QTextOption::TabType kTypes[] = {
                QTextOption::LeftTab, QTextOption::RightTab, QTextOption::CenterTab, QTextOption::DelimiterTab};
            QTextOption::Tab tab(TextFormats::twipsToPixels(value), kTypes[qBound(0, p.nextTabKind, 3)]);
            if (tab.type == QTextOption::DelimiterTab)
                tab.delimiter = u'.';
            p.tabs.append(tab);
        }
        p.nextTabKind = 0;
        break;
    case RtfWord::BarTab: p.nextTabKind = 0; break;
    case RtfWord::InTable: p.inTable = true; break;
    case RtfWord::NestLevel:
        p.nestLevel = value;
        p.inTable = value > 0;
        break;
    case RtfWord::ListOverrideIndex: p.listOverride = value; break;
    case RtfWord::ListLevelIndex: p.listLevel = value; break;
    case RtfWord::PageBreakBefore: p.pageBreakBefore = value; break;
    default: break;
    }
}

void RtfReader::breakWord(RtfWord w)
{
    if (top().destination != D::Body)
        return;
    const RtfParaProps &p = top().para;
    switch (w) {
    case RtfWord::Par:
        endParagraph(tableLevel());
        break;
    case RtfWord::Sect:
    case RtfWord::Page:
        // A break between paragraphs starts the next one on a new page, without an empty one.
        if (hasText())
            endParagraph(tableLevel());
        pageBreakPending_ = true;
        break;
    case RtfWord::Cell:
    case RtfWord::NestCell: {
        const int level = qMax(w == RtfWord::Cell ? 1 : 2, tableLevel());
        endParagraph(level);
        builder_.endCell(level);
        break;
    }
    case RtfWord::Row:
    case RtfWord::NestRow: {
        const int level = w == RtfWord::Row ? 1 : qBound(2, p.nestLevel, RtfDocumentBuilder::kMaxNesting);
        if (hasText()) {
            endParagraph(level);
            builder_.endCell(level);
        }
        builder_.endRow(level, rows_[std::size_t(level)]);
        break;
    }
    default:
        break;
    }
}

void RtfReader::fontTableWord(RtfWord w, int value)
{
    switch (w) {
    case RtfWord::Font:
        commitFont();
        fontDraft_.number = value;
        break;
    case RtfWord::FontCharset: fontDraft_.font.charsetCodePage = RtfTextDecoder::codePageForCharset(value); break;
    case RtfWord::FontCodePage: fontDraft_.font.codePage = value; break;
    default: break;
    }
}

void RtfReader::commitFont()
{
    if (fontDraft_.number < 0)
        return;
    Font f = fontDraft_.font;
    f.name = f.name.trimmed();
    f.symbol = RtfSymbolFonts::fontNamed(f.name);
    if (!f.name.isEmpty() || !fonts_.contains(fontDraft_.number))
        fonts_.insert(fontDraft_.number, f);
    fontDraft_ = FontDraft();
}

void RtfReader::colorTableWord(RtfWord w, int value)
{
    switch (w) {
    case RtfWord::Red: colorDraft_.setRed(value); break;
    case RtfWord::Green: colorDraft_.setGreen(value); break;
    case RtfWord::Blue: colorDraft_.setBlue(value); break;
    default: return;
    }
    colorDraftSet_ = true;
}

void RtfReader::listWord(RtfWord w, int value)
{
    const D d = top().destination;
    switch (w) {
    case RtfWord::ListId:
        if (d == D::ListOverride)
            overrideDraft_.listId = value;
        else
            listDraft_.id = value;
        break;
    case RtfWord::ListOverrideIndex: overrideDraft_.override = value; break;
    case RtfWord::LevelFormat: levelDraft_.numberFormat = value; break;
    case RtfWord::LevelStart: levelDraft_.start = value; break;
    case RtfWord::LeftIndent: levelDraft_.leftIndent = value; break;
    case RtfWord::FirstIndent: levelDraft_.firstIndent = value; break;
    default: break;
    }
}

void RtfReader::oldListWord(RtfWord w, int value)
{
    switch (w) {
    case RtfWord::OldListLevel:
        oldListDraft_.level = qBound(1, value, 9);
        break;
    case RtfWord::OldListStyle:
        if (value == OldBullet)
            oldListDraft_.bullet = true;
        else if (value == OldContinue)
            oldListDraft_.unnumbered = true;
        else if (value != OldBody)
            oldListDraft_.numberStyle = value;
        break;
    case RtfWord::OldListStart: oldListDraft_.start = value; break;
    default: break;
    }
}

void RtfReader::pictureWord(RtfWord w, int value, const RtfToken &t)
{
    picture_.setProperty(w, value);
    if (w == RtfWord::PictureType && value == Wmf && t.hasParameter)
        picture_.setProperty(RtfWord::MetafileMode, t.parameter);
}

// ---------------------------------------------------------------------------------------------
// Text

void RtfReader::text(QByteArrayView bytes)
{
    if (stack_.size() < 2)
        return;
    if (unicodeFallback_ > 0) {
        const qsizetype n = qMin(qsizetype(unicodeFallback_), bytes.size());
        unicodeFallback_ -= int(n);
        bytes = bytes.sliced(n);
        if (bytes.isEmpty())
            return;
    }
    switch (top().destination) {
    case D::Picture:
        picture_.appendHex(bytes, pictureBudget_);
        return;
    case D::ColorTable:
        colorTableText(bytes);
        return;
    case D::FontTable:
        fontTableText(bytes);
        return;
    default:
        break;
    }
    flushSurrogate();
    if (QString *out = sink())
        decodeInto(bytes, *out);
}

void RtfReader::hexByte(uchar byte)
{
    if (consumeFallback() || stack_.size() < 2)
        return;
    const char c = char(byte);
    switch (top().destination) {
    case D::Picture:
    case D::ColorTable:
        return;
    case D::FontTable:
        fontTableText(QByteArrayView(&c, 1));
        return;
    default:
        break;
    }
    flushSurrogate();
    if (QString *out = sink())
        decodeInto(QByteArrayView(&c, 1), *out);
}

void RtfReader::binary(QByteArrayView bytes)
{
    if (consumeFallback())
        return;
    if (top().destination == D::Picture)
        picture_.appendBinary(bytes, pictureBudget_);
}

void RtfReader::fontTableText(QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        const qsizetype semicolon = bytes.indexOf(';');
        const QByteArrayView part = semicolon < 0 ? bytes : bytes.first(semicolon);
        decodeInto(part, fontDraft_.font.name);
        if (semicolon < 0)
            return;
        commitFont(); // an ungrouped table goes on with the next \f
        bytes = bytes.sliced(semicolon + 1);
    }
}

void RtfReader::colorTableText(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (c != ';')
            continue;
        if (colors_.size() < kMaxColors)
            colors_.append(colorDraftSet_ ? colorDraft_ : QColor());
        colorDraft_ = QColor(0, 0, 0);
        colorDraftSet_ = false;
    }
}

// Where text of the current destination goes, or null when it is not kept.
QString *RtfReader::sink()
{
    RtfGroupState &s = top();
    switch (s.destination) {
    case D::Body:
    case D::ListText: return s.chars.hidden ? nullptr : runText();
    case D::FontTable: return &fontDraft_.font.name;
    case D::LevelText: return &levelDraft_.text;
    case D::OldListTextBefore: return &oldListDraft_.before;
    case D::OldListTextAfter: return &oldListDraft_.after;
    case D::FieldInstruction: return s.field >= 0 ? &fields_[std::size_t(s.field)].instruction : nullptr;
    case D::ShapePropertyName: return &shapePropertyText_;
    default: return nullptr;
    }
}

QString *RtfReader::runText()
{
    const RtfGroupState &s = top();
    std::vector<Run> &runs = s.destination == D::ListText ? fallbackRuns_ : runs_;
    if (!runs.empty() && runs.back().image < 0 && runs.back().props == s.chars)
        return &runs.back().text;
    if (!runs.empty() && runs.back().image < 0 && runs.back().text.isEmpty()) {
        runs.back().props = s.chars; // a run that got no text is reused, so runs never pile up empty
        runs.back().family = familyOf(s.chars);
    } else {
        runs.push_back({s.chars, familyOf(s.chars), QString(), -1});
    }
    return &runs.back().text;
}

void RtfReader::selectCodePage(QString &out)
{
    if (top().destination == D::FontTable) {
        decoder_.select(codePageOf(&fontDraft_.font), RtfSymbolFonts::None, out);
        return;
    }
    // Only shown text is in a font's symbols; a level text's bytes are its length and level
    // numbers, and a field instruction's are its keywords.
    const Font *f = font(top().chars.font);
    const bool symbols = f && showsSymbols(top().destination);
    decoder_.select(codePageOf(f), symbols ? f->symbol : RtfSymbolFonts::None, out);
}

void RtfReader::decodeInto(QByteArrayView bytes, QString &out)
{
    selectCodePage(out);
    const bool keepControls = top().destination == D::LevelText;
    const char *d = bytes.data();
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        if (decoder_.isSingleByte()) {
            qsizetype j = i;
            while (j < n && uchar(d[j]) >= 0x20 && uchar(d[j]) < 0x80)
                ++j;
            if (j > i) {
                out.append(QLatin1StringView(d + i, j - i));
                i = j;
                continue;
            }
        }
        const uchar b = uchar(d[i++]);
        if (b < 0x20 && b != '\t' && !keepControls)
            continue;
        if (decoder_.isSingleByte()) {
            decoder_.decode(b, out);
            continue;
        }
        decoded_.clear();
        decoder_.decode(b, decoded_);
        for (const QChar c : std::as_const(decoded_)) {
            if (c.unicode() == 0x1A) // what a code page converter puts for a byte it cannot map
                out.append(QChar(QChar::ReplacementCharacter));
            else if (c.unicode() >= 0x20 || c.unicode() == '\t' || keepControls)
                out.append(c);
        }
    }
}

void RtfReader::appendCodePoint(int codePoint)
{
    // Negative values stand for code points above 32767; large ones are taken as they are.
    char32_t c = codePoint < 0 ? char32_t(codePoint + 65536) : char32_t(codePoint);
    if (codePoint < -65536)
        c = QChar::ReplacementCharacter;
    const Font *f = showsSymbols(top().destination) ? font(top().chars.font) : nullptr;
    if (f && f->symbol != RtfSymbolFonts::None && c >= 0xF020 && c <= 0xF0FF)
        if (const char16_t mapped = RtfSymbolFonts::toUnicode(f->symbol, uchar(c - 0xF000)))
            c = mapped;
    if (isLowSurrogate(int(c)) && pendingHighSurrogate_) {
        const char32_t pair = QChar::surrogateToUcs4(char16_t(pendingHighSurrogate_), char16_t(c));
        pendingHighSurrogate_ = 0;
        appendCharacter(pair);
        return;
    }
    flushSurrogate();
    if (isHighSurrogate(int(c))) {
        pendingHighSurrogate_ = int(c);
        return;
    }
    appendCharacter(isLowSurrogate(int(c)) ? char32_t(QChar::ReplacementCharacter) : c, true);
}

void RtfReader::appendCharacter(char32_t c, bool spelledOut)
{
    QString *out = sink();
    if (!out)
        return;
    // Control characters are kept when the file spells them out as \uN (a user put them in the
    // text); line ends are never characters of a paragraph.
    const bool keepControls = top().destination == D::LevelText || (spelledOut && c != '\n' && c != '\r');
    if (c < 0x20 && c != '\t' && !keepControls)
        return;
    if (c == 0x2029)
        c = 0x2028;
    if (isReserved(c) || (c >= 0xD800 && c <= 0xDFFF))
        c = QChar::ReplacementCharacter;
    const char16_t units[2] = {QChar::highSurrogate(c), QChar::lowSurrogate(c)};
    if (QChar::requiresSurrogates(c))
        out->append(QStringView(units, 2));
    else
        out->append(QChar(char16_t(c)));
}

void RtfReader::flushSurrogate()
{
    if (pendingHighSurrogate_) {
        pendingHighSurrogate_ = 0;
        appendCharacter(QChar::ReplacementCharacter);
    }
}

// Ends what a double-byte character or a surrogate pair left unfinished.
void RtfReader::flushPending()
{
    if (!pendingHighSurrogate_ && !decoder_.hasPending())
        return;
    flushSurrogate();
    QString discard;
    QString *out = stack_.size() < 2 || skipping() ? &discard : sink();
    decoder_.flush(out ? *out : discard);
}

const RtfReader::Font *RtfReader::font(int number) const
{
    auto it = fonts_.constFind(number < 0 ? defaultFont_ : number);
    if (it == fonts_.cend())
        it = fonts_.constFind(defaultFont_);
    return it == fonts_.cend() ? nullptr : &*it;
}

QString RtfReader::familyOf(const RtfCharProps &c) const
{
    const Font *f = font(c.font);
    return f && !f->name.isEmpty() ? f->name : doc_.defaultFont().family();
}

int RtfReader::codePageOf(const Font *f) const
{
    if (f && f->codePage > 0)
        return f->codePage;
    if (f && f->charsetCodePage > 0)
        return f->charsetCodePage;
    return ansiCodePage_;
}

// ---------------------------------------------------------------------------------------------
// Paragraphs, formats and pictures

bool RtfReader::hasText() const
{
    auto notEmpty = [](const Run &r) { return !r.text.isEmpty(); };
    return std::any_of(runs_.begin(), runs_.end(), notEmpty)
        || std::any_of(fallbackRuns_.begin(), fallbackRuns_.end(), notEmpty);
}

int RtfReader::tableLevel() const
{
    const RtfParaProps &p = stack_.back().para;
    return p.inTable ? qMax(1, p.nestLevel) : 0;
}

void RtfReader::endParagraph(int tableLevel)
{
    flushPending();
    const RtfGroupState &s = top();
    RtfDocumentBuilder::ListItem item;
    const bool isItem = listItem(s.para, item);
    if (!isItem && !fallbackRuns_.empty())
        runs_.insert(runs_.begin(), std::make_move_iterator(fallbackRuns_.begin()),
                     std::make_move_iterator(fallbackRuns_.end()));
    fallbackRuns_.clear();
    QTextBlockFormat block = blockFormat(s.para, isItem ? &item : nullptr);
    if (pageBreakPending_)
        block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    pageBreakPending_ = false;
    builder_.startParagraph(tableLevel, block, charFormat(s.chars), isItem ? &item : nullptr);
    for (const Run &run : runs_) {
        if (run.image >= 0) {
            builder_.insertText(run.text, images_[std::size_t(run.image)]);
            continue;
        }
        QTextCharFormat format = charFormat(run.props);
        if (run.family != familyOf(run.props)) // the font table changed since: keep what decoded the text
            TextFormats::setFamily(format, run.family);
        builder_.insertText(run.text, format);
    }
    runs_.clear();
    images_.clear();
}

void RtfReader::finishDocument()
{
    flushPending();
    if (hasText())
        endParagraph(tableLevel());
    builder_.finish();
}

bool RtfReader::listItem(const RtfParaProps &p, RtfDocumentBuilder::ListItem &item) const
{
    if (p.listOverride > 0) {
        if (const RtfListTable::List *list = lists_.listFor(p.listOverride)) {
            const int level = qBound(0, p.listLevel, 8);
            const RtfListTable::Level defined = list->levelCount > 0
                ? list->levels[std::size_t(qMin(level, list->levelCount - 1))] : RtfListTable::Level();
            item.key = QStringLiteral("ls%1").arg(p.listOverride);
            item.level = level;
            item.format = RtfListTable::format(defined, level);
            return true;
        }
    }
    const RtfParaProps::OldList &old = p.oldList;
    if (!old.defined || old.unnumbered)
        return false;
    item.key = QStringLiteral("pn");
    item.level = old.bullet ? 0 : qBound(0, old.level - 1, 8);
    item.endsAtPlainParagraph = true;
    item.format.setIndent(item.level + 1);
    if (old.bullet) {
        item.format.setStyle(RtfListTable::bulletStyle(old.before));
        return true;
    }
    static constexpr QTextListFormat::Style kStyles[] = {
        QTextListFormat::ListDecimal, QTextListFormat::ListUpperAlpha, QTextListFormat::ListLowerAlpha,
        QTextListFormat::ListUpperRoman, QTextListFormat::ListLowerRoman};
    item.format.setStyle(kStyles[qBound(0, old.numberStyle - OldDecimal, 4)]);
    item.format.setNumberPrefix(old.before.left(RtfListTable::kMaxNumberText));
    item.format.setNumberSuffix(old.after.left(RtfListTable::kMaxNumberText));
    return true;
}

QTextBlockFormat RtfReader::blockFormat(const RtfParaProps &p, const RtfDocumentBuilder::ListItem *item) const
{
    static constexpr Qt::Alignment kAlign[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter, Qt::AlignJustify};
    QTextBlockFormat f;
    if (p.alignment != 0)
        f.setAlignment(kAlign[qBound(0, p.alignment, 3)]);
    double left = TextFormats::twipsToPixels(p.leftIndent);
    double first = TextFormats::twipsToPixels(p.firstIndent);
    if (item) {
        // Qt indents list items by their level and hangs the marker itself.
        left = qMax(0.0, left - doc_.indentWidth() * (item->level + 1));
        first = 0;
    }
    if (left != 0)
        f.setLeftMargin(left);
    if (p.rightIndent != 0)
        f.setRightMargin(TextFormats::twipsToPixels(p.rightIndent));
    if (first != 0)
        f.setTextIndent(first);
    if (p.spaceBefore != 0)
        f.setTopMargin(TextFormats::twipsToPixels(p.spaceBefore));
    if (p.spaceAfter != 0)
        f.setBottomMargin(TextFormats::twipsToPixels(p.spaceAfter));
    if (p.lineSpacing > 0 && p.lineMultiple)
        f.setLineHeight(p.lineSpacing * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
    else if (p.lineSpacing > 0)
        f.setLineHeight(TextFormats::twipsToPixels(p.lineSpacing), QTextBlockFormat::MinimumHeight);
    else if (p.lineSpacing < 0)
        f.setLineHeight(TextFormats::twipsToPixels(-double(p.lineSpacing)), QTextBlockFormat::FixedHeight);
    if (!p.tabs.isEmpty())
        f.setTabPositions(p.tabs);
    if (p.pageBreakBefore)
        f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    return f;
}

QTextCharFormat RtfReader::charFormat(const RtfCharProps &c)
{
    const auto cached = formats_.constFind(c);
    if (cached != formats_.cend())
        return *cached;
    QTextCharFormat f;
    TextFormats::setFamily(f, familyOf(c));
    f.setFontPointSize(c.halfPoints / 2.0);
    if (c.bold)
        f.setFontWeight(QFont::Bold);
    if (c.italic)
        f.setFontItalic(true);
    if (c.underline != QTextCharFormat::NoUnderline)
        f.setUnderlineStyle(QTextCharFormat::UnderlineStyle(c.underline));
    if (c.strike)
        f.setFontStrikeOut(true);
    auto color = [&](int index) {
        return index > 0 && index < colors_.size() ? colors_[index] : QColor();
    };
    if (const QColor fg = color(c.foreground); fg.isValid())
        f.setForeground(fg);
    const QColor bg = color(c.highlight).isValid() ? color(c.highlight) : color(c.background);
    if (bg.isValid())
        f.setBackground(bg);
    if (c.offset != 0)
        TextFormats::setCharOffsetTwips(f, c.offset * 10.0, doc_.defaultFont());
    if (c.script == Superscript)
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (c.script == Subscript)
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (c.caps)
        f.setFontCapitalization(QFont::AllUppercase);
    else if (c.smallCaps)
        f.setFontCapitalization(QFont::SmallCaps);
    if (c.link >= 0 && c.link < links_.size()) {
        f.setAnchor(true);
        f.setAnchorHref(links_[c.link]);
    }
    formats_.insert(c, f);
    return f;
}

// The hyperlink a field instruction names, as an index in links_, or -1.
int RtfReader::linkOf(const QString &instruction)
{
    const QStringList args = fieldArguments(instruction);
    if (args.isEmpty() || args.first().compare(u"HYPERLINK", Qt::CaseInsensitive) != 0)
        return -1;
    QString url, location;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a.startsWith(u'\\')) {
            const QString sw = a.mid(1).toLower();
            if (i + 1 < args.size() && sw == u"l")
                location = args[++i];
            else if (i + 1 < args.size() && (sw == u"o" || sw == u"t" || sw == u"m"))
                ++i;
        } else if (url.isEmpty()) {
            url = a;
        }
    }
    if (!location.isEmpty())
        url += u'#' + location;
    if (url.isEmpty() || !isSafeLink(url))
        return -1;
    links_.append(url);
    return int(links_.size()) - 1;
}

void RtfReader::insertPicture()
{
    if (placeholder_.isNull())
        placeholder_ = RtfPicture::placeholder();
    const RtfPicture::Image picture = picture_.decode(pixelBudget_, placeholder_);
    picture_ = RtfPicture();
    if (picturePrefix_.isEmpty()) // names no other document's pictures have
        picturePrefix_ = QStringLiteral("rtfimage:") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    const QString name = picturePrefix_ + QStringLiteral("-%1").arg(++pictureCount_);
    const QUrl url(name);
    doc_.addResource(QTextDocument::ImageResource, url, picture.image);
    QTextImageFormat format;
    format.merge(charFormat(top().chars));
    format.setName(name);
    format.setWidth(picture.displaySize.width());
    format.setHeight(picture.displaySize.height());
    if (!picture.original.isEmpty()) {
        doc_.addResource(TextFormats::kOriginalImageResource, TextFormats::originalImageUrl(url), picture.original);
        format.setProperty(TextFormats::kImageTypeProperty, picture.type);
        if (picture.nativeSize.isValid() && !picture.nativeSize.isEmpty())
            format.setProperty(TextFormats::kImageNativeSizeProperty, picture.nativeSize);
    }
    if (top().shape >= 0)
        lastShownShape_ = top().shape;
    images_.push_back(format);
    runs_.push_back({top().chars, QString(), QString(QChar::ObjectReplacementCharacter), int(images_.size()) - 1});
}
