#include "odt/OdtPackage.h"
#include "odt/OdtXmlReader.h"
#include "zip/PackageError.h"

using namespace OdtNamespaces;

namespace {

const QString kManifest = QStringLiteral("META-INF/manifest.xml");
const QString kMimetype = QStringLiteral("mimetype");
constexpr qint64 kMaxMimetype = 256;

} // namespace

bool OdtPackage::isTextMediaType(QStringView type)
{
    type = type.trimmed();
    return type == u"application/vnd.oasis.opendocument.text"
        || type == u"application/vnd.oasis.opendocument.text-template"
        || type == u"application/vnd.oasis.opendocument.text-master";
}

bool OdtPackage::recognises(const ZipReader &package)
{
    try {
        if (package.contains(kMimetype) && package.size(kMimetype) <= kMaxMimetype)
            return isTextMediaType(QString::fromUtf8(package.read(kMimetype)));
        if (!package.contains(kManifest) || !package.contains(QStringLiteral("content.xml")))
            return false;
        OdtXmlReader xml(package.read(kManifest), kManifest);
        while (xml.next())
            if (xml.isStart() && xml.is(Manifest, QLatin1StringView("file-entry"))
                && xml.attribute(Manifest, QLatin1StringView("full-path")) == u"/")
                return isTextMediaType(xml.attribute(Manifest, QLatin1StringView("media-type")));
    } catch (const PackageError &) {
    }
    return false;
}

OdtPackage::OdtPackage(const QByteArray &bytes)
{
    zip_ = std::make_unique<ZipReader>(bytes);
    if (zip_->contains(kMimetype)) {
        if (zip_->size(kMimetype) > kMaxMimetype || !isTextMediaType(QString::fromUtf8(zip_->read(kMimetype))))
            throw PackageError(QStringLiteral("it is not an OpenDocument text document (its mimetype says otherwise)"));
    }
    readManifest();
    if (!zip_->contains(QStringLiteral("content.xml")))
        throw PackageError(QStringLiteral("its main part (content.xml) is missing"));
}

void OdtPackage::readManifest()
{
    if (!zip_->contains(kManifest))
        throw PackageError(QStringLiteral("its manifest (META-INF/manifest.xml) is missing"));
    OdtXmlReader xml(zip_->read(kManifest), kManifest);
    bool root = false, text = zip_->contains(kMimetype);
    while (xml.next()) {
        if (!xml.isStart())
            continue;
        if (xml.is(Manifest, QLatin1StringView("encryption-data")))
            throw PackageError(QStringLiteral("password-protected documents cannot be opened"));
        if (!xml.is(Manifest, QLatin1StringView("file-entry")))
            continue;
        const QString path = xml.attribute(Manifest, QLatin1StringView("full-path"));
        const QString type = xml.attribute(Manifest, QLatin1StringView("media-type"));
        if (path == u"/") {
            root = true;
            text = text || isTextMediaType(type);
        } else if (!path.isEmpty() && entries_.size() < 100000) {
            entries_.append({path, type});
        }
    }
    if (!root && !zip_->contains(kMimetype))
        throw PackageError(QStringLiteral("its manifest does not say what the package is"));
    if (!text)
        throw PackageError(QStringLiteral("it is not an OpenDocument text document"));
}

QString OdtPackage::mediaType(const QString &path) const
{
    for (const Entry &e : entries_)
        if (e.path == path)
            return e.mediaType;
    return QString();
}
