#pragma once
#include <QList>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

// The list of document windows at the foot of the Window menu: "&1 " plus each caption, the
// active one checked; choosing an entry activates its window.
class WindowMenu
{
public:
    explicit WindowMenu(QMenu &menu) : m_menu(menu) {}

    void refresh(QMdiArea &area, const QList<QMdiSubWindow *> &windows);

private:
    QMenu &m_menu;
    QList<QAction *> m_entries;
};
