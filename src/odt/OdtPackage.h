#pragma once
#include "zip/ZipReader.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <memory>

// An OpenDocument Text package opened for reading, checked before any part of it is read: a zip
// package whose mimetype (or manifest) says text, with a readable manifest, no encrypted parts and
// a content.xml. Every refusal throws PackageError with a reason for the user.
class OdtPackage
{
public:
    struct Entry
    {
        QString path;
        QString mediaType;
    };

    // Whether the package says it is an OpenDocument text document (text or text template).
    static bool recognises(const ZipReader &package);
    static bool isTextMediaType(QStringView type);

    explicit OdtPackage(const QByteArray &bytes);

    const ZipReader &zip() const { return *zip_; }
    bool contains(const QString &path) const { return zip_->contains(path); }
    QByteArray read(const QString &path) const { return zip_->read(path); }
    // The manifest's entries, the root ("/") left out.
    const QList<Entry> &entries() const { return entries_; }
    QString mediaType(const QString &path) const;

private:
    void readManifest();

    std::unique_ptr<ZipReader> zip_;
    QList<Entry> entries_;
};
