#include "odt/OdtPictures.h"
#include "odt/OdtPackage.h"
#include "rtf/RtfPicture.h"
#include "rtf/TextFormats.h"
#include "zip/PackageError.h"

#include <QBuffer>
#include <QImageReader>
#include <QTextDocument>
#include <QUrl>
#include <QUuid>

namespace {

QString mediaTypeOf(const QByteArray &format, const QString &name)
{
    if (!format.isEmpty())
        return QStringLiteral("image/") + QString::fromLatin1(format);
    const QString suffix = name.section(u'.', -1).toLower();
    if (suffix == u"svg")
        return QStringLiteral("image/svg+xml");
    if (suffix == u"wmf")
        return QStringLiteral("image/x-wmf");
    if (suffix == u"emf")
        return QStringLiteral("image/x-emf");
    return QStringLiteral("application/octet-stream");
}

} // namespace

OdtPictures::Picture OdtPictures::decode(const QByteArray &bytes, const QString &name)
{
    Picture p;
    p.bytes = bytes;
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QByteArray format = reader.format();
    p.mediaType = mediaTypeOf(format, name);
    const QString suffix = name.section(u'.', -1).toLower();
    if (suffix == u"wmf" || suffix == u"emf")
        p.type = suffix; // the RTF writer keeps metafiles as they are
    const QSize stated = reader.size();
    if (stated.width() > kAbsurdSide || stated.height() > kAbsurdSide)
        throw PackageError(QStringLiteral("a picture states an absurd size (%1 × %2 pixels)")
                               .arg(stated.width()).arg(stated.height()));
    const bool shown = format == "png" || format == "jpeg" || format == "gif" || format == "bmp";
    const qint64 pixels = qint64(stated.width()) * stated.height();
    if (shown && stated.isValid() && pixels > 0 && pixels <= kMaxPixels && pixels <= pixelBudget_) {
        reader.setAutoTransform(true);
        p.image = reader.read();
        if (!p.image.isNull())
            pixelBudget_ -= pixels;
        if (format == "png" || format == "jpeg")
            p.type = QString::fromLatin1(format);
    }
    if (!p.image.isNull()) {
        const double dpmX = p.image.dotsPerMeterX(), dpmY = p.image.dotsPerMeterY();
        // Its own resolution when it states a sensible one, else 96 per inch.
        p.natural = QSizeF(dpmX > 500 ? p.image.width() * 3779.5276 / dpmX : p.image.width(),
                           dpmY > 500 ? p.image.height() * 3779.5276 / dpmY : p.image.height());
    } else {
        if (placeholder_.isNull())
            placeholder_ = RtfPicture::placeholder();
        p.image = placeholder_;
        p.natural = stated.isValid() && !stated.isEmpty() ? QSizeF(stated) : QSizeF(96, 96);
    }
    return p;
}

QTextImageFormat OdtPictures::load(QTextDocument &doc, const QString &href, const QByteArray &data, QSizeF size)
{
    const QString key = data.isEmpty() ? href : QStringLiteral("data:%1").arg(qHash(data));
    auto it = pictures_.find(key);
    if (it == pictures_.end()) {
        QByteArray bytes = data;
        if (bytes.isEmpty()) {
            if (!package_ || href.isEmpty() || !package_->contains(href))
                return QTextImageFormat();
            if (package_->zip().size(href) > byteBudget_)
                return QTextImageFormat();
            bytes = package_->read(href);
        }
        byteBudget_ -= bytes.size();
        it = pictures_.insert(key, decode(bytes, href));
    }
    const Picture &p = *it;
    if (prefix_.isEmpty()) // names no other document's pictures have
        prefix_ = QStringLiteral("odtimage:") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    const QString name = prefix_ + QStringLiteral("-%1").arg(++count_);
    const QUrl url(name);
    doc.addResource(QTextDocument::ImageResource, url, p.image);
    doc.addResource(TextFormats::kOriginalImageResource, TextFormats::originalImageUrl(url), p.bytes);
    QTextImageFormat f;
    f.setName(name);
    if (size.width() <= 0 || size.height() <= 0)
        size = p.natural;
    f.setWidth(qBound(1.0, size.width(), 20000.0));
    f.setHeight(qBound(1.0, size.height(), 20000.0));
    if (!p.type.isEmpty())
        f.setProperty(TextFormats::kImageTypeProperty, p.type);
    f.setProperty(kSourceProperty, p.mediaType + u' ' + (data.isEmpty() ? href : QString()));
    return f;
}
