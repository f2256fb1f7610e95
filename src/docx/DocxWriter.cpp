#include "docx/DocxWriter.h"
#include "docx/DocxFormats.h"
#include "docx/DocxInfo.h"
#include "docx/DocxKeptPackage.h"
#include "docx/DocxKeptXml.h"
#include "docx/DocxNamespaces.h"
#include "docx/DocxNotesWriter.h"
#include "docx/DocxNumberingWriter.h"
#include "docx/DocxPackage.h"
#include "docx/DocxPackageWriter.h"
#include "docx/DocxPropertyList.h"
#include "docx/DocxStoryWriter.h"
#include "docx/DocxStylesWriter.h"
#include "docx/DocxWriteContext.h"
#include "docx/DocxXml.h"
#include "rtf/DocumentExtras.h"
#include "rtf/HeaderFooter.h"
#include "zip/PackageError.h"

#include <QCryptographicHash>
#include <QSet>
#include <QTextDocument>
#include <QTextFrame>
#include <QRegularExpression>
#include <QXmlStreamWriter>

using namespace DocxNamespaces;

namespace {

const QString kMain = QStringLiteral("word/document.xml");
const QString kMainType = QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml");
const QString kWordType = QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.");

// The root of a story part, with every usual prefix declared.
void startRoot(QXmlStreamWriter &w, const QString &element, const QStringList &extra = {}, bool declaration = true)
{
    if (declaration)
        w.writeStartDocument(QStringLiteral("1.0"), true);
    QStringList ignorable;
    QSet<QString> prefixes;
    // The writer looks namespaces up from the last declared: the main ones go last.
    for (int n = Count - 1; n >= W; --n) {
        const QString p = prefix(Ns(n));
        if (p.isEmpty() || n == Xml || n == CP || n == DC || n == DCTerms || n == XSI || n == VT)
            continue;
        w.writeNamespace(uri(Ns(n)), p);
        prefixes.insert(p);
        if (isIgnorable(Ns(n)))
            ignorable.prepend(p);
    }
    // The file's own declarations, for what kept XML may use.
    for (const QString &declaration : extra) {
        const QString p = declaration.section(u' ', 0, 0), u = declaration.section(u' ', 1);
        if (p.isEmpty() || prefixes.contains(p) || of(u) != Other)
            continue;
        w.writeNamespace(u, p);
        prefixes.insert(p);
    }
    w.writeStartElement(uri(W), element);
    w.writeAttribute(uri(MC), QStringLiteral("Ignorable"), ignorable.join(u' '));
}

QByteArray settingsXml(const DocumentExtras *extras, const DocxKeptPackage &kept)
{
    const bool facing = extras && extras->facingPages();
    const DocxKeptPackage::Part *part = nullptr;
    for (const DocxKeptPackage::Relationship &r : kept.mainRelationships)
        if (DocxNamespaces::relationshipKind(r.type) == u"settings")
            part = kept.part(r.target);
    if (part && facing == kept.evenAndOddHeaders)
        return part->bytes;
    QByteArray out;
    QXmlStreamWriter w(&out);
    const QString ns = uri(W);
    w.writeStartDocument(QStringLiteral("1.0"), true);
    w.writeNamespace(ns, QStringLiteral("w"));
    w.writeStartElement(ns, QStringLiteral("settings"));
    if (facing)
        w.writeEmptyElement(ns, QStringLiteral("evenAndOddHeaders"));
    w.writeStartElement(ns, QStringLiteral("compat"));
    w.writeEmptyElement(ns, QStringLiteral("compatSetting"));
    w.writeAttribute(ns, QStringLiteral("name"), QStringLiteral("compatibilityMode"));
    w.writeAttribute(ns, QStringLiteral("uri"), QStringLiteral("http://schemas.microsoft.com/office/word"));
    w.writeAttribute(ns, QStringLiteral("val"), QStringLiteral("15"));
    w.writeEndElement();
    w.writeEndElement();
    w.writeEndDocument();
    return out;
}

QString noteFormat(NoteSettings::Format f)
{
    switch (f) {
    case NoteSettings::LowerAlpha: return QStringLiteral("lowerLetter");
    case NoteSettings::UpperAlpha: return QStringLiteral("upperLetter");
    case NoteSettings::LowerRoman: return QStringLiteral("lowerRoman");
    case NoteSettings::UpperRoman: return QStringLiteral("upperRoman");
    case NoteSettings::Chicago: return QStringLiteral("chicago");
    default: return QStringLiteral("decimal");
    }
}

// Whether content names relationships of this kind by their id (so that they are written only
// with the kept XML that names them).
bool namedByContent(const QString &kind)
{
    static const QSet<QString> kinds{
        QStringLiteral("hyperlink"), QStringLiteral("image"), QStringLiteral("oleObject"), QStringLiteral("package"),
        QStringLiteral("chart"), QStringLiteral("chartUserShapes"), QStringLiteral("diagramData"),
        QStringLiteral("diagramLayout"), QStringLiteral("diagramQuickStyle"), QStringLiteral("diagramColors"),
        QStringLiteral("diagramDrawing"), QStringLiteral("video"), QStringLiteral("audio"), QStringLiteral("media"),
        QStringLiteral("control"), QStringLiteral("subDocument"), QStringLiteral("aFChunk"), QStringLiteral("slide"),
        QStringLiteral("header"), QStringLiteral("footer")};
    return kinds.contains(kind);
}

// The page Word gives a document that names none: Letter, an inch all round.
PageSetup wordPage()
{
    PageSetup page;
    page.marginLeft = page.marginRight = 1440;
    return page;
}

// Comments another format kept get ids past those of the file's own comments part.
int firstFreeCommentId(const DocxKeptPackage &kept)
{
    int next = 0;
    for (const DocxKeptPackage::Relationship &r : kept.mainRelationships) {
        const DocxKeptPackage::Part *part = relationshipKind(r.type) == u"comments" ? kept.part(r.target) : nullptr;
        if (!part)
            continue;
        static const QRegularExpression id(QStringLiteral(":id=\"(\\d{1,9})\""));
        for (auto it = id.globalMatch(QString::fromUtf8(part->bytes)); it.hasNext();)
            next = qMax(next, it.next().captured(1).toInt() + 1);
    }
    return next;
}

// The comments another format kept, as Word comments: added to the file's own comments part, or
// in a part of their own.
void addComments(DocxWriteContext &context)
{
    if (context.comments.isEmpty())
        return;
    const DocxKeptPackage::Part *keptPart = nullptr;
    for (const DocxKeptPackage::Relationship &r : context.kept.mainRelationships)
        if (relationshipKind(r.type) == u"comments" && context.writtenKeptRelationships.contains(r.id))
            keptPart = context.kept.part(r.target);
    // Inside the file's part, each comment declares the namespace that part uses.
    const QString ns = keptPart && keptPart->bytes.contains("http://purl.oclc.org/ooxml/wordprocessingml/main")
                           ? QStringLiteral("http://purl.oclc.org/ooxml/wordprocessingml/main")
                           : uri(W);
    QString xml;
    QXmlStreamWriter w(&xml);
    if (!keptPart)
        startRoot(w, QStringLiteral("comments"), {}, false);
    for (const auto &[id, comment] : std::as_const(context.comments)) {
        if (keptPart)
            w.writeNamespace(ns, QStringLiteral("w")); // on the element that follows
        w.writeStartElement(ns, QStringLiteral("comment"));
        w.writeAttribute(ns, QStringLiteral("id"), QString::number(id));
        w.writeAttribute(ns, QStringLiteral("author"), comment.author);
        if (!comment.initials.isEmpty())
            w.writeAttribute(ns, QStringLiteral("initials"), comment.initials);
        for (const QString &paragraph : comment.paragraphs) {
            w.writeStartElement(ns, QStringLiteral("p"));
            w.writeStartElement(ns, QStringLiteral("r"));
            w.writeStartElement(ns, QStringLiteral("t"));
            w.writeAttribute(uri(Xml), QStringLiteral("space"), QStringLiteral("preserve"));
            w.writeCharacters(paragraph);
            w.writeEndElement();
            w.writeEndElement();
            w.writeEndElement();
        }
        w.writeEndElement();
    }
    if (!keptPart) {
        w.writeEndElement();
        w.writeEndDocument();
        context.package.addPart(QStringLiteral("word/comments.xml"),
                                "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n" + xml.toUtf8(),
                                kWordType + QStringLiteral("comments+xml"));
        context.package.addRelationship(kMain, QStringLiteral("comments"), QStringLiteral("word/comments.xml"));
        return;
    }
    QByteArray bytes = keptPart->bytes;
    const qsizetype close = bytes.lastIndexOf("</");
    if (close < 0)
        return;
    bytes.insert(close, xml.toUtf8());
    context.package.addPart(keptPart->name, bytes, keptPart->contentType);
}

} // namespace

