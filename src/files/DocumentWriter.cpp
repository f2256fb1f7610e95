#include "files/DocumentWriter.h"
#include "document/RichTextBox.h"
#include "files/PlainText.h"
#include "platform/Failure.h"

#include <QSaveFile>

namespace {

Failure cannotSave(const QString &path, const QString &reason)
{
    return Failure(QStringLiteral("Cannot save \"%1\": %2")
                       .arg(path, reason.isEmpty() ? QStringLiteral("Unknown error") : reason));
}

} // namespace

void DocumentWriter::writeFile(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty())
        throw cannotSave(path, QStringLiteral("No file name"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw cannotSave(path, file.errorString());
    // Without commit the temporary file is removed and the target is never touched. A short
    // write is followed by another, which fails with the reason (disk full, file too large).
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            throw cannotSave(path, file.errorString());
        done += written;
    }
    if (!file.commit())
        throw cannotSave(path, file.errorString());
}

void DocumentWriter::write(const RichTextBox &surface, const QString &path, DocumentFormat::Format format)
{
    if (format == DocumentFormat::RichText)
        surface.SaveFile(path);
    else
        writeFile(path, PlainText::encode(surface.Text()));
}
