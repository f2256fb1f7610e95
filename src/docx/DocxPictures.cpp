#include "docx/DocxPictures.h"
#include "docx/DocxBuildSink.h"
#include "docx/DocxPackage.h"
#include "rtf/RtfPicture.h"
#include "rtf/TextFormats.h"
#include "zip/PackageError.h"

#include <QBuffer>
#include <QImageReader>
#include <QTextDocument>
#include <QUrl>
#include <QUuid>
#include <algorithm>

namespace {

const char *const kShownKinds[] = {"png", "jpeg", "gif", "bmp"};

QString typeOf(const QByteArray &format, const QByteArray &bytes)
{
    if (!format.isEmpty())
        return QString::fromLatin1(format == "jpg" ? QByteArray("jpeg") : format);
    if (bytes.startsWith("\x01\x00\x00\x00") && bytes.mid(40, 4) == " EMF")
        return QStringLiteral("emf");
    if (bytes.startsWith("\xD7\xCD\xC6\x9A") || bytes.startsWith(QByteArray("\x01\x00\x09\x00", 4)))
        return QStringLiteral("wmf");
    return QString();
}

} // namespace

DocxPictures::DocxPictures(const DocxPackage &package, DocxBuildSink &sink) : package_(package), sink_(sink) {}

DocxPictures::Loaded DocxPictures::load(const QString &part)
{
    const auto cached = loaded_.constFind(part);
    if (cached != loaded_.cend())
        return *cached;
    if (prefix_.isEmpty())
        prefix_ = QStringLiteral("docximage:") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    Loaded loaded;
    if (!package_.contains(part))
        return loaded;
    const qint64 stated = package_.zip().size(part);
    QByteArray bytes;
    if (stated >= 0 && bytes_ + stated <= kByteBudget) {
        bytes = package_.read(part);
        bytes_ += bytes.size();
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAllocationLimit(1024);
    const QByteArray format = reader.format();
    const QSize size = reader.size();
    if (size.width() > kMaxSide || size.height() > kMaxSide)
        throw PackageError(QStringLiteral("a picture (%1) states an absurd size (%2 × %3 pixels)")
                               .arg(part).arg(size.width()).arg(size.height()));
    loaded.type = typeOf(format, bytes);
    QImage image;
    const bool shown = std::any_of(std::begin(kShownKinds), std::end(kShownKinds),
                                   [&](const char *k) { return loaded.type == QLatin1String(k); });
    const qint64 pixels = qint64(qMax(0, size.width())) * qMax(0, size.height());
    if (shown && size.isValid() && pixels_ + pixels <= kPixelBudget) {
        image = reader.read();
        pixels_ += pixels;
    }
    loaded.size = image.isNull() ? size : image.size();
    if (image.isNull())
        image = RtfPicture::placeholder();
    loaded.name = prefix_ + QStringLiteral("-%1").arg(++count_);
    const QUrl url(loaded.name);
    sink_.addResource(QTextDocument::ImageResource, url, image);
    if (!bytes.isEmpty())
        sink_.addResource(TextFormats::kOriginalImageResource, TextFormats::originalImageUrl(url), bytes);
    loaded_.insert(part, loaded);
    return loaded;
}

QTextImageFormat DocxPictures::image(const QString &part, QSizeF display)
{
    const Loaded loaded = load(part);
    if (loaded.name.isEmpty())
        return QTextImageFormat();
    QTextImageFormat f;
    f.setName(loaded.name);
    if (display.isEmpty() && loaded.size.isValid())
        display = QSizeF(loaded.size);
    if (display.isEmpty())
        display = QSizeF(96, 96);
    f.setWidth(qBound(1.0, display.width(), kMaxDisplay));
    f.setHeight(qBound(1.0, display.height(), kMaxDisplay));
    if (!loaded.type.isEmpty())
        f.setProperty(TextFormats::kImageTypeProperty, loaded.type);
    return f;
}

QTextImageFormat DocxPictures::placeholder(QSizeF display)
{
    if (placeholderName_.isEmpty()) {
        if (prefix_.isEmpty())
            prefix_ = QStringLiteral("docximage:") + QUuid::createUuid().toString(QUuid::WithoutBraces);
        placeholderName_ = prefix_ + QStringLiteral("-placeholder");
        sink_.addResource(QTextDocument::ImageResource, QUrl(placeholderName_), RtfPicture::placeholder());
    }
    QTextImageFormat f;
    f.setName(placeholderName_);
    if (display.isEmpty())
        display = QSizeF(96, 96);
    f.setWidth(qBound(1.0, display.width(), kMaxDisplay));
    f.setHeight(qBound(1.0, display.height(), kMaxDisplay));
    return f;
}
