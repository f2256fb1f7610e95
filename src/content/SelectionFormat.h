#pragma once
#include <QList>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <optional>
#include <vector>

// Reads one property over a selection: its value when the whole selection agrees, nothing when it
// is mixed. Character properties look at the distinct formats of the selected text, gathered in
// one walk over its fragments; paragraph properties walk the paragraphs the selection touches.
namespace SelectionFormat {

inline bool isObjectFragment(const QTextFragment &fragment)
{
    return fragment.length() == 1 && fragment.text().at(0) == QChar::ObjectReplacementCharacter;
}

inline bool overlaps(const QTextFragment &fragment, int start, int end)
{
    const int position = fragment.position();
    return position < end && position + fragment.length() > start;
}

// The distinct character formats of the selected text, pictures left out, in one walk over its
// fragments. Empty for a caret or a selection of pictures only.
inline QList<QTextCharFormat> textFormats(const QTextCursor &cursor)
{
    QList<QTextCharFormat> formats;
    if (!cursor.hasSelection())
        return formats;
    const QTextDocument *doc = cursor.document();
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    const QTextBlock first = doc->findBlock(start);
    const QTextBlock last = doc->findBlock(end);
    std::vector<bool> seen; // by format index
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        // Only the first and the last paragraph can be partly selected; a fragment's position is
        // a tree walk, so the paragraphs between are taken whole.
        const bool edge = block == first || block == last;
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int index = fragment.charFormatIndex();
            if (index < 0 || (size_t(index) < seen.size() && seen[index]))
                continue;
            if ((edge && !overlaps(fragment, start, end)) || isObjectFragment(fragment))
                continue;
            if (size_t(index) >= seen.size())
                seen.resize(index + 1);
            seen[index] = true;
            formats << fragment.charFormat();
        }
        if (block == last)
            break;
    }
    return formats;
}

// A character property over the selection whose text has `formats`; with no text selected, the
// format at the caret, which typing uses.
template <typename T, typename Get>
std::optional<T> character(const QTextCursor &cursor, const QList<QTextCharFormat> &formats, Get get)
{
    if (formats.isEmpty())
        return get(cursor.charFormat());
    const T value = get(formats.first());
    for (const QTextCharFormat &format : formats)
        if (!(get(format) == value))
            return std::nullopt;
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
