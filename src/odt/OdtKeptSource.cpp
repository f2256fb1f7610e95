#include "odt/OdtKeptSource.h"
#include "odt/OdtKeptParts.h"
#include "odt/OdtPackage.h"
#include "odt/OdtPartIndex.h"
#include "odt/OdtXmlReader.h"
#include "zip/PackageError.h"

#include <QIODevice>
#include <memory>

using namespace OdtNamespaces;

namespace {

// The children of each top-level element of a part, copied with OdtNamespaces' prefixes.
QHash<QString, QString> copiedRegions(OdtXmlReader &xml, bool untilBody)
{
    QHash<QString, QString> regions;
    const int depth = xml.depth();
    while (xml.next() && xml.depth() >= depth) {
        if (!xml.isStart())
            continue;
        if (untilBody && xml.is(Office, QLatin1StringView("body")))
            break;
        const QString name = xml.name().toString();
        if (xml.ns() != Office || (name != u"styles" && name != u"automatic-styles" && name != u"master-styles"
                                   && name != u"font-face-decls")) {
            xml.skipElement();
            continue;
        }
        QString &region = regions[name];
        const int inside = xml.depth();
        while (xml.next() && xml.depth() >= inside)
            if (xml.isStart())
                region += xml.copyElement();
    }
    return regions;
}

} // namespace

OdtKeptSource::OdtKeptSource(const QVariantMap &kept)
{
    const QByteArray source = kept.value(OdtKeptParts::kSource).toByteArray();
    if (source.isEmpty())
        return;
    try {
        if (kept.value(OdtKeptParts::kFlat).toBool()) {
            readStyles(source, true);
        } else {
            readPackage(source);
        }
    } catch (const PackageError &) {
        // What could not be taken is made afresh.
    }
}

void OdtKeptSource::readPackage(const QByteArray &bytes)
{
    const OdtPackage package(bytes);
    if (package.contains(QStringLiteral("styles.xml"))) {
        try {
            readStyles(package.read(QStringLiteral("styles.xml")), false);
        } catch (const PackageError &) {
            stylesRead_ = false;
        }
    }
    try {
        const std::unique_ptr<QIODevice> device = package.zip().open(QStringLiteral("content.xml"));
        OdtXmlReader xml(device.get(), QStringLiteral("content.xml"));
        while (xml.next() && !xml.isStart()) {
        }
        const QHash<QString, QString> regions = copiedRegions(xml, true);
        contentStyles_ = regions.value(QStringLiteral("automatic-styles"));
        fontFaces_ += regions.value(QStringLiteral("font-face-decls"));
    } catch (const PackageError &) {
        contentStyles_.clear();
    }
    static const QStringList kMade{QStringLiteral("mimetype"), QStringLiteral("content.xml"), QStringLiteral("styles.xml"),
                                   QStringLiteral("meta.xml"), QStringLiteral("META-INF/manifest.xml")};
    for (const QString &name : package.zip().names()) {
        if (kMade.contains(name) || name.startsWith(u"Thumbnails/") || name.endsWith(u'/'))
            continue;
        try {
            entries_.append({name, package.mediaType(name), package.read(name), false});
        } catch (const PackageError &) {
            // A damaged part is left out; the others go back.
        }
    }
    for (const OdtPackage::Entry &e : package.entries())
        if (e.path.endsWith(u'/') && e.path != u"Thumbnails/" && !e.mediaType.isEmpty())
            entries_.append({e.path, e.mediaType, QByteArray(), true});
}

// The styles of styles.xml (or of a flat file, whose automatic styles serve the body too): as the
// bytes they were when the part spells its namespaces as the writer does, else copied. A part that
// is not well-formed gives nothing.
void OdtKeptSource::readStyles(const QByteArray &bytes, bool content)
{
    {
        OdtXmlReader check(bytes, QStringLiteral("styles"));
        while (check.next()) {
        }
    }
    const OdtPartIndex index(bytes);
    QHash<QString, QString> regions;
    if (index.usable()) {
        for (const OdtPartIndex::Element &e : index.tops()) {
            const QString name = QString::fromUtf8(e.name);
            if (name.startsWith(u"office:"))
                regions[name.mid(7)] += QString::fromUtf8(index.content(e));
        }
    } else {
        OdtXmlReader xml(bytes, QStringLiteral("styles"));
        while (xml.next() && !xml.isStart()) {
        }
        regions = copiedRegions(xml, false);
    }
    stylesRead_ = regions.contains(QStringLiteral("styles"));
    commonStyles_ = regions.value(QStringLiteral("styles"));
    pageStyles_ = regions.value(QStringLiteral("automatic-styles"));
    masterStyles_ = regions.value(QStringLiteral("master-styles"));
    fontFaces_ += regions.value(QStringLiteral("font-face-decls"));
    if (content)
        contentStyles_ = pageStyles_;
}
