#pragma once
#include <QString>
#include <QStringView>

// Text that XML can hold: what a file spells with \uN may be a control character or half of a
// surrogate pair, which no Word or OpenDocument file may contain.
namespace SafeText {

// The text without C0 controls (but tab, line feed and carriage return), lone surrogate halves
// and the non-characters U+FFFE and U+FFFF.
QString printable(QStringView text);

} // namespace SafeText
