#pragma once
#include <QString>
#include <memory>

class QSettings;

// The per-user settings store: application name, section, key, text values. Kept as an INI file
// under the user's configuration folder (or a folder given by tests).
class SettingsStore
{
public:
    // The application name is the executable's file name without extension.
    explicit SettingsStore(const QString &applicationName, const QString &folder = QString());
    ~SettingsStore();

    QString setting(const QString &section, const QString &key, const QString &defaultValue) const;
    void saveSetting(const QString &section, const QString &key, const QString &value);
    QString fileName() const;

    static QString executableName();

private:
    std::unique_ptr<QSettings> m_settings;
};
