#include "files/RecentFiles.h"
#include "platform/Failure.h"
#include "platform/SettingsStore.h"

#include <QFileInfo>

namespace {
const QString kSection = QStringLiteral("Recent Files");
}

RecentFiles::RecentFiles(SettingsStore &settings) : m_settings(settings) {}

QString RecentFiles::keyOf(int index) { return QStringLiteral("File%1").arg(index + 1); }

QStringList RecentFiles::paths() const
{
    QStringList result;
    for (int i = 0; i < kMaximum; ++i) {
        const QString path = m_settings.setting(kSection, keyOf(i), QString());
        if (!path.isEmpty() && !result.contains(path))
            result << path;
    }
    return result;
}

void RecentFiles::add(const QString &path)
{
    if (path.isEmpty())
        return;
    // Kept in full, so that the entry still works from another folder.
    const QString full = QFileInfo(path).absoluteFilePath();
    QStringList list = paths();
    list.removeAll(full);
    list.prepend(full);
    write(list.mid(0, kMaximum));
}

void RecentFiles::remove(const QString &path)
{
    QStringList list = paths();
    if (list.removeAll(path) > 0)
        write(list);
}

void RecentFiles::write(const QStringList &paths)
{
    // The list is a convenience: a store that cannot be written leaves it as it was.
    skipOnFailure([&] {
        for (int i = 0; i < kMaximum; ++i)
            m_settings.saveSetting(kSection, keyOf(i), paths.value(i));
    });
}
