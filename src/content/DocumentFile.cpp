#include "content/DocumentFile.h"
#include "content/PlainText.h"
#include "content/WholeFile.h"
#include "platform/Failure.h"
#include "docx/DocxCodec.h"
#include "odt/OdtCodec.h"
#include "rtf/RtfCodec.h"
#include "zip/PackageError.h"

#include <QTextDocument>

namespace {

Failure cannotOpen(const QString &path, const QString &reason)
{
    return Failure(QStringLiteral("Cannot open \"%1\": %2").arg(path, reason), reason);
}

} // namespace

DocumentFile DocumentFile::read(const QString &path)
{
    return fromBytes(path, WholeFile::read(path));
}

DocumentFile DocumentFile::fromBytes(const QString &path, const QByteArray &bytes)
{
    const FileRecognition::Result recognised = FileRecognition::recognise(bytes);
    if (!recognised.format)
        throw cannotOpen(path, recognised.refusal);
    return DocumentFile(path, bytes, *recognised.format);
}

QString DocumentFile::text() const
{
    return PlainText::decode(m_bytes);
}

QString DocumentFile::insertableText() const
{
    if (m_format == Format::PlainText || m_format == Format::RichText)
        return text();
    QTextDocument doc;
    readInto(doc);
    return doc.toPlainText();
}

DocumentFile::ReadNotes DocumentFile::readInto(QTextDocument &doc) const
{
    ReadNotes notes;
    switch (m_format) {
    case Format::RichText:
        RtfCodec::read(m_bytes, doc, &notes.endedEarly);
        break;
    case Format::Word:
    case Format::OpenDocument:
        try {
            if (m_format == Format::Word)
                DocxCodec::read(m_bytes, doc);
            else
                OdtCodec::read(m_bytes, doc);
        } catch (const PackageError &error) {
            throw cannotOpen(m_path, error.reason());
        }
        break;
    case Format::PlainText:
        doc.setPlainText(text());
        break;
    }
    return notes;
}
