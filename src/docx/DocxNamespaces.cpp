#include "docx/DocxNamespaces.h"

#include <array>

namespace DocxNamespaces {

namespace {

struct Entry
{
    Ns ns;
    const char16_t *uri;
    const char16_t *prefix;
    bool ignorable;
};

// Transitional (and other) names first; Strict ones after, mapped to the same namespace.
constexpr Entry kEntries[] = {
    {W, u"http://schemas.openxmlformats.org/wordprocessingml/2006/main", u"w", false},
    {R, u"http://schemas.openxmlformats.org/officeDocument/2006/relationships", u"r", false},
    {WP, u"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing", u"wp", false},
    {A, u"http://schemas.openxmlformats.org/drawingml/2006/main", u"a", false},
    {Pic, u"http://schemas.openxmlformats.org/drawingml/2006/picture", u"pic", false},
    {M, u"http://schemas.openxmlformats.org/officeDocument/2006/math", u"m", false},
    {MC, u"http://schemas.openxmlformats.org/markup-compatibility/2006", u"mc", false},
    {V, u"urn:schemas-microsoft-com:vml", u"v", false},
    {O, u"urn:schemas-microsoft-com:office:office", u"o", false},
    {W10, u"urn:schemas-microsoft-com:office:word", u"w10", false},
    {WPS, u"http://schemas.microsoft.com/office/word/2010/wordprocessingShape", u"wps", false},
    {WPG, u"http://schemas.microsoft.com/office/word/2010/wordprocessingGroup", u"wpg", false},
    {WPC, u"http://schemas.microsoft.com/office/word/2010/wordprocessingCanvas", u"wpc", false},
    {W14, u"http://schemas.microsoft.com/office/word/2010/wordml", u"w14", true},
    {W15, u"http://schemas.microsoft.com/office/word/2012/wordml", u"w15", true},
    {WP14, u"http://schemas.microsoft.com/office/word/2010/wordprocessingDrawing", u"wp14", true},
    {A14, u"http://schemas.microsoft.com/office/drawing/2010/main", u"a14", false},
    {C, u"http://schemas.openxmlformats.org/drawingml/2006/chart", u"c", false},
    {DGM, u"http://schemas.openxmlformats.org/drawingml/2006/diagram", u"dgm", false},
    {WNE, u"http://schemas.microsoft.com/office/word/2006/wordml", u"wne", false},
    {WPI, u"http://schemas.microsoft.com/office/word/2010/wordprocessingInk", u"wpi", false},
    {W16SE, u"http://schemas.microsoft.com/office/word/2015/wordml/symex", u"w16se", true},
    {W16CID, u"http://schemas.microsoft.com/office/word/2016/wordml/cid", u"w16cid", true},
    {W16, u"http://schemas.microsoft.com/office/word/2018/wordml", u"w16", true},
    {W16CEX, u"http://schemas.microsoft.com/office/word/2018/wordml/cex", u"w16cex", true},
    {W16SDTDH, u"http://schemas.microsoft.com/office/word/2020/wordml/sdtdatahash", u"w16sdtdh", true},
    {W16DU, u"http://schemas.microsoft.com/office/word/2023/wordml/word16du", u"w16du", true},
    {PackageRels, u"http://schemas.openxmlformats.org/package/2006/relationships", u"", false},
    {ContentTypes, u"http://schemas.openxmlformats.org/package/2006/content-types", u"", false},
    {CP, u"http://schemas.openxmlformats.org/package/2006/metadata/core-properties", u"cp", false},
    {DC, u"http://purl.org/dc/elements/1.1/", u"dc", false},
    {DCTerms, u"http://purl.org/dc/terms/", u"dcterms", false},
    {XSI, u"http://www.w3.org/2001/XMLSchema-instance", u"xsi", false},
    {EP, u"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties", u"", false},
    {VT, u"http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes", u"vt", false},
    {Xml, u"http://www.w3.org/XML/1998/namespace", u"xml", false},
    // Strict
    {W, u"http://purl.oclc.org/ooxml/wordprocessingml/main", nullptr, false},
    {R, u"http://purl.oclc.org/ooxml/officeDocument/relationships", nullptr, false},
    {WP, u"http://purl.oclc.org/ooxml/drawingml/wordprocessingDrawing", nullptr, false},
    {A, u"http://purl.oclc.org/ooxml/drawingml/main", nullptr, false},
    {Pic, u"http://purl.oclc.org/ooxml/drawingml/picture", nullptr, false},
    {M, u"http://purl.oclc.org/ooxml/officeDocument/math", nullptr, false},
    {C, u"http://purl.oclc.org/ooxml/drawingml/chart", nullptr, false},
    {DGM, u"http://purl.oclc.org/ooxml/drawingml/diagram", nullptr, false},
    {EP, u"http://purl.oclc.org/ooxml/officeDocument/extendedProperties", nullptr, false},
    {VT, u"http://purl.oclc.org/ooxml/officeDocument/docPropsVTypes", nullptr, false},
};

constexpr QStringView kStrictPrefix = u"http://purl.oclc.org/ooxml/";

const Entry *first(Ns ns)
{
    for (const Entry &e : kEntries)
        if (e.ns == ns)
            return &e;
    return nullptr;
}

constexpr QStringView kRelationshipPrefixes[] = {
    u"http://schemas.openxmlformats.org/officeDocument/2006/relationships/",
    u"http://purl.oclc.org/ooxml/officeDocument/relationships/",
    u"http://schemas.openxmlformats.org/package/2006/relationships/metadata/",
    u"http://schemas.openxmlformats.org/officedocument/2006/relationships/metadata/",
    u"http://schemas.openxmlformats.org/package/2006/relationships/",
    u"http://schemas.microsoft.com/office/2006/relationships/",
    u"http://schemas.microsoft.com/office/2007/relationships/",
    u"http://schemas.microsoft.com/office/2011/relationships/",
};

} // namespace

Ns of(QStringView uri)
{
    if (uri.isEmpty())
        return Other;
    // The main namespace is by far the most asked for.
    static const QString w = QString::fromUtf16(kEntries[0].uri);
    if (uri.size() == w.size() && uri == w)
        return W;
    for (const Entry &e : kEntries)
        if (uri == QStringView(e.uri))
            return e.ns;
    return Other;
}

QString uri(Ns ns)
{
    const Entry *e = first(ns);
    return e ? QString::fromUtf16(e->uri) : QString();
}

QString prefix(Ns ns)
{
    const Entry *e = first(ns);
    return e && e->prefix ? QString::fromUtf16(e->prefix) : QString();
}

bool isIgnorable(Ns ns)
{
    const Entry *e = first(ns);
    return e && e->ignorable;
}

bool isStrict(QStringView uri)
{
    return uri.startsWith(kStrictPrefix);
}

QString relationshipKind(QStringView type)
{
    for (const QStringView prefix : kRelationshipPrefixes)
        if (type.startsWith(prefix))
            return type.mid(prefix.size()).toString();
    const qsizetype slash = type.lastIndexOf(u'/');
    return type.mid(slash + 1).toString();
}

QString relationshipType(QStringView kind)
{
    if (kind == u"core-properties")
        return QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties");
    return kRelationshipPrefixes[0].toString() + kind.toString();
}

} // namespace DocxNamespaces
