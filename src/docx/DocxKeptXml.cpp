#include "docx/DocxKeptXml.h"
#include "docx/DocxNamespaces.h"
#include "docx/DocxXml.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <vector>

using namespace DocxNamespaces;

namespace {

const QString kKeptNs = QStringLiteral("urn:scrivlo:kept");

} // namespace

void DocxKeptXml::startWrapper(QXmlStreamWriter &w)
{
    w.writeStartElement(QStringLiteral("wrap"));
    w.writeNamespace(kKeptNs, QStringLiteral("s"));
    for (int n = W; n < Count; ++n) {
        const QString p = prefix(Ns(n));
        if (!p.isEmpty() && n != Xml)
            w.writeNamespace(uri(Ns(n)), p);
    }
    w.writeCharacters(QString()); // closes the start tag
}

namespace {

// The prefixes kept XML may use, each with its declaration.
struct Declaration
{
    QString prefix;
    QString attribute; // ` xmlns:p="uri"`
};

const std::vector<Declaration> &declarations()
{
    static const std::vector<Declaration> all = [] {
        std::vector<Declaration> list;
        for (int n = W; n < Count; ++n) {
            const QString p = prefix(Ns(n));
            if (!p.isEmpty() && n != Xml)
                list.push_back({p, QStringLiteral(" xmlns:") + p + QStringLiteral("=\"") + uri(Ns(n)) + u'"'});
        }
        return list;
    }();
    return all;
}

// Kept XML with the prefixes it uses declared around it (declaring them all would make reading
// a small item mostly reading declarations). A prefix counts as used where it comes just before
// a colon, found by looking back from each colon rather than searching the text once a prefix.
QString wrapped(const QString &inner)
{
    const std::vector<Declaration> &all = declarations();
    std::vector<bool> used(all.size(), false);
    for (qsizetype at = inner.indexOf(u':'); at >= 0; at = inner.indexOf(u':', at + 1)) {
        const QStringView before = QStringView(inner).first(at);
        for (std::size_t i = 0; i < all.size(); ++i)
            used[i] = used[i] || before.endsWith(all[i].prefix);
    }
    QString start = QStringLiteral("<wrap xmlns:s=\"urn:scrivlo:kept\"");
    for (std::size_t i = 0; i < all.size(); ++i)
        if (used[i])
            start += all[i].attribute;
    return start + u'>' + inner + QStringLiteral("</wrap>");
}

} // namespace

QString DocxKeptXml::make(const QString &id, const std::function<void(QXmlStreamWriter &)> &write)
{
    QString s;
    QXmlStreamWriter w(&s);
    startWrapper(w);
    const qsizetype from = s.size();
    w.writeStartElement(kKeptNs, QStringLiteral("k"));
    w.writeAttribute(kKeptNs, QStringLiteral("i"), id);
    write(w);
    w.writeEndElement();
    w.writeCharacters(QString());
    const qsizetype to = s.size();
    return s.mid(from, to - from);
}

QString DocxKeptXml::elementsOf(const std::function<void(QXmlStreamWriter &)> &write)
{
    QString s;
    QXmlStreamWriter w(&s);
    startWrapper(w);
    const qsizetype from = s.size();
    write(w);
    w.writeCharacters(QString());
    return s.mid(from);
}

QString DocxKeptXml::captureElement(DocxXml &xml)
{
    return xml.capture();
}

QString DocxKeptXml::item(const QString &id, const QString &elements)
{
    QString escaped = id;
    escaped.replace(u'&', QStringLiteral("&amp;")).replace(u'"', QStringLiteral("&quot;")).replace(u'<', QStringLiteral("&lt;"));
    return QStringLiteral("<s:k s:i=\"") + escaped + QStringLiteral("\">") + elements + QStringLiteral("</s:k>");
}

QString DocxKeptXml::capture(DocxXml &xml, const QString &id)
{
    return item(id, xml.capture());
}

QString DocxKeptXml::document(const QString &itemXml)
{
    return wrapped(itemXml);
}

QList<DocxKeptXml::Item> DocxKeptXml::items(const QString &kept)
{
    QList<Item> items;
    if (kept.isEmpty())
        return items;
    const QString doc = wrapped(kept);
    QXmlStreamReader r(doc);
    int depth = 0;
    qsizetype itemStart = -1;
    QString id;
    while (!r.atEnd()) {
        const auto t = r.readNext();
        if (t == QXmlStreamReader::StartElement) {
            ++depth;
            if (depth == 2) {
                id = r.attributes().value(kKeptNs, QStringLiteral("i")).toString();
                itemStart = r.characterOffset();
            }
        } else if (t == QXmlStreamReader::EndElement) {
            if (depth == 2 && itemStart >= 0) {
                // The item's content: from the end of its start tag to the start of its end tag.
                const qsizetype end = r.characterOffset();
                QString content = doc.mid(itemStart, end - itemStart);
                const qsizetype close = content.lastIndexOf(u"</");
                content.truncate(qMax(qsizetype(0), close));
                items.append({id, content});
                itemStart = -1;
            }
            --depth;
        }
    }
    return items;
}

