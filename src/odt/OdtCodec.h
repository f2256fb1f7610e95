#pragma once
#include <QByteArray>
#include <QByteArrayView>

class QTextDocument;
class ZipReader;

// Reads and writes OpenDocument Text (.odt, ODF 1.2 and 1.3; flat .fodt files are read too) over
// the document model the RTF codec uses. Needs QtGui only.
class OdtCodec
{
public:
    // Whether a zip package is an OpenDocument text document (or template).
    static bool recognises(const ZipReader &package);
    // Whether the bytes are a flat OpenDocument text file (.fodt): XML whose root is office:document.
    static bool looksLikeFlat(QByteArrayView bytes);

    // Replaces the whole content of the document (and its DocumentExtras) with the package's, or
    // with a flat file's. The document's undo stack is left empty. Throws PackageError with a
    // reason for the user when the package is refused (not OpenDocument text, damaged, hostile,
    // password-protected); the document is then left empty.
    static void read(const QByteArray &bytes, QTextDocument &into);

    // The whole document as an OpenDocument text package. What a document read from OpenDocument
    // kept is written back. Throws PackageError when the package cannot be made.
    static QByteArray write(const QTextDocument &doc);
};
