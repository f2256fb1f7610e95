#pragma once
#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QSizeF>
#include <QString>
#include <QTextImageFormat>

class OdtPackage;
class QTextDocument;

// The pictures of an OpenDocument file being read: taken from the package (or from base64 data in
// a flat file), decoded within budgets shared by the whole file, and made resources of the
// documents that show them. PNG, JPEG, GIF and BMP are shown; other kinds (and pictures past the
// budgets) show a placeholder of their size and are kept as they were.
class OdtPictures
{
public:
    static constexpr qint64 kMaxPixels = 25'000'000;   // one picture, decoded
    static constexpr qint64 kPixelBudget = 60'000'000; // all pictures
    static constexpr qint64 kByteBudget = qint64(512) << 20;
    static constexpr int kAbsurdSide = 1 << 16;          // a picture that says it is larger is refused
    // Format property: the picture's media type and name in the package it came from
    // ("image/gif Pictures/x.gif"), so that it is written back as it was.
    static constexpr int kSourceProperty = QTextFormat::UserProperty + 0x5409;

    explicit OdtPictures(const OdtPackage *package) : package_(package) {}

    // The picture at `href` in the package (or `data`, when given), as an image format of `doc`,
    // `size` pixels large (its own size when empty). Invalid (no name) when there is no picture.
    // Throws PackageError for a picture that states an absurd size.
    QTextImageFormat load(QTextDocument &doc, const QString &href, const QByteArray &data, QSizeF size);

    // The bytes of a picture read from the package, null when it was not read.
    QByteArray bytes(const QString &href) const { return pictures_.value(href).bytes; }

private:
    struct Picture
    {
        QImage image;       // shown
        QByteArray bytes;   // as in the file
        QString type;       // TextFormats::kImageTypeProperty, for kinds the RTF writer keeps
        QString mediaType;
        QSizeF natural;     // pixels at 96 per inch
    };
    Picture decode(const QByteArray &bytes, const QString &name);

    const OdtPackage *package_;
    QHash<QString, Picture> pictures_; // by href
    qint64 pixelBudget_ = kPixelBudget;
    qint64 byteBudget_ = kByteBudget;
    QImage placeholder_;
    QString prefix_;
    int count_ = 0;
};
