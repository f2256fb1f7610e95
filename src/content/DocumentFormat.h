#pragma once
#include <QString>

// Which format a document is written in, chosen by the last three characters of its file name.
class DocumentFormat
{
public:
    enum Format { RichText, PlainText };

    // The last three characters in lower case; no dot is looked for, so "mydoc" gives "doc".
    // A shorter path is its own extension.
    static QString extensionOf(const QString &path);
    // "doc" and "rtf" are rich text, everything else plain text.
    static Format formatOf(const QString &path);
    // The extensions Save As writes without the unknown-type warning.
    static bool isKnown(const QString &path);
};
