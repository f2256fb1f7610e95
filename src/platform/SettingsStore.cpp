#include "platform/SettingsStore.h"
#include "platform/Failure.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

SettingsStore::SettingsStore(const QString &applicationName, const QString &folder)
{
    const QString dir = folder.isEmpty()
        ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        : folder;
    const QString name = applicationName.isEmpty() ? QStringLiteral("scrivlo") : applicationName;
    m_settings = std::make_unique<QSettings>(QDir(dir).filePath(name + QStringLiteral(".conf")),
                                             QSettings::IniFormat);
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::setting(const QString &section, const QString &key, const QString &defaultValue) const
{
    // QSettings treats "/" as a group separator; sections and keys here are plain names.
    const QVariant value = m_settings->value(section + QLatin1Char('/') + key);
    return value.isValid() ? value.toString() : defaultValue;
}

void SettingsStore::saveSetting(const QString &section, const QString &key, const QString &value)
{
    m_settings->setValue(section + QLatin1Char('/') + key, value);
    m_settings->sync();
    if (m_settings->status() != QSettings::NoError)
        throw Failure(QStringLiteral("Cannot write the setting %1/%2").arg(section, key));
}

QString SettingsStore::fileName() const { return m_settings->fileName(); }

QString SettingsStore::executableName()
{
    const QString path = QCoreApplication::applicationFilePath();
    return path.isEmpty() ? QStringLiteral("scrivlo") : QFileInfo(path).completeBaseName();
}
