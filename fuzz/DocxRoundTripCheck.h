#pragma once
// The property the Word fuzz target checks, shared with the test that replays
// fuzz/regressions-docx/: any input is read or refused with a reason, never crashes; what is read
// is written as a package that reads back to the same text, and writing that again gives the
// same bytes.
//
// An input that does not start as a zip package is taken as the XML of a package's parts,
// separated by lines "@@": document.xml, then styles.xml, numbering.xml and footnotes.xml,
// which the check packs with the rest a Word package needs. So the fuzzer changes the XML the
// reader reads, not the zip around it.
#include "docx/DocxCodec.h"
#include "zip/PackageError.h"
#include "zip/ZipReader.h"
#include "zip/ZipWriter.h"

#include <QString>
#include <QTextDocument>

inline QByteArray docxFuzzPackage(QByteArrayView input)
{
    if (ZipReader::looksLikeZip(input))
        return input.toByteArray();
    QList<QByteArray> parts = input.toByteArray().split('\n');
    QList<QByteArray> xml{QByteArray()};
    for (const QByteArray &line : parts) {
        if (line == "@@" && xml.size() < 4)
            xml.append(QByteArray());
        else
            xml.last() += line + '\n';
    }
    static const char *const kNames[] = {"word/document.xml", "word/styles.xml", "word/numbering.xml",
                                         "word/footnotes.xml"};
    static const char *const kTypes[] = {"document.main", "styles", "numbering", "footnotes"};
    static const char *const kKinds[] = {"", "styles", "numbering", "footnotes"};
    QByteArray types = "<?xml version=\"1.0\"?><Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                       "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                       "<Default Extension=\"xml\" ContentType=\"application/xml\"/>";
    QByteArray rels = "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    ZipWriter zip(QDateTime(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC));
    for (qsizetype i = 0; i < xml.size(); ++i) {
        if (i > 0 && xml[i].trimmed().isEmpty())
            continue; // a part the input leaves out
        types += QByteArray("<Override PartName=\"/") + kNames[i]
               + "\" ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml." + kTypes[i] + "+xml\"/>";
        if (i > 0)
            rels += QByteArray("<Relationship Id=\"rId") + QByteArray::number(i)
                  + "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/" + kKinds[i]
                  + "\" Target=\"" + QByteArray(kNames[i]).mid(5) + "\"/>";
        zip.add(QString::fromLatin1(kNames[i]), xml[i]);
    }
    zip.add(QStringLiteral("[Content_Types].xml"), types + "</Types>");
    zip.add(QStringLiteral("word/_rels/document.xml.rels"), rels + "</Relationships>");
    zip.add(QStringLiteral("_rels/.rels"),
            "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
            "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
            "Target=\"word/document.xml\"/></Relationships>");
    return zip.finish();
}

inline QString docxRoundTripProblem(QByteArrayView input)
{
    QTextDocument first;
    try {
        DocxCodec::read(docxFuzzPackage(input), first);
    } catch (const PackageError &e) {
        if (e.reason().isEmpty())
            return QStringLiteral("refused without a reason");
        if (!first.isEmpty())
            return QStringLiteral("refused, but the document is not empty");
        return QString();
    }
    QByteArray written;
    try {
        written = DocxCodec::write(first);
    } catch (const PackageError &e) {
        return QStringLiteral("writing failed: ") + e.reason();
    }
    QTextDocument second;
    try {
        DocxCodec::read(written, second);
    } catch (const PackageError &e) {
        return QStringLiteral("what was written is refused: ") + e.reason();
    }
    if (first.toPlainText() != second.toPlainText())
        return QStringLiteral("the text changed when read back");
    if (DocxCodec::write(second) != written)
        return QStringLiteral("writing the read-back document gave other bytes");
    return QString();
}
