#pragma once
#include "docx/DocxPropertyList.h"

class QTextBlockFormat;
class QTextCharFormat;

// The w:rPr and w:pPr of formats: what a run or paragraph gives beyond what its styles give
// (`base`), both ways (a run that is not bold in a bold style says so), with the properties kept
// from the file.
namespace DocxPropertyWriter {

DocxPropertyList runProperties(const QTextCharFormat &f, const QTextCharFormat &base, bool withKept);
// `all`: every property the format sets (a style's definition), whatever the base.
DocxPropertyList paragraphProperties(const QTextBlockFormat &f, const QTextBlockFormat &base, bool all);

QString twips(double pixels);

} // namespace DocxPropertyWriter
