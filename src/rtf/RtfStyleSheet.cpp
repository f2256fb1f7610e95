#include "rtf/RtfStyleSheet.h"

#include <QSet>

bool RtfStyleSheet::isFormatting(RtfWord word)
{
    switch (word) {
    case RtfWord::Font: case RtfWord::FontSize: case RtfWord::Bold: case RtfWord::Italic:
    case RtfWord::Underline: case RtfWord::Strike: case RtfWord::Foreground: case RtfWord::Background:
    case RtfWord::Highlight: case RtfWord::Up: case RtfWord::Down: case RtfWord::Script: case RtfWord::Hidden:
    case RtfWord::Caps: case RtfWord::SmallCaps:
    case RtfWord::Alignment: case RtfWord::LeftIndent: case RtfWord::RightIndent: case RtfWord::FirstIndent:
    case RtfWord::SpaceBefore: case RtfWord::SpaceAfter: case RtfWord::LineSpacing: case RtfWord::LineMultiple:
    case RtfWord::TabPosition: case RtfWord::TabKind: case RtfWord::BarTab: case RtfWord::PageBreakBefore:
    case RtfWord::RightToLeft: case RtfWord::ListOverrideIndex: case RtfWord::ListLevelIndex:
        return true;
    default:
        return false;
    }
}

void RtfStyleSheet::add(const Style &style)
{
    if (styles_.contains(style.number) || int(order_.size()) >= kMaxStyles)
        return;
    styles_.insert(style.number, style);
    order_.push_back(style.number);
    resolved_.clear();
}

const RtfStyleSheet::Style *RtfStyleSheet::find(int number) const
{
    const auto it = styles_.constFind(number);
    return it == styles_.cend() ? nullptr : &*it;
}

const QList<RtfStyleSheet::Word> &RtfStyleSheet::resolved(int number)
{
    const auto cached = resolved_.constFind(number);
    if (cached != resolved_.cend())
        return *cached;
    // The chain from the style to its farthest base, stopping at a loop or a missing style.
    QList<const Style *> chain;
    QSet<int> seen;
    for (int n = number; chain.size() < kMaxChain && !seen.contains(n);) {
        const Style *s = find(n);
        if (!s)
            break;
        chain.append(s);
        seen.insert(n);
        if (s->basedOn < 0)
            break;
        n = s->basedOn;
    }
    QList<Word> words;
    for (qsizetype i = chain.size() - 1; i >= 0; --i)
        words += chain[i]->words;
    return *resolved_.insert(number, words);
}
