#include "odt/OdtXmlReader.h"
#include "odt/OdtXmlText.h"
#include "zip/PackageError.h"

#include <QHash>
#include <QIODevice>

using namespace OdtNamespaces;

OdtXmlReader::OdtXmlReader(const QByteArray &bytes, const QString &part, bool byPrefixes)
    : xml_(std::make_unique<QXmlStreamReader>(bytes)), part_(part)
{
    if (byPrefixes || declaresStandardPrefixes(QByteArrayView(bytes).first(qMin<qsizetype>(bytes.size(), 65536))))
        readByPrefixes();
}

void OdtXmlReader::readByPrefixes()
{
    prefixed_ = true;
    xml_->setNamespaceProcessing(false);
}

bool OdtXmlReader::declaresStandardPrefixes(QByteArrayView head)
{
    // The root's start tag: the first tag that is not a declaration, comment or instruction.
    qsizetype at = 0;
    for (;;) {
        at = head.indexOf('<', at);
        if (at < 0 || at + 1 >= head.size())
            return false;
        if (head[at + 1] != '?' && head[at + 1] != '!')
            break;
        at = head.indexOf('>', at);
        if (at < 0)
            return false;
    }
    char quote = 0;
    qsizetype end = -1;
    for (qsizetype i = at + 1; i < head.size() && end < 0; ++i) {
        const char c = head[i];
        if (quote)
            quote = c == quote ? 0 : quote;
        else if (c == '"' || c == '\'')
            quote = c;
        else if (c == '>')
            end = i;
    }
    if (end < 0)
        return false;
    const QByteArrayView tag = head.sliced(at, end - at);
    if (tag.indexOf(" xmlns=") >= 0 || tag.indexOf("\nxmlns=") >= 0 || tag.indexOf("\txmlns=") >= 0)
        return false;
    // Its element and attribute names before the declarations must not use undeclared prefixes.
    bool any = false;
    for (qsizetype i = tag.indexOf("xmlns:"); i >= 0; i = tag.indexOf("xmlns:", i + 1)) {
        const char before = i > 0 ? tag[i - 1] : 0;
        if (before != ' ' && before != '\t' && before != '\n' && before != '\r')
            continue; // inside a value ("urn:...:xmlns:office:1.0")
        const qsizetype equals = tag.indexOf('=', i);
        if (equals < 0 || equals + 2 >= tag.size())
            return false;
        const QString prefix = QString::fromUtf8(tag.sliced(i + 6, equals - i - 6)).trimmed();
        const char q = tag[equals + 1];
        const qsizetype close = tag.indexOf(q, equals + 2);
        if ((q != '"' && q != '\'') || close < 0)
            return false;
        const QString uri = QString::fromUtf8(tag.sliced(equals + 2, close - equals - 2));
        const Ns ns = OdtNamespaces::of(uri);
        const Ns named = OdtNamespaces::byPrefix(prefix);
        if (ns != named && (ns != Other || named != Other))
            return false; // a namespace of ours under another prefix, or one of our prefixes for another
        any = true;
    }
    return any;
}

OdtXmlReader::OdtXmlReader(const QString &xml, const QString &part)
    : xml_(std::make_unique<QXmlStreamReader>(xml)), part_(part)
{
}

OdtXmlReader::OdtXmlReader(QIODevice *device, const QString &part)
    : xml_(std::make_unique<QXmlStreamReader>(device)), part_(part), device_(device)
{
    if (declaresStandardPrefixes(device->peek(65536)))
        readByPrefixes();
}

