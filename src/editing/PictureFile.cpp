#include "editing/PictureFile.h"
#include "platform/Failure.h"
#include "rtf/RtfPicture.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

namespace {

Failure notAPicture(const QString &path, const QString &reason)
{
    return Failure(QStringLiteral("Cannot open \"%1\": %2").arg(path, reason));
}

// "png" or "jpeg" for the two kinds of file a document keeps as they are, else empty.
QString keepableType(const QByteArray &bytes)
{
    if (bytes.startsWith("\x89PNG\r\n\x1a\n"))
        return QStringLiteral("png");
    if (bytes.startsWith("\xFF\xD8\xFF"))
        return QStringLiteral("jpeg");
    return QString();
}

} // namespace

PictureFile PictureFile::load(const QString &path)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        throw notAPicture(path, file.errorString());
    // The limits are those of the document reader, so a saved picture always loads again.
    if (file.size() > RtfPicture::kMaxBytes)
        throw notAPicture(path, QStringLiteral("the picture is too large"));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw notAPicture(path, file.errorString());

    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > RtfPicture::kMaxPixels)
        throw notAPicture(path, QStringLiteral("the picture is too large"));
    PictureFile picture;
    picture.image = reader.read();
    if (picture.image.isNull())
        throw notAPicture(path, reader.errorString());

    // The bytes are kept only when they show the picture as it was read: turned photographs are
    // saved as they appear.
    const QString type = keepableType(bytes);
    if (!type.isEmpty() && reader.transformation() == QImageIOHandler::TransformationNone) {
        picture.original = bytes;
        picture.type = type;
    }
    return picture;
}
