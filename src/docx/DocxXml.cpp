#include "docx/DocxXml.h"
#include "zip/PackageError.h"

#include <QXmlStreamWriter>

using namespace DocxNamespaces;

DocxXml::DocxXml(const QByteArray &bytes, const QString &part) : reader_(bytes), part_(part) {}

DocxXml::DocxXml(QIODevice *device, const QString &part) : reader_(device), part_(part) {}

void DocxXml::fail(const QString &why) const
{
    throw PackageError(QStringLiteral("its part %1 %2").arg(part_, why));
}

QXmlStreamReader::TokenType DocxXml::advance()
{
    const QXmlStreamReader::TokenType t = reader_.readNext();
    switch (t) {
    case QXmlStreamReader::Invalid:
        fail(QStringLiteral("is not well-formed XML (line %1: %2)")
                 .arg(reader_.lineNumber()).arg(reader_.errorString()));
    case QXmlStreamReader::DTD:
        fail(QStringLiteral("declares a document type with entities, which are not read"));
    case QXmlStreamReader::EntityReference:
        fail(QStringLiteral("refers to an entity, which is not read"));
    case QXmlStreamReader::StartElement:
        enter();
        break;
    case QXmlStreamReader::EndElement:
        --depth_;
        break;
    default:
        break;
    }
    return t;
}

void DocxXml::enter()
{
    if (++depth_ > kMaxDepth)
        fail(QStringLiteral("nests deeper than %1 levels").arg(kMaxDepth));
    ns_ = of(reader_.namespaceUri());
    attributes_ = reader_.attributes();
    pending_ = true;
}

bool DocxXml::start()
{
    while (!reader_.atEnd()) {
        if (advance() == QXmlStreamReader::StartElement)
            return true;
    }
    if (reader_.hasError())
        fail(QStringLiteral("is not well-formed XML (%1)").arg(reader_.errorString()));
    return false;
}

bool DocxXml::nextChild(int parentDepth)
{
    // A child that was entered but not read is passed over first.
    if (depth_ > parentDepth)
        skip();
    while (depth_ >= parentDepth) {
        if (reader_.atEnd()) {
            if (reader_.hasError())
                fail(QStringLiteral("is not well-formed XML (%1)").arg(reader_.errorString()));
            fail(QStringLiteral("ends before its elements do"));
        }
        const QXmlStreamReader::TokenType t = advance();
        if (t == QXmlStreamReader::StartElement) {
            if (depth_ == parentDepth + 1)
                return true;
            skip(); // cannot happen after skip() above; kept for safety
        } else if (t == QXmlStreamReader::EndElement && depth_ < parentDepth) {
            return false;
        }
    }
    return false;
}

QStringView DocxXml::attribute(QStringView name) const
{
    for (const QXmlStreamAttribute &a : attributes_) {
        if (a.name() != name)
            continue;
        const QStringView uri = a.namespaceUri();
        if (uri.isEmpty() || of(uri) == ns_)
            return a.value();
    }
    return QStringView();
}

QStringView DocxXml::attribute(Ns ns, QStringView name) const
{
    for (const QXmlStreamAttribute &a : attributes_)
        if (a.name() == name && of(a.namespaceUri()) == ns)
            return a.value();
    return QStringView();
}

void DocxXml::skip()
{
    const int depth = depth_;
    pending_ = false;
    while (depth_ >= depth) {
        if (reader_.atEnd())
            fail(QStringLiteral("ends before its elements do"));
        advance();
    }
}

QString DocxXml::text()
{
    QString out;
    appendText(out);
    return out;
}

void DocxXml::appendText(QString &out)
{
    const int depth = depth_;
    pending_ = false;
    while (depth_ >= depth) {
        if (reader_.atEnd())
            fail(QStringLiteral("ends before its elements do"));
        const QXmlStreamReader::TokenType t = advance();
        if (t == QXmlStreamReader::Characters && depth_ == depth)
            out += reader_.text();
    }
}

void DocxXml::copyTo(QXmlStreamWriter &out)
{
    const int depth = depth_;
    auto writeStart = [&] {
        out.writeStartElement(uri(ns_).isEmpty() ? reader_.namespaceUri().toString() : uri(ns_),
                              reader_.name().toString());
        for (const QXmlStreamAttribute &a : std::as_const(attributes_)) {
            const QStringView aUri = a.namespaceUri();
            const Ns ans = of(aUri);
            if (aUri.isEmpty())
                out.writeAttribute(a.name().toString(), a.value().toString());
            else
                out.writeAttribute(ans == Other ? aUri.toString() : uri(ans), a.name().toString(), a.value().toString());
        }
    };
    writeStart();
    pending_ = false;
    while (depth_ >= depth) {
        if (reader_.atEnd())
            fail(QStringLiteral("ends before its elements do"));
        switch (advance()) {
        case QXmlStreamReader::StartElement: writeStart(); break;
        case QXmlStreamReader::EndElement: out.writeEndElement(); break;
        case QXmlStreamReader::Characters: out.writeCharacters(reader_.text().toString()); break;
        default: break;
        }
    }
}
