#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>

// A picture file read for Insert Pictures: the image, and the file's own bytes when a document can
// keep them as they are (PNG and JPEG), so that saving does not make a photograph many times its
// size. Pictures a document could not read back (too many bytes or pixels) are refused.
struct PictureFile
{
    QImage image;
    QByteArray original; // empty when the image is to be saved re-encoded
    QString type;        // "png" or "jpeg" along with the original bytes

    // Throws Failure when the file cannot be read or is not a picture.
    static PictureFile load(const QString &path);
};
