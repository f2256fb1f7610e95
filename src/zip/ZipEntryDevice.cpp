#include "zip/ZipEntryDevice.h"
#include "zip/ZipReader.h"

#include <zip.h>

ZipEntryDevice::ZipEntryDevice(const ZipReader &reader, zip_file *file, const QString &name, qint64 size)
    : reader_(reader), file_(file), name_(name), size_(size)
{
    open(QIODevice::ReadOnly);
}

ZipEntryDevice::~ZipEntryDevice()
{
    if (file_)
        zip_fclose(file_);
}

qint64 ZipEntryDevice::bytesAvailable() const
{
    return QIODevice::bytesAvailable() + (file_ ? size_ - got_ : 0);
}

qint64 ZipEntryDevice::fail(const QString &reason)
{
    failure_ = reason;
    setErrorString(reason);
    zip_fclose(file_);
    file_ = nullptr;
    return -1;
}

qint64 ZipEntryDevice::readData(char *data, qint64 maxSize)
{
    if (!file_)
        return failure_.isEmpty() ? 0 : -1;
    if (maxSize <= 0)
        return 0;
    // One byte past the stated size is asked for at the end: an entry that unpacks to more than its
    // directory says is broken or hostile.
    const qint64 want = qMin(maxSize, size_ - got_ + 1);
    const zip_int64_t n = zip_fread(file_, data, zip_uint64_t(want));
    if (n < 0)
        return fail(QStringLiteral("the part \"%1\" is damaged (%2)").arg(name_, QString::fromUtf8(zip_file_strerror(file_))));
    got_ += n;
    if (got_ > size_ || (n == 0 && got_ != size_))
        return fail(QStringLiteral("the part \"%1\" is damaged (its size is wrong)").arg(name_));
    if (!reader_.account(n))
        return fail(QStringLiteral("its parts unpack to more than %1 MB").arg(reader_.limits().maxTotalSize >> 20));
    if (n == 0) {
        zip_fclose(file_);
        file_ = nullptr;
    }
    return n;
}
