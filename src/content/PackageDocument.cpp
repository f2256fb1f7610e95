#include "content/PackageDocument.h"
#include "docx/DocxCodec.h"
#include "odt/OdtCodec.h"
#include "platform/Failure.h"
#include "zip/PackageError.h"

QByteArray PackageDocument::write(const QTextDocument &doc, DocumentFormat::Format format, const QString &path)
{
    try {
        return format == DocumentFormat::Word ? DocxCodec::write(doc) : OdtCodec::write(doc);
    } catch (const PackageError &error) {
        throw Failure(QStringLiteral("Cannot save \"%1\": %2").arg(path, error.reason()), error.reason());
    }
}
