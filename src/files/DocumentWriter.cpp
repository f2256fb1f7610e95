#include "files/DocumentWriter.h"
#include "content/PlainText.h"
#include "content/WholeFile.h"
#include "document/RichTextBox.h"

void DocumentWriter::write(const RichTextBox &surface, const QString &path, DocumentFormat::Format format)
{
    if (format == DocumentFormat::RichText)
        surface.saveFile(path);
    else
        WholeFile::write(path, PlainText::encode(surface.text()));
}
