#pragma once
#include <QStringList>

class SettingsStore;

// The files opened or saved last, most recent first, at most six, kept in the settings store
// (section "Recent Files", keys "File1" to "File6", full paths).
class RecentFiles
{
public:
    static constexpr int kMaximum = 6;

    explicit RecentFiles(SettingsStore &settings);

    QStringList paths() const;
    // Puts the file at the top (once: an entry already listed moves up).
    void add(const QString &path);
    void remove(const QString &path);

private:
    void write(const QStringList &paths);
    static QString keyOf(int index);

    SettingsStore &m_settings;
};
