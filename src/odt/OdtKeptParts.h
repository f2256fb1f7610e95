#pragma once
#include <QLatin1StringView>

// What an OpenDocument file holds for a save in the same format beyond the model, kept in
// DocumentExtras::formatKept(kFormat) as a QVariantMap with these keys:
namespace OdtKeptParts {

constexpr QLatin1StringView kFormat("odt");
// The file as it was read (QByteArray, a package or a flat file; kFlat says which): its styles,
// master pages, automatic styles, font faces and other parts are taken from it when the document
// is saved as OpenDocument again (OdtKeptSource).
constexpr QLatin1StringView kSource("source");
constexpr QLatin1StringView kFlat("flat");
// The names of the document's styles when it was read (QStringList): while they are the same, the
// file's common styles are written back as they were.
constexpr QLatin1StringView kStyleNames("styleNames");
// QVariantMap: display name -> style:name of each common style.
constexpr QLatin1StringView kStyleIds("styleIds");
// A digest of the page set-up, headers and footers read: while they are the same, the file's page
// layouts and master pages are written back as they were.
constexpr QLatin1StringView kPagesFingerprint("pagesFingerprint");
// The master page the first paragraph named.
constexpr QLatin1StringView kFirstMaster("firstMaster");
// XML that stood in the body before its first paragraph (declarations, tracked changes, forms).
constexpr QLatin1StringView kBodyProlog("bodyProlog");
// XML that stood in the body after its last paragraph.
constexpr QLatin1StringView kBodyEpilog("bodyEpilog");
// XML of meta.xml's elements the document information does not hold.
constexpr QLatin1StringView kMeta("meta");

} // namespace OdtKeptParts
