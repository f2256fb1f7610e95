#pragma once
#include <QList>
#include <QSizeF>
#include <QString>

// What a drawing, VML picture or embedded object (w:drawing, w:pict, w:object) holds that the
// program can show: its picture, how it stands in the text, the text of its text boxes. Found
// by reading the kept copy of the element.
struct DocxObjectScan
{
    enum Placement { Inline, Beside, OwnLine };

    QString picture;         // the relationship id of its picture (a:blip, v:imagedata)
    bool linked = false;     // the picture is a link to outside the package
    int pictures = 0;        // how many pictures it holds
    bool other = false;      // it holds what is not a picture: a shape, chart, diagram ...
    QSizeF size;             // pixels at 96 per inch
    Placement placement = Inline;
    bool right = false;      // floats beside the text on the right
    QList<QString> textBoxes; // each w:txbxContent, as kept XML

    // Scans the elements of kept XML.
    static DocxObjectScan scan(const QString &elementXml, const QString &part);
    // The text of w:t, w:delText and m:t elements in kept XML, paragraphs joined by U+2028.
    static QString textOf(const QString &elementXml);
};
