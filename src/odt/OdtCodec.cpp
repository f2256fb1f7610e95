#include "odt/OdtCodec.h"
#include "odt/OdtPackage.h"
#include "odt/OdtReader.h"
#include "odt/OdtWriter.h"
#include "rtf/DocumentReplacement.h"
#include "zip/PackageError.h"
#include "zip/ZipReader.h"

#include <QTextDocument>
#include <new>

bool OdtCodec::recognises(const ZipReader &package)
{
    return OdtPackage::recognises(package);
}

bool OdtCodec::looksLikeFlat(QByteArrayView bytes)
{
    // The root element comes within the first few kilobytes, after the declaration and comments.
    const QByteArrayView head = bytes.first(qMin<qsizetype>(bytes.size(), 8192));
    if (!head.trimmed().startsWith("<") || head.indexOf("urn:oasis:names:tc:opendocument:xmlns:office:1.0") < 0
        || head.indexOf("application/vnd.oasis.opendocument.text") < 0)
        return false;
    for (qsizetype at = head.indexOf(":document"); at >= 0; at = head.indexOf(":document", at + 1)) {
        const char after = at + 9 < head.size() ? head[at + 9] : '\0';
        if (after == ' ' || after == '\n' || after == '\r' || after == '\t' || after == '>')
            return true;
    }
    return false;
}

void OdtCodec::read(const QByteArray &bytes, QTextDocument &into)
{
    DocumentReplacement replacement(into);
    try {
        if (!ZipReader::looksLikeZip(bytes) && looksLikeFlat(bytes)) {
            OdtReader(into, nullptr).readFlat(bytes);
        } else {
            const OdtPackage package(bytes);
            OdtReader(into, &package).readPackage(package, bytes);
        }
    } catch (const PackageError &) {
        replacement.abandon();
        throw;
    } catch (const std::bad_alloc &) {
        replacement.abandon();
        throw PackageError(QStringLiteral("it is too large to open"));
    }
    replacement.finish();
}

QByteArray OdtCodec::write(const QTextDocument &doc)
{
    return OdtWriter(doc).write();
}
