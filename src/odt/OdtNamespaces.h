#pragma once
#include <QLatin1StringView>
#include <QStringView>

// The XML namespaces of OpenDocument, by the prefixes the writer gives them. A file may use other
// prefixes; the reader goes by the namespace names alone.
namespace OdtNamespaces {

enum Ns {
    Office,
    Style,
    Text,
    Table,
    Draw,
    Fo,
    XLink,
    Dc,
    Meta,
    Number,
    Svg,
    Chart,
    Dr3d,
    Math,
    Form,
    Script,
    Ooo,
    Ooow,
    Oooc,
    Dom,
    Xforms,
    Xsd,
    Xsi,
    Rpt,
    Of,
    Xhtml,
    Grddl,
    OfficeOoo,
    TableOoo,
    DrawOoo,
    CalcExt,
    LoExt,
    Field,
    FormX,
    Css3t,
    Manifest,
    Xml,
    Other
};
constexpr int kCount = Other;

struct Entry
{
    QLatin1StringView prefix;
    QLatin1StringView uri;
};

inline constexpr Entry kAll[kCount] = {
    {QLatin1StringView("office"), QLatin1StringView("urn:oasis:names:tc:opendocument:xmlns:office:1.0")},
    {QLatin1StringView("style"), QLatin1StringView("urn:oasis:names:tc:opendocument:xmlns:style:1.0")},
    {QLatin1StringView("text"), QLatin1StringView("urn:oasis:names:tc:opendocument:xmlns:text:1.0")},
    {QLatin1StringView("table"), QLatin1StringView("urn:oasis:names:tc:opendocument:xmlns:table:1.0")},
    {QLatin1StringView("draw"), QLatin1StringView("urn:oasis:names:tc:opendocument:xmlns:drawing:1.0")},
    {QLatin1StringView("fo"), QLatin1StringView("urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0")},
    {QLatin1StringView("xlink"), QLatin1StringView("http://www.w3.org/1999/xlink")},
    {QLatin1StringView("dc"), QLatin1StringView("http://purl.org/dc/elements/1.1/")},
    {QLatin1StringView("meta"), QLatin1StringView("urn:oasis:names:tc:opendocument:xmlns:meta:1.0")},
    {QLatin1StringView("number"), QLatin1StringView("urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0")},
    {QLatin1StringView("svg"), QLatin1StringView("urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0")},
    {QLatin1StringView("chart"), QLatin1StringView("urn:oasis:names:tc:opendocument:xmlns:chart:1.0")},
    {QLatin1StringView("dr3d"), QLatin1StringView("urn:oasis:names:tc:opendocument:xmlns:dr3d:1.0")},
    {QLatin1StringView("math"), QLatin1StringView("http://www.w3.org/1998/Math/MathML")},
    {QLatin1StringView("form"), QLatin1StringView("urn:oasis:names:tc:opendocument:xmlns:form:1.0")},
    {QLatin1StringView("script"), QLatin1StringView("urn:oasis:names:tc:opendocument:xmlns:script:1.0")},
    {QLatin1StringView("ooo"), QLatin1StringView("http://openoffice.org/2004/office")},
    {QLatin1StringView("ooow"), QLatin1StringView("http://openoffice.org/2004/writer")},
    {QLatin1StringView("oooc"), QLatin1StringView("http://openoffice.org/2004/calc")},
    {QLatin1StringView("dom"), QLatin1StringView("http://www.w3.org/2001/xml-events")},
    {QLatin1StringView("xforms"), QLatin1StringView("http://www.w3.org/2002/xforms")},
    {QLatin1StringView("xsd"), QLatin1StringView("http://www.w3.org/2001/XMLSchema")},
    {QLatin1StringView("xsi"), QLatin1StringView("http://www.w3.org/2001/XMLSchema-instance")},
    {QLatin1StringView("rpt"), QLatin1StringView("http://openoffice.org/2005/report")},
    {QLatin1StringView("of"), QLatin1StringView("urn:oasis:names:tc:opendocument:xmlns:of:1.2")},
    {QLatin1StringView("xhtml"), QLatin1StringView("http://www.w3.org/1999/xhtml")},
    {QLatin1StringView("grddl"), QLatin1StringView("http://www.w3.org/2003/g/data-view#")},
    {QLatin1StringView("officeooo"), QLatin1StringView("http://openoffice.org/2009/office")},
    {QLatin1StringView("tableooo"), QLatin1StringView("http://openoffice.org/2009/table")},
    {QLatin1StringView("drawooo"), QLatin1StringView("http://openoffice.org/2010/draw")},
    {QLatin1StringView("calcext"), QLatin1StringView("urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0")},
    {QLatin1StringView("loext"), QLatin1StringView("urn:org:documentfoundation:names:experimental:office:xmlns:loext:1.0")},
    {QLatin1StringView("field"), QLatin1StringView("urn:openoffice:names:experimental:ooo-ms-interop:xmlns:field:1.0")},
    {QLatin1StringView("formx"), QLatin1StringView("urn:openoffice:names:experimental:ooxml-odf-interop:xmlns:form:1.0")},
    {QLatin1StringView("css3t"), QLatin1StringView("http://www.w3.org/TR/css3-text/")},
    {QLatin1StringView("manifest"), QLatin1StringView("urn:oasis:names:tc:opendocument:xmlns:manifest:1.0")},
    {QLatin1StringView("xml"), QLatin1StringView("http://www.w3.org/XML/1998/namespace")},
};

inline QLatin1StringView uri(Ns ns) { return kAll[ns].uri; }
inline QLatin1StringView prefix(Ns ns) { return kAll[ns].prefix; }

// The namespace of a name, Other for one this table does not know.
inline Ns of(QStringView uri)
{
    // Most names are of the first few namespaces; they all differ before their last characters.
    for (int i = 0; i < kCount; ++i)
        if (kAll[i].uri.size() == uri.size() && kAll[i].uri == uri)
            return Ns(i);
    return Other;
}

// The namespace a prefix of ours stands for, Other for any other prefix.
inline Ns byPrefix(QStringView prefix)
{
    for (int i = 0; i < kCount; ++i)
        if (kAll[i].prefix.size() == prefix.size() && kAll[i].prefix == prefix)
            return Ns(i);
    return Other;
}

// The xmlns attributes of every namespace above but xml's, for the root element of a part.
inline QString declarations()
{
    QString out;
    for (int i = 0; i < kCount; ++i) {
        if (i == Xml)
            continue;
        out += QLatin1StringView(" xmlns:") + kAll[i].prefix + QLatin1StringView("=\"") + kAll[i].uri
             + QLatin1Char('"');
    }
    return out;
}

} // namespace OdtNamespaces
