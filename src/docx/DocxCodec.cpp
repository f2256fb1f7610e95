#include "docx/DocxCodec.h"
#include "docx/DocxPackage.h"
#include "docx/DocxReader.h"
#include "docx/DocxWriter.h"
#include "rtf/DocumentExtras.h"
#include "zip/PackageError.h"

#include <QTextCursor>
#include <QTextDocument>
#include <new>

bool DocxCodec::recognises(const ZipReader &package)
{
    return DocxPackage::isWordDocument(package);
}

void DocxCodec::read(const QByteArray &bytes, QTextDocument &into)
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
    auto empty = [&] {
        into.clear();
        DocumentExtras::of(into).clear();
    };
    QTextCursor cursor(&into);
    cursor.beginEditBlock();
    try {
        DocxReader(bytes, into).read();
    } catch (const PackageError &) {
        cursor.endEditBlock();
        empty();
        restore();
        throw;
    } catch (const std::bad_alloc &) {
        cursor.endEditBlock();
        empty();
        restore();
        throw PackageError(QStringLiteral("it is too large to open"));
    }
    cursor.endEditBlock();
    restore();
}

QByteArray DocxCodec::write(const QTextDocument &doc)
{
    try {
        return DocxWriter(doc).write();
    } catch (const std::bad_alloc &) {
        throw PackageError(QStringLiteral("it is too large to save"));
    }
}
