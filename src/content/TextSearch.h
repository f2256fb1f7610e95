#pragma once
#include <QString>
#include <QTextCursor>

class QTextDocument;

// Finds and replaces plain text in a document. A match lies inside one paragraph; it may ignore
// case and may be held to whole words. Replacing keeps the look of the text replaced: the new
// text takes the character format of the first character it replaces.
class TextSearch
{
public:
    struct Options {
        bool matchCase = false;
        bool wholeWords = false;
    };
    enum class Direction { Forward, Backward };

    struct Match {
        QTextCursor cursor; // selects the match; null when there is none
        bool wrapped = false; // found only after going round the end (or the start)
        bool found() const { return !cursor.isNull(); }
    };

    // Searches from the selection of `from`: forward after its end, backward before its start.
    // When it meets the end (or the start) it goes round once to the other end of the document.
    static Match find(const QTextDocument &doc, const QString &text, const QTextCursor &from, Options options,
                      Direction direction);
    // True when `selection` selects exactly one match of `text`.
    static bool isMatch(const QTextCursor &selection, const QString &text, Options options);
    // Replaces what `match` selects, as one step of Undo; `match` ends after the new text.
    static void replace(QTextCursor &match, const QString &replacement);
    // Replaces every match in the document as one step of Undo, and gives their number.
    static int replaceAll(QTextDocument &doc, const QString &text, const QString &replacement, Options options);

private:
    static int flagsOf(Options options, Direction direction);
    static void replaceSelected(QTextCursor &match, const QString &replacement);
};
