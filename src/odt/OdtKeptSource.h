#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariantMap>

// What a document read from OpenDocument kept of its file (OdtKeptParts::kSource), taken out of the
// file's bytes when it is saved as OpenDocument again: the common styles, page layouts and master
// pages, the automatic styles kept elements name, the font faces, and the package's other parts.
// XML comes as the content of its element, its prefixes those of OdtNamespaces. A part that is
// damaged is not taken (its styles are made afresh); nothing here throws.
class OdtKeptSource
{
public:
    struct Entry
    {
        QString path;
        QString mediaType;
        QByteArray bytes;
        bool folder = false;
    };

    explicit OdtKeptSource(const QVariantMap &kept);

    bool hasStyles() const { return stylesRead_; }
    const QString &commonStyles() const { return commonStyles_; }
    const QString &pageStyles() const { return pageStyles_; }
    const QString &masterStyles() const { return masterStyles_; }
    const QString &contentStyles() const { return contentStyles_; }
    const QString &fontFaces() const { return fontFaces_; }
    // The package's parts besides those the writer makes (content, styles, meta, the manifest,
    // the thumbnail), in its order.
    const QList<Entry> &entries() const { return entries_; }

private:
    void readStyles(const QByteArray &bytes, bool content);
    void readContentStyles(const QByteArray &bytes);
    void readPackage(const QByteArray &bytes);

    bool stylesRead_ = false;
    QString commonStyles_, pageStyles_, masterStyles_, contentStyles_, fontFaces_;
    QList<Entry> entries_;
};
