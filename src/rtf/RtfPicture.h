#pragma once
#include "rtf/RtfControlWords.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QSizeF>
#include <QString>

// The data and properties of one \pict group, and the image made of them.
class RtfPicture
{
public:
    static constexpr qsizetype kMaxBytes = qsizetype(64) << 20;
    static constexpr qint64 kMaxPixels = 25'000'000; // one picture
    static constexpr int kMaxSide = 20000;

    // The grey box with a cross that stands for a picture that cannot be shown; one image
    // serves every such picture, scaled to its size.
    static QImage placeholder();

    // "png" or "jpeg" when the bytes are one of the two encoded forms RTF carries as they are
    // (\pngblip, \jpegblip); empty otherwise.
    static QByteArray blipType(const QByteArray &bytes);

    struct Image
    {
        QImage image;        // what is shown: the picture, or a placeholder of its size
        QByteArray original; // the bytes to write back, when they are worth keeping
        QString type;        // "png", "jpeg", "wmf", "emf", "pict", or empty
        QSize nativeSize;    // \picw and \pich, for metafiles
        QSizeF displaySize;  // pixels at 96 per inch
    };

    void setProperty(RtfWord word, int value);
    // Hex digits; anything else is skipped. The byte budget is shared by the document's pictures.
    void appendHex(QByteArrayView text, qsizetype &budget);
    void appendBinary(QByteArrayView data, qsizetype &budget);

    // The picture, or the placeholder when it cannot be shown or its pixels would go beyond
    // what is left of the budget (shared by the document's pictures).
    Image decode(qint64 &pixelBudget, const QImage &placeholder) const;

private:
    bool isMetafile() const;
    QImage decodeRaster(QString &type, qint64 &pixelBudget) const;
    QImage decodeWindowsBitmap(qint64 &pixelBudget) const;
    static bool fits(QSize size, qint64 &pixelBudget);
    QSizeF displaySize(QSize decoded) const;
    bool take(qsizetype n, qsizetype &budget);

    QByteArray bytes_;
    int kind_ = 0; // RtfValues::PictureKind
    int metafileMode_ = 8;
    int width_ = 0, height_ = 0, goalWidth_ = 0, goalHeight_ = 0;
    int scaleX_ = 100, scaleY_ = 100;
    int bitsPerPixel_ = 1, widthBytes_ = 0;
    int nibble_ = -1;
    bool truncated_ = false;
};
