#include "docx/DocxXml.h"
#include "docx/DocxKeptXml.h"
#include "zip/PackageError.h"

#include <QIODevice>
#include <QXmlStreamWriter>

using namespace DocxNamespaces;

DocxXml::DocxXml(const QByteArray &bytes, const QString &part) : reader_(bytes), part_(part) {}

DocxXml::DocxXml(const QString &text, const QString &part) : reader_(text), part_(part) {}

bool DocxXml::usesKeptPrefixes() const
{
    bool main = false;
    for (const QXmlStreamNamespaceDeclaration &d : reader_.namespaceDeclarations()) {
        const Ns ns = of(d.namespaceUri());
        const QString expected = ns == Other ? QString() : prefix(ns);
        if (ns != Other && (expected != d.prefix() || isStrict(d.namespaceUri())))
            return false;
        if (ns == Other && !d.prefix().isEmpty()) {
            // A prefix of its own must not be one the kept XML gives another namespace.
            for (int n = W; n < Count; ++n)
                if (prefix(Ns(n)) == d.prefix())
                    return false;
        }
        main = main || ns == W;
    }
    return main;
}

DocxXml::DocxXml(QIODevice *device, const QString &part) : reader_(device), part_(part) {}

void DocxXml::fail(const QString &why) const
{
    // A part that could not be unpacked says so rather than that its XML broke off.
    if (const QIODevice *device = reader_.device(); device && !device->errorString().isEmpty()
        && device->errorString() != u"Unknown error")
        throw PackageError(QStringLiteral("its part %1: %2").arg(part_, device->errorString()));
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
        forEachCopy([this](QXmlStreamWriter &out) { writeStart(out); });
        break;
    case QXmlStreamReader::EndElement:
        --depth_;
        forEachCopy([](QXmlStreamWriter &out) { out.writeEndElement(); });
        break;
    case QXmlStreamReader::Characters:
        if (!copies_.empty()) {
            const QString text = reader_.text().toString();
            forEachCopy([&](QXmlStreamWriter &out) { out.writeCharacters(text); });
        }
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

// Each writer a copy goes to, once: copies inside one another may share the kept text's.
void DocxXml::forEachCopy(const std::function<void(QXmlStreamWriter &)> &write)
{
    for (std::size_t i = 0; i < copies_.size(); ++i) {
        bool seen = false;
        for (std::size_t j = 0; j < i && !seen; ++j)
            seen = copies_[j].out == copies_[i].out;
        if (!seen)
            write(*copies_[i].out);
    }
}

void DocxXml::writeStart(QXmlStreamWriter &out) const
{
    out.writeStartElement(ns_ == Other ? reader_.namespaceUri().toString() : uri(ns_), reader_.name().toString());
    for (const QXmlStreamAttribute &a : attributes_) {
        const QStringView aUri = a.namespaceUri();
        if (aUri.isEmpty()) {
            out.writeAttribute(a.name().toString(), a.value().toString());
            continue;
        }
        const Ns ans = of(aUri);
        out.writeAttribute(ans == Other ? aUri.toString() : uri(ans), a.name().toString(), a.value().toString());
    }
}

void DocxXml::startCapture()
{
    // The kept text is one writer's, reused; a capture inside another has a writer of its own.
    const bool inside = std::any_of(copies_.cbegin(), copies_.cend(), [&](const Copy &c) { return c.own || c.out == kept_.get(); });
    Copy copy{nullptr, depth_, 0, nullptr, nullptr};
    if (inside) {
        copy.text = std::make_shared<QString>();
        copy.own = std::make_shared<QXmlStreamWriter>(copy.text.get());
        DocxKeptXml::startWrapper(*copy.own);
        copy.out = copy.own.get();
        copy.from = copy.text->size();
    } else {
        if (!kept_) {
            keptText_ = std::make_unique<QString>();
            kept_ = std::make_unique<QXmlStreamWriter>(keptText_.get());
            DocxKeptXml::startWrapper(*kept_);
        }
        copy.out = kept_.get();
        copy.from = keptText_->size();
    }
    writeStart(*copy.out);
    copies_.push_back(copy);
}

QString DocxXml::takeCapture()
{
    if (copies_.empty())
        return QString();
    const Copy copy = copies_.back();
    copies_.pop_back();
    if (copy.text)
        return copy.text->mid(copy.from);
    if (copy.out != kept_.get())
        return QString();
    const QString captured = keptText_->mid(copy.from);
    keptText_->truncate(copy.from);
    return captured;
}

QString DocxXml::capture()
{
    startCapture();
    skip();
    return takeCapture();
}
