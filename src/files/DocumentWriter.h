#pragma once
#include "content/DocumentFormat.h"

#include <QString>

class RichTextBox;

// Writes a surface's document whole or not at all (see WholeFile). Failures throw Failure,
// `Cannot save "path": reason`.
class DocumentWriter
{
public:
    // The surface's document in the given format: rich text through the surface's saveFile, Word
    // and OpenDocument as packages, plain text as its Text followed by one line end.
    static void write(const RichTextBox &surface, const QString &path, DocumentFormat::Format format);
};
