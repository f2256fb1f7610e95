#pragma once
#include "files/RecentFiles.h"

#include <QList>
#include <QObject>

class FileCommands;
class QAction;
class Workspace;

// The recent files in the File menu, above "Exit": "&1 name.rtf" and so on, most recent first,
// each with its full path as status tip. Choosing one opens it as Open does; a file that cannot be
// opened any more is reported and leaves the list.
class RecentFilesMenu : public QObject
{
    Q_OBJECT
public:
    RecentFilesMenu(Workspace &workspace, FileCommands &files);

    // A file opened or saved goes to the top.
    void add(const QString &path);
    QStringList paths() const { return m_list.paths(); }
    // The menu's entries, most recent first, then their separator; empty when the list is.
    const QList<QAction *> &entries() const { return m_entries; }

private:
    void rebuild();
    void open(const QString &path);
    static QString captionOf(int index, const QString &path);

    Workspace &m_workspace;
    FileCommands &m_files;
    RecentFiles m_list;
    QList<QAction *> m_entries;
};
