#include "recovery/RecoveryFolder.h"
#include "content/WholeFile.h"
#include "platform/Failure.h"
#include "recovery/RecoveryEntry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QUuid>

namespace {

const QStringList kSuffixes = {QStringLiteral("rtf"), QStringLiteral("txt")};

} // namespace

RecoveryFolder::RecoveryFolder(const QString &root)
{
    if (root.isEmpty() || !QDir().mkpath(root))
        throw Failure(QStringLiteral("Cannot make the recovery folder \"%1\"").arg(root));
    const QString folder = QDir(root).filePath(QUuid::createUuid().toString(QUuid::WithoutBraces));
    auto lock = std::make_unique<QLockFile>(lockPathOf(folder));
    lock->setStaleLockTime(0); // held for the whole run: only a lock whose program is gone is stale
    if (!lock->tryLock(0) || !QDir().mkpath(folder))
        throw Failure(QStringLiteral("Cannot make the recovery folder \"%1\"").arg(folder));
    m_path = folder;
    m_lock = std::move(lock);
}

RecoveryFolder::~RecoveryFolder()
{
    if (!m_keep)
        QDir(m_path).removeRecursively();
    m_lock->unlock();
}

QString RecoveryFolder::newCopyName() { return QString::number(++m_lastCopy); }

void RecoveryFolder::write(const QString &copy, const RecoveryEntry &entry, const QByteArray &document) const
{
    const QString suffix = RecoveryEntry::suffixOf(entry.format);
    WholeFile::write(documentPath(m_path, copy, suffix), document);
    for (const QString &other : kSuffixes)
        if (other != suffix)
            QFile::remove(documentPath(m_path, copy, other));
    WholeFile::write(indexPath(m_path, copy), entry.toJson());
}

void RecoveryFolder::remove(const QString &copy) const { removeCopy(m_path, copy); }

bool RecoveryFolder::adopt(const QString &fromFolder, const QString &fromCopy, const QString &copy) const
{
    for (const QString &suffix : kSuffixes) {
        const QString from = documentPath(fromFolder, fromCopy, suffix);
        if (QFileInfo::exists(from) && !QFile::rename(from, documentPath(m_path, copy, suffix)))
            return false;
    }
    const QString index = indexPath(fromFolder, fromCopy);
    return !QFileInfo::exists(index) || QFile::rename(index, indexPath(m_path, copy));
}

QString RecoveryFolder::lockPathOf(const QString &folder) { return folder + QStringLiteral(".lock"); }

QString RecoveryFolder::indexPath(const QString &folder, const QString &copy)
{
    return QDir(folder).filePath(copy + QStringLiteral(".json"));
}

QString RecoveryFolder::documentPath(const QString &folder, const QString &copy, const QString &suffix)
{
    return QDir(folder).filePath(copy + QLatin1Char('.') + suffix);
}

QStringList RecoveryFolder::copiesIn(const QString &folder)
{
    QSet<QString> names;
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden);
    for (const QFileInfo &file : files) {
        const QString suffix = file.suffix();
        if (suffix == QLatin1String("json") || kSuffixes.contains(suffix))
            names.insert(file.completeBaseName());
    }
    // In the order the copies were made: their names count up.
    QStringList sorted(names.begin(), names.end());
    std::sort(sorted.begin(), sorted.end(), [](const QString &a, const QString &b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    return sorted;
}

void RecoveryFolder::removeCopy(const QString &folder, const QString &copy)
{
    QFile::remove(indexPath(folder, copy));
    for (const QString &suffix : kSuffixes)
        QFile::remove(documentPath(folder, copy, suffix));
}
