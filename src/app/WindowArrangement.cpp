#include "app/WindowArrangement.h"
#include "platform/Failure.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <algorithm>

namespace {

int titleBarHeight(const QMdiSubWindow &sub)
{
    QStyleOptionTitleBar option;
    option.initFrom(&sub);
    return std::max(sub.style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, &sub), 1);
}

} // namespace

QSize WindowArrangement::usableSize(const QMdiArea &area)
{
    const QSize space = area.viewport()->size();
    return {std::max(space.width() * 2 / 3, 1), std::max(space.height() * 2 / 3, 1)};
}

void WindowArrangement::keepUsable(const QMdiArea &area, QMdiSubWindow &sub)
{
    const QSize space = area.viewport()->size();
    QRect shape = sub.geometry();
    if (shape.width() < space.width() / 4 || shape.height() < space.height() / 4)
        shape.setSize(usableSize(area));
    shape.moveLeft(std::clamp(shape.left(), 0, std::max(space.width() - shape.width(), 0)));
    shape.moveTop(std::clamp(shape.top(), 0, std::max(space.height() - shape.height(), 0)));
    if (shape != sub.geometry())
        sub.setGeometry(shape);
}

void WindowArrangement::cascade(QMdiArea &area, const QList<QMdiSubWindow *> &windows)
{
    // Each window one title bar lower and to the right of the one before, the active one last, on
    // top. Minimised windows stay where they are.
    QMdiSubWindow *active = area.currentSubWindow();
    QList<QMdiSubWindow *> open;
    for (QMdiSubWindow *sub : windows)
        if (!sub->isMinimized() && sub != active)
            open << sub;
    if (active && !active->isMinimized() && windows.contains(active))
        open << active;
    if (open.isEmpty())
        return;
    const QSize size = usableSize(area);
    const QSize space = area.viewport()->size();
    const int step = titleBarHeight(*open.first());
    // When the stair would leave the workspace it starts again at the top left.
    const int room = std::min(space.width() - size.width(), space.height() - size.height());
    const int places = std::max(room / step + 1, 1);
    // Activating a window on the way must not maximise it again.
    area.setOption(QMdiArea::DontMaximizeSubWindowOnActivation, true);
    for (int i = 0; i < open.size(); ++i) {
        QMdiSubWindow *sub = open[i];
        const int offset = step * (i % places);
        sub->showNormal();
        sub->setGeometry(QRect(QPoint(offset, offset), size));
        sub->raise();
    }
    if (active && open.contains(active))
        area.setActiveSubWindow(active);
    area.setOption(QMdiArea::DontMaximizeSubWindowOnActivation, false);
}

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
