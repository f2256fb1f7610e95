// The RTF reader's text: where it goes, runs, code pages and Unicode.
#include "rtf/RtfReader.h"

#include <QTextDocument>

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

} // namespace

void RtfReader::text(QByteArrayView bytes)
{
    if (stack_.size() < 2)
        return;
    top().starred = false; // \* counts only right before a word
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
    top().starred = false;
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
    top().starred = false;
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
        if (s.chars.hidden)
            return hiddenText();
        ++shownCount_;
        return runText();
    case D::ListText: return s.chars.hidden ? nullptr : runText();
    case D::FontTable: return &fontDraft_.font.name;
    case D::LevelText: return &levelDraft_.text;
    case D::OldListTextBefore: return &oldListDraft_.before;
    case D::OldListTextAfter: return &oldListDraft_.after;
    case D::FieldInstruction: return s.field >= 0 ? &fields_[std::size_t(s.field)].instruction : nullptr;
    case D::ShapePropertyName: return &shapePropertyText_;
    case D::ShapePropertyValue: return &shapeValueText_;
    case D::StyleEntry: return &styleDraft_.name;
    case D::InfoText: return &infoText_;
    default: return nullptr;
    }
}

QString *RtfReader::runText()
{
    if (!hiddenText_.isEmpty())
        flushHidden();
    const RtfGroupState &s = top();
    if (s.destination == D::ListText) {
        std::vector<Run> &runs = fallbackRuns_;
        if (!runs.empty() && runs.back().props == s.chars)
            return &runs.back().text;
        runs.push_back({s.chars, familyOf(s.chars), QString(), -1, -1});
        return &runs.back().text;
    }
    if (pendingKept_.isEmpty() && !runs_.empty() && runs_.back().image < 0 && runs_.back().extra < 0) {
        Run &last = runs_.back();
        if (last.props == s.chars)
            return &last.text;
        if (last.text.isEmpty()) {
            last.props = s.chars; // a run that got no text is reused, so runs never pile up empty
            last.family = familyOf(s.chars);
            return &last.text;
        }
    }
    return &runs_[std::size_t(newRun(s.chars))].text;
}

// A run of its own, which takes the kept RTF that waits for the text after it.
int RtfReader::newRun(const RtfCharProps &props)
{
    bodyStarted_ = true;
    ++shownCount_;
    if (!hiddenText_.isEmpty())
        flushHidden();
    runs_.push_back({props, familyOf(props), QString(), -1, -1});
    if (!pendingKept_.isEmpty()) {
        const QString kept = takePendingKept();
        if (!kept.isEmpty())
            extraOf(runs_.back()).kept = kept;
    }
    return int(runs_.size()) - 1;
}

RtfReader::RunExtra &RtfReader::extraOf(Run &run)
{
    if (run.extra < 0) {
        extras_.emplace_back();
        run.extra = int(extras_.size()) - 1;
    }
    return extras_[std::size_t(run.extra)];
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
