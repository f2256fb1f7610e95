#include "content/DocumentPrinter.h"
#include "content/Endnotes.h"
#include "content/PageDecorations.h"
#include "content/PagedDocument.h"
#include "content/PrintProgress.h"
#include "platform/Failure.h"
#include "rtf/DocumentExtras.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>

namespace {

Failure cannotPrint(const QString &deviceName, const QString &reason = {})
{
    QString message = QStringLiteral("Cannot print to \"%1\"").arg(deviceName);
    if (!reason.isEmpty())
        message += QStringLiteral(": ") + reason;
    return Failure(message);
}

} // namespace

DocumentPrinter::Result DocumentPrinter::print(QTextDocument &doc, QPagedPaintDevice &device, const QString &deviceName,
                                               const Job &job)
{
    const DocumentExtras *extras = DocumentExtras::find(doc);
    const PageGeometry geometry = PageGeometry::of(device, extras ? extras->pageSetup() : std::nullopt);
    QPainter painter;
    if (!painter.begin(&device))
        throw cannotPrint(deviceName);
    Endnotes::append(doc);
    const PagedDocument pages(doc, geometry, device);
    const PageDecorations decorations(doc, device);
    Result result;
    result.pageCount = pages.pageCount();
    for (int page = 0; page < pages.pageCount(); ++page) {
        if (job.progress && !job.progress->beforePage(page + 1, pages.pageCount())) {
            result.cancelled = true;
            result.discarded = job.abort && job.abort();
            break;
        }
        if (page > 0 && !device.newPage())
            throw cannotPrint(deviceName);
        pages.drawBody(painter, page);
        pages.drawFootnotes(painter, page);
        decorations.draw(painter, geometry, page + 1, pages.pageCount());
        if (job.decorations)
            job.decorations(painter, geometry, page + 1, pages.pageCount());
        ++result.pagesPrinted;
    }
    if (!painter.end() && !result.cancelled)
        throw cannotPrint(deviceName);
    return result;
}

DocumentPrinter::Result DocumentPrinter::printToPdfFile(QTextDocument &doc, const QString &path,
                                                        const QPageLayout &layout, int resolution, const Job &job)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw cannotPrint(path, file.errorString());
    QPdfWriter pdf(&file);
    pdf.setResolution(resolution);
    pdf.setPageLayout(layout);
    Job fileJob = job;
    fileJob.abort = [] { return true; }; // the file is not committed
    const Result result = print(doc, pdf, path, fileJob);
    if (!result.cancelled && !file.commit())
        throw cannotPrint(path, file.errorString());
    return result;
}

bool DocumentPrinter::paintsPreview(const QPaintDevice &device)
{
    const QPaintEngine *engine = device.paintEngine();
    return engine && engine->type() == QPaintEngine::Picture;
}
