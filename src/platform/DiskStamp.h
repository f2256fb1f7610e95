#pragma once
#include <QString>
#include <QtGlobal>
#include <optional>

class QObject;

// What a file looked like on disk: its size and modification time. The stamp taken when a document
// was last read from or written to its file lets a save tell whether another program has changed
// the file since. The stamp is kept on the object that shows the document (its surface), together
// with the path it was taken for.
class DiskStamp
{
public:
    qint64 size = -1;
    qint64 modified = 0; // milliseconds since the epoch, UTC

    // The file as it is now; nothing when there is no such file.
    static std::optional<DiskStamp> of(const QString &path);

    // Keeps the stamp of `path` as it is now on `holder` (or forgets it when the file is missing).
    static void remember(QObject &holder, const QString &path);
    static void remember(QObject &holder, const QString &path, const DiskStamp &stamp);
    // The stamp kept on `holder` for `path`, if it has one for that path.
    static std::optional<DiskStamp> remembered(const QObject &holder, const QString &path);
    // True when the file exists and differs in size or time from the stamp kept for it. A file
    // without a kept stamp, or one that is gone, was not changed behind our back.
    static bool changedBehind(const QObject &holder, const QString &path);

    bool operator==(const DiskStamp &) const = default;
};
