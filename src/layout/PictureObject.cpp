#include "layout/PictureObject.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPixmap>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>
#include <cmath>

QPixmap PictureObject::pixmapOf(QTextDocument *doc, const QTextImageFormat &format)
{
    const QVariant data = doc->resource(QTextDocument::ImageResource, QUrl::fromEncoded(format.name().toUtf8()));
    QPixmap pixmap;
    if (data.userType() == QMetaType::QPixmap || data.userType() == QMetaType::QImage)
        pixmap = qvariant_cast<QPixmap>(data);
    else if (data.userType() == QMetaType::QByteArray)
        pixmap.loadFromData(data.toByteArray());
    if (pixmap.isNull()) // what Qt shows for a picture it cannot find
        pixmap = QPixmap(QStringLiteral(":/qt-project.org/styles/commonstyle/images/file-16.png"));
    return pixmap;
}

QSizeF PictureObject::intrinsicSize(QTextDocument *doc, int, const QTextFormat &f)
{
    const QTextImageFormat format = f.toImageFormat();
    const bool hasWidth = format.hasProperty(QTextFormat::ImageWidth);
    const bool hasHeight = format.hasProperty(QTextFormat::ImageHeight);
    const int width = qRound(format.width());
    const int height = qRound(format.height());
    // Whole pixels, as Qt's layout measures pictures.
    QSize size(width, height);
    QPixmap pixmap;
    if (!hasWidth || !hasHeight) {
        pixmap = pixmapOf(doc, format);
        const int ownWidth = int(pixmap.width() / pixmap.devicePixelRatio());
        const int ownHeight = int(pixmap.height() / pixmap.devicePixelRatio());
        if (!hasWidth)
            size.setWidth(hasHeight ? qRound(height * (ownWidth / qreal(ownHeight))) : ownWidth);
        if (!hasHeight)
            size.setHeight(hasWidth ? qRound(width * (ownHeight / qreal(ownWidth))) : ownHeight);
    }
    if (QPaintDevice *device = doc->documentLayout()->paintDevice()) {
        if (pixmap.isNull())
            pixmap = pixmapOf(doc, format);
        if (!pixmap.isNull())
            size *= device->logicalDpiY() / 96.0;
    }
    return QSizeF(size);
}

void PictureObject::drawObject(QPainter *painter, const QRectF &rect, QTextDocument *doc, int, const QTextFormat &f)
{
    const QPixmap pixmap = pixmapOf(doc, f.toImageFormat());
    painter->drawPixmap(rect, pixmap, pixmap.rect());
}
