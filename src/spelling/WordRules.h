#pragma once
#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

// What counts as a word in a paragraph: a run of letters, digits and combining marks, with an
// apostrophe allowed between two letters ("don't"); hyphens and other punctuation separate words.
// And which words are never checked: numbers, words with digits, all-capital words, and whatever
// lies inside a URL or an e-mail address.
namespace WordRules {

struct Span {
    int start = 0;
    int length = 0;
    int end() const { return start + length; }
    friend bool operator==(const Span &, const Span &) = default;
};

// The words of the text that the checker is asked about.
QList<Span> checkable(QStringView text);

// The word touching `position` (inside it or at either end), if any, checkable or not.
std::optional<Span> wordAt(QStringView text, int position);

// The word as the dictionary spells it: a typographic apostrophe becomes a plain one and soft
// hyphens are dropped.
QString normalized(QString word);

} // namespace WordRules
