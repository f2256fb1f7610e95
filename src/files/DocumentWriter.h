#pragma once
#include "files/DocumentFormat.h"

#include <QByteArray>
#include <QString>

class RichTextBox;

// Writes documents whole or not at all: the bytes go to a temporary file beside the target, which
// replaces the target only once all of them are on disk. A write that fails or is cut short leaves
// the previous file as it was. Failures throw Failure, `Cannot save "path": reason`.
class DocumentWriter
{
public:
    static void writeFile(const QString &path, const QByteArray &bytes);
    // The surface's document in the given format: rich text through the surface's SaveFile, plain
    // text as its Text followed by one line end.
    static void write(const RichTextBox &surface, const QString &path, DocumentFormat::Format format);
};
