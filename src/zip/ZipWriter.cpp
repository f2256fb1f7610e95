#include "zip/ZipWriter.h"
#include "zip/PackageError.h"

#include <zip.h>

ZipWriter::ZipWriter(const QDateTime &modified) : modified_(modified) {}

void ZipWriter::add(const QString &name, const QByteArray &data, bool compress)
{
    entries_.append({name, data, compress});
}

namespace {

[[noreturn]] void fail(const QString &what)
{
    throw PackageError(QStringLiteral("the package cannot be made (%1)").arg(what));
}

// The bytes libzip wrote into the buffer source, after the archive was closed.
QByteArray bytesOf(zip_source_t *source)
{
    if (zip_source_open(source) < 0)
        fail(QString::fromUtf8(zip_error_strerror(zip_source_error(source))));
    zip_source_seek(source, 0, SEEK_END);
    const zip_int64_t size = zip_source_tell(source);
    zip_source_seek(source, 0, SEEK_SET);
    QByteArray bytes(size < 0 ? 0 : size, Qt::Uninitialized);
    const zip_int64_t got = size > 0 ? zip_source_read(source, bytes.data(), zip_uint64_t(size)) : 0;
    zip_source_close(source);
    if (got != size)
        fail(QStringLiteral("short read"));
    return bytes;
}

} // namespace

QByteArray ZipWriter::finish() const
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (!buffer)
        fail(QString::fromUtf8(zip_error_strerror(&error)));
    zip_source_keep(buffer); // it outlives the archive, which writes into it on close
    zip_t *archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    if (!archive) {
        const QString reason = QString::fromUtf8(zip_error_strerror(&error));
        zip_source_free(buffer);
        fail(reason);
    }
    const time_t mtime = time_t(modified_.toSecsSinceEpoch());
    for (const Entry &entry : entries_) {
        zip_source_t *data = zip_source_buffer(archive, entry.data.constData(), zip_uint64_t(entry.data.size()), 0);
        const zip_int64_t index = data ? zip_file_add(archive, entry.name.toUtf8().constData(), data, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            if (data)
                zip_source_free(data);
            const QString reason = QString::fromUtf8(zip_strerror(archive));
            zip_discard(archive);
            zip_source_free(buffer);
            fail(reason);
        }
        zip_set_file_compression(archive, zip_uint64_t(index), entry.compress ? ZIP_CM_DEFLATE : ZIP_CM_STORE,
                                 entry.compress ? zip_uint32_t(compressionLevel_) : 0);
        zip_file_set_mtime(archive, zip_uint64_t(index), mtime, 0);
    }
    if (zip_close(archive) < 0) {
        const QString reason = QString::fromUtf8(zip_strerror(archive));
        zip_discard(archive);
        zip_source_free(buffer);
        fail(reason);
    }
    const QByteArray bytes = bytesOf(buffer);
    zip_source_free(buffer);
    return bytes;
}
