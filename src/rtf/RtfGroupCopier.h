#pragma once
#include "rtf/RtfTokenizer.h"

#include <QByteArray>
#include <functional>

// Copies RTF token by token, so that what comes out is balanced whatever came in: groups left
// open are closed, stray closing braces dropped, and every token written in one canonical form
// (copying the copy gives the same bytes). On the way it maps font and colour numbers, can leave
// out words and whole groups, and lets the caller add RTF before a group closes. Used to keep RTF that the program cannot show
// and to write it back into another document's tables.
class RtfGroupCopier
{
public:
    static constexpr int kMaxDepth = 200;

    std::function<int(int)> mapFont;  // a font number to the one to write; unset: as it is
    std::function<int(int)> mapColor; // a colour number likewise (0 is the automatic colour)
    std::function<bool(QByteArrayView word)> dropWord; // words left out
    // Whether to leave out the group that starts with this word (after \*); `rest` reads on from
    // just after the word.
    std::function<bool(QByteArrayView word, RtfTokenizer rest)> skipGroup;
    // Called before the group that started with this word closes, to add to the output; depth 1
    // is a group at the top of the input.
    std::function<void(QByteArrayView word, int depth, QByteArray &out)> beforeClose;
    // The font \plain resets to where the RTF was read (its \deff); unless words after \plain name
    // a font, it is named there, since font 0 of the document the copy goes into may differ.
    // -1: \plain is copied alone.
    int fontAfterPlain = -1;
    // The font in force where the RTF was read. Text of 8-bit bytes that stands in it inside a
    // group gets it named first: written into another document, the bytes would otherwise be read
    // in that document's font and code page. -1: none is named.
    int inheritedFont = -1;

    // Appends the copy of `in` to `out`. False, with `out` as it was, when the groups nest deeper
    // than kMaxDepth. `endsInWord` tells whether text after the copy needs a delimiter first.
    bool copy(QByteArrayView in, QByteArray &out, bool *endsInWord = nullptr) const;

    static bool isFontWord(QByteArrayView word);
    static bool fontFollows(RtfTokenizer rest);
    static bool isColorWord(QByteArrayView word);
};
