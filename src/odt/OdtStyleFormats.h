#pragma once
#include "odt/OdtStyleSheet.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextTableCellFormat>
#include <QTextTableFormat>

// Turns OpenDocument formatting properties into Qt's formats, and tells which properties the
// program does not show, to keep them.
namespace OdtStyleFormats {

using Properties = OdtStyleSheet::Properties;

// Text properties as a character format: font (by name, through the font faces, or by family),
// size, weight, slant, underline, strike-through, colour, highlight, position, capitals, spacing.
QTextCharFormat charFormat(const Properties &text, const OdtStyleSheet &sheet);
// text:display="none".
bool isHidden(const Properties &text);
// Paragraph properties as a block format: alignment, margins and indent, spacing, line height,
// breaks, direction, keeping lines together, background, tab stops.
QTextBlockFormat blockFormat(const Properties &paragraph, const QList<QTextOption::Tab> &tabs);
// Cell properties on a cell format: borders, padding, shading, vertical alignment.
void applyCell(const Properties &cell, QTextTableCellFormat &format);

// The properties of `props` (of the given kind) the program does not show, as XML attribute text
// (name="value" ...), sorted; editing marks (rsids) are left out.
QString unshown(const Properties &props, OdtStyleSheet::Kind kind);
// The attributes of XML attribute text, as unshown() makes it.
Properties parseAttributes(const QString &text);

} // namespace OdtStyleFormats
