// The RTF writer's pictures, inline and floating.
#include "rtf/RtfWriter.h"
#include "rtf/RtfPicture.h"
#include "rtf/DocumentExtras.h"
#include "rtf/TextFormats.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>

namespace {

constexpr int kHexBytesPerLine = 64;

int twips(double pixels) { return TextFormats::roundedTwips(pixels); }

QSize encodedSize(const QByteArray &bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader(&buffer).size();
}

} // namespace

void RtfWriter::writeImage(const QTextImageFormat &format)
{
    const QUrl url(format.name());
    QByteArray bytes = source_->resource(TextFormats::kOriginalImageResource, TextFormats::originalImageUrl(url)).toByteArray();
    QByteArray type = format.property(TextFormats::kImageTypeProperty).toString().toLatin1();
    QSize native = format.property(TextFormats::kImageNativeSizeProperty).toSize();
    if (bytes.isEmpty() || type.isEmpty()) {
        const QVariant resource = source_->resource(QTextDocument::ImageResource, url);
        QImage image;
        if (resource.userType() == QMetaType::QByteArray) {
            bytes = resource.toByteArray();
            type = RtfPicture::blipType(bytes);
            if (type.isEmpty())
                image = QImage::fromData(bytes);
        } else if (resource.userType() == QMetaType::QImage) {
            image = resource.value<QImage>();
        } else if (resource.userType() == QMetaType::QPixmap) {
            image = resource.value<QPixmap>().toImage();
        }
        if (type.isEmpty()) {
            if (image.isNull())
                return;
            bytes.clear();
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            if (!image.save(&buffer, "PNG"))
                return; // too large for PNG: nothing that readers could show
            type = "png";
        }
        native = QSize();
    }
    const bool raster = type == "png" || type == "jpeg";
    if (raster)
        native = encodedSize(bytes);
    const double width = format.width() > 0 ? format.width() : native.width();
    const double height = format.height() > 0 ? format.height() : native.height();
    raw("{\\pict");
    if (type == "png")
        word("pngblip");
    else if (type == "jpeg")
        word("jpegblip");
    else if (type == "emf")
        word("emfblip");
    else if (type == "wmf")
        word("wmetafile", 8);
    else
        word("macpict");
    if (native.isValid()) {
        word("picw", native.width());
        word("pich", native.height());
    }
    word("picwgoal", twips(width));
    word("pichgoal", twips(height));
    const QByteArray hex = bytes.toHex();
    for (qsizetype i = 0; i < hex.size(); i += 2 * kHexBytesPerLine) {
        newline();
        raw(QByteArrayView(hex).sliced(i, qMin<qsizetype>(2 * kHexBytesPerLine, hex.size() - i)));
    }
    raw("}");
    needSpace_ = false;
}

// A floating picture: its kept shape with the picture put back as the shape's pib property.
void RtfWriter::writeShape(const QTextFrame *frame)
{
    QTextCharFormat image;
    for (QTextFrame::iterator it = frame->begin(); !it.atEnd() && !image.isImageFormat(); ++it)
        for (QTextBlock::iterator f = it.currentBlock().begin(); !f.atEnd(); ++f)
            if (f.fragment().charFormat().isImageFormat()) {
                image = f.fragment().charFormat();
                break;
            }
    if (!image.isImageFormat())
        return;
    openSpans(spansOf(image)); // a field the picture is the result of (LibreOffice's SHAPE)
    writeKept(image.stringProperty(TextFormats::kKeptRtfProperty)); // what stood before the picture
    QByteArray picture;
    std::swap(picture, out_);
    writeImage(image.toImageFormat());
    std::swap(picture, out_);
    bool injected = false;
    // Where the reader finds it again: in the shape's own \shpinst, else in the shape itself.
    auto inject = [&](QByteArrayView group, int depth, QByteArray &out) {
        const bool place = (depth == 2 && group == QByteArrayView("shpinst")) || depth == 1;
        if (injected || !place)
            return;
        injected = true;
        out += "{\\sp{\\sn pib}{\\sv " + picture + "}}";
    };
    QByteArray shape;
    if (!writeKeptContent(frame->frameFormat().stringProperty(TextFormats::kShapeProperty), shape, inject) || !injected) {
        raw(picture); // no shape to put it in: the picture where it stood
        return;
    }
    raw(shape);
    needSpace_ = false;
}
