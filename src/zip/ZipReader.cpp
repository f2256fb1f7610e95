#include "zip/ZipReader.h"
#include "zip/PackageError.h"
#include "zip/ZipEntryDevice.h"

#include <zip.h>

namespace {

QString libzipReason(zip_error_t *error)
{
    return QString::fromUtf8(zip_error_strerror(error));
}

bool climbsOut(const QString &name)
{
    if (name.startsWith(u'/') || name.startsWith(u'\\') || (name.size() > 1 && name[1] == u':'))
        return true;
    const QStringList parts = QString(name).replace(u'\\', u'/').split(u'/');
    return parts.contains(QStringLiteral(".."));
}

} // namespace

bool ZipReader::looksLikeZip(QByteArrayView bytes)
{
    return bytes.startsWith("PK\x03\x04") || bytes.startsWith("PK\x05\x06"); // entries, or an empty package
}

ZipReader::ZipReader(const QByteArray &bytes, const Limits &limits) : bytes_(bytes), limits_(limits)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *source = zip_source_buffer_create(bytes_.constData(), zip_uint64_t(bytes_.size()), 0, &error);
    if (source)
        archive_ = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (!archive_) {
        if (source)
            zip_source_free(source);
        const QString reason = libzipReason(&error);
        zip_error_fini(&error);
        throw PackageError(QStringLiteral("it is not a readable zip package (%1)").arg(reason));
    }
    zip_error_fini(&error);

    const zip_int64_t count = zip_get_num_entries(archive_, 0);
    if (count > limits_.maxEntries) {
        zip_discard(archive_);
        throw PackageError(QStringLiteral("it holds too many parts (%1)").arg(count));
    }
    qint64 total = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(archive_, zip_uint64_t(i), 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME))
            continue;
        const QString name = QString::fromUtf8(st.name);
        QString problem;
        if (climbsOut(name))
            problem = QStringLiteral("a part is named outside the package (%1)").arg(name);
        else if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE)
            problem = QStringLiteral("password-protected documents cannot be opened");
        else if ((st.valid & ZIP_STAT_SIZE) && qint64(st.size) > limits_.maxEntrySize)
            problem = QStringLiteral("a part unpacks to more than %1 MB").arg(limits_.maxEntrySize >> 20);
        else if ((st.valid & ZIP_STAT_SIZE) && (st.valid & ZIP_STAT_COMP_SIZE) && qint64(st.size) > limits_.ratioFloor
                 && qint64(st.size) > limits_.maxRatio * qint64(st.comp_size))
            problem = QStringLiteral("a part unpacks to more than %1 times its packed size").arg(limits_.maxRatio);
        if (problem.isEmpty() && (st.valid & ZIP_STAT_SIZE)) {
            total += qint64(st.size);
            if (total > limits_.maxTotalSize)
                problem = QStringLiteral("its parts unpack to more than %1 MB").arg(limits_.maxTotalSize >> 20);
        }
        if (!problem.isEmpty()) {
            zip_discard(archive_);
            throw PackageError(problem);
        }
        if (!index_.contains(name)) {
            index_.insert(name, i);
            names_.append(name);
        }
    }
}

ZipReader::~ZipReader()
{
    if (archive_)
        zip_discard(archive_);
}

qint64 ZipReader::size(const QString &name) const
{
    const auto it = index_.constFind(name);
    if (it == index_.constEnd())
        return -1;
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(archive_, zip_uint64_t(*it), 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE))
        return -1;
    return qint64(st.size);
}

zip_file *ZipReader::openEntry(const QString &name, qint64 &stated) const
{
    stated = size(name);
    if (stated < 0)
        throw PackageError(QStringLiteral("the part \"%1\" is missing").arg(name));
    if (unpacked_ + stated > limits_.maxTotalSize)
        throw PackageError(QStringLiteral("its parts unpack to more than %1 MB").arg(limits_.maxTotalSize >> 20));
    zip_file_t *file = zip_fopen_index(archive_, zip_uint64_t(index_.value(name)), 0);
    if (!file)
        throw PackageError(QStringLiteral("the part \"%1\" cannot be unpacked (%2)")
                           .arg(name, QString::fromUtf8(zip_strerror(archive_))));
    return file;
}

QByteArray ZipReader::read(const QString &name) const
{
    qint64 stated = 0;
    zip_file_t *file = openEntry(name, stated);
    // Read one byte past the stated size: a part that unpacks to more than its directory says is
    // broken or hostile, and is not read on.
    QByteArray data(stated + 1, Qt::Uninitialized);
    qint64 got = 0;
    while (got <= stated) {
        const zip_int64_t n = zip_fread(file, data.data() + got, zip_uint64_t(data.size() - got));
        if (n < 0) {
            const QString reason = QString::fromUtf8(zip_file_strerror(file));
            zip_fclose(file);
            throw PackageError(QStringLiteral("the part \"%1\" is damaged (%2)").arg(name, reason));
        }
        if (n == 0)
            break;
        got += n;
    }
    zip_fclose(file);
    if (got != stated)
        throw PackageError(QStringLiteral("the part \"%1\" is damaged (its size is wrong)").arg(name));
    data.truncate(got);
    unpacked_ += got;
    return data;
}

std::unique_ptr<QIODevice> ZipReader::open(const QString &name) const
{
    qint64 stated = 0;
    zip_file_t *file = openEntry(name, stated);
    return std::make_unique<ZipEntryDevice>(file, stated, unpacked_, limits_.maxTotalSize);
}
