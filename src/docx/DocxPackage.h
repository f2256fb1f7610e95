#pragma once
#include "zip/ZipReader.h"

#include <QHash>
#include <QIODevice>
#include <QList>
#include <QString>
#include <memory>

// A Word package opened for reading: its content types, its relationships, and its main document
// part (transitional or Strict). Every refusal throws PackageError with a reason for the user.
class DocxPackage
{
public:
    struct Relationship
    {
        QString id;
        QString kind;   // DocxNamespaces::relationshipKind of its type: "image", "header" ...
        QString type;   // as written
        QString target; // a part name ("word/media/image1.png"), or the URL of an external target
        bool external = false;
    };

    static const QStringList &mainContentTypes();

    explicit DocxPackage(const QByteArray &bytes);
    // The package as a Word document; throws when it is not one.
    explicit DocxPackage(std::unique_ptr<ZipReader> zip);

    // Whether the package names a Word document as its main part (no part is unpacked but the
    // small ones that say so).
    static bool isWordDocument(const ZipReader &zip);

    const ZipReader &zip() const { return *zip_; }
    const QString &mainPart() const { return mainPart_; }
    QString mainContentType() const { return contentType(mainPart_); }
    bool contains(const QString &part) const { return zip_->contains(part); }
    QByteArray read(const QString &part) const { return zip_->read(part); }
    // A part unpacked as it is read, for the large ones.
    std::unique_ptr<QIODevice> open(const QString &part) const { return zip_->open(part); }
    QString contentType(const QString &part) const;

    // The relationships of a part ("" for the package's own); cached.
    const QList<Relationship> &relationships(const QString &part) const;
    const Relationship *relationship(const QString &part, QStringView id) const;
    // The first target of a kind among a part's relationships; empty when there is none.
    QString target(const QString &part, QStringView kind) const;

    static QString relationshipsPart(const QString &part);
    // A target resolved against the folder of the part it belongs to; empty when it climbs out.
    static QString resolve(const QString &part, const QString &target);

    const QHash<QString, QString> &defaults() const { return defaults_; }
    const QHash<QString, QString> &overrides() const { return overrides_; }

private:
    static std::unique_ptr<ZipReader> open(const QByteArray &bytes);
    void readContentTypes();
    void findMainPart();

    std::unique_ptr<ZipReader> zip_;
    QHash<QString, QString> defaults_;  // by extension, lower case
    QHash<QString, QString> overrides_; // by part name, without the leading '/'
    QString mainPart_;
    mutable QHash<QString, QList<Relationship>> relationships_;
};
