#pragma once
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <functional>

// The parts of a Word package being written, with their content types and the relationships
// between them; finish() makes the zip with [Content_Types].xml and every .rels part.
class DocxPackageWriter
{
public:
    // Adds a part (replacing one of the same name).
    void addPart(const QString &name, const QByteArray &bytes, const QString &contentType);
    bool hasPart(const QString &name) const { return index_.contains(name); }
    // A relationship from a part ("" for the package) of a kind ("image", "header" ...) or a full
    // type; returns its id. `id` may ask for one (a kept relationship's).
    QString addRelationship(const QString &from, const QString &type, const QString &target, bool external = false,
                            const QString &id = QString());
    bool hasRelationship(const QString &from, const QString &id) const;
    // Whether a relationship written so far reaches the part.
    bool isTarget(const QString &part) const;
    // A picture as a part of word/media, once for the same bytes; its part name.
    QString addMedia(const QByteArray &bytes, const QString &extension, const QString &contentType);
    // A part name that is not taken: PREFIX1.xml, PREFIX2.xml ...
    QString freeName(const QString &prefix, const QString &extension) const;

    // The package; `keep` may leave parts out (by name).
    QByteArray finish(const std::function<bool(const QString &)> &keep = {}) const;

private:
    struct Part
    {
        QString name;
        QByteArray bytes;
        QString contentType;
    };
    struct Relationship
    {
        QString id, type, target;
        bool external = false;
    };
    QByteArray contentTypes(const std::function<bool(const QString &)> &keep) const;
    QByteArray relationships(const QString &from) const;
    QList<Part> sortedParts() const;

    QList<Part> parts_;
    QHash<QString, int> index_;
    QList<QString> sources_; // parts with relationships, in order
    QHash<QString, QList<Relationship>> relationships_;
    QHash<QByteArray, QString> media_; // by hash
    QHash<QString, int> nextId_;       // by source part
};
