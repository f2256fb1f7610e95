#include "docx/DocxStylesWriter.h"
#include "docx/DocxKeptPackage.h"
#include "docx/DocxNamespaces.h"
#include "docx/DocxPropertyWriter.h"
#include "rtf/DocumentExtras.h"
#include "rtf/TextFormats.h"

#include <QSet>
#include <QXmlStreamWriter>

using namespace DocxNamespaces;

namespace {

QString key(const QString &name, DocumentStyle::Kind kind)
{
    return QString::number(int(kind)) + u':' + name;
}

QString madeId(const QString &name)
{
    QString id;
    for (const QChar c : name)
        if (c.isLetterOrNumber())
            id += c;
    return id.isEmpty() ? QStringLiteral("Style") : id;
}

} // namespace

DocxStylesWriter::DocxStylesWriter(const DocumentExtras *extras, const DocxKeptPackage &kept, const QFont &documentFont)
    : documentFont_(documentFont)
{
    if (extras)
        styles_ = extras->styles();
    QStringList names;
    for (const DocumentStyle &s : std::as_const(styles_))
        names << QString::number(int(s.kind)) + u':' + s.name;
    kept_ = !kept.styles.isEmpty() && names == kept.styleNames;
    if (kept_) {
        keptXml_ = kept.styles;
        for (const DocxKeptPackage::Relationship &r : kept.mainRelationships)
            if (const DocxKeptPackage::Part *theme = kept.part(r.target); theme && relationshipKind(r.type) == u"theme") {
                try {
                    theme_.read(theme->bytes, theme->name);
                } catch (...) {
                }
            }
        try {
            parsed_.read(keptXml_, QStringLiteral("word/styles.xml"), theme_);
            parsed_.completeDefaults(documentFont_); // as the reader did
        } catch (...) {
            kept_ = false;
        }
    }
    if (kept_) {
        for (const DocxStyles::Style &s : parsed_.styles())
            ids_.insert(key(s.name, s.kind), s.id);
        defaultParagraph_ = parsed_.defaultStyle(DocumentStyle::Paragraph);
        return;
    }
    QSet<QString> used;
    for (const DocumentStyle &s : std::as_const(styles_)) {
        if (s.kind != DocumentStyle::Paragraph && s.kind != DocumentStyle::Character)
            continue;
        QString id = madeId(s.name);
        for (int n = 2; used.contains(id.toLower()); ++n)
            id = madeId(s.name) + QString::number(n);
        used.insert(id.toLower());
        ids_.insert(key(s.name, s.kind), id);
        if (s.kind == DocumentStyle::Paragraph && s.number == 0 && defaultParagraph_.isEmpty())
            defaultParagraph_ = id;
    }
}

QString DocxStylesWriter::id(const QString &name, DocumentStyle::Kind kind) const
{
    return ids_.value(key(name, kind));
}

bool DocxStylesWriter::hasTableStyle(const QString &id) const
{
    const DocxStyles::Style *s = kept_ ? parsed_.find(id) : nullptr;
    return s && s->kind == DocumentStyle::Table;
}

bool DocxStylesWriter::numbers(const QString &paragraphStyle) const
{
    if (!kept_)
        return false;
    const QString pid = id(paragraphStyle, DocumentStyle::Paragraph);
    return parsed_.paragraph(pid.isEmpty() ? defaultParagraph_ : pid).numId.value_or(0) > 0;
}

const QTextCharFormat &DocxStylesWriter::charBase(const QString &paragraphStyle, const QString &characterStyle)
{
    const QString k = paragraphStyle + QChar(0x1F) + characterStyle;
    const auto cached = charBases_.constFind(k);
    if (cached != charBases_.cend())
        return *cached;
    QTextCharFormat f;
    if (kept_) {
        DocxRunProperties p = parsed_.runDefaults();
        const QString pid = id(paragraphStyle, DocumentStyle::Paragraph);
        p.merge(parsed_.paragraph(pid.isEmpty() ? defaultParagraph_ : pid).mark);
        const QString cid = id(characterStyle, DocumentStyle::Character);
        if (!cid.isEmpty())
            p.merge(parsed_.character(cid));
        p.kept.clear();
        p.fonts.clear();
        p.apply(f, documentFont_);
        if (!f.hasProperty(QTextFormat::FontPointSize))
            f.setFontPointSize(10);
    } else {
        const DocumentStyle *style = nullptr;
        for (const DocumentStyle &s : std::as_const(styles_))
            if (s.kind == DocumentStyle::Paragraph && s.name == paragraphStyle)
                style = &s;
        for (const DocumentStyle &s : std::as_const(styles_))
            if (s.kind == DocumentStyle::Character && s.name == characterStyle && !characterStyle.isEmpty())
                style = &s;
        if (style && !id(style->name, style->kind).isEmpty()) {
            f = style->charFormat;
        } else {
            TextFormats::setFamily(f, documentFont_.family());
            f.setFontPointSize(10);
        }
    }
    return *charBases_.insert(k, f);
}

