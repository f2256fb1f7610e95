#pragma once
#include <QByteArray>

class QTextDocument;
class ZipReader;

// Reads and writes Word documents (.docx; Office Open XML, transitional and Strict) over a
// QTextDocument, as RtfCodec does Rich Text Format. Needs QtGui and libzip only.
class DocxCodec
{
public:
    // Whether an opened zip package is a Word text document (its main part is one).
    static bool recognises(const ZipReader &package);

    // Replaces the whole content of the document (and its DocumentExtras) with the package's.
    // The document's undo stack is left empty. A package that is refused (not a Word document,
    // damaged, hostile, password-protected) throws PackageError with a reason for the user, and
    // leaves the document empty.
    static void read(const QByteArray &bytes, QTextDocument &into);

    // The whole document as a Word package, with what it keeps from the package it was read
    // from. Throws PackageError when the package cannot be made.
    static QByteArray write(const QTextDocument &doc);
};
