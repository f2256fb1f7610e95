#pragma once
#include <QList>
#include <QSize>

class QMdiArea;
class QMdiSubWindow;

// Arranging the document windows in the workspace: overlapping, side by side or one above the
// other, the minimised ones lined up along the bottom, all minimised or all restored.
class WindowArrangement
{
public:
    enum class Tiling { Horizontal, Vertical }; // one above the other, side by side
    static void cascade(QMdiArea &area, const QList<QMdiSubWindow *> &windows);
    static void tile(QMdiArea &area, const QList<QMdiSubWindow *> &windows, Tiling tiling);
    static void arrangeIcons(QMdiArea &area, const QList<QMdiSubWindow *> &windows);
    static void minimizeAll(QMdiArea &area, const QList<QMdiSubWindow *> &windows);
    static void restoreAll(QMdiArea &area, const QList<QMdiSubWindow *> &windows);
    // A window restored from the minimised state at a size too small to work in (a title bar
    // alone) comes back at the usable size; either way it comes back inside the workspace.
    static void keepUsable(const QMdiArea &area, QMdiSubWindow &sub);
    // The size of a window that is neither maximised nor minimised: two thirds of the workspace,
    // enough to read and edit its text.
    static QSize usableSize(const QMdiArea &area);
};
