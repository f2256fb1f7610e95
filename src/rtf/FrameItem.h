#pragma once
#include <QList>
#include <QTextBlock>
#include <QTextFrame>

// One thing a frame holds, in order: a paragraph, or a frame of its own (a table, a floating
// picture). The writers of every format list them first, since what follows decides how an item
// is written (a paragraph's end mark, a floating picture written in the paragraph after it).
struct FrameItem
{
    QTextBlock block;
    QTextFrame *frame = nullptr;

    // The items from `it` to the end of its frame.
    static QList<FrameItem> listFrom(QTextFrame::iterator it);
};
