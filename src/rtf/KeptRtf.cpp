#include "rtf/KeptRtf.h"
#include "rtf/RtfControlWords.h"
#include "rtf/RtfGroupCopier.h"
#include "rtf/RtfTokenizer.h"
#include "rtf/SafeText.h"

#include <QHash>
#include <functional>

namespace {

// The text of the rest of a group (its nested groups' too, but not destinations'), its paragraphs
// as separate strings; with `hiddenOnly`, only the text where \v is in force.
QStringList textOfGroup(RtfTokenizer &t, bool hiddenOnly)
{
    struct State
    {
        bool skip = false;
        bool hidden = false;
    };
    QStringList paragraphs{QString()};
    QList<State> stack{State()};
    int skipAfterUnicode = 1;
    int skipping = 0; // the characters that stand in for the last \uN
    auto add = [&](QChar c) {
        if (!stack.last().skip && (stack.last().hidden || !hiddenOnly))
            paragraphs.last() += c;
    };
    while (!stack.isEmpty()) {
        const RtfToken token = t.next();
        if (token.type == RtfToken::End)
            break;
        const bool standsIn = skipping > 0 && (token.type == RtfToken::HexByte || token.type == RtfToken::Text);
        if (token.type != RtfToken::Text && token.type != RtfToken::HexByte)
            skipping = 0;
        State &s = stack.last();
        switch (token.type) {
        case RtfToken::GroupOpen:
            stack.append(State(s));
            break;
        case RtfToken::GroupClose:
            stack.removeLast(); // the group's own close ends the loop
            break;
        case RtfToken::ControlSymbol:
            if (token.byte == '*')
                s.skip = true;
            else if (token.byte == '\\' || token.byte == '{' || token.byte == '}')
                add(QLatin1Char(char(token.byte)));
            else if (token.byte == '~')
                add(QChar::Nbsp);
            break;
        case RtfToken::ControlWord: {
            const QByteArrayView w = token.data;
            if (w == "v") {
                s.hidden = !token.hasParameter || token.parameter != 0;
            } else if (w == "plain") {
                s.hidden = false;
            } else if (w == "uc") {
                skipAfterUnicode = qBound(0, token.parameter, 8);
            } else if (w == "u") {
                add(QChar(char16_t(token.parameter < 0 ? token.parameter + 65536 : token.parameter)));
                skipping = skipAfterUnicode;
            } else if (w == "par") {
                if (!s.skip && (s.hidden || !hiddenOnly))
                    paragraphs.append(QString());
            } else if (w == "tab") {
                add(QLatin1Char('\t'));
            } else if (w == "line") {
                add(QChar::LineSeparator);
            } else if (w == "fldinst" || w == "pict" || w == "object" || w == "shpinst") {
                s.skip = true;
            }
            break;
        }
        case RtfToken::HexByte:
            if (standsIn)
                --skipping;
            else
                add(QChar(char16_t(token.byte))); // kept text is written in Latin-1 or as \uN
            break;
        case RtfToken::Text:
            for (const char c : token.data) {
                if (skipping > 0)
                    --skipping;
                else if (c != '\r' && c != '\n')
                    add(QLatin1Char(c));
            }
            break;
        default: break;
        }
    }
    if (paragraphs.size() > 1 && paragraphs.last().isEmpty())
        paragraphs.removeLast();
    for (QString &p : paragraphs)
        p = SafeText::printable(p).remove(u'\n').remove(u'\r');
    return paragraphs;
}

void appendFontName(const QString &name, QByteArray &out)
{
    for (const char c : name.toUtf8()) {
        const uchar b = uchar(c);
        if (b >= 0x80 || c == '\\' || c == '{' || c == '}' || c == ';' || b < 0x20)
            out += "\\'" + QByteArray::number(b, 16).rightJustified(2, '0');
        else
            out += c;
    }
}

// Reads the content of a group, from just after its first word, to its closing brace.
void skipGroup(RtfTokenizer &t)
{
    for (int depth = 1; depth > 0;) {
        const RtfToken token = t.next();
        if (token.type == RtfToken::End)
            return;
        if (token.type == RtfToken::GroupOpen)
            ++depth;
        else if (token.type == RtfToken::GroupClose)
            --depth;
    }
}

QList<KeptRtf::Font> readFonts(RtfTokenizer &t)
{
    QList<KeptRtf::Font> fonts;
    QByteArray name;
    KeptRtf::Font font;
    for (int depth = 1; depth > 0;) {
        const RtfToken token = t.next();
        switch (token.type) {
        case RtfToken::End: return fonts;
        case RtfToken::GroupOpen: ++depth; break;
        case RtfToken::GroupClose: --depth; break;
        case RtfToken::ControlWord:
            if (token.data == QByteArrayView("f")) {
                font = KeptRtf::Font();
                name.clear();
            } else if (token.data == QByteArrayView("fcharset")) {
                font.charset = token.parameter;
            } else if (token.data == QByteArrayView("cpg")) {
                font.codePage = token.parameter;
            }
            break;
        case RtfToken::HexByte: name += char(token.byte); break;
        case RtfToken::Text:
            for (const char c : token.data) {
                if (c != ';') {
                    name += c;
                    continue;
                }
                font.name = QString::fromUtf8(name);
                fonts.append(font);
                name.clear();
            }
            break;
        default: break;
        }
    }
    return fonts;
}

QList<QColor> readColors(RtfTokenizer &t)
{
    QList<QColor> colors; // the first, without words, is the automatic colour
    QColor c(0, 0, 0);
    bool set = false;
    for (int depth = 1; depth > 0;) {
        const RtfToken token = t.next();
        switch (token.type) {
        case RtfToken::End: return colors;
        case RtfToken::GroupOpen: ++depth; break;
        case RtfToken::GroupClose: --depth; break;
        case RtfToken::ControlWord:
            set = true;
            if (token.data == QByteArrayView("red"))
                c.setRed(qBound(0, token.parameter, 255));
            else if (token.data == QByteArrayView("green"))
                c.setGreen(qBound(0, token.parameter, 255));
            else if (token.data == QByteArrayView("blue"))
                c.setBlue(qBound(0, token.parameter, 255));
            break;
        case RtfToken::Text:
            for (const char ch : token.data) {
                if (ch == ';') {
                    colors.append(set ? c : QColor());
                    c = QColor(0, 0, 0);
                    set = false;
                }
            }
            break;
        default: break;
        }
    }
    return colors;
}

} // namespace

