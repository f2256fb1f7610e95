#include "content/PictureFile.h"
#include "content/WholeFile.h"
#include "platform/Failure.h"
#include "rtf/RtfPicture.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>

namespace {

Failure notAPicture(const QString &path, const QString &reason)
{
    return Failure(QStringLiteral("Cannot open \"%1\": %2").arg(path, reason));
}

// "png" or "jpeg" for the two kinds of file a document keeps as they are, else empty.
QString keepableType(QIODevice &device)
{
    const QByteArray format = QImageReader::imageFormat(&device);
    return format == "png" || format == "jpeg" ? QString::fromLatin1(format) : QString();
}

} // namespace

PictureFile PictureFile::load(const QString &path)
{
    // The limits are those of the document reader, so a saved picture always loads again.
    if (QFileInfo(path).size() > RtfPicture::kMaxBytes)
        throw notAPicture(path, QStringLiteral("the picture is too large"));
    QByteArray bytes = WholeFile::read(path);

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
    buffer.seek(0);
    const QString type = keepableType(buffer);
    if (!type.isEmpty() && reader.transformation() == QImageIOHandler::TransformationNone) {
        picture.original = bytes;
        picture.type = type;
    }
    return picture;
}
