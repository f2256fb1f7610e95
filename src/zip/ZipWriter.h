#pragma once
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

// Builds a zip package in memory, entries in the order they are added (OpenDocument wants its
// "mimetype" first and stored).
class ZipWriter
{
public:
    // Every entry carries this modification time, so the same document gives the same bytes.
    explicit ZipWriter(const QDateTime &modified = QDateTime::currentDateTimeUtc());

    void add(const QString &name, const QByteArray &data, bool compress = true);
    // How hard entries are deflated: 1 fastest ... 9 smallest; 0 libzip's own choice.
    void setCompressionLevel(int level) { compressionLevel_ = qBound(0, level, 9); }
    // The whole package. Throws PackageError when libzip cannot make it.
    QByteArray finish() const;

private:
    struct Entry
    {
        QString name;
        QByteArray data;
        bool compress;
    };
    QList<Entry> entries_;
    QDateTime modified_;
    int compressionLevel_ = 0;
};
