#pragma once
#include "content/DocumentFormat.h"

#include <QByteArray>
#include <QString>

class QTextDocument;

// A document written as a Word or OpenDocument package, for Save, Save As and the conversion mode.
class PackageDocument
{
public:
    // `format` is DocumentFormat::Word or DocumentFormat::OpenDocument. Throws Failure
    // `Cannot save "path": reason` when the package cannot be made; nothing is written then.
    static QByteArray write(const QTextDocument &doc, DocumentFormat::Format format, const QString &path);
    static bool isPackage(DocumentFormat::Format format)
    {
        return format == DocumentFormat::Word || format == DocumentFormat::OpenDocument;
    }
};
