#pragma once
#include <QString>

struct DocumentStyle;
class DocumentExtras;

// What the RTF model needs of styles and pages read from OpenDocument.
namespace OdtStyleRtf {

// A style's RTF stylesheet entry as kept RTF (DocumentStyle::definition), made from its number,
// bases and resolved formats, so that the document saved as RTF keeps its styles.
QString definition(const DocumentStyle &style);

// A digest of the page set-up, headers and footers, to tell whether they changed since reading.
QString pagesFingerprint(const DocumentExtras &extras);

} // namespace OdtStyleRtf
