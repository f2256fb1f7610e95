#pragma once
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QSize>
#include <QTextFormat>

class QTextDocument;

// Pictures for tests: made, encoded, and found again in a document.
namespace TestPictures {

// An image of one colour.
QImage filled(QSize size, QColor colour);

// The image in a file format ("PNG", "JPEG" …), as a file would hold it.
QByteArray encoded(const QImage &image, const char *format);

// The image formats of the document's pictures, in document order.
QList<QTextImageFormat> pictures(const QTextDocument &doc);

} // namespace TestPictures
