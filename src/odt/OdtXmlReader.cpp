#include "odt/OdtXmlReader.h"
#include "odt/OdtXmlText.h"
#include "zip/PackageError.h"

#include <QHash>

using namespace OdtNamespaces;

OdtXmlReader::OdtXmlReader(const QByteArray &bytes, const QString &part)
    : xml_(std::make_unique<QXmlStreamReader>(bytes)), part_(part)
{
}

OdtXmlReader::OdtXmlReader(const QString &xml, const QString &part)
    : xml_(std::make_unique<QXmlStreamReader>(xml)), part_(part)
{
}

OdtXmlReader OdtXmlReader::fragment(const QString &xml, const QString &part)
{
    OdtXmlReader reader(QLatin1StringView("<office:fragment") + declarations() + QLatin1Char('>') + xml
                            + QLatin1StringView("</office:fragment>"),
                        part);
    reader.next(); // the wrapper
    return reader;
}

void OdtXmlReader::refuse(const QString &reason) const
{
    throw PackageError(QStringLiteral("the part \"%1\" %2").arg(part_, reason));
}

bool OdtXmlReader::next()
{
    for (;;) {
        type_ = xml_->readNext();
        switch (type_) {
        case QXmlStreamReader::StartElement:
            if (++depth_ > kMaxDepth)
                refuse(QStringLiteral("nests deeper than %1 levels").arg(kMaxDepth));
            ns_ = OdtNamespaces::of(xml_->namespaceUri());
            return true;
        case QXmlStreamReader::EndElement:
            --depth_;
            ns_ = OdtNamespaces::of(xml_->namespaceUri());
            return true;
        case QXmlStreamReader::Characters:
            return true;
        case QXmlStreamReader::DTD:
            if (!xml_->entityDeclarations().isEmpty())
                refuse(QStringLiteral("declares XML entities, which are not read"));
            break;
        case QXmlStreamReader::Invalid:
            refuse(QStringLiteral("is not well-formed XML (line %1: %2)").arg(xml_->lineNumber()).arg(xml_->errorString()));
        case QXmlStreamReader::EndDocument:
            return false;
        default:
            break; // entity references to undeclared entities stand for nothing
        }
    }
}

QString OdtXmlReader::attribute(Ns ns, QLatin1StringView name) const
{
    for (const QXmlStreamAttribute &a : xml_->attributes())
        if (a.name() == name && OdtNamespaces::of(a.namespaceUri()) == ns)
            return a.value().toString();
    return QString();
}

bool OdtXmlReader::hasAttribute(Ns ns, QLatin1StringView name) const
{
    for (const QXmlStreamAttribute &a : xml_->attributes())
        if (a.name() == name && OdtNamespaces::of(a.namespaceUri()) == ns)
            return true;
    return false;
}

QString OdtXmlReader::qualified(const QXmlStreamAttribute &a)
{
    const Ns ns = OdtNamespaces::of(a.namespaceUri());
    if (ns == Other)
        return a.namespaceUri().isEmpty() ? a.name().toString() : QString();
    return prefix(ns) + QLatin1Char(':') + a.name().toString();
}

void OdtXmlReader::skipElement()
{
    const int depth = depth_;
    while (depth_ >= depth && next()) {
    }
}

QString OdtXmlReader::elementText()
{
    QString text;
    const int depth = depth_;
    while (next() && depth_ >= depth)
        if (isText())
            text += xml_->text();
    return text;
}

QString OdtXmlReader::copyElement()
{
    QString out;
    QHash<QString, QString> others; // namespace name -> prefix, for names of no known namespace
    QString declarations;
    auto nameOf = [&](QStringView uri, QStringView local) {
        if (uri.isEmpty())
            return local.toString();
        const Ns ns = OdtNamespaces::of(uri);
        if (ns != Other)
            return prefix(ns) + QLatin1Char(':') + local.toString();
        QString &p = others[uri.toString()];
        if (p.isEmpty()) {
            p = QStringLiteral("ns%1").arg(others.size());
            declarations += QStringLiteral(" xmlns:%1=\"%2\"").arg(p, OdtXmlText::escaped(uri, true));
        }
        return p + QLatin1Char(':') + local.toString();
    };
    const int depth = depth_;
    qsizetype rootEnd = -1; // where the root's start tag ends, for the declarations
    bool open = false;      // a start tag waits for its '>'
    for (bool first = true; first || depth_ >= depth; first = false) {
        if (!first && !next())
            break;
        if (isStart()) {
            if (open)
                out += QLatin1Char('>');
            out += QLatin1Char('<') + nameOf(xml_->namespaceUri(), xml_->name());
            for (const QXmlStreamAttribute &a : xml_->attributes())
                out += QLatin1Char(' ') + nameOf(a.namespaceUri(), a.name()) + QLatin1StringView("=\"")
                     + OdtXmlText::escaped(a.value(), true) + QLatin1Char('"');
            if (rootEnd < 0)
                rootEnd = out.size();
            open = true;
        } else if (isEnd()) {
            if (open) {
                out += QLatin1StringView("/>");
                open = false;
            } else {
                out += QLatin1StringView("</") + nameOf(xml_->namespaceUri(), xml_->name()) + QLatin1Char('>');
            }
            if (depth_ < depth)
                break;
        } else if (isText()) {
            if (open)
                out += QLatin1Char('>');
            open = false;
            out += OdtXmlText::escaped(xml_->text(), false);
        }
    }
    if (rootEnd >= 0 && !declarations.isEmpty())
        out.insert(rootEnd, declarations);
    return out;
}
