#include "docx/DocxKeptPackage.h"

#include <QDataStream>
#include <QIODevice>

namespace {

constexpr quint32 kMagic = 0x44435850; // "DCXP"
constexpr quint32 kVersion = 1;

} // namespace

// Streamed by QList's operators, which find these by the element type.
static QDataStream &operator<<(QDataStream &s, const DocxKeptPackage::Part &p)
{
    return s << p.name << p.contentType << p.bytes;
}
static QDataStream &operator>>(QDataStream &s, DocxKeptPackage::Part &p)
{
    return s >> p.name >> p.contentType >> p.bytes;
}
static QDataStream &operator<<(QDataStream &s, const DocxKeptPackage::Relationship &r)
{
    return s << r.id << r.type << r.target << r.external;
}
static QDataStream &operator>>(QDataStream &s, DocxKeptPackage::Relationship &r)
{
    return s >> r.id >> r.type >> r.target >> r.external;
}
static QDataStream &operator<<(QDataStream &s, const DocxKeptPackage::HeaderPart &h)
{
    return s << qint32(h.kind) << h.part << h.rtfHash;
}
static QDataStream &operator>>(QDataStream &s, DocxKeptPackage::HeaderPart &h)
{
    qint32 kind = 0;
    s >> kind >> h.part >> h.rtfHash;
    h.kind = kind;
    return s;
}

const DocxKeptPackage::Part *DocxKeptPackage::part(const QString &name) const
{
    for (const Part &p : parts)
        if (p.name == name)
            return &p;
    return nullptr;
}

QByteArray DocxKeptPackage::serialize() const
{
    QByteArray data;
    QDataStream s(&data, QIODevice::WriteOnly);
    s.setVersion(QDataStream::Qt_6_4);
    s << kMagic << kVersion << mainContentType << parts << mainRelationships << packageRelationships << styles
      << styleNames << styleIds << firstSection << lastSection << headers << rootNamespaces << evenAndOddHeaders;
    return data;
}

DocxKeptPackage DocxKeptPackage::parse(const QByteArray &data)
{
    DocxKeptPackage kept;
    if (data.isEmpty())
        return kept;
    QDataStream s(data);
    s.setVersion(QDataStream::Qt_6_4);
    quint32 magic = 0, version = 0;
    s >> magic >> version;
    if (magic != kMagic || version != kVersion)
        return kept;
    s >> kept.mainContentType >> kept.parts >> kept.mainRelationships >> kept.packageRelationships >> kept.styles
        >> kept.styleNames >> kept.styleIds >> kept.firstSection >> kept.lastSection >> kept.headers
        >> kept.rootNamespaces >> kept.evenAndOddHeaders;
    if (s.status() != QDataStream::Ok)
        return DocxKeptPackage();
    return kept;
}
