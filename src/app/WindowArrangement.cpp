#include "app/WindowArrangement.h"
#include "platform/Failure.h"

#include <QMdiArea>
#include <QMdiSubWindow>

void WindowArrangement::tile(QMdiArea &area, const QList<QMdiSubWindow *> &windows, Tiling tiling)
{
    QList<QMdiSubWindow *> open;
    for (QMdiSubWindow *sub : windows)
        if (!sub->isMinimized())
            open << sub;
    if (open.isEmpty())
        return;
    const QRect space = area.viewport()->rect();
    const int n = int(open.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow *sub = open[i];
        sub->showNormal();
        if (tiling == Tiling::Horizontal) {
            const int top = space.height() * i / n, bottom = space.height() * (i + 1) / n;
            sub->setGeometry(0, top, space.width(), bottom - top);
        } else {
            const int left = space.width() * i / n, right = space.width() * (i + 1) / n;
            sub->setGeometry(left, 0, right - left, space.height());
        }
    }
}

void WindowArrangement::arrangeIcons(QMdiArea &area, const QList<QMdiSubWindow *> &windows)
{
    // Minimised windows are lined up along the bottom of the workspace, left to right.
    const QRect space = area.viewport()->rect();
    int x = 0, y = space.bottom();
    for (QMdiSubWindow *sub : windows) {
        if (!sub->isMinimized())
            continue;
        const QSize size = sub->size();
        if (x > 0 && x + size.width() > space.width()) {
            x = 0;
            y -= size.height();
        }
        sub->move(x, y - size.height() + 1);
        x += size.width();
    }
}

void WindowArrangement::minimizeAll(QMdiArea &area, const QList<QMdiSubWindow *> &windows)
{
    // The active window goes last, so that minimising the others does not hand the activation
    // (and with it the maximised state) from window to window.
    QMdiSubWindow *active = area.currentSubWindow();
    area.setOption(QMdiArea::DontMaximizeSubWindowOnActivation, true);
    for (QMdiSubWindow *sub : windows)
        if (sub != active)
            skipOnFailure([&] { sub->showMinimized(); });
    if (active)
        active->showMinimized();
    area.setOption(QMdiArea::DontMaximizeSubWindowOnActivation, false);
}

void WindowArrangement::restoreAll(QMdiArea &area, const QList<QMdiSubWindow *> &windows)
{
    // Every window is restored maximised; the workspace shows the active one in front.
    QMdiSubWindow *active = area.currentSubWindow();
    for (QMdiSubWindow *sub : windows)
        if (sub != active)
            skipOnFailure([&] { sub->showMaximized(); });
    if (active) {
        active->showMaximized();
        area.setActiveSubWindow(active);
    }
}
