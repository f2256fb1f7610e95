#pragma once
#include <QByteArray>
#include <QString>

struct DocumentStyle;
class QTextCharFormat;

// RTF for what Word documents carry, so that the parts the program keeps as RTF (headers,
// footers, notes) and a save as RTF see the same: a style's stylesheet entry, text as RTF.
namespace DocxStyleRtf {

// A style's entry for an RTF stylesheet, as kept RTF (DocumentStyle::definition), giving all of
// its formatting; empty for the kinds RTF cannot hold.
QString definition(const DocumentStyle &style);

// Kept RTF of a field group without its result ({\field{\*\fldinst INSTRUCTION}}), for
// TextFormats::kFieldsProperty.
QString field(const QString &instruction, const QString &id);
// Kept RTF of a bookmark's start or end, for TextFormats::kKeptRtfProperty.
QString bookmark(const QString &name, bool start, const QString &id);
// A comment (its author, initials and text), kept as an RTF annotation where its reference stood.
QString annotation(const QString &author, const QString &initials, const QString &text, const QString &id);
// Hidden text, kept as RTF where it stood ({\v ...}).
QString hidden(const QString &text, const QString &id);

} // namespace DocxStyleRtf
