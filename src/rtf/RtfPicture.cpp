#include "rtf/RtfPicture.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QtEndian>

using namespace RtfValues;

namespace {

constexpr double kMaxDisplayPixels = 20000;

int hexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A device-independent bitmap as a .bmp file, which Qt reads.
QByteArray bmpFile(const QByteArray &dib)
{
    if (dib.size() < 40)
        return QByteArray();
    const auto *d = reinterpret_cast<const uchar *>(dib.constData());
    const quint32 headerSize = qFromLittleEndian<quint32>(d);
    const quint16 bitCount = qFromLittleEndian<quint16>(d + 14);
    const quint32 compression = qFromLittleEndian<quint32>(d + 16);
    const quint32 used = headerSize >= 40 ? qFromLittleEndian<quint32>(d + 32) : 0;
    if (headerSize < 12 || headerSize > quint32(dib.size()))
        return QByteArray();
    quint64 palette = used ? used : (bitCount <= 8 ? (1u << bitCount) : 0);
    quint64 offset = 14 + quint64(headerSize) + palette * 4;
    if (compression == 3 && headerSize == 40)
        offset += 12;
    if (offset > quint64(dib.size()) + 14)
        return QByteArray();
    QByteArray file(14, '\0');
    auto *f = reinterpret_cast<uchar *>(file.data());
    f[0] = 'B';
    f[1] = 'M';
    qToLittleEndian<quint32>(quint32(14 + dib.size()), f + 2);
    qToLittleEndian<quint32>(quint32(offset), f + 10);
    return file + dib;
}

} // namespace

QByteArray RtfPicture::blipType(const QByteArray &bytes)
{
    QByteArray copy = bytes; // QBuffer wants a non-const array; the copy shares the data
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    const QByteArray format = QImageReader::imageFormat(&buffer);
    return format == "png" || format == "jpeg" ? format : QByteArray();
}

QImage RtfPicture::placeholder()
{
    const int side = 32;
    QImage img(side, side, QImage::Format_RGB32);
    img.fill(QColor(0xE8, 0xE8, 0xE8));
    QPainter p(&img);
    p.setPen(QColor(0x90, 0x90, 0x90));
    p.drawRect(0, 0, side - 1, side - 1);
    p.drawLine(0, 0, side - 1, side - 1);
    p.drawLine(0, side - 1, side - 1, 0);
    return img;
}

bool RtfPicture::fits(QSize size, qint64 &pixelBudget)
{
    const qint64 pixels = qint64(size.width()) * size.height();
    if (!size.isValid() || size.isEmpty() || size.width() > kMaxSide || size.height() > kMaxSide
        || pixels > kMaxPixels || pixels > pixelBudget)
        return false;
    pixelBudget -= pixels;
    return true;
}

void RtfPicture::setProperty(RtfWord word, int value)
{
    switch (word) {
    case RtfWord::PictureType:
        kind_ = value;
        break;
    case RtfWord::MetafileMode:
        metafileMode_ = value;
        break;
    case RtfWord::PictureWidth: width_ = value; break;
    case RtfWord::PictureHeight: height_ = value; break;
    case RtfWord::GoalWidth: goalWidth_ = value; break;
    case RtfWord::GoalHeight: goalHeight_ = value; break;
    case RtfWord::ScaleX: scaleX_ = value > 0 ? value : 100; break;
    case RtfWord::ScaleY: scaleY_ = value > 0 ? value : 100; break;
    case RtfWord::BitmapBitsPerPixel: bitsPerPixel_ = value; break;
    case RtfWord::BitmapWidthBytes: widthBytes_ = value; break;
    default: break;
    }
}

bool RtfPicture::take(qsizetype n, qsizetype &budget)
{
    if (truncated_ || n > budget || bytes_.size() + n > kMaxBytes) {
        truncated_ = true;
        return false;
    }
    budget -= n;
    return true;
}

void RtfPicture::appendHex(QByteArrayView text, qsizetype &budget)
{
    if (!take(text.size() / 2 + 1, budget))
        return;
    const qsizetype before = bytes_.size();
    for (const char c : text) {
        const int v = hexValue(c);
        if (v < 0)
            continue;
        if (nibble_ < 0) {
            nibble_ = v;
        } else {
            bytes_.append(char(nibble_ * 16 + v));
            nibble_ = -1;
        }
    }
    // take() charged the most the text could hold; give back what it did not.
    budget += text.size() / 2 + 1 - (bytes_.size() - before);
}

void RtfPicture::appendBinary(QByteArrayView data, qsizetype &budget)
{
    if (take(data.size(), budget))
        bytes_.append(data.data(), data.size());
}

bool RtfPicture::isMetafile() const
{
    return kind_ == Wmf || kind_ == Emf || kind_ == MacPict || kind_ == OtherPicture;
}

QSizeF RtfPicture::displaySize(QSize decoded) const
{
    auto side = [&](int goal, int native, int fromImage, int scale) {
        double px = 0;
        if (goal > 0)
            px = goal / 15.0;
        else if (native > 0)
            px = isMetafile() ? native / 2540.0 * 96.0 : native;
        else
            px = fromImage;
        return qBound(1.0, px * scale / 100.0, kMaxDisplayPixels);
    };
    return QSizeF(side(goalWidth_, width_, decoded.width(), scaleX_),
                  side(goalHeight_, height_, decoded.height(), scaleY_));
}

QImage RtfPicture::decodeRaster(QString &type, qint64 &pixelBudget) const
{
    QByteArray data = bytes_;
    type = QString::fromLatin1(blipType(data));
    if (kind_ == Dib)
        data = bmpFile(bytes_);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    if (!fits(reader.size(), pixelBudget))
        return QImage();
    return reader.read();
}

QImage RtfPicture::decodeWindowsBitmap(qint64 &pixelBudget) const
{
    QImage::Format format = QImage::Format_Invalid;
    switch (bitsPerPixel_) {
    case 1: format = QImage::Format_Mono; break;
    case 8: format = QImage::Format_Grayscale8; break;
    case 24: format = QImage::Format_BGR888; break;
    case 32: format = QImage::Format_RGB32; break;
    default: return QImage();
    }
    if (widthBytes_ <= 0 || qint64(widthBytes_) * height_ > bytes_.size()
        || qint64(widthBytes_) * 8 < qint64(width_) * bitsPerPixel_ || !fits(QSize(width_, height_), pixelBudget))
        return QImage();
    QImage view(reinterpret_cast<const uchar *>(bytes_.constData()), width_, height_, widthBytes_, format);
    if (format == QImage::Format_Mono)
        view.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    return view.copy();
}

RtfPicture::Image RtfPicture::decode(qint64 &pixelBudget, const QImage &placeholder) const
{
    Image out;
    QImage image;
    if (!truncated_) {
        if (kind_ == WindowsBitmap)
            image = decodeWindowsBitmap(pixelBudget);
        else if (!isMetafile())
            image = decodeRaster(out.type, pixelBudget);
    }
    if (!truncated_ && isMetafile()) {
        out.type = kind_ == Wmf ? QStringLiteral("wmf")
                 : kind_ == Emf ? QStringLiteral("emf")
                 : kind_ == MacPict ? QStringLiteral("pict") : QString();
        out.nativeSize = QSize(width_, height_);
    }
    if (!out.type.isEmpty() && (!image.isNull() || isMetafile()))
        out.original = bytes_;
    else
        out.type.clear();
    out.displaySize = displaySize(image.size());
    out.image = image.isNull() ? placeholder : image;
    return out;
}
