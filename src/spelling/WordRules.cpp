#include "spelling/WordRules.h"

#include <algorithm>

namespace WordRules {
namespace {

constexpr char16_t kSoftHyphen = 0x00AD;
constexpr char16_t kTypographicApostrophe = 0x2019;
constexpr int kLongestWord = 64; // longer runs of letters are not words (data, encoded text)

// The code point at `i` and how many UTF-16 units it takes.
char32_t codePointAt(QStringView text, int i, int *units)
{
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        *units = 2;
        return QChar::surrogateToUcs4(c, text[i + 1]);
    }
    *units = 1;
    return c.unicode();
}

bool isWordCharacter(char32_t c)
{
    return QChar::isLetterOrNumber(c) || QChar::isMark(c) || c == kSoftHyphen;
}

bool isApostrophe(char32_t c)
{
    return c == u'\'' || c == kTypographicApostrophe;
}

bool isLetterAt(QStringView text, int i)
{
    int units = 0;
    return i >= 0 && i < text.size() && QChar::isLetter(codePointAt(text, i, &units));
}

// Scripts written without spaces between words: a run of their letters is not one word.
bool isUnspacedScript(char32_t c)
{
    switch (QChar::script(c)) {
    case QChar::Script_Han:
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
    case QChar::Script_Thai:
    case QChar::Script_Lao:
    case QChar::Script_Khmer:
    case QChar::Script_Myanmar:
    case QChar::Script_Tibetan:
        return true;
    default:
        return false;
    }
}

// Numbers, words with digits, all-capital words, and words of unspaced scripts.
bool isExempt(QStringView word)
{
    if (word.size() > kLongestWord)
        return true;
    bool upper = false;
    bool lower = false;
    for (int i = 0, units = 0; i < word.size(); i += units) {
        const char32_t c = codePointAt(word, i, &units);
        if (QChar::isNumber(c) || isUnspacedScript(c))
            return true;
        upper = upper || QChar::isUpper(c);
        lower = lower || QChar::isLower(c);
    }
    return upper && !lower;
}

bool separatesTokens(QChar c)
{
    return c.isSpace() || c == QChar::ObjectReplacementCharacter;
}

// A URL or an e-mail address, written as one run of text without spaces.
bool isAddress(QStringView token)
{
    if (token.contains(u"://"))
        return true;
    int first = 0;
    while (first < token.size() && !token[first].isLetterOrNumber())
        ++first;
    const QStringView rest = token.mid(first);
    if (rest.startsWith(u"www.", Qt::CaseInsensitive) || rest.startsWith(u"mailto:", Qt::CaseInsensitive))
        return true;
    const qsizetype at = token.indexOf(u'@');
    return at > 0 && at + 1 < token.size() && token[at - 1].isLetterOrNumber() && token[at + 1].isLetterOrNumber();
}

// Appends the words of text[from, to) to `out`.
void scan(QStringView text, int from, int to, QList<Span> &out)
{
    int i = from;
    while (i < to) {
        int units = 0;
        if (!isWordCharacter(codePointAt(text, i, &units))) {
            i += units;
            continue;
        }
        const int start = i;
        while (i < to) {
            const char32_t c = codePointAt(text, i, &units);
            if (isWordCharacter(c))
                i += units;
            else if (isApostrophe(c) && i + 1 < to && isLetterAt(text, i - 1) && isLetterAt(text, i + 1))
                i += units;
            else
                break;
        }
        out.append({start, i - start});
    }
}

} // namespace

QList<Span> checkable(QStringView text)
{
    QList<Span> out;
    QList<Span> inToken;
    const int size = int(text.size());
    int i = 0;
    while (i < size) {
        while (i < size && separatesTokens(text[i]))
            ++i;
        const int start = i;
        while (i < size && !separatesTokens(text[i]))
            ++i;
        if (start == i || isAddress(text.mid(start, i - start)))
            continue;
        inToken.clear();
        scan(text, start, i, inToken);
        for (const Span &word : std::as_const(inToken))
            if (!isExempt(text.mid(word.start, word.length)))
                out.append(word);
    }
    return out;
}

std::optional<Span> wordAt(QStringView text, int position)
{
    // Only the run of text between spaces around the position can hold the word.
    int from = std::clamp(position, 0, int(text.size()));
    int to = from;
    while (from > 0 && !separatesTokens(text[from - 1]))
        --from;
    while (to < text.size() && !separatesTokens(text[to]))
        ++to;
    QList<Span> inToken;
    scan(text, from, to, inToken);
    for (const Span &word : std::as_const(inToken))
        if (word.start <= position && position <= word.end())
            return word;
    return std::nullopt;
}

QString normalized(QString word)
{
    if (!word.contains(QChar(kSoftHyphen)) && !word.contains(QChar(kTypographicApostrophe)))
        return word; // as a rule: no copy made
    word.remove(QChar(kSoftHyphen));
    return word.replace(QChar(kTypographicApostrophe), u'\'');
}

} // namespace WordRules
