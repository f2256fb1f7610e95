#include "files/DocumentWriter.h"
#include "content/PackageDocument.h"
#include "content/PlainText.h"
#include "content/WholeFile.h"
#include "document/RichTextBox.h"

void DocumentWriter::write(const RichTextBox &surface, const QString &path, DocumentFormat::Format format)
{
    if (format == DocumentFormat::RichText)
        surface.saveFile(path);
    else if (PackageDocument::isPackage(format))
        WholeFile::write(path, PackageDocument::write(*surface.document(), format, path));
    else
        WholeFile::write(path, PlainText::encode(surface.text()));
}
