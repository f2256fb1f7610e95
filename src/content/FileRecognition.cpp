#include "content/FileRecognition.h"
#include "content/PlainText.h"
#include "docx/DocxCodec.h"
#include "odt/OdtCodec.h"
#include "rtf/RtfCodec.h"
#include "zip/PackageError.h"
#include "zip/ZipReader.h"

#include <QtEndian>

namespace {

using Result = FileRecognition::Result;
using Format = FileRecognition::Format;

Result accepted(Format format) { return {format, {}}; }
Result refused(const QString &reason) { return {std::nullopt, reason}; }

// A name in an OLE compound file's directory is stored in UTF-16LE.
bool holdsStreamNamed(const QByteArray &bytes, const char *name)
{
    QByteArray utf16;
    for (const char *c = name; *c; ++c)
        utf16 += QByteArray(1, *c) + QByteArray(1, '\0');
    return bytes.contains(utf16);
}

} // namespace

Result FileRecognition::recognise(const QByteArray &bytes)
{
    if (RtfCodec::looksLikeRtf(bytes))
        return accepted(Format::RichText);
    if (ZipReader::looksLikeZip(bytes))
        return recogniseZip(bytes);
    if (bytes.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        return recogniseCompoundFile(bytes);
    if (const std::optional<QString> known = knownBinaryFormat(bytes))
        return refused(*known);
    if (looksLikeBinary(bytes))
        return refused(QStringLiteral("it holds binary data, not text"));
    if (OdtCodec::looksLikeFlat(bytes)) // a flat OpenDocument file (.fodt) is XML text
        return accepted(Format::OpenDocument);
    return accepted(Format::PlainText);
}

Result FileRecognition::recogniseZip(const QByteArray &bytes)
{
    try {
        const ZipReader package(bytes);
        if (DocxCodec::recognises(package))
            return accepted(Format::Word);
        if (OdtCodec::recognises(package))
            return accepted(Format::OpenDocument);
        if (package.contains(QStringLiteral("[Content_Types].xml"))) {
            const QByteArray types = package.read(QStringLiteral("[Content_Types].xml"));
            if (types.contains("wordprocessingml.document.main") || types.contains("wordprocessingml.template.main")
                || types.contains("ms-word.document.macroEnabled.main") || types.contains("ms-word.template.macroEnabledTemplate.main"))
                return accepted(Format::Word);
            if (types.contains("spreadsheetml"))
                return refused(QStringLiteral("it is a spreadsheet, not a text document"));
            if (types.contains("presentationml"))
                return refused(QStringLiteral("it is a presentation, not a text document"));
        }
        if (package.contains(QStringLiteral("mimetype"))) {
            const QByteArray type = package.read(QStringLiteral("mimetype")).trimmed();
            if (type == "application/vnd.oasis.opendocument.text" || type == "application/vnd.oasis.opendocument.text-template")
                return accepted(Format::OpenDocument);
            if (type.startsWith("application/vnd.oasis.opendocument.spreadsheet"))
                return refused(QStringLiteral("it is a spreadsheet, not a text document"));
            if (type.startsWith("application/vnd.oasis.opendocument.presentation"))
                return refused(QStringLiteral("it is a presentation, not a text document"));
            if (type.startsWith("application/vnd.oasis.opendocument."))
                return refused(QStringLiteral("it is an OpenDocument file of another kind, not a text document"));
        }
    } catch (const PackageError &error) {
        return refused(error.reason());
    }
    return refused(QStringLiteral("it is a zip archive, not a document Scrivlo can open"));
}

Result FileRecognition::recogniseCompoundFile(const QByteArray &bytes)
{
    // A password-protected Word or OpenDocument-era Office file is a compound file that holds the
    // encrypted package.
    if (holdsStreamNamed(bytes, "EncryptedPackage"))
        return refused(QStringLiteral("password-protected documents cannot be opened"));
    if (holdsStreamNamed(bytes, "WordDocument"))
        return refused(QStringLiteral("it is a Word 97-2003 document (.doc), which Scrivlo cannot open; open it in the "
                                      "program that made it and save it as .docx, .odt or .rtf"));
    return refused(QStringLiteral("it is an Office 97-2003 file, not a text document"));
}

std::optional<QString> FileRecognition::knownBinaryFormat(const QByteArray &bytes)
{
    const auto picture = [](const char *kind) {
        return QStringLiteral("it is a picture (%1), not a text document").arg(QLatin1String(kind));
    };
    if (bytes.startsWith("\x89PNG\r\n\x1A\n"))
        return picture("PNG");
    if (bytes.startsWith("\xFF\xD8\xFF"))
        return picture("JPEG");
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        return picture("GIF");
    if (bytes.startsWith("II*\0") || bytes.startsWith(QByteArrayView("MM\0*", 4)))
        return picture("TIFF");
    if (bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WEBP")
        return picture("WebP");
    // A bitmap's header gives its own file size; text that starts with "BM" does not.
    if (bytes.startsWith("BM") && bytes.size() >= 14
        && qFromLittleEndian<quint32>(bytes.constData() + 2) == quint32(bytes.size()))
        return picture("BMP");
    if (bytes.startsWith("%PDF-"))
        return QStringLiteral("it is a PDF document, which Scrivlo cannot open");
    if (bytes.startsWith("\x1F\x8B") || bytes.startsWith("7z\xBC\xAF\x27\x1C") || bytes.startsWith("Rar!"))
        return QStringLiteral("it is a compressed archive, not a document Scrivlo can open");
    if (bytes.startsWith("\x7F" "ELF"))
        return QStringLiteral("it is a program, not a document");
    return std::nullopt;
}

// Text may hold a stray control character, not many; NUL never appears in text of one byte per
// character (UTF-16 text carries its byte-order mark, and decodes as text).
bool FileRecognition::looksLikeBinary(const QByteArray &bytes)
{
    if (PlainText::hasUtf16ByteOrderMark(bytes))
        return false;
    if (bytes.contains('\0'))
        return true;
    qsizetype controls = 0;
    for (const char c : bytes) {
        const uchar u = uchar(c);
        if (u < 0x20 && u != '\t' && u != '\n' && u != '\r' && u != '\f' && u != '\v' && u != 0x1A && u != 0x1B)
            ++controls;
    }
    return controls > 8 && controls * 100 > bytes.size();
}
