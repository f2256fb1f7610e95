#include "recovery/OrphanCopies.h"
#include "content/WholeFile.h"
#include "platform/Failure.h"
#include "recovery/RecoveryFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <algorithm>

OrphanCopies::OrphanCopies(const QString &root, const QString &ownFolder)
{
    if (root.isEmpty())
        return;
    const QFileInfoList folders = QDir(root).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &info : folders) {
        const QString folder = info.absoluteFilePath();
        if (folder == QFileInfo(ownFolder).absoluteFilePath())
            continue;
        auto lock = std::make_unique<QLockFile>(RecoveryFolder::lockPathOf(folder));
        lock->setStaleLockTime(0); // a lock is only taken over when its program is gone
        if (!lock->tryLock(0))
            continue;
        m_folders.push_back({folder, std::move(lock)});
        look(folder);
    }
    // The copies of one program in the order its windows were made; the programs' copies in the
    // order they were last written.
    QHash<QString, QDateTime> lastWritten;
    for (const Copy &copy : std::as_const(m_copies))
        if (copy.entry && copy.entry->time > lastWritten.value(copy.folder))
            lastWritten[copy.folder] = copy.entry->time;
    std::stable_sort(m_copies.begin(), m_copies.end(), [&](const Copy &a, const Copy &b) {
        return lastWritten.value(a.folder) < lastWritten.value(b.folder);
    });
    tidy(); // folders with nothing in them are left over from runs that ended with nothing to keep
}

OrphanCopies::~OrphanCopies()
{
    for (Folder &folder : m_folders)
        folder.lock->unlock();
}

void OrphanCopies::look(const QString &folder)
{
    for (const QString &name : RecoveryFolder::copiesIn(folder)) {
        Copy copy{folder, name, std::nullopt, false, QString()};
        const QString index = RecoveryFolder::indexPath(folder, name);
        if (QFileInfo::exists(index)) {
            try {
                copy.entry = RecoveryEntry::fromJson(WholeFile::read(index));
            } catch (const Failure &) {
            }
            copy.damagedIndex = !copy.entry;
        }
        // The document in the index's format, else whichever there is.
        QStringList suffixes = {QStringLiteral("rtf"), QStringLiteral("txt")};
        if (copy.entry && copy.entry->format == DocumentFormat::PlainText)
            std::reverse(suffixes.begin(), suffixes.end());
        for (const QString &suffix : suffixes) {
            const QString document = RecoveryFolder::documentPath(folder, name, suffix);
            if (copy.document.isEmpty() && QFileInfo(document).isFile())
                copy.document = document;
        }
        m_copies.append(copy);
    }
}

QString OrphanCopies::Copy::label() const
{
    if (entry && !entry->caption.isEmpty())
        return entry->caption;
    return QFileInfo(document.isEmpty() ? RecoveryFolder::indexPath(folder, name) : document).fileName();
}

QByteArray OrphanCopies::read(const Copy &copy)
{
    if (copy.damagedIndex)
        throw Failure(QStringLiteral("Cannot open \"%1\": the index of the copy is damaged")
                          .arg(RecoveryFolder::indexPath(copy.folder, copy.name)));
    if (copy.document.isEmpty())
        throw Failure(QStringLiteral("Cannot open \"%1\": No such file")
                          .arg(RecoveryFolder::documentPath(copy.folder, copy.name, QStringLiteral("rtf"))));
    return WholeFile::read(copy.document);
}

void OrphanCopies::discard()
{
    for (const Folder &folder : m_folders)
        QDir(folder.path).removeRecursively();
    m_copies.clear();
}

void OrphanCopies::tidy()
{
    for (const Folder &folder : m_folders)
        if (RecoveryFolder::copiesIn(folder.path).isEmpty())
            QDir(folder.path).removeRecursively();
}
