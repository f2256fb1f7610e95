#include "docx/DocxReader.h"
#include "docx/DocxBodyReader.h"
#include "docx/DocxBuildQueue.h"
#include "docx/DocxDocumentBuilder.h"
#include "docx/DocxInfo.h"
#include "docx/DocxKeptPackage.h"
#include "docx/DocxKeptXml.h"
#include "docx/DocxReadContext.h"
#include "docx/DocxUnits.h"
#include "docx/DocxXml.h"
#include "rtf/DocumentExtras.h"
#include "rtf/HeaderFooter.h"
#include "rtf/RtfWriter.h"
#include "zip/PackageError.h"

#include <QCryptographicHash>
#include <QIODevice>
#include <QSet>
#include <QTextCursor>
#include <QTextDocument>
#include <QUuid>
#include <functional>
#include <thread>


using namespace DocxNamespaces;

namespace {

// From this size on, the main part is read on a thread of its own.
constexpr qint64 kThreadedBody = qint64(4) << 20;

const QSet<QString> &remadeKinds()
{
    static const QSet<QString> kinds{QStringLiteral("styles"),   QStringLiteral("numbering"),
                                     QStringLiteral("footnotes"), QStringLiteral("endnotes"),
                                     QStringLiteral("header"),    QStringLiteral("footer")};
    return kinds;
}

} // namespace

DocxReader::DocxReader(const QByteArray &bytes, QTextDocument &doc) : bytes_(bytes), doc_(doc) {}

