#include "rtf/RtfGroupCopier.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace {

bool isOneOf(QByteArrayView word, std::initializer_list<std::string_view> words)
{
    const std::string_view w(word.data(), std::size_t(word.size()));
    return std::find(words.begin(), words.end(), w) != words.end();
}

void appendEscaped(QByteArrayView text, QByteArray &out)
{
    for (const char c : text) {
        if (c == '\\' || c == '{' || c == '}')
            out += '\\';
        out += c;
    }
}

struct Group
{
    QByteArray word;  // the group's first control word, once seen
    qsizetype start;  // where its brace is in the output
    bool spaceBefore; // a control word before it waited for its delimiter
    bool fontNamed;   // a font word in force: the inherited font no longer is
    bool named = false;
};

bool hasHighBytes(QByteArrayView text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return uchar(c) >= 0x80; });
}

} // namespace

bool RtfGroupCopier::isFontWord(QByteArrayView word)
{
    return isOneOf(word, {"f", "af"});
}

bool RtfGroupCopier::isColorWord(QByteArrayView word)
{
    return isOneOf(word, {"cf", "cb", "chcbpat", "chcfpat", "highlight", "ulc", "clcbpat", "clcfpat", "clcbpatraw",
                          "clcfpatraw", "cbpat", "cfpat", "brdrcf", "trcbpat", "trcfpat"});
}

// Whether the words that come next name a font.
bool RtfGroupCopier::fontFollows(RtfTokenizer rest)
{
    for (RtfToken t = rest.next(); t.type == RtfToken::ControlWord; t = rest.next())
        if (isFontWord(t.data))
            return true;
    return false;
}

bool RtfGroupCopier::copy(QByteArrayView in, QByteArray &out, bool *endsInWord) const
{
    const qsizetype outStart = out.size();
    RtfTokenizer tokens(in);
    std::vector<Group> groups;
    bool space = false;      // a control word waits for its delimiter
    int skipping = 0;        // depth inside a group being left out
    // Names the inherited font before 8-bit text in a group that names none (never outside all
    // groups, where the font word would reach the text after the copy).
    auto nameInheritedFont = [&](bool highBytes) {
        if (inheritedFont < 0 || !highBytes || groups.empty() || groups.back().fontNamed)
            return;
        out += "\\f" + QByteArray::number(mapFont ? mapFont(inheritedFont) : inheritedFont);
        groups.back().fontNamed = true;
        space = true;
    };
    auto close = [&] {
        const Group &g = groups.back();
        if (beforeClose && g.named)
            beforeClose(g.word, int(groups.size()), out);
        out += '}';
        groups.pop_back();
        space = false;
    };
    for (;;) {
        const RtfToken t = tokens.next();
        if (t.type == RtfToken::End)
            break;
        if (skipping > 0) {
            if (t.type == RtfToken::GroupOpen)
                ++skipping;
            else if (t.type == RtfToken::GroupClose)
                --skipping;
            continue;
        }
        switch (t.type) {
        case RtfToken::GroupOpen:
            if (int(groups.size()) >= kMaxDepth) {
                out.truncate(outStart);
                return false;
            }
            groups.push_back({QByteArray(), out.size(), space, !groups.empty() && groups.back().fontNamed});
            out += '{';
            space = false;
            break;
        case RtfToken::GroupClose:
            if (!groups.empty())
                close();
            break;
        case RtfToken::ControlWord: {
            if (!groups.empty() && !groups.back().named) {
                groups.back().named = true;
                groups.back().word = t.data.toByteArray();
                if (skipGroup && skipGroup(t.data, tokens)) {
                    out.truncate(groups.back().start);
                    space = groups.back().spaceBefore; // the word before the group is last again
                    groups.pop_back();
                    skipping = 1;
                    break;
                }
            }
            if (dropWord && dropWord(t.data))
                break;
            int value = t.parameter;
            if (t.hasParameter && mapFont && isFontWord(t.data))
                value = mapFont(value);
            else if (t.hasParameter && mapColor && isColorWord(t.data))
                value = mapColor(value);
            out += '\\';
            out.append(t.data);
            if (t.hasParameter)
                out += QByteArray::number(value);
            space = true;
            if (!groups.empty() && ((t.hasParameter && t.data == QByteArrayView("f")) || t.data == QByteArrayView("plain")))
                groups.back().fontNamed = true;
            if (fontAfterPlain >= 0 && t.data == QByteArrayView("plain") && !fontFollows(tokens))
                out += "\\f" + QByteArray::number(mapFont ? mapFont(fontAfterPlain) : fontAfterPlain);
            break;
        }
        case RtfToken::ControlSymbol:
            if (t.byte == '\'') // a broken hex escape stands for nothing
                break;
            if (t.byte == '\n') {
                out += "\\par";
                space = true;
                break;
            }
            if (t.byte == '*' && !groups.empty() && !groups.back().named) {
                out += "\\*";
                space = false;
                break;
            }
            out += '\\';
            out += char(t.byte);
            space = false;
            break;
        case RtfToken::HexByte:
            nameInheritedFont(t.byte >= 0x80);
            out += "\\'";
            out += QByteArray::number(t.byte, 16).rightJustified(2, '0');
            space = false;
            break;
        case RtfToken::Text:
            nameInheritedFont(hasHighBytes(t.data));
            if (space)
                out += ' ';
            appendEscaped(t.data, out);
            space = false;
            break;
        case RtfToken::Binary:
            out += "\\bin" + QByteArray::number(t.data.size()) + ' ';
            out.append(t.data);
            space = false;
            break;
        case RtfToken::End:
            break;
        }
    }
    while (!groups.empty())
        close();
    if (endsInWord)
        *endsInWord = space;
    return true;
}
