#pragma once
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QPrinter;

// PDF files made by the tests, read back with the Poppler tools.
namespace PdfFiles {

// Sets a printer up to print into the PDF file at `path`.
std::function<void(QPrinter &)> printerTo(const QString &path);

// The text of each page.
QStringList pages(const QString &pdf);

// The first page as an image, 20 pixels per inch.
QImage firstPage(const QString &pdf, const QString &prefix);

// A word as laid on its page, in points from the page's top left corner.
struct Word {
    QString text;
    int page = 0; // counted from 1
    double left = 0, right = 0;
    double pageWidth = 0;
};
QList<Word> words(const QString &pdf);

} // namespace PdfFiles
