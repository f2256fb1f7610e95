#include "docx/DocxPackage.h"
#include "docx/DocxNamespaces.h"
#include "docx/DocxXml.h"
#include "zip/PackageError.h"

#include <QUrl>

using namespace DocxNamespaces;

namespace {

const QString kContentTypes = QStringLiteral("[Content_Types].xml");

QString partName(QStringView name)
{
    QString n = name.toString();
    while (n.startsWith(u'/'))
        n.remove(0, 1);
    return n;
}

} // namespace

const QStringList &DocxPackage::mainContentTypes()
{
    static const QStringList types{
        QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"),
        QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.template.main+xml"),
        QStringLiteral("application/vnd.ms-word.document.macroEnabled.main+xml"),
        QStringLiteral("application/vnd.ms-word.template.macroEnabledTemplate.main+xml"),
    };
    return types;
}

DocxPackage::DocxPackage(const QByteArray &bytes) : DocxPackage(open(bytes)) {}

std::unique_ptr<ZipReader> DocxPackage::open(const QByteArray &bytes)
{
    if (!ZipReader::looksLikeZip(bytes))
        throw PackageError(QStringLiteral("it is not a readable zip package"));
    return std::make_unique<ZipReader>(bytes);
}

DocxPackage::DocxPackage(std::unique_ptr<ZipReader> zip) : zip_(std::move(zip))
{
    readContentTypes();
    findMainPart();
}

bool DocxPackage::isWordDocument(const ZipReader &zip)
{
    if (!zip.contains(kContentTypes) || zip.size(kContentTypes) > (8 << 20))
        return false;
    try {
        DocxXml xml(zip.read(kContentTypes), kContentTypes);
        if (!xml.start())
            return false;
        const int depth = xml.depth();
        while (xml.nextChild(depth)) {
            if (xml.name() == u"Override"
                && mainContentTypes().contains(xml.attribute(u"ContentType").trimmed().toString()))
                return zip.contains(partName(xml.attribute(u"PartName")));
        }
    } catch (const PackageError &) {
    }
    return false;
}

QString DocxPackage::contentType(const QString &part) const
{
    const auto o = overrides_.constFind(part.toLower());
    if (o != overrides_.cend())
        return *o;
    const qsizetype dot = part.lastIndexOf(u'.');
    return dot < 0 ? QString() : defaults_.value(part.mid(dot + 1).toLower());
}

void DocxPackage::readContentTypes()
{
    if (!zip_->contains(kContentTypes))
        throw PackageError(QStringLiteral("its list of parts ([Content_Types].xml) is missing"));
    DocxXml xml(zip_->read(kContentTypes), kContentTypes);
    if (!xml.start() || xml.name() != u"Types")
        xml.fail(QStringLiteral("is not a list of content types"));
    const int depth = xml.depth();
    while (xml.nextChild(depth)) {
        const QString type = xml.attribute(u"ContentType").trimmed().toString();
        if (xml.name() == u"Default")
            defaults_.insert(xml.attribute(u"Extension").toString().toLower(), type);
        else if (xml.name() == u"Override")
            overrides_.insert(partName(xml.attribute(u"PartName")).toLower(), type);
    }
}

void DocxPackage::findMainPart()
{
    for (const Relationship &r : relationships(QString())) {
        if (r.kind == u"officeDocument" && !r.external) {
            mainPart_ = r.target;
            break;
        }
    }
    if (mainPart_.isEmpty()) {
        // A package without its relationships still names its main part by content type.
        for (auto it = overrides_.cbegin(); it != overrides_.cend(); ++it)
            if (mainContentTypes().contains(it.value()))
                for (const QString &name : zip_->names())
                    if (name.toLower() == it.key())
                        mainPart_ = name;
    }
    if (mainPart_.isEmpty() || !zip_->contains(mainPart_))
        throw PackageError(QStringLiteral("it has no main document part"));
    if (!mainContentTypes().contains(contentType(mainPart_)))
        throw PackageError(QStringLiteral("it is not a Word document (its main part is %1)")
                               .arg(contentType(mainPart_).isEmpty() ? QStringLiteral("of no known type")
                                                                     : contentType(mainPart_)));
}

QString DocxPackage::relationshipsPart(const QString &part)
{
    const qsizetype slash = part.lastIndexOf(u'/');
    return part.left(slash + 1) + QStringLiteral("_rels/") + part.mid(slash + 1) + QStringLiteral(".rels");
}

QString DocxPackage::resolve(const QString &part, const QString &target)
{
    QString t = QUrl::fromPercentEncoding(target.toUtf8());
    QStringList parts;
    if (!t.startsWith(u'/')) {
        parts = part.split(u'/');
        parts.removeLast(); // the part's own name
    }
    for (const QString &segment : t.split(u'/', Qt::SkipEmptyParts)) {
        if (segment == u".")
            continue;
        if (segment == u"..") {
            if (parts.isEmpty())
                return QString();
            parts.removeLast();
            continue;
        }
        parts.append(segment);
    }
    return parts.join(u'/');
}

const QList<DocxPackage::Relationship> &DocxPackage::relationships(const QString &part) const
{
    const auto cached = relationships_.constFind(part);
    if (cached != relationships_.cend())
        return *cached;
    QList<Relationship> list;
    const QString relsPart = part.isEmpty() ? QStringLiteral("_rels/.rels") : relationshipsPart(part);
    if (zip_->contains(relsPart)) {
        DocxXml xml(zip_->read(relsPart), relsPart);
        if (xml.start()) {
            const int depth = xml.depth();
            while (xml.nextChild(depth)) {
                if (xml.name() != u"Relationship")
                    continue;
                Relationship r;
                r.id = xml.attribute(u"Id").toString();
                r.type = xml.attribute(u"Type").trimmed().toString();
                r.kind = relationshipKind(r.type);
                r.external = xml.attribute(u"TargetMode").compare(u"External", Qt::CaseInsensitive) == 0;
                const QString target = xml.attribute(u"Target").trimmed().toString();
                r.target = r.external ? target : resolve(part, target);
                if (!r.id.isEmpty() && !r.target.isEmpty())
                    list.append(r);
            }
        }
    }
    return *relationships_.insert(part, list);
}

const DocxPackage::Relationship *DocxPackage::relationship(const QString &part, QStringView id) const
{
    for (const Relationship &r : relationships(part))
        if (r.id == id)
            return &r;
    return nullptr;
}

QString DocxPackage::target(const QString &part, QStringView kind) const
{
    for (const Relationship &r : relationships(part))
        if (r.kind == kind && !r.external && zip_->contains(r.target))
            return r.target;
    return QString();
}