QList<DocxKeptXml::Element> DocxKeptXml::elements(const QString &itemXml)
{
    QList<Element> out;
    const QString doc = wrapped(itemXml);
    QXmlStreamReader r(doc);
    int depth = 0;
    qsizetype start = -1;
    Element current;
    while (!r.atEnd()) {
        const auto t = r.readNext();
        if (t == QXmlStreamReader::StartElement) {
            ++depth;
            if (depth == 2) {
                current.ns = r.namespaceUri().toString();
                current.name = r.name().toString();
                start = r.characterOffset();
                // Back to the '<' of the start tag.
                const qsizetype lt = doc.lastIndexOf(u'<', start - 1);
                start = lt;
            }
        } else if (t == QXmlStreamReader::EndElement) {
            if (depth == 2 && start >= 0) {
                current.xml = doc.mid(start, r.characterOffset() - start);
                out.append(current);
                start = -1;
            }
            --depth;
        }
    }
    return out;
}

bool DocxKeptXml::write(QXmlStreamWriter &out, const QString &itemXml, const AttributeHook &attribute,
                        const std::function<bool(const QString &, QStringView, const QString &)> &accept)
{
    const QString doc = wrapped(itemXml);
    if (accept) {
        QXmlStreamReader check(doc);
        while (!check.atEnd()) {
            if (check.readNext() != QXmlStreamReader::StartElement)
                continue;
            for (const QXmlStreamAttribute &a : check.attributes())
                if (!accept(a.namespaceUri().toString(), a.name(), a.value().toString()))
                    return false;
        }
        if (check.hasError())
            return false;
    }
    QXmlStreamReader r(doc);
    int depth = 0;
    while (!r.atEnd()) {
        switch (r.readNext()) {
        case QXmlStreamReader::StartElement: {
            if (++depth == 1)
                break;
            const QString ns = r.namespaceUri().toString();
            out.writeStartElement(ns, r.name().toString());
            for (const QXmlStreamAttribute &a : r.attributes()) {
                const QString ans = a.namespaceUri().toString();
                QString value = a.value().toString();
                if (attribute)
                    value = attribute(ns, r.name(), ans, a.name(), value);
                if (value.isNull())
                    continue;
                if (ans.isEmpty())
                    out.writeAttribute(a.name().toString(), value);
                else
                    out.writeAttribute(ans, a.name().toString(), value);
            }
            break;
        }
        case QXmlStreamReader::EndElement:
            if (--depth >= 1)
                out.writeEndElement();
            break;
        case QXmlStreamReader::Characters:
            if (depth > 1)
                out.writeCharacters(r.text().toString());
            break;
        default: break;
        }
    }
    return !r.hasError();
}

QString DocxKeptXml::childrenOf(const QString &elementsXml)
{
    return elementsOf([&](QXmlStreamWriter &w) {
        const QString doc = wrapped(elementsXml);
        QXmlStreamReader r(doc);
        int depth = 0;
        while (!r.atEnd()) {
            switch (r.readNext()) {
            case QXmlStreamReader::StartElement:
                if (++depth < 3)
                    break;
                w.writeStartElement(r.namespaceUri().toString(), r.name().toString());
                for (const QXmlStreamAttribute &a : r.attributes()) {
                    if (a.namespaceUri().isEmpty())
                        w.writeAttribute(a.name().toString(), a.value().toString());
                    else
                        w.writeAttribute(a.namespaceUri().toString(), a.name().toString(), a.value().toString());
                }
                break;
            case QXmlStreamReader::EndElement:
                if (depth-- >= 3)
                    w.writeEndElement();
                break;
            case QXmlStreamReader::Characters:
                if (depth >= 3)
                    w.writeCharacters(r.text().toString());
                break;
            default: break;
            }
        }
    });
}

QString DocxKeptXml::withoutChildren(const QString &elementsXml, const QStringList &names)
{
    return elementsOf([&](QXmlStreamWriter &w) {
        const QString doc = wrapped(elementsXml);
        QXmlStreamReader r(doc);
        int depth = 0, skipFrom = 0;
        while (!r.atEnd()) {
            switch (r.readNext()) {
            case QXmlStreamReader::StartElement:
                ++depth;
                if (skipFrom || depth == 1)
                    break;
                if (depth == 3 && names.contains(r.name().toString())) {
                    skipFrom = depth;
                    break;
                }
                w.writeStartElement(r.namespaceUri().toString(), r.name().toString());
                for (const QXmlStreamAttribute &a : r.attributes()) {
                    if (a.namespaceUri().isEmpty())
                        w.writeAttribute(a.name().toString(), a.value().toString());
                    else
                        w.writeAttribute(a.namespaceUri().toString(), a.name().toString(), a.value().toString());
                }
                break;
            case QXmlStreamReader::EndElement:
                if (skipFrom) {
                    if (depth == skipFrom)
                        skipFrom = 0;
                } else if (depth > 1) {
                    w.writeEndElement();
                }
                --depth;
                break;
            case QXmlStreamReader::Characters:
                if (!skipFrom && depth > 1)
                    w.writeCharacters(r.text().toString());
                break;
            default: break;
            }
        }
    });
}
