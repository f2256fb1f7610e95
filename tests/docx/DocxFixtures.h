#pragma once
// Helpers shared by the Word tests: small packages made in the test, reading, writing, and
// looking at what a reading made.
#include "docx/DocxCodec.h"
#include "rtf/DocumentExtras.h"
#include "rtf/HeaderFooter.h"
#include "rtf/TextFormats.h"
#include "zip/PackageError.h"
#include "zip/ZipWriter.h"
#include "support/DocumentFixtures.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QPair>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <memory>

namespace DocxFixtures {

using namespace DocumentFixtures;

inline const char *kNamespaces =
    "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
    "xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\" "
    "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
    "xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\" "
    "xmlns:m=\"http://schemas.openxmlformats.org/officeDocument/2006/math\" "
    "xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\" "
    "xmlns:v=\"urn:schemas-microsoft-com:vml\" "
    "xmlns:wps=\"http://schemas.microsoft.com/office/word/2010/wordprocessingShape\"";

// A Word package made of parts: the body's XML (what goes inside w:body) and, where given,
// other parts by name (word/styles.xml ...) with the relationships of the main part to them.
struct Package
{
    QByteArray body;
    QByteArray document; // the whole main part instead, when given
    QList<QPair<QString, QByteArray>> parts;           // name, bytes
    QList<QPair<QString, QString>> relationships;      // kind or type, target (word/...); id rIdN by order
    QList<QPair<QString, QString>> external;           // id, URL of hyperlinks
    QByteArray mainNamespaces = kNamespaces;
    QString mainType = QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml");

    // Adds a part and a relationship of the main part to it; returns the relationship's id.
    QString add(const QString &kind, const QString &name, const QByteArray &xml)
    {
        parts.append({name, xml});
        relationships.append({kind, name});
        return QStringLiteral("rId%1").arg(relationships.size());
    }
    QByteArray make() const;
};

inline QByteArray Package::make() const
{
    auto typeOf = [](const QString &name) -> QString {
        static const char *const kKinds[] = {"styles", "numbering", "footnotes", "endnotes", "settings", "header", "footer",
                                             "comments"};
        for (const char *k : kKinds)
            if (name.section(u'/', -1).startsWith(QLatin1String(k)))
                return QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.") + QLatin1String(k)
                     + QStringLiteral("+xml");
        if (name.endsWith(u".png"))
            return QStringLiteral("image/png");
        return QStringLiteral("application/xml");
    };
    QByteArray types = "<?xml version=\"1.0\"?><Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                       "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                       "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                       "<Override PartName=\"/word/document.xml\" ContentType=\"" + mainType.toUtf8() + "\"/>";
    QByteArray rels = "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    ZipWriter zip;
    for (qsizetype i = 0; i < relationships.size(); ++i) {
        const QString type = relationships[i].first.contains(u'/')
                                 ? relationships[i].first
                                 : QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships/")
                                       + relationships[i].first;
        rels += "<Relationship Id=\"rId" + QByteArray::number(i + 1) + "\" Type=\"" + type.toUtf8() + "\" Target=\""
              + relationships[i].second.mid(5).toUtf8() + "\"/>";
    }
    for (const auto &[id, url] : external)
        rels += "<Relationship Id=\"" + id.toUtf8()
              + "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/hyperlink\" Target=\""
              + url.toUtf8() + "\" TargetMode=\"External\"/>";
    for (const auto &[name, xml] : parts) {
        types += "<Override PartName=\"/" + name.toUtf8() + "\" ContentType=\"" + typeOf(name).toUtf8() + "\"/>";
        zip.add(name, xml);
    }
    zip.add(QStringLiteral("[Content_Types].xml"), types + "</Types>");
    QByteArray packageRels = "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                             "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
                             "Target=\"word/document.xml\"/>";
    for (const auto &[name, xml] : parts)
        if (name == u"docProps/core.xml")
            packageRels += "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties\" "
                           "Target=\"docProps/core.xml\"/>";
    zip.add(QStringLiteral("_rels/.rels"), packageRels + "</Relationships>");
    zip.add(QStringLiteral("word/_rels/document.xml.rels"), rels + "</Relationships>");
    zip.add(QStringLiteral("word/document.xml"),
            !document.isEmpty() ? document
                                : "<?xml version=\"1.0\" encoding=\"UTF-8\"?><w:document " + mainNamespaces + "><w:body>" + body
                                      + "</w:body></w:document>");
    return zip.finish();
}

// A part of the main namespace: <w:ELEMENT namespaces>CONTENT</w:ELEMENT>.
inline QByteArray part(const char *element, const QByteArray &content)
{
    return QByteArray("<?xml version=\"1.0\"?><w:") + element + ' ' + kNamespaces + '>' + content + "</w:" + element + '>';
}

inline std::unique_ptr<QTextDocument> read(const QByteArray &docx)
{
    auto doc = std::make_unique<QTextDocument>();
    DocxCodec::read(docx, *doc);
    return doc;
}

// Written as Word and read again.
inline std::unique_ptr<QTextDocument> again(const QTextDocument &doc)
{
    return read(DocxCodec::write(doc));
}

inline QString corpusDir()
{
    return QStringLiteral(SCRIVLO_SHARED_DIR "/doc-corpus/docx");
}

inline QStringList corpusFiles()
{
    return corpusFilesIn(corpusDir(), QStringLiteral("*.docx"));
}

} // namespace DocxFixtures
