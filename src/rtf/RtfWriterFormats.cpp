// The RTF writer's character formatting: the words from one state to another, fonts and colours.
#include "rtf/RtfWriter.h"
#include "rtf/DocumentExtras.h"
#include "rtf/TextFormats.h"

#include <QTextCharFormat>
#include <cmath>

namespace {

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

} // namespace

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
        words += changesFromEither(withoutFont(characterStyleState(target.charStyle)), afterPlain(), target);
    } else if (styleBase_) {
        words = changesFromEither(withoutFont(*styleBase_), state_, target);
    } else if (target.charStyle != state_.charStyle) { // leaving a character style
        words = (leavingScript ? cw("nosupersub") : QByteArray()) + "\\plain" + changes(afterPlain(), target);
    } else {
        if (target == state_)
            return;
        const QByteArray direct = changes(state_, target);
        const QByteArray plain = "\\plain" + changes(afterPlain(), target);
        words = !leavingScript && plain.size() < direct.size() ? plain : direct;
    }
    styleBase_.reset();
    raw(words);
    needSpace_ = true;
    state_ = target;
}

// The state after \plain. Font 0 is this document's first font, except in a header nested in
// a part, which is kept and read back inside another document: there the font is always named.
RtfWriter::CharState RtfWriter::afterPlain() const
{
    return nameFonts_ ? withoutFont(CharState()) : CharState();
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
    // A character set RTF does not have (past 255) means the document's code page, as 1 does;
    // fonts are told apart by what is written of them.
    const int charset = font.charset >= 0 && font.charset <= 255 ? font.charset : 1;
    const int codePage = qMax(0, font.codePage);
    const bool plain = (charset == 0 || charset == 1) && codePage == 0;
    if (plain)
        return fontIndex(font.name);
    QString name = font.name;
    name.remove(u';');
    const QString key = name + u'\n' + QString::number(charset) + u'\n' + QString::number(codePage);
    const auto found = fontIndex_.constFind(key);
    if (found != fontIndex_.cend())
        return *found;
    fonts_.append({name, charset, codePage});
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
