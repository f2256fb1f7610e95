#include "spelling/PersonalDictionary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

PersonalDictionary::PersonalDictionary(QString path) : m_path(std::move(path))
{
    for (const QString &word : read(m_path))
        keep(word);
}

QStringList PersonalDictionary::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList words;
    const QString text = QString::fromUtf8(file.readAll());
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = line.trimmed(); // also drops the CR of a file written elsewhere
        if (!line.isEmpty())
            words.append(line.toString());
    }
    return words;
}

void PersonalDictionary::keep(const QString &word)
{
    if (m_set.contains(word))
        return;
    m_set.insert(word);
    m_words.append(word);
}

bool PersonalDictionary::add(const QString &word)
{
    const QString clean = word.trimmed();
    if (clean.isEmpty() || clean.contains(u'\n') || clean.contains(u'\r')) {
        m_error = QStringLiteral("\"%1\" is not a word").arg(word);
        return false;
    }
    for (const QString &other : read(m_path))
        keep(other);
    keep(clean);
    return write();
}

bool PersonalDictionary::write()
{
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath())) {
        m_error = QStringLiteral("The folder of %1 cannot be made").arg(m_path);
        return false;
    }
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        m_error = file.errorString();
        return false;
    }
    QByteArray bytes;
    for (const QString &word : std::as_const(m_words))
        bytes += word.toUtf8() + '\n';
    file.write(bytes);
    if (!file.commit()) {
        m_error = file.errorString();
        return false;
    }
    m_error.clear();
    return true;
}
