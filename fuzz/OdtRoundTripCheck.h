#pragma once
// The property the OpenDocument fuzz target checks, shared with the test that replays
// fuzz/regressions-odt/: any input is either refused with a reason (PackageError, the document left
// empty) or read; what is read writes as a package that reads back to the same text, twice over.
// An input that is not a zip package is tried as a part of a package (see odtFuzzPackage), and as a
// flat file, so that the fuzzer works on the XML rather than on the zip's checksums.
#include "odt/OdtCodec.h"
#include "zip/PackageError.h"
#include "zip/ZipReader.h"
#include "zip/ZipWriter.h"

#include <QString>
#include <QTextDocument>

// The input as the part it claims to be: styles.xml (beside a small body using common style names)
// when its root is a styles part, content.xml otherwise. A part of the wrong kind refuses the whole
// package, so giving the same XML to both would leave the body unread.
inline QByteArray odtFuzzPackage(QByteArrayView input)
{
    const qsizetype root = input.indexOf("<office:document");
    const bool styles = root >= 0 && input.sliced(root).startsWith("<office:document-styles");
    ZipWriter zip(QDateTime(QDate(2020, 1, 1), QTime(0, 0), Qt::UTC));
    zip.add(QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.text", false);
    zip.add(QStringLiteral("META-INF/manifest.xml"),
            "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\">"
            "<manifest:file-entry manifest:full-path=\"/\" manifest:media-type=\"application/vnd.oasis.opendocument.text\"/>"
            "</manifest:manifest>");
    if (!styles) {
        zip.add(QStringLiteral("content.xml"), input.toByteArray());
        return zip.finish();
    }
    zip.add(QStringLiteral("styles.xml"), input.toByteArray());
    zip.add(QStringLiteral("content.xml"),
            "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
            "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body><office:text>"
            "<text:h text:style-name=\"Heading_20_1\" text:outline-level=\"1\">h</text:h>"
            "<text:p text:style-name=\"Standard\">a<text:span text:style-name=\"Emphasis\">b</text:span></text:p>"
            "<text:list text:style-name=\"L1\"><text:list-item><text:p text:style-name=\"P1\">c</text:p></text:list-item></text:list>"
            "</office:text></office:body></office:document-content>");
    return zip.finish();
}

inline QString odtReadProblem(const QByteArray &bytes)
{
    QTextDocument first;
    first.setPlainText(QStringLiteral("before"));
    try {
        OdtCodec::read(bytes, first);
    } catch (const PackageError &e) {
        if (e.reason().isEmpty())
            return QStringLiteral("refused without a reason");
        if (!first.isEmpty())
            return QStringLiteral("refused, but the document was not left empty");
        return QString();
    }
    QTextDocument second;
    try {
        OdtCodec::read(OdtCodec::write(first), second);
    } catch (const PackageError &e) {
        return QStringLiteral("what was written is refused: ") + e.reason();
    }
    if (first.toPlainText() != second.toPlainText())
        return QStringLiteral("the text changed when written and read back");
    QTextDocument third;
    try {
        OdtCodec::read(OdtCodec::write(second), third);
    } catch (const PackageError &e) {
        return QStringLiteral("what was written again is refused: ") + e.reason();
    }
    if (second.toPlainText() != third.toPlainText())
        return QStringLiteral("the text changed when written and read back a second time");
    return QString();
}

inline QString odtRoundTripProblem(QByteArrayView input)
{
    const QByteArray bytes = input.toByteArray();
    if (ZipReader::looksLikeZip(bytes))
        return odtReadProblem(bytes);
    QString problem = odtReadProblem(odtFuzzPackage(input));
    if (problem.isEmpty() && OdtCodec::looksLikeFlat(bytes))
        problem = odtReadProblem(bytes);
    return problem;
}