namespace {

// What would change the whole document where the kept RTF is read again is left out: the
// document's tables and words, and the list words (\ls, \ilvl), which name lists of this file.
// A group that starts with such a word loses the word only: the reader read what it holds.
void leaveOutDocumentWide(RtfGroupCopier &copier)
{
    copier.dropWord = [](QByteArrayView word) {
        const RtfControlWord *entry = RtfControlWords::find(word);
        return entry && RtfControlWords::isDocumentWide(*entry);
    };
    const auto skip = copier.skipGroup;
    copier.skipGroup = [skip](QByteArrayView word, RtfTokenizer rest) {
        const RtfControlWord *entry = RtfControlWords::find(word);
        const bool table = entry && entry->kind == RtfKind::Destination && RtfControlWords::isDocumentWide(*entry);
        return table || (skip && skip(word, rest));
    };
}

} // namespace

QByteArray KeptRtf::asKept(QByteArrayView rtf)
{
    RtfGroupCopier copier;
    leaveOutDocumentWide(copier);
    QByteArray out;
    copier.copy(rtf, out);
    return out;
}

QString KeptRtf::make(QByteArrayView rtf, const FontLookup &fonts, const ColorLookup &colors, const QString &id,
                      RtfGroupCopier copier)
{
    QList<Font> usedFonts;
    QHash<int, int> fontIndex;
    QList<QColor> usedColors;
    QHash<int, int> colorIndex;
    leaveOutDocumentWide(copier);
    copier.mapFont = [&](int number) {
        const auto found = fontIndex.constFind(number);
        if (found != fontIndex.cend())
            return *found;
        usedFonts.append(fonts(number));
        fontIndex.insert(number, int(usedFonts.size()) - 1);
        return int(usedFonts.size()) - 1;
    };
    copier.mapColor = [&](int index) {
        const auto found = colorIndex.constFind(index);
        if (found != colorIndex.cend())
            return *found;
        const QColor c = index > 0 ? colors(index) : QColor();
        int mapped = 0;
        if (c.isValid()) {
            usedColors.append(c);
            mapped = int(usedColors.size());
        }
        colorIndex.insert(index, mapped);
        return mapped;
    };
    QByteArray content;
    if (!copier.copy(rtf, content))
        return QString();
    // The id group always comes first, even empty, so that kept content starting with a group of
    // that name is not taken for it.
    QByteArray out = "{\\rtf1{\\*\\id";
    if (!id.isEmpty())
        out += ' ' + id.toLatin1();
    out += '}';
    if (!usedFonts.isEmpty()) {
        out += "{\\fonttbl";
        for (qsizetype i = 0; i < usedFonts.size(); ++i) {
            const Font &f = usedFonts[i];
            out += "{\\f" + QByteArray::number(i) + "\\fcharset" + QByteArray::number(f.charset);
            if (f.codePage > 0)
                out += "\\cpg" + QByteArray::number(f.codePage);
            out += ' ';
            appendFontName(f.name, out);
            out += ";}";
        }
        out += '}';
    }
    if (!usedColors.isEmpty()) {
        out += "{\\colortbl;";
        for (const QColor &c : std::as_const(usedColors))
            out += "\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green()) + "\\blue"
                 + QByteArray::number(c.blue()) + ';';
        out += '}';
    }
    out += content;
    out += '}';
    return QString::fromLatin1(out);
}

