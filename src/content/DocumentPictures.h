#pragma once
#include <QSet>
#include <QSizeF>
#include <QString>
#include <memory>

class QImage;
class QTextCursor;
class QTextDocument;

// Pictures live in a document as resources named by their image formats, and a resource belongs to
// one document. These helpers move pictures along when text goes from one document to another
// (paste, copy, print), and size new pictures for the page.
class DocumentPictures
{
public:
    // The names of the pictures the document shows.
    static QSet<QString> names(const QTextDocument &doc);

    // Registers in `to` what `from` holds for each of the named pictures.
    static void copy(const QTextDocument &from, QTextDocument &to, const QSet<QString> &pictures);

    // Gives every picture of the document a name of its own, so that it cannot meet a picture of
    // another document under the same name once pasted there.
    static void giveFreshNames(QTextDocument &doc);

    // A document of its own holding the selection, or the whole document when nothing is
    // selected, with its pictures and the source's default font.
    static std::unique_ptr<QTextDocument> extract(const QTextCursor &cursor);

    // A fresh resource name for a picture.
    static QString freshName();

    // The size a picture of the given natural size is shown at: its own, made smaller (keeping its
    // proportions) when it would not fit between the margins of a page. Pixels at 96 per inch.
    static QSizeF fitToPage(QSizeF natural);
};
