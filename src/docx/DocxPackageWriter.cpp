#include "docx/DocxPackageWriter.h"
#include "docx/DocxNamespaces.h"
#include "docx/DocxPackage.h"
#include "zip/ZipWriter.h"

#include <QCryptographicHash>
#include <QXmlStreamWriter>
#include <algorithm>

using namespace DocxNamespaces;

void DocxPackageWriter::addPart(const QString &name, const QByteArray &bytes, const QString &contentType)
{
    const auto found = index_.constFind(name);
    if (found != index_.cend()) {
        parts_[*found] = {name, bytes, contentType};
        return;
    }
    index_.insert(name, int(parts_.size()));
    parts_.append({name, bytes, contentType});
}

QString DocxPackageWriter::addRelationship(const QString &from, const QString &type, const QString &target, bool external,
                                           const QString &id)
{
    if (!relationships_.contains(from))
        sources_.append(from);
    QList<Relationship> &list = relationships_[from];
    QString chosen = id;
    auto taken = [&](const QString &candidate) {
        for (const Relationship &r : std::as_const(list))
            if (r.id == candidate)
                return true;
        return false;
    };
    if (chosen.isEmpty() || taken(chosen)) {
        do
            chosen = QStringLiteral("rIdS%1").arg(++nextId_[from]);
        while (taken(chosen));
    }
    list.append({chosen, type.contains(u'/') ? type : relationshipType(type), target, external});
    return chosen;
}

bool DocxPackageWriter::hasRelationship(const QString &from, const QString &id) const
{
    for (const Relationship &r : relationships_.value(from))
        if (r.id == id)
            return true;
    return false;
}

bool DocxPackageWriter::isTarget(const QString &part) const
{
    for (const QList<Relationship> &list : relationships_)
        for (const Relationship &r : list)
            if (!r.external && r.target == part)
                return true;
    return false;
}

QString DocxPackageWriter::addMedia(const QByteArray &bytes, const QString &extension, const QString &contentType)
{
    const QByteArray hash = QCryptographicHash::hash(bytes, QCryptographicHash::Sha1) + extension.toLatin1();
    const auto found = media_.constFind(hash);
    if (found != media_.cend())
        return *found;
    // A picture kept from the file under its own name is not added twice.
    for (const Part &p : std::as_const(parts_)) {
        if (p.name.startsWith(u"word/media/") && p.bytes.size() == bytes.size() && p.bytes == bytes
            && p.name.endsWith(u'.' + extension)) {
            media_.insert(hash, p.name);
            return p.name;
        }
    }
    const QString name = freeName(QStringLiteral("word/media/image"), extension);
    addPart(name, bytes, contentType);
    media_.insert(hash, name);
    return name;
}

QString DocxPackageWriter::freeName(const QString &prefix, const QString &extension) const
{
    for (int n = 1;; ++n) {
        const QString name = prefix + QString::number(n) + u'.' + extension;
        if (!index_.contains(name))
            return name;
    }
}

QByteArray DocxPackageWriter::contentTypes(const std::function<bool(const QString &)> &keep) const
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    const QString ns = uri(ContentTypes);
    w.writeStartDocument(QStringLiteral("1.0"), true);
    w.writeDefaultNamespace(ns);
    w.writeStartElement(ns, QStringLiteral("Types"));
    const QHash<QString, QString> defaults{
        {QStringLiteral("rels"), QStringLiteral("application/vnd.openxmlformats-package.relationships+xml")},
        {QStringLiteral("xml"), QStringLiteral("application/xml")},
    };
    for (auto it = defaults.cbegin(); it != defaults.cend(); ++it) {
        w.writeEmptyElement(ns, QStringLiteral("Default"));
        w.writeAttribute(QStringLiteral("Extension"), it.key());
        w.writeAttribute(QStringLiteral("ContentType"), it.value());
    }
    for (const Part &p : sortedParts()) {
        if (keep && !keep(p.name))
            continue;
        const QString extension = p.name.mid(p.name.lastIndexOf(u'.') + 1).toLower();
        if (p.contentType.isEmpty() || defaults.value(extension) == p.contentType)
            continue;
        w.writeEmptyElement(ns, QStringLiteral("Override"));
        w.writeAttribute(QStringLiteral("PartName"), u'/' + p.name);
        w.writeAttribute(QStringLiteral("ContentType"), p.contentType);
    }
    w.writeEndElement();
    w.writeEndDocument();
    return out;
}

QByteArray DocxPackageWriter::relationships(const QString &from) const
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    const QString ns = uri(PackageRels);
    const QString folder = from.left(from.lastIndexOf(u'/') + 1);
    w.writeStartDocument(QStringLiteral("1.0"), true);
    w.writeDefaultNamespace(ns);
    w.writeStartElement(ns, QStringLiteral("Relationships"));
    QList<Relationship> list = relationships_.value(from);
    std::sort(list.begin(), list.end(), [](const Relationship &a, const Relationship &b) { return a.id < b.id; });
    for (const Relationship &r : std::as_const(list)) {
        w.writeEmptyElement(ns, QStringLiteral("Relationship"));
        w.writeAttribute(QStringLiteral("Id"), r.id);
        w.writeAttribute(QStringLiteral("Type"), r.type);
        QString target = r.target;
        if (!r.external)
            target = !folder.isEmpty() && target.startsWith(folder) ? target.mid(folder.size()) : u'/' + target;
        w.writeAttribute(QStringLiteral("Target"), target);
        if (r.external)
            w.writeAttribute(QStringLiteral("TargetMode"), QStringLiteral("External"));
    }
    w.writeEndElement();
    w.writeEndDocument();
    return out;
}

// The parts by name, so that the same document gives the same package however it was made.
QList<DocxPackageWriter::Part> DocxPackageWriter::sortedParts() const
{
    QList<Part> parts = parts_;
    std::sort(parts.begin(), parts.end(), [](const Part &a, const Part &b) { return a.name < b.name; });
    return parts;
}

QByteArray DocxPackageWriter::finish(const std::function<bool(const QString &)> &keep) const
{
    ZipWriter zip(QDateTime(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC));
    zip.setCompressionLevel(1); // saving stays quick on long documents; the text packs well anyway
    zip.add(QStringLiteral("[Content_Types].xml"), contentTypes(keep));
    QStringList sources = sources_;
    sources.sort();
    for (const QString &from : std::as_const(sources))
        zip.add(from.isEmpty() ? QStringLiteral("_rels/.rels") : DocxPackage::relationshipsPart(from), relationships(from));
    for (const Part &p : sortedParts()) {
        if (keep && !keep(p.name))
            continue;
        // Pictures are packed already; deflating them again only costs time.
        const bool packed = p.contentType.startsWith(u"image/") && !p.contentType.contains(u"emf")
                         && !p.contentType.contains(u"wmf") && !p.contentType.contains(u"bmp");
        zip.add(p.name, p.bytes, !packed);
    }
    return zip.finish();
}
