#include "document/ScreenLayout.h"
#include "layout/IncrementalLayout.h"

#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextEdit>

IncrementalLayout &ScreenLayout::install(QTextEdit &edit)
{
    auto *layout = new IncrementalLayout(edit.document());
    edit.document()->setDocumentLayout(layout); // the document owns it
    new ScreenLayout(edit, *layout);
    return *layout;
}

ScreenLayout::ScreenLayout(QTextEdit &edit, IncrementalLayout &layout) : QObject(&edit), m_edit(edit)
{
    QScrollBar *bar = edit.verticalScrollBar();
    layout.setViewTop(bar->value());
    connect(bar, &QScrollBar::valueChanged, &layout, &IncrementalLayout::setViewTop);
    connect(&layout, &IncrementalLayout::viewTopMoved, this, &ScreenLayout::follow);
}

// What the view showed moved by as much as the scroll bar now moves, so the screen stays as it is:
// the bar moves without scrolling what the edit shows.
void ScreenLayout::follow(qreal y)
{
    QScrollBar *bar = m_edit.verticalScrollBar();
    const int value = qRound(y);
    if (value == bar->value())
        return;
    const QSignalBlocker quiet(bar);
    if (value > bar->maximum())
        bar->setMaximum(value); // the edit sets the range again once it has the new size
    bar->setValue(value);
}