bool DocxReader::isEncryptedOffice(const QByteArray &bytes)
{
    if (!bytes.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        return false;
    // The encrypted package is a stream named so in the compound file's directory (UTF-16).
    const QByteArray name = QByteArray("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0", 32);
    return bytes.contains(name);
}

void DocxReader::read()
{
    if (isEncryptedOffice(bytes_))
        throw PackageError(QStringLiteral("password-protected documents cannot be opened"));
    if (bytes_.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        throw PackageError(QStringLiteral("it is an older Word document (.doc), not a .docx package"));
    DocxPackage package(bytes_);
    DocxReadContext context(package);
    context.documentFont = doc_.defaultFont();
    context.indentWidth = doc_.indentWidth();
    context.idPrefix = QStringLiteral("x") + QUuid::createUuid().toString(QUuid::WithoutBraces).left(8);
    DocxKeptPackage kept;
    kept.mainContentType = package.mainContentType();
    const QString main = package.mainPart();

    if (const QString theme = package.target(main, u"theme"); !theme.isEmpty())
        context.theme.read(package.read(theme), theme);
    if (const QString styles = package.target(main, u"styles"); !styles.isEmpty()) {
        kept.styles = package.read(styles);
        context.styles.read(kept.styles, styles, context.theme);
    }
    context.styles.completeDefaults(context.documentFont);
    context.documentStyles = context.styles.documentStyles(context.documentFont);
    for (const DocumentStyle &s : std::as_const(context.documentStyles))
        kept.styleNames << QString::number(int(s.kind)) + u':' + s.name;
    for (const DocxStyles::Style &s : context.styles.styles())
        kept.styleIds.insert(s.name, s.id);
    if (const QString numbering = package.target(main, u"numbering"); !numbering.isEmpty())
        context.numbering.read(package.read(numbering), numbering, context.theme, context.styles);
    readSettings(context, kept);
    readNotes(context, false);
    readNotes(context, true);
    readComments(context);

    DocumentExtras &extras = DocumentExtras::of(doc_);
    extras.setStyles(context.documentStyles);
    readBody(context, kept);
    readHeadersFooters(context, kept);
    if (context.hasNoteSettings)
        extras.setNoteSettings(context.noteSettings);
    extras.setInfo(DocxInfo::read(package));
    QSet<QString> firstSectionParts;
    if (context.firstSection)
        for (const QString &part : context.firstSection->parts)
            if (!part.isEmpty())
                firstSectionParts.insert(part);
    keepParts(package, kept, firstSectionParts);
    extras.setFormatKept(QLatin1String(DocxKeptPackage::kFormat), kept.serialize());
}

void DocxReader::readSettings(DocxReadContext &context, DocxKeptPackage &kept)
{
    const QString settings = context.package.target(context.package.mainPart(), u"settings");
    if (settings.isEmpty())
        return;
    DocxXml xml(context.package.read(settings), settings);
    if (!xml.start())
        return;
    const int depth = xml.depth();
    while (xml.nextChild(depth)) {
        if (xml.isW(u"evenAndOddHeaders")) {
            kept.evenAndOddHeaders = DocxUnits::onOff(xml.val());
            DocumentExtras::of(doc_).setFacingPages(kept.evenAndOddHeaders);
        } else if (xml.isW(u"footnotePr") || xml.isW(u"endnotePr")) {
            context.readNoteProperties(xml, xml.isW(u"footnotePr"));
        }
    }
}

// The notes wait, as kept XML, for the references that read them.
void DocxReader::readNotes(DocxReadContext &context, bool endnotes)
{
    const QString part = context.package.target(context.package.mainPart(), endnotes ? u"endnotes" : u"footnotes");
    if (part.isEmpty())
        return;
    (endnotes ? context.endnotesPart : context.footnotesPart) = part;
    QHash<QString, QString> &notes = endnotes ? context.endnotes : context.footnotes;
    DocxXml xml(context.package.read(part), part);
    if (!xml.start())
        return;
    const int depth = xml.depth();
    while (xml.nextChild(depth)) {
        if (!xml.isW(endnotes ? u"endnote" : u"footnote"))
            continue;
        const QStringView type = xml.attribute(u"type");
        if (!type.isEmpty() && type != u"normal")
            continue;
        const QString id = xml.attribute(u"id").toString();
        if (notes.size() < 100000 && !notes.contains(id))
            notes.insert(id, DocxKeptXml::captureElement(xml));
    }
}

// The comments' text, which a save as another format keeps as annotations (the part itself is
// kept for Word).
void DocxReader::readComments(DocxReadContext &context)
{
    const QString part = context.package.target(context.package.mainPart(), u"comments");
    if (part.isEmpty())
        return;
    DocxXml xml(context.package.read(part), part);
    if (!xml.start())
        return;
    const int depth = xml.depth();
    while (xml.nextChild(depth)) {
        if (!xml.isW(u"comment") || context.comments.size() >= 100000)
            continue;
        DocxReadContext::Comment c;
        const QString id = xml.attribute(u"id").toString();
        c.author = xml.attribute(u"author").toString().left(256);
        c.initials = xml.attribute(u"initials").toString().left(64);
        QStringList paragraphs;
        std::function<void(int)> walk = [&](int d) {
            while (xml.nextChild(d)) {
                if (xml.isW(u"p")) {
                    paragraphs.append(QString());
                    walk(xml.depth());
                } else if (xml.isW(u"t")) {
                    if (paragraphs.isEmpty())
                        paragraphs.append(QString());
                    xml.appendText(paragraphs.last());
                } else if (xml.isW(u"tab")) {
                    if (!paragraphs.isEmpty())
                        paragraphs.last() += u'\t';
                } else {
                    walk(xml.depth());
                }
            }
        };
        walk(xml.depth());
        c.text = paragraphs.join(u'\n').left(1 << 20);
        context.comments.insert(id, c);
    }
}

void DocxReader::readBody(DocxReadContext &context, DocxKeptPackage &kept)
{
    const QString main = context.package.mainPart();
    // The main part, which may be tens of megabytes, is unpacked as it is read.
    const std::unique_ptr<QIODevice> device = context.package.open(main);
    DocxXml xml(device.get(), main);
    if (!xml.start() || xml.ns() != W || xml.name() != u"document")
        xml.fail(QStringLiteral("is not a Word document body"));
    for (const QXmlStreamNamespaceDeclaration &d : xml.namespaceDeclarations())
        kept.rootNamespaces << d.prefix().toString() + u' ' + d.namespaceUri().toString();
    DocxDocumentBuilder builder(doc_);
    builder.setListGroupPrefix(context.idPrefix);
    const qint64 size = context.package.zip().size(main);
    auto readBodies = [&](DocxBuildSink &sink) {
        const int depth = xml.depth();
        while (xml.nextChild(depth)) {
            if (!xml.isW(u"body"))
                continue;
            DocxBodyReader body(context, sink, main, DocxBodyReader::Mode::Document);
            body.read(xml);
        }
    };
    if (size < kThreadedBody) {
        readBodies(builder);
    } else {
        // A long body is read on a thread of its own while the document is built here from
        // what it has read so far.
        DocxBuildQueue queue;
        std::thread reader([&] {
            try {
                readBodies(queue);
                queue.end();
            } catch (...) {
                queue.fail(std::current_exception());
            }
        });
        try {
            queue.play(builder);
        } catch (...) {
            queue.stop();
            reader.join();
            throw;
        }
        reader.join();
    }
    // The page is Word's (Letter, an inch all round) where the file does not say.
    PageSetup page;
    page.marginLeft = page.marginRight = 1440;
    DocumentExtras &extras = DocumentExtras::of(doc_);
    if (context.firstSection) {
        kept.firstSection = context.firstSection->xml;
        page = context.firstSection->page.value_or(page);
        extras.setTitlePage(context.firstSection->titlePage);
    }
    extras.setPageSetup(page);
    kept.lastSection = context.lastSection;
}

void DocxReader::readHeadersFooters(DocxReadContext &context, DocxKeptPackage &kept)
{
    if (!context.firstSection)
        return;
    DocumentExtras &extras = DocumentExtras::of(doc_);
    for (int kind = 0; kind < HeaderFooter::kKinds; ++kind) {
        const QString part = context.firstSection->parts[std::size_t(kind)];
        if (part.isEmpty() || !context.package.contains(part))
            continue;
        QTextDocument content;
        content.setDefaultFont(doc_.defaultFont());
        content.setUndoRedoEnabled(false);
        content.setLayoutEnabled(false);
        DocumentExtras::of(content).setStyles(context.documentStyles);
        {
            QTextCursor cursor(&content);
            cursor.beginEditBlock();
            DocxXml xml(context.package.read(part), part);
            if (xml.start()) {
                DocxDocumentBuilder builder(content);
                builder.setListGroupPrefix(context.idPrefix);
                DocxBodyReader reader(context, builder, part, DocxBodyReader::Mode::Part);
                reader.read(xml);
            }
            cursor.endEditBlock();
        }
        // An empty header still takes its place on the page: it is kept as one.
        extras.setHeaderFooter(HeaderFooter::Kind(kind), RtfWriter(content, RtfWriter::Part, &extras).write());
        DocxKeptPackage::HeaderPart header;
        header.kind = kind;
        header.part = part;
        header.rtfHash = QCryptographicHash::hash(extras.headerFooter(HeaderFooter::Kind(kind)), QCryptographicHash::Sha1);
        kept.headers.append(header);
    }
}

// Every part the writer does not make again is kept, with the relationships that reach it.
void DocxReader::keepParts(const DocxPackage &package, DocxKeptPackage &kept, const QSet<QString> &firstSectionParts)
{
    const QString main = package.mainPart();
    QSet<QString> remade{QStringLiteral("[Content_Types].xml"), QStringLiteral("_rels/.rels"), main,
                         DocxPackage::relationshipsPart(main)};
    for (const DocxPackage::Relationship &r : package.relationships(main)) {
        // Headers and footers of later sections are kept with the sections that name them.
        const bool laterHeader = (r.kind == u"header" || r.kind == u"footer") && !firstSectionParts.contains(r.target);
        if (remadeKinds().contains(r.kind) && !laterHeader) {
            if (r.kind != u"header" && r.kind != u"footer") {
                remade.insert(r.target);
                remade.insert(DocxPackage::relationshipsPart(r.target));
            }
            continue;
        }
        kept.mainRelationships.append({r.id, r.type, r.target, r.external});
    }
    for (const DocxPackage::Relationship &r : package.relationships(QString())) {
        if (r.kind == u"officeDocument" || r.kind == u"core-properties" || r.kind == u"extended-properties") {
            remade.insert(r.target);
            continue;
        }
        kept.packageRelationships.append({r.id, r.type, r.target, r.external});
    }
    qint64 budget = qint64(1) << 30;
    for (const QString &name : package.zip().names()) {
        if (remade.contains(name) || name.endsWith(u'/'))
            continue;
        const qint64 size = package.zip().size(name);
        if (size < 0 || size > budget)
            continue;
        budget -= size;
        kept.parts.append({name, package.contentType(name), package.read(name)});
    }
}
