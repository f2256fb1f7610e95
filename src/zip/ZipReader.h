#pragma once
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>

class QIODevice;

struct zip;
struct zip_file;

// How much a package may hold before it is refused as hostile.
struct ZipLimits
{
    qint64 maxEntries = 10000;
    qint64 maxEntrySize = qint64(1) << 30; // unpacked bytes of one entry
    qint64 maxTotalSize = qint64(2) << 30; // unpacked bytes of all entries together
    qint64 maxRatio = 200;                  // unpacked size over packed size ...
    qint64 ratioFloor = qint64(1) << 20;    // ... for entries that unpack past this size
};

// A zip package (a Word or OpenDocument file) read from bytes in memory, with the limits a reader of
// untrusted files needs. Entry names are only ever looked up, never used as paths. Everything that
// goes wrong throws PackageError with a reason for the user.
class ZipReader
{
public:
    using Limits = ZipLimits;


    // Opens the package and checks its directory: too many entries, names that climb out with ".."
    // or start at the root, sizes past the limits and encrypted entries are refused here.
    explicit ZipReader(const QByteArray &bytes, const Limits &limits = Limits());
    ~ZipReader();
    ZipReader(const ZipReader &) = delete;
    ZipReader &operator=(const ZipReader &) = delete;

    // True when the bytes start as a zip package does.
    static bool looksLikeZip(QByteArrayView bytes);

    QStringList names() const { return names_; } // in the package's order
    bool contains(const QString &name) const { return index_.contains(name); }
    // The unpacked size the directory states for an entry; -1 when there is none of that name.
    qint64 size(const QString &name) const;
    // The whole entry, unpacked. Throws when there is no such entry, when it unpacks past its stated
    // size or the limits, or when its data is broken.
    QByteArray read(const QString &name) const;
    // The entry as a device that unpacks it as it is read (ZipEntryDevice), with the same checks
    // as read(). Throws when there is no such entry or it cannot be opened.
    std::unique_ptr<QIODevice> open(const QString &name) const;

private:
    // Opens an entry to unpack, after the checks read() and open() share; `stated` is its size.
    zip_file *openEntry(const QString &name, qint64 &stated) const;

    QByteArray bytes_; // libzip reads from here while the package is open
    zip *archive_ = nullptr;
    Limits limits_;
    QStringList names_;
    QHash<QString, qint64> index_;
    mutable qint64 unpacked_ = 0; // bytes handed out so far
};
