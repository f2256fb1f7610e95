#pragma once
#include <QString>

// Which format a document is written in, chosen by its file name: ".docx" and ".odt" by their
// ending, the others by the last three characters.
class DocumentFormat
{
public:
    enum Format { RichText, PlainText, Word, OpenDocument };

    // The last three characters in lower case; no dot is looked for, so "mydoc" gives "doc".
    // A shorter path is its own extension.
    static QString extensionOf(const QString &path);
    // ".docx" is Word and "odt" OpenDocument; "doc" and "rtf" are rich text, everything else plain text.
    static Format formatOf(const QString &path);
    // The extensions Save As writes without the unknown-type warning.
    static bool isKnown(const QString &path);
};
