#pragma once
#include <QHash>
#include <QImage>
#include <QSizeF>
#include <QString>
#include <QTextImageFormat>

class DocxPackage;
class DocxBuildSink;

// The pictures of a Word package, put into a QTextDocument as image resources: PNG, JPEG, GIF
// and BMP are shown; other kinds (EMF, WMF, TIFF ...) and pictures past the budgets show a
// placeholder of their size and keep their bytes for writing back. A picture whose own header
// states an absurd size is refused (PackageError), as a hostile file.
class DocxPictures
{
public:
    static constexpr qint64 kByteBudget = qint64(512) << 20; // encoded bytes of all pictures
    static constexpr qint64 kPixelBudget = 80'000'000;       // decoded pixels of all pictures
    static constexpr int kMaxSide = 30000;                   // a side past this is absurd
    static constexpr double kMaxDisplay = 20000;             // pixels at 96 per inch

    // The pictures' resources go to the document through `sink`.
    DocxPictures(const DocxPackage &package, DocxBuildSink &sink);

    // The image format for a picture part shown at a size (pixels; empty: its own size), or an
    // invalid format when the part is missing. A part shown twice is read once.
    QTextImageFormat image(const QString &part, QSizeF display);
    // A placeholder picture (for a linked picture, which is never fetched).
    QTextImageFormat placeholder(QSizeF display);

private:
    struct Loaded
    {
        QString name;
        QString type;
        QSize size;
    };
    Loaded load(const QString &part);

    const DocxPackage &package_;
    DocxBuildSink &sink_;
    QHash<QString, Loaded> loaded_;
    qint64 bytes_ = 0;
    qint64 pixels_ = 0;
    QString prefix_;
    int count_ = 0;
    QString placeholderName_;
};
