#include "rtf/FrameItem.h"

QList<FrameItem> FrameItem::listFrom(QTextFrame::iterator it)
{
    QList<FrameItem> items;
    for (; !it.atEnd(); ++it) {
        if (QTextFrame *frame = it.currentFrame())
            items.append({QTextBlock(), frame});
        else if (it.currentBlock().isValid())
            items.append({it.currentBlock(), nullptr});
    }
    return items;
}
