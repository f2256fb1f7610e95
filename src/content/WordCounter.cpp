#include "content/WordCounter.h"

#include <QTextBlock>
#include <QTextDocument>

WordCounter::Counts WordCounter::count(const QTextDocument &doc)
{
    return count(doc, 0, doc.characterCount());
}

WordCounter::Counts WordCounter::count(const QTextDocument &doc, int from, int to)
{
    Counts counts;
    if (to <= from)
        return counts;
    // Block by block: no string of the whole text is ever built.
    for (QTextBlock block = doc.findBlock(from); block.isValid() && block.position() < to; block = block.next()) {
        const QString text = block.text();
        const int start = std::max(from - block.position(), 0);
        const int end = std::min<qsizetype>(to - block.position(), text.size());
        if (end > start)
            add(counts, text.constData() + start, end - start);
    }
    return counts;
}

void WordCounter::add(Counts &counts, const QChar *text, qsizetype length)
{
    bool inWord = false;
    bool hasText = false;
    for (qsizetype i = 0; i < length; ++i) {
        const QChar c = text[i];
        if (c.isLowSurrogate())
            continue; // the second half of a character already counted
        const bool picture = c == QChar::ObjectReplacementCharacter;
        const bool space = picture || c.isSpace();
        if (!picture)
            ++counts.characters;
        if (!space) {
            ++counts.charactersNoSpaces;
            if (!inWord)
                ++counts.words;
            hasText = true;
        }
        inWord = !space;
    }
    if (hasText)
        ++counts.paragraphs;
}
