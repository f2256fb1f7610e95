#include "files/RecentFilesMenu.h"
#include "files/FileCommands.h"
#include "workspace/Services.h"
#include "workspace/Workspace.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

RecentFilesMenu::RecentFilesMenu(Workspace &workspace, FileCommands &files)
    : m_workspace(workspace), m_files(files), m_list(workspace.services().settings)
{
    rebuild();
    // The store may have changed since: another run of the program keeps the list too.
    connect(workspace.menu(QStringLiteral("file")), &QMenu::aboutToShow, this,
            workspace.guarded(QStringLiteral("File"), [this] { rebuild(); }));
}

void RecentFilesMenu::add(const QString &path)
{
    m_list.add(path);
    rebuild();
}

QString RecentFilesMenu::captionOf(int index, const QString &path)
{
    QString name = QFileInfo(path).fileName();
    name.replace(QLatin1Char('&'), QLatin1String("&&")); // a mnemonic only in front of the number
    return QStringLiteral("&%1 %2").arg(index + 1).arg(name);
}

void RecentFilesMenu::rebuild()
{
    QMenu *file = m_workspace.menu(QStringLiteral("file"));
    // An entry may be rebuilt away while its own click is still running: it goes later.
    for (QAction *old : std::as_const(m_entries)) {
        file->removeAction(old);
        old->setObjectName(QString());
        old->deleteLater();
    }
    m_entries.clear();
    QAction *exit = m_workspace.menuItem(QStringLiteral("exit"));
    const QStringList paths = m_list.paths();
    for (int i = 0; i < paths.size(); ++i) {
        const QString path = paths[i];
        auto *entry = new QAction(captionOf(i, path), file);
        entry->setObjectName(QStringLiteral("recent%1").arg(i + 1));
        entry->setStatusTip(path);
        entry->setToolTip(path);
        connect(entry, &QAction::triggered, this, m_workspace.guarded(QFileInfo(path).fileName(), [this, path] { open(path); }));
        file->insertAction(exit, entry);
        m_entries << entry;
    }
    if (!m_entries.isEmpty()) {
        QAction *separator = new QAction(file);
        separator->setSeparator(true);
        separator->setObjectName(QStringLiteral("recentsep"));
        file->insertAction(exit, separator);
        m_entries << separator;
    }
}

void RecentFilesMenu::open(const QString &path)
{
    if (m_files.openRecent(path))
        return;
    m_list.remove(path);
    rebuild();
}
