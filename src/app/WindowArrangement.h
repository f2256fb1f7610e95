#pragma once
#include <QList>

class QMdiArea;
class QMdiSubWindow;

// Arranging the document windows in the workspace: side by side or one above the other, the
// minimised ones lined up along the bottom, all minimised or all restored.
class WindowArrangement
{
public:
    enum class Tiling { Horizontal, Vertical }; // one above the other, side by side
    static void tile(QMdiArea &area, const QList<QMdiSubWindow *> &windows, Tiling tiling);
    static void arrangeIcons(QMdiArea &area, const QList<QMdiSubWindow *> &windows);
    static void minimizeAll(QMdiArea &area, const QList<QMdiSubWindow *> &windows);
    static void restoreAll(QMdiArea &area, const QList<QMdiSubWindow *> &windows);
};
