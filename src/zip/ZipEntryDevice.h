#pragma once
#include <QIODevice>
#include <QString>

struct zip_file;
class ZipReader;

// One entry of a package read piece by piece as a sequential device, unpacked as it is read, within
// the limits its ZipReader applies to read(): data past the stated size, past the limits or broken
// ends the device with an error (errorString() has the reason for the user). The ZipReader must
// outlive it.
class ZipEntryDevice : public QIODevice
{
public:
    ZipEntryDevice(const ZipReader &reader, zip_file *file, const QString &name, qint64 size);
    ~ZipEntryDevice() override;

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;
    // The reason the entry could not be read to its end, empty while nothing went wrong.
    const QString &failure() const { return failure_; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    qint64 fail(const QString &reason);

    const ZipReader &reader_;
    zip_file *file_;
    QString name_;
    qint64 size_;
    qint64 got_ = 0;
    QString failure_;
};
