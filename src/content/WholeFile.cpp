#include "content/WholeFile.h"
#include "platform/Failure.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <sys/stat.h>

namespace {

Failure cannotOpen(const QString &path, const QString &reason)
{
    return Failure(QStringLiteral("Cannot open \"%1\": %2").arg(path, reason), reason);
}

Failure cannotSave(const QString &path, const QString &reason)
{
    return Failure(QStringLiteral("Cannot save \"%1\": %2")
                       .arg(path, reason.isEmpty() ? QStringLiteral("Unknown error") : reason));
}

} // namespace

QByteArray WholeFile::read(const QString &path)
{
    if (path.isEmpty())
        throw cannotOpen(path, QStringLiteral("No file name"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw cannotOpen(path, file.errorString());
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw cannotOpen(path, file.errorString());
    return bytes;
}

bool WholeFile::isMissing(const QString &path)
{
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) != 0 && errno == ENOENT;
}

void WholeFile::write(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty())
        throw cannotSave(path, QStringLiteral("No file name"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw cannotSave(path, file.errorString());
    // Without commit the temporary file is removed and the target is never touched. A short
    // write is followed by another, which fails with the reason (disk full, file too large).
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            throw cannotSave(path, file.errorString());
        done += written;
    }
    if (!file.commit())
        throw cannotSave(path, file.errorString());
}