const QTextBlockFormat &DocxStylesWriter::blockBase(const QString &paragraphStyle)
{
    const auto cached = blockBases_.constFind(paragraphStyle);
    if (cached != blockBases_.cend())
        return *cached;
    QTextBlockFormat f;
    if (kept_) {
        DocxParagraphProperties p = parsed_.paragraphDefaults();
        const QString pid = id(paragraphStyle, DocumentStyle::Paragraph);
        p.merge(parsed_.paragraph(pid.isEmpty() ? defaultParagraph_ : pid));
        p.kept.clear();
        p.apply(f);
    } else {
        for (const DocumentStyle &s : std::as_const(styles_))
            if (s.kind == DocumentStyle::Paragraph && s.name == paragraphStyle && !id(s.name, s.kind).isEmpty())
                f = s.blockFormat;
    }
    return *blockBases_.insert(paragraphStyle, f);
}

QByteArray DocxStylesWriter::xml() const
{
    return kept_ ? keptXml_ : made();
}

QByteArray DocxStylesWriter::made() const
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    const QString ns = uri(W);
    w.writeStartDocument(QStringLiteral("1.0"), true);
    w.writeNamespace(ns, QStringLiteral("w"));
    w.writeStartElement(ns, QStringLiteral("styles"));
    // The document's defaults: its font, at the size Word takes where nothing says; no spacing.
    w.writeStartElement(ns, QStringLiteral("docDefaults"));
    w.writeStartElement(ns, QStringLiteral("rPrDefault"));
    QTextCharFormat defaults;
    TextFormats::setFamily(defaults, documentFont_.family());
    defaults.setFontPointSize(10);
    DocxPropertyWriter::runProperties(defaults, QTextCharFormat(), false).write(w, QStringLiteral("rPr"), true);
    w.writeEndElement();
    w.writeStartElement(ns, QStringLiteral("pPrDefault"));
    w.writeEmptyElement(ns, QStringLiteral("pPr"));
    w.writeEndElement();
    w.writeEndElement();
    const bool hasDefault = !defaultParagraph_.isEmpty();
    if (!hasDefault && !styles_.isEmpty()) {
        w.writeStartElement(ns, QStringLiteral("style"));
        w.writeAttribute(ns, QStringLiteral("type"), QStringLiteral("paragraph"));
        w.writeAttribute(ns, QStringLiteral("default"), QStringLiteral("1"));
        w.writeAttribute(ns, QStringLiteral("styleId"), QStringLiteral("Normal"));
        w.writeEmptyElement(ns, QStringLiteral("name"));
        w.writeAttribute(ns, QStringLiteral("val"), QStringLiteral("Normal"));
        w.writeEndElement();
    }
    const QHash<int, int> bases = DocumentStyle::acyclicBases(styles_);
    auto idOfNumber = [&](int number, DocumentStyle::Kind kind) {
        for (const DocumentStyle &s : styles_)
            if (s.number == number && s.kind == kind)
                return id(s.name, kind);
        return QString();
    };
    for (const DocumentStyle &s : styles_) {
        const QString sid = id(s.name, s.kind);
        if (sid.isEmpty())
            continue;
        w.writeStartElement(ns, QStringLiteral("style"));
        w.writeAttribute(ns, QStringLiteral("type"),
                         s.kind == DocumentStyle::Character ? QStringLiteral("character") : QStringLiteral("paragraph"));
        if (sid == defaultParagraph_)
            w.writeAttribute(ns, QStringLiteral("default"), QStringLiteral("1"));
        w.writeAttribute(ns, QStringLiteral("styleId"), sid);
        w.writeEmptyElement(ns, QStringLiteral("name"));
        w.writeAttribute(ns, QStringLiteral("val"), s.name);
        if (const QString based = idOfNumber(bases.value(s.number, -1), s.kind); !based.isEmpty() && based != sid) {
            w.writeEmptyElement(ns, QStringLiteral("basedOn"));
            w.writeAttribute(ns, QStringLiteral("val"), based);
        }
        if (const QString next = idOfNumber(s.next, s.kind); !next.isEmpty() && s.kind == DocumentStyle::Paragraph) {
            w.writeEmptyElement(ns, QStringLiteral("next"));
            w.writeAttribute(ns, QStringLiteral("val"), next);
        }
        w.writeEmptyElement(ns, QStringLiteral("qFormat"));
        if (s.kind == DocumentStyle::Paragraph)
            DocxPropertyWriter::paragraphProperties(s.blockFormat, QTextBlockFormat(), true).write(w, QStringLiteral("pPr"));
        DocxPropertyWriter::runProperties(s.charFormat, QTextCharFormat(), false).write(w, QStringLiteral("rPr"));
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEndDocument();
    return out;
}
