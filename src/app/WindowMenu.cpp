#include "app/WindowMenu.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

void WindowMenu::refresh(QMdiArea &area, const QList<QMdiSubWindow *> &windows)
{
    // An entry may be rebuilt away while its own click is being handled: delete it later.
    for (QAction *entry : std::as_const(m_entries)) {
        m_menu.removeAction(entry);
        entry->deleteLater();
    }
    m_entries.clear();
    if (windows.isEmpty())
        return;

    QAction *separator = m_menu.addSeparator();
    separator->setObjectName(QStringLiteral("windowList"));
    m_entries << separator;
    QMdiSubWindow *current = area.currentSubWindow();
    int number = 1;
    for (QMdiSubWindow *sub : windows) {
        const QString prefix = number < 10 ? QStringLiteral("&%1 ").arg(number) : QStringLiteral("%1 ").arg(number);
        QAction *entry = m_menu.addAction(prefix + sub->widget()->windowTitle());
        entry->setCheckable(true);
        entry->setChecked(sub == current);
        QObject::connect(entry, &QAction::triggered, &area, [&area, sub] {
            if (area.subWindowList().contains(sub)) {
                area.setActiveSubWindow(sub);
                sub->widget()->setFocus();
            }
        });
        m_entries << entry;
        ++number;
    }
}
