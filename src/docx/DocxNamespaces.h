#pragma once
#include <QString>
#include <QStringView>

// The XML namespaces of Word packages, transitional and Strict alike: a reader asks which one an
// element is in, and Strict's names come out as their transitional counterparts. Kept XML and
// written XML use the transitional names with the usual prefixes.
namespace DocxNamespaces {

enum Ns : quint8 {
    Other,
    W,   // wordprocessingml main
    R,   // relationships in the main part
    WP,  // wordprocessingDrawing
    A,   // drawingml main
    Pic, // drawingml picture
    M,   // math
    MC,  // markup compatibility
    V,   // VML
    O,   // VML office
    W10,
    WPS,
    WPG,
    WPC,
    W14,
    W15,
    WP14,
    A14,
    C,   // chart
    DGM, // diagram
    WNE,
    WPI,
    W16SE,
    W16CID,
    W16,
    W16CEX,
    W16SDTDH,
    W16DU,
    PackageRels,  // _rels/*.rels
    ContentTypes, // [Content_Types].xml
    CP,           // core properties
    DC,
    DCTerms,
    XSI,
    EP,           // extended properties
    VT,
    Xml,          // the xml: prefix
    Count
};

Ns of(QStringView uri);
// The transitional URI and the usual prefix; empty for Other.
QString uri(Ns ns);
QString prefix(Ns ns);
// Namespaces that Word may ignore (mc:Ignorable of written parts).
bool isIgnorable(Ns ns);
// Whether the URI is a Strict one (the document is written as transitional).
bool isStrict(QStringView uri);

// The last part of a relationship type, whichever schema names it: "officeDocument", "styles",
// "image", "core-properties" ...
QString relationshipKind(QStringView type);
// The transitional relationship type of a kind.
QString relationshipType(QStringView kind);

} // namespace DocxNamespaces