KeptRtf::Parts KeptRtf::parse(const QString &kept)
{
    Parts parts;
    const QByteArray bytes = kept.toLatin1();
    RtfTokenizer t(bytes);
    if (t.next().type != RtfToken::GroupOpen || t.next().type != RtfToken::ControlWord)
        return parts;
    // The id comes first, then the tables, each once; the content starts at the first token
    // that is not the next of them.
    int next = 0; // 0 the id, 1 the font table, 2 the colour table
    for (;;) {
        const qsizetype start = t.position();
        RtfTokenizer peek = t;
        const RtfToken open = peek.next();
        RtfToken first;
        if (open.type == RtfToken::GroupOpen) {
            first = peek.next();
            if (first.type == RtfToken::ControlSymbol && first.byte == '*')
                first = peek.next();
        }
        const bool table = open.type == RtfToken::GroupOpen && first.type == RtfToken::ControlWord;
        if (table && next == 0 && first.data == QByteArrayView("id")) {
            next = 1;
            QByteArray id;
            RtfToken token;
            while ((token = peek.next()).type == RtfToken::Text)
                id += token.data.toByteArray();
            parts.id = QString::fromLatin1(id.trimmed());
            if (token.type != RtfToken::GroupClose)
                skipGroup(peek);
        } else if (table && next == 1 && first.data == QByteArrayView("fonttbl")) {
            next = 2;
            parts.fonts = readFonts(peek);
        } else if (table && next >= 1 && next <= 2 && first.data == QByteArrayView("colortbl")) {
            next = 3;
            parts.colors = readColors(peek);
        } else {
            // Up to the document's closing brace, which is the last byte.
            qsizetype end = bytes.size();
            while (end > start && bytes[end - 1] != '}')
                --end;
            parts.content = bytes.mid(start, qMax<qsizetype>(0, end - 1 - start));
            return parts;
        }
        t = peek;
    }
}

