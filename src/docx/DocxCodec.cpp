#include "docx/DocxCodec.h"
#include "docx/DocxPackage.h"
#include "docx/DocxReader.h"
#include "docx/DocxWriter.h"
#include "rtf/DocumentReplacement.h"
#include "zip/PackageError.h"

#include <QTextDocument>
#include <new>

bool DocxCodec::recognises(const ZipReader &package)
{
    return DocxPackage::isWordDocument(package);
}

void DocxCodec::read(const QByteArray &bytes, QTextDocument &into)
{
    DocumentReplacement replacement(into);
    try {
        DocxReader(bytes, into).read();
    } catch (const PackageError &) {
        replacement.abandon();
        throw;
    } catch (const std::bad_alloc &) {
        replacement.abandon();
        throw PackageError(QStringLiteral("it is too large to open"));
    }
    replacement.finish();
}

QByteArray DocxCodec::write(const QTextDocument &doc)
{
    try {
        return DocxWriter(doc).write();
    } catch (const std::bad_alloc &) {
        throw PackageError(QStringLiteral("it is too large to save"));
    }
}
