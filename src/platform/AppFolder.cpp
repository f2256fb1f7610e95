#include "platform/AppFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

AppFolder AppFolder::forRunningProgram()
{
    QStringList folders{QCoreApplication::applicationDirPath()};
#ifdef SCRIVLO_DATADIR
    folders << QStringLiteral(SCRIVLO_DATADIR);
#endif
    folders << QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../share/scrivlo"));
    return AppFolder(folders);
}

QString AppFolder::find(const QString &fileName) const
{
    for (const QString &folder : m_folders) {
        const QDir dir(folder);
        if (QFileInfo(dir.filePath(fileName)).isFile())
            return dir.filePath(fileName);
        // The name is matched without regard to letter case.
        const QStringList entries = dir.entryList(QDir::Files);
        for (const QString &entry : entries)
            if (entry.compare(fileName, Qt::CaseInsensitive) == 0)
                return dir.filePath(entry);
    }
    return QString();
}
