#pragma once
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <optional>

// Reads one property over a selection: its value when the whole selection agrees, nothing when it
// is mixed. Character properties walk the selection's fragments once, looking at each distinct
// format only once; paragraph properties walk the paragraphs the selection touches.
namespace SelectionFormat {

inline bool isObjectFragment(const QTextFragment &fragment)
{
    return fragment.length() == 1 && fragment.text().at(0) == QChar::ObjectReplacementCharacter;
}

template <typename T, typename Get>
std::optional<T> character(const QTextCursor &cursor, Get get)
{
    if (!cursor.hasSelection())
        return get(cursor.charFormat());
    const QTextDocument *doc = cursor.document();
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    std::optional<T> value;
    int lastFormat = -1;
    bool sawText = false;
    for (QTextBlock block = doc->findBlock(start); block.isValid() && block.position() < end; block = block.next()) {
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() >= end)
                break;
            if (fragment.position() + fragment.length() <= start || isObjectFragment(fragment))
                continue;
            const int formatIndex = fragment.charFormatIndex();
            if (formatIndex == lastFormat)
                continue;
            lastFormat = formatIndex;
            const T here = get(fragment.charFormat());
            if (!sawText) {
                value = here;
                sawText = true;
            } else if (!(here == *value)) {
                return std::nullopt;
            }
        }
    }
    if (!sawText)
        return get(cursor.charFormat());
    return value;
}

template <typename T, typename Get>
std::optional<T> paragraph(const QTextCursor &cursor, Get get)
{
    const QTextDocument *doc = cursor.document();
    const QTextBlock first = doc->findBlock(cursor.selectionStart());
    const QTextBlock last = doc->findBlock(cursor.selectionEnd());
    const T value = get(first);
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        if (!(get(block) == value))
            return std::nullopt;
        if (block == last)
            break;
    }
    return value;
}

} // namespace SelectionFormat