DocxWriter::DocxWriter(const QTextDocument &doc) : doc_(doc) {}

QByteArray DocxWriter::write()
{
    const DocumentExtras *extras = DocumentExtras::find(doc_);
    const DocxKeptPackage kept =
        extras ? DocxKeptPackage::parse(extras->formatKept(QLatin1String(DocxKeptPackage::kFormat)).toByteArray()) : DocxKeptPackage();
    DocxPackageWriter package;
    DocxStylesWriter styles(extras, kept, doc_.defaultFont());
    DocxNumberingWriter numbering;
    DocxWriteContext context{doc_, extras, kept, package, styles, numbering};
    context.documentFont = doc_.defaultFont();
    const PageSetup page = extras && extras->pageSetup() ? *extras->pageSetup() : wordPage();
    context.textWidth = qMax(96.0, (page.paperWidth - page.marginLeft - page.marginRight) / 15.0);
    DocxNotesWriter notes(context);
    context.notes = &notes;
    context.nextCommentId = firstFreeCommentId(kept);

    // What was kept from the file: its parts (those still reached are written at the end) and the
    // main part's relationships to them.
    for (const DocxKeptPackage::Part &p : kept.parts)
        package.addPart(p.name, p.bytes, p.contentType); // reserves the names; unreached ones are dropped below
    // Relationships that content names by id (pictures, links, objects) are written when kept XML
    // that names them is; the others (theme, comments ...) always.
    QList<const DocxKeptPackage::Relationship *> keptRelationships;
    for (const DocxKeptPackage::Relationship &r : kept.mainRelationships) {
        const QString kind = relationshipKind(r.type);
        if (kind == u"settings")
            continue;
        context.keptRelationshipIds.insert(r.id);
        if (namedByContent(kind)) {
            keptRelationships.append(&r);
            continue;
        }
        package.addRelationship(kMain, r.type, r.target, r.external, r.id);
        context.writtenKeptRelationships.insert(r.id);
    }

    // Headers and footers: as they were read while unchanged, else made anew.
    std::array<QString, HeaderFooter::kKinds> headerIds;
    QSet<QString> usedKeptHeaders;
    for (int kind = 0; kind < HeaderFooter::kKinds; ++kind) {
        const QByteArray rtf = extras ? extras->headerFooter(HeaderFooter::Kind(kind)) : QByteArray();
        if (rtf.isEmpty())
            continue;
        const bool footer = kind >= HeaderFooter::Footer;
        const QByteArray hash = QCryptographicHash::hash(rtf, QCryptographicHash::Sha1);
        QString partName;
        for (const DocxKeptPackage::HeaderPart &h : kept.headers)
            if (h.kind == kind && h.rtfHash == hash && kept.part(h.part))
                partName = h.part;
        if (!partName.isEmpty()) {
            usedKeptHeaders.insert(partName);
        } else {
            partName = package.freeName(footer ? QStringLiteral("word/footer") : QStringLiteral("word/header"),
                                        QStringLiteral("xml"));
            const auto content = HeaderFooter::document(doc_, HeaderFooter::Kind(kind));
            QByteArray bytes;
            QXmlStreamWriter w(&bytes);
            startRoot(w, footer ? QStringLiteral("ftr") : QStringLiteral("hdr"));
            if (content) {
                DocxStoryWriter story(context, w, partName, *content, DocxStoryWriter::Kind::Part);
                story.writeFrame(content->rootFrame());
                story.finish();
            } else {
                w.writeEmptyElement(uri(W), QStringLiteral("p"));
            }
            w.writeEndElement();
            w.writeEndDocument();
            package.addPart(partName, bytes, kWordType + (footer ? QStringLiteral("footer+xml") : QStringLiteral("header+xml")));
        }
        headerIds[std::size_t(kind)] = package.addRelationship(kMain, footer ? QStringLiteral("footer") : QStringLiteral("header"), partName);
    }

    // The first section: page, headers and footers, note numbering, and what was kept of it.
    const auto firstSection = [&, page](QXmlStreamWriter &w) {
        DocxPropertyList props(DocxPropertyList::Section);
        static const char *const kTypes[] = {"default", "even", "default", "first"};
        for (int kind = 0; kind < HeaderFooter::kKinds; ++kind) {
            const QString &id = headerIds[std::size_t(kind)];
            const int side = kind % 4;
            if (id.isEmpty() || (side == HeaderFooter::HeaderRight && !headerIds[std::size_t(kind - 2)].isEmpty()))
                continue; // a right-page header stands for all pages only where there is no header for all
            const QString element = kind >= HeaderFooter::Footer ? QStringLiteral("footerReference") : QStringLiteral("headerReference");
            props.addCustom(element, [element, id, side](QXmlStreamWriter &out) {
                out.writeEmptyElement(uri(W), element);
                out.writeAttribute(uri(W), QStringLiteral("type"), QLatin1String(kTypes[side]));
                out.writeAttribute(uri(R), QStringLiteral("id"), id);
            });
        }
        if (extras && extras->noteSettings()) {
            const NoteSettings n = *extras->noteSettings();
            for (const bool foot : {true, false}) {
                const QString element = foot ? QStringLiteral("footnotePr") : QStringLiteral("endnotePr");
                props.addCustom(element, [element, n, foot](QXmlStreamWriter &out) {
                    out.writeStartElement(uri(W), element);
                    out.writeEmptyElement(uri(W), QStringLiteral("numFmt"));
                    out.writeAttribute(uri(W), QStringLiteral("val"), noteFormat(foot ? n.footnoteFormat : n.endnoteFormat));
                    out.writeEmptyElement(uri(W), QStringLiteral("numStart"));
                    out.writeAttribute(uri(W), QStringLiteral("val"), QString::number(foot ? n.footnoteStart : n.endnoteStart));
                    if (const NoteSettings::Restart restart = foot ? n.footnoteRestart : n.endnoteRestart; restart != NoteSettings::Continuous) {
                        out.writeEmptyElement(uri(W), QStringLiteral("numRestart"));
                        out.writeAttribute(uri(W), QStringLiteral("val"),
                                           restart == NoteSettings::EachPage ? QStringLiteral("eachPage") : QStringLiteral("eachSect"));
                    }
                    out.writeEndElement();
                });
            }
        }
        QList<QPair<QString, QString>> size{{QStringLiteral("w"), QString::number(page.paperWidth)},
                                            {QStringLiteral("h"), QString::number(page.paperHeight)}};
        if (page.landscape)
            size.append({QStringLiteral("orient"), QStringLiteral("landscape")});
        props.add(QStringLiteral("pgSz"), size);
        props.add(QStringLiteral("pgMar"), {{QStringLiteral("top"), QString::number(page.marginTop)},
                                            {QStringLiteral("right"), QString::number(page.marginRight)},
                                            {QStringLiteral("bottom"), QString::number(page.marginBottom)},
                                            {QStringLiteral("left"), QString::number(page.marginLeft)},
                                            {QStringLiteral("header"), QString::number(page.headerDistance)},
                                            {QStringLiteral("footer"), QString::number(page.footerDistance)},
                                            {QStringLiteral("gutter"), QStringLiteral("0")}});
        if (extras && extras->titlePage())
            props.add(QStringLiteral("titlePg"));
        if (!kept.firstSection.isEmpty())
            props.addKept(DocxKeptXml::childrenOf(DocxKeptXml::withoutChildren(
                kept.firstSection, {QStringLiteral("headerReference"), QStringLiteral("footerReference"), QStringLiteral("titlePg")})));
        props.write(w, QStringLiteral("sectPr"), true);
    };

    // The body.
    // The body is written as text, then encoded at once: many small writes through a device cost
    // more than the text itself.
    QString bodyText;
    {
        QXmlStreamWriter w(&bodyText);
        startRoot(w, QStringLiteral("document"), kept.rootNamespaces, false);
        w.writeStartElement(uri(W), QStringLiteral("body"));
        DocxStoryWriter story(context, w, kMain, doc_, DocxStoryWriter::Kind::Body);
        story.setFirstSection(firstSection);
        bool firstWritten = false;
        for (QTextBlock b = doc_.begin(); b.isValid() && !firstWritten; b = b.next())
            firstWritten = b.blockFormat().stringProperty(DocxFormats::kSectionProperty).startsWith(u"first");
        story.writeFrame(doc_.rootFrame());
        story.finish();
        if (firstWritten && !kept.lastSection.isEmpty()) {
            DocxKeptXml::write(w, kept.lastSection,
                               {}, [&](const QString &ns, QStringView, const QString &value) {
                                   return ns != uri(R) || context.keptRelationshipIds.contains(value);
                               });
            story.noteNamedRelationships(kept.lastSection);
        } else
            firstSection(w);
        w.writeEndElement();
        w.writeEndElement();
        w.writeEndDocument();
        if (w.hasError())
            throw PackageError(QStringLiteral("its text could not be written as XML"));
    }
    QByteArray body = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n" + bodyText.toUtf8();
    bodyText.clear();
    package.addPart(kMain, body, kept.mainContentType.isEmpty() ? kMainType : kept.mainContentType);
    for (const DocxKeptPackage::Relationship *r : std::as_const(keptRelationships)) {
        if (!context.namedRelationships.contains(r->id))
            continue;
        package.addRelationship(kMain, r->type, r->target, r->external, r->id);
        context.writtenKeptRelationships.insert(r->id);
    }

    package.addPart(QStringLiteral("word/styles.xml"), styles.xml(), kWordType + QStringLiteral("styles+xml"));
    package.addRelationship(kMain, QStringLiteral("styles"), QStringLiteral("word/styles.xml"));
    if (!numbering.isEmpty()) {
        package.addPart(QStringLiteral("word/numbering.xml"), numbering.xml(), kWordType + QStringLiteral("numbering+xml"));
        package.addRelationship(kMain, QStringLiteral("numbering"), QStringLiteral("word/numbering.xml"));
    }
    QString settingsPart = QStringLiteral("word/settings.xml");
    for (const DocxKeptPackage::Relationship &r : kept.mainRelationships)
        if (relationshipKind(r.type) == u"settings")
            settingsPart = r.target;
    package.addPart(settingsPart, settingsXml(extras, kept), kWordType + QStringLiteral("settings+xml"));
    package.addRelationship(kMain, QStringLiteral("settings"), settingsPart);
    for (const NoteSettings::Kind kind : {NoteSettings::Footnote, NoteSettings::Endnote}) {
        if (!notes.hasNotes(kind))
            continue;
        const QString part = DocxNotesWriter::partName(kind);
        package.addPart(part, notes.finish(kind),
                        kWordType + (kind == NoteSettings::Endnote ? QStringLiteral("endnotes+xml") : QStringLiteral("footnotes+xml")));
        package.addRelationship(kMain, kind == NoteSettings::Endnote ? QStringLiteral("endnotes") : QStringLiteral("footnotes"), part);
    }

    addComments(context);

    // The package's own relationships: the main part, the document information, and what was kept.
    const DocumentInfo info = extras ? extras->info() : DocumentInfo();
    package.addPart(QStringLiteral("docProps/core.xml"), DocxInfo::coreXml(info),
                    QStringLiteral("application/vnd.openxmlformats-package.core-properties+xml"));
    package.addPart(QStringLiteral("docProps/app.xml"), DocxInfo::appXml(info),
                    QStringLiteral("application/vnd.openxmlformats-officedocument.extended-properties+xml"));
    package.addRelationship(QString(), QStringLiteral("officeDocument"), kMain);
    package.addRelationship(QString(), QStringLiteral("core-properties"), QStringLiteral("docProps/core.xml"));
    package.addRelationship(QString(), QStringLiteral("extended-properties"), QStringLiteral("docProps/app.xml"));
    for (const DocxKeptPackage::Relationship &r : kept.packageRelationships)
        package.addRelationship(QString(), r.type, r.target, r.external, r.id);

    // Kept parts no relationship reaches any more are left out.
    QSet<QString> reached(usedKeptHeaders.cbegin(), usedKeptHeaders.cend());
    QList<QString> queue;
    for (const DocxKeptPackage::Relationship &r : kept.mainRelationships)
        if (!r.external && context.writtenKeptRelationships.contains(r.id))
            queue.append(r.target);
    for (const DocxKeptPackage::Relationship &r : kept.packageRelationships)
        if (!r.external)
            queue.append(r.target);
    queue.append(usedKeptHeaders.values());
    while (!queue.isEmpty()) {
        const QString part = queue.takeFirst();
        reached.insert(part);
        const QString rels = DocxPackage::relationshipsPart(part);
        const DocxKeptPackage::Part *relsPart = kept.part(rels);
        if (!relsPart)
            continue;
        reached.insert(rels);
        try {
            DocxXml xml(relsPart->bytes, rels);
            if (!xml.start())
                continue;
            const int depth = xml.depth();
            while (xml.nextChild(depth)) {
                if (xml.attribute(u"TargetMode").compare(u"External", Qt::CaseInsensitive) == 0)
                    continue;
                const QString target = DocxPackage::resolve(part, xml.attribute(u"Target").toString());
                if (!target.isEmpty() && !reached.contains(target))
                    queue.append(target);
            }
        } catch (const PackageError &) {
        }
    }
    return package.finish([&](const QString &name) {
        return !kept.part(name) || reached.contains(name) || name == settingsPart || package.isTarget(name);
    });
}