OdtXmlReader OdtXmlReader::slice(QByteArrayView bytes, const QString &part)
{
    // Read by prefixes, which are known to be ours: the wrapper need declare none.
    QByteArray whole;
    whole.reserve(bytes.size() + 40);
    whole += "<office:fragment>";
    whole += bytes;
    whole += "</office:fragment>";
    OdtXmlReader reader(whole, part, true);
    reader.next(); // the wrapper
    return reader;
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
            if (!prefixed_) {
                ns_ = OdtNamespaces::of(xml_->namespaceUri());
                return true;
            }
            ns_ = OdtNamespaces::byPrefix(xml_->prefix());
            if (depth_ == 1) { // the root: what its declarations name, for copies
                for (const QXmlStreamAttribute &a : attributes())
                    if (a.prefix() == u"xmlns")
                        rootDeclarations_.insert(a.name().toString(), a.value().toString());
            }
            return true;
        case QXmlStreamReader::EndElement:
            --depth_;
            ns_ = prefixed_ ? OdtNamespaces::byPrefix(xml_->prefix()) : OdtNamespaces::of(xml_->namespaceUri());
            return true;
        case QXmlStreamReader::Characters:
            return true;
        case QXmlStreamReader::DTD:
            if (!xml_->entityDeclarations().isEmpty())
                refuse(QStringLiteral("declares XML entities, which are not read"));
            break;
        case QXmlStreamReader::Invalid:
            if (device_ && !device_->errorString().isEmpty() && device_->errorString() != u"Unknown error")
                throw PackageError(device_->errorString());
            refuse(QStringLiteral("is not well-formed XML (line %1: %2)").arg(xml_->lineNumber()).arg(xml_->errorString()));
        case QXmlStreamReader::EndDocument:
            return false;
        default:
            break; // entity references to undeclared entities stand for nothing
        }
    }
}

Ns OdtXmlReader::nsOf(const QXmlStreamAttribute &a) const
{
    return prefixed_ ? OdtNamespaces::byPrefix(a.prefix()) : OdtNamespaces::of(a.namespaceUri());
}

QString OdtXmlReader::attribute(Ns ns, QLatin1StringView name) const
{
    for (const QXmlStreamAttribute &a : attributes())
        if (a.name() == name && nsOf(a) == ns)
            return a.value().toString();
    return QString();
}

bool OdtXmlReader::hasAttribute(Ns ns, QLatin1StringView name) const
{
    for (const QXmlStreamAttribute &a : attributes())
        if (a.name() == name && nsOf(a) == ns)
            return true;
    return false;
}

QString OdtXmlReader::qualified(const QXmlStreamAttribute &a) const
{
    const Ns ns = nsOf(a);
    if (ns == Other) {
        const bool unprefixed = prefixed_ ? a.prefix().isEmpty() : a.namespaceUri().isEmpty();
        return unprefixed ? a.name().toString() : QString();
    }
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
    auto nameOf = [&](QStringView uri, QStringView local, QStringView written) {
        if (prefixed_) {
            // Read by prefixes: a prefix of ours stands as it is; another is declared on the copy.
            if (written.isEmpty() || OdtNamespaces::byPrefix(written) != Other || written == u"xmlns")
                return written.isEmpty() ? local.toString() : written.toString() + QLatin1Char(':') + local.toString();
            const auto declared = rootDeclarations_.constFind(written.toString());
            if (declared != rootDeclarations_.cend() && !others.contains(*declared)) {
                others.insert(*declared, written.toString());
                declarations += QStringLiteral(" xmlns:%1=\"%2\"").arg(written.toString(), OdtXmlText::escaped(*declared, true));
            }
            return written.toString() + QLatin1Char(':') + local.toString();
        }
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
            out += QLatin1Char('<') + nameOf(xml_->namespaceUri(), xml_->name(), xml_->prefix());
            for (const QXmlStreamAttribute &a : attributes())
                out += QLatin1Char(' ') + nameOf(a.namespaceUri(), a.name(), a.prefix()) + QLatin1StringView("=\"")
                     + OdtXmlText::escaped(a.value(), true) + QLatin1Char('"');
            if (rootEnd < 0)
                rootEnd = out.size();
            open = true;
        } else if (isEnd()) {
            if (open) {
                out += QLatin1StringView("/>");
                open = false;
            } else {
                out += QLatin1StringView("</") + nameOf(xml_->namespaceUri(), xml_->name(), xml_->prefix()) + QLatin1Char('>');
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
