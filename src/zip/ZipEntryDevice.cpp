#include "zip/ZipEntryDevice.h"

#include <zip.h>

ZipEntryDevice::ZipEntryDevice(zip_file *file, qint64 size, qint64 &unpacked, qint64 limit)
    : file_(file), size_(size), unpacked_(unpacked), limit_(limit)
{
    QIODevice::open(QIODevice::ReadOnly | QIODevice::Unbuffered); // the reader reads in chunks of its own
}

ZipEntryDevice::~ZipEntryDevice()
{
    if (file_)
        zip_fclose(file_);
}

void ZipEntryDevice::close(const QString &error)
{
    if (!error.isEmpty())
        setErrorString(error);
    if (file_)
        zip_fclose(file_);
    file_ = nullptr;
    done_ = true;
}

qint64 ZipEntryDevice::readData(char *data, qint64 maxSize)
{
    if (done_ || !file_)
        return done_ && !errorString().isEmpty() ? -1 : 0;
    if (maxSize <= 0) // asking for nothing is not the end
        return 0;
    const qint64 want = qMin(maxSize, size_ - got_ + 1); // one byte past the stated size tells it is longer
    if (want <= 0) {
        close(QString());
        return 0;
    }
    const zip_int64_t n = zip_fread(file_, data, zip_uint64_t(want));
    if (n < 0) {
        close(QStringLiteral("it is damaged (%1)").arg(QString::fromUtf8(zip_file_strerror(file_))));
        return -1;
    }
    got_ += n;
    unpacked_ += n;
    if (got_ > size_) {
        close(QStringLiteral("it is damaged (its size is wrong)"));
        return -1;
    }
    if (unpacked_ > limit_) {
        close(QStringLiteral("the package unpacks to more than %1 MB").arg(limit_ >> 20));
        return -1;
    }
    if (n == 0) {
        close(got_ == size_ ? QString() : QStringLiteral("it is damaged (its size is wrong)"));
        return got_ == size_ ? 0 : -1;
    }
    return n;
}
