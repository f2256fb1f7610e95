#include "platform/AppFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

AppFolder AppFolder::forRunningProgram()
{
    return forProgramIn(QCoreApplication::applicationDirPath());
}

AppFolder AppFolder::forProgramIn(const QString &programDir)
{
    // The data folder beside the program's own prefix comes before the one compiled in, so an
    // install moved to another prefix (or a package's /usr) reads its own files, not those of
    // another install left in the build's prefix.
    QStringList folders{programDir, QDir::cleanPath(programDir + QStringLiteral("/../share/scrivlo"))};
#ifdef SCRIVLO_DATADIR
    if (!folders.contains(QStringLiteral(SCRIVLO_DATADIR)))
        folders << QStringLiteral(SCRIVLO_DATADIR);
#endif
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
