#pragma once
#include <QIODevice>

struct zip_file;

// One entry of a ZipReader's package, unpacked as it is read (so that a large part is never
// whole in memory). It stops at the size the package's directory states; an entry that unpacks
// to more, or whose data is broken, ends with an error (errorString()).
class ZipEntryDevice : public QIODevice
{
public:
    // Takes the opened entry; `unpacked` counts the bytes handed out against `limit`.
    ZipEntryDevice(zip_file *file, qint64 size, qint64 &unpacked, qint64 limit);
    ~ZipEntryDevice() override;

    bool isSequential() const override { return true; }
    bool atEnd() const override { return done_ && QIODevice::atEnd(); }
    qint64 bytesAvailable() const override { return QIODevice::bytesAvailable() + (done_ ? 0 : qMin<qint64>(size_ - got_, 1 << 16)); }
    // Whether the entry was read to its end without error.
    bool isComplete() const { return done_ && errorString().isEmpty(); }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    void close(const QString &error);

    zip_file *file_;
    qint64 size_;
    qint64 got_ = 0;
    qint64 &unpacked_;
    qint64 limit_;
    bool done_ = false;
};