QList<QString> KeptRtf::split(const QString &kepts)
{
    QList<QString> parts;
    const QByteArray bytes = kepts.toLatin1();
    RtfTokenizer t(bytes);
    qsizetype start = 0;
    int depth = 0;
    for (;;) {
        const qsizetype before = t.position();
        const RtfToken token = t.next();
        if (token.type == RtfToken::End)
            break;
        if (token.type == RtfToken::GroupOpen && depth++ == 0)
            start = before;
        else if (token.type == RtfToken::GroupClose && depth > 0 && --depth == 0)
            parts.append(QString::fromLatin1(bytes.mid(start, t.position() - start)));
    }
    return parts;
}

QString KeptRtf::fieldInstruction(const QString &kept)
{
    const QByteArray content = parse(kept).content;
    RtfTokenizer t(content);
    QByteArray instruction;
    int depth = 0, instructionDepth = -1;
    for (;;) {
        const RtfToken token = t.next();
        if (token.type == RtfToken::End)
            break;
        if (token.type == RtfToken::GroupOpen) {
            ++depth;
        } else if (token.type == RtfToken::GroupClose) {
            if (depth-- == instructionDepth)
                break;
        } else if (token.type == RtfToken::ControlWord && token.data == QByteArrayView("fldinst") && instructionDepth < 0) {
            instructionDepth = depth;
        } else if (instructionDepth >= 0 && token.type == RtfToken::Text) {
            instruction += token.data.toByteArray();
        }
    }
    return QString::fromLatin1(instruction).simplified();
}

QByteArray KeptRtf::text(QStringView text)
{
    QByteArray out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += char(u);
        } else if (u == '\t') {
            out += "\\tab ";
        } else if (u == 0x2028 || u == '\n') {
            out += "\\line ";
        } else if (u >= 0x20 && u < 0x80) {
            out += char(u);
        } else if (u >= 0x20 || u == 0) {
            out += "\\u" + QByteArray::number(u > 32767 ? int(u) - 65536 : int(u)) + '?';
        }
    }
    return out;
}

QString KeptRtf::hiddenText(QByteArrayView content)
{
    if (!content.contains("\\v"))
        return QString();
    RtfTokenizer t(content);
    return textOfGroup(t, true).join(QChar::LineSeparator);
}

namespace {

// Hands each group of `content` that starts with a word ({\*\WORD ...} or {\WORD ...}) to `take`,
// with a tokenizer standing after the word; a group `take` reads (it says so) is read no further.
void forEachDestination(QByteArrayView content, const std::function<bool(QByteArrayView word, RtfTokenizer &group)> &take)
{
    RtfTokenizer t(content);
    for (RtfToken token = t.next(); token.type != RtfToken::End; token = t.next()) {
        if (token.type != RtfToken::GroupOpen)
            continue;
        RtfTokenizer group = t;
        RtfToken first = group.next();
        if (first.type == RtfToken::ControlSymbol && first.byte == '*')
            first = group.next();
        if (first.type == RtfToken::ControlWord && take(first.data, group))
            t = group;
    }
}

} // namespace

QList<KeptRtf::Annotation> KeptRtf::annotations(QByteArrayView content)
{
    if (!content.contains("\\annotation"))
        return {};
    QList<Annotation> found;
    Annotation next;
    forEachDestination(content, [&](QByteArrayView word, RtfTokenizer &t) {
        if (word == "atnid")
            next.initials = textOfGroup(t, false).join(u' ').trimmed();
        else if (word == "atnauthor")
            next.author = textOfGroup(t, false).join(u' ').trimmed();
        else if (word == "annotation") {
            next.paragraphs = textOfGroup(t, false);
            found.append(std::exchange(next, Annotation()));
        } else
            return false;
        return true;
    });
    return found;
}

QList<KeptRtf::Bookmark> KeptRtf::bookmarks(QByteArrayView content)
{
    if (!content.contains("\\bkmk"))
        return {};
    QList<Bookmark> found;
    forEachDestination(content, [&](QByteArrayView word, RtfTokenizer &t) {
        if (word != "bkmkstart" && word != "bkmkend")
            return false;
        const QString name = textOfGroup(t, false).join(u' ').trimmed();
        if (!name.isEmpty())
            found.append({word == "bkmkstart", name});
        return true;
    });
    return found;
}
