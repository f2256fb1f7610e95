#include "odt/OdtCodec.h"
#include "odt/OdtPackage.h"
#include "odt/OdtReader.h"
#include "odt/OdtWriter.h"
#include "rtf/DocumentExtras.h"
#include "zip/PackageError.h"
#include "zip/ZipReader.h"

#include <QTextCursor>
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
    const bool undo = into.isUndoRedoEnabled();
    const bool layout = into.isLayoutEnabled();
    into.setUndoRedoEnabled(false);
    into.setLayoutEnabled(false);
    into.clear();
    DocumentExtras::of(into).clear();
    auto restore = [&] {
        into.setLayoutEnabled(layout);
        into.setUndoRedoEnabled(undo);
    };
    try {
        QTextCursor cursor(&into);
        cursor.beginEditBlock();
        if (!ZipReader::looksLikeZip(bytes) && looksLikeFlat(bytes)) {
            OdtReader(into, nullptr).readFlat(bytes);
        } else {
            const OdtPackage package(bytes);
            OdtReader(into, &package).readPackage(package, bytes);
        }
        cursor.endEditBlock();
    } catch (const PackageError &) {
        into.clear();
        DocumentExtras::of(into).clear();
        restore();
        throw;
    } catch (const std::bad_alloc &) {
        into.clear();
        DocumentExtras::of(into).clear();
        restore();
        throw PackageError(QStringLiteral("it is too large to open"));
    }
    restore();
}

QByteArray OdtCodec::write(const QTextDocument &doc)
{
    return OdtWriter(doc).write();
}
