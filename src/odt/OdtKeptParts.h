#pragma once
#include <QLatin1StringView>

// What an OpenDocument file holds for a save in the same format beyond the model, kept in
// DocumentExtras::formatKept(kFormat) as a QVariantMap with these keys:
namespace OdtKeptParts {

constexpr QLatin1StringView kFormat("odt");
// XML of styles.xml's office:styles (the common styles), written back as it was while the
// document's styles are the ones read.
constexpr QLatin1StringView kCommonStyles("commonStyles");
// The names of those styles (QStringList of display names), to tell whether they changed.
constexpr QLatin1StringView kStyleNames("styleNames");
// QVariantMap: display name -> style:name of each common style.
constexpr QLatin1StringView kStyleIds("styleIds");
// XML of the font faces of both parts, one after the other.
constexpr QLatin1StringView kFontFaces("fontFaces");
// XML of styles.xml's automatic styles and master pages, written back while the page set-up and
// the headers and footers are the ones read (kPagesFingerprint).
constexpr QLatin1StringView kPageStyles("pageStyles");
constexpr QLatin1StringView kMasterStyles("masterStyles");
constexpr QLatin1StringView kPagesFingerprint("pagesFingerprint");
// The master page the first paragraph named.
constexpr QLatin1StringView kFirstMaster("firstMaster");
// XML of content.xml's automatic styles: kept elements name them.
constexpr QLatin1StringView kContentStyles("contentStyles");
// XML that stood in the body before its first paragraph (declarations, tracked changes, forms).
constexpr QLatin1StringView kBodyProlog("bodyProlog");
// XML that stood in the body after its last paragraph.
constexpr QLatin1StringView kBodyEpilog("bodyEpilog");
// XML of meta.xml's elements the document information does not hold.
constexpr QLatin1StringView kMeta("meta");
// QVariantList of QVariantMaps {path, mediaType, bytes}: the package's other parts (settings,
// embedded objects, pictures of kept drawings), written back as they were.
constexpr QLatin1StringView kEntries("entries");

} // namespace OdtKeptParts
