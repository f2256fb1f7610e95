#include "layout/FrameBox.h"
#include "layout/TableBox.h"

#include <QTextTable>

FrameBox *FrameBox::of(QTextFrame *frame)
{
    if (auto *table = qobject_cast<QTextTable *>(frame))
        return TableBox::of(table);
    if (auto *box = dynamic_cast<FrameBox *>(frame->layoutData()))
        return box;
    auto *box = new FrameBox;
    frame->setLayoutData(box); // the frame owns it
    return box;
}
