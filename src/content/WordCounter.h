#pragma once
#include <QChar>

class QTextDocument;

// Counts the words, characters and paragraphs of a document or of a part of it. A word is a run of
// characters between spaces (pictures count as spaces and not as characters); a character is one
// Unicode character, paragraph ends left out; a paragraph is one that holds some text.
class WordCounter
{
public:
    struct Counts {
        qint64 words = 0;
        qint64 characters = 0;       // spaces included
        qint64 charactersNoSpaces = 0;
        qint64 paragraphs = 0;
    };

    static Counts count(const QTextDocument &doc);
    // The part from position `from` to position `to` (as QTextCursor counts them).
    static Counts count(const QTextDocument &doc, int from, int to);

private:
    static void add(Counts &counts, const QChar *text, qsizetype length);
};
