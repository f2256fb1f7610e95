#pragma once
#include "content/PageGeometry.h"

#include <functional>

class PrintProgress;
class QPageLayout;
class QPagedPaintDevice;
class QPaintDevice;
class QPainter;
class QString;
class QTextDocument;

// Prints a document page after page, in these steps:
//   the page geometry: the device's paper with margins of one inch, or the device's page when the
//   document has a page set-up of its own (PageGeometry);
//   the endnotes added after the body (Endnotes);
//   the body laid out into pages, with wide tables and pictures fitted to it and room made for the
//   footnotes at the foot of their pages (PagedDocument);
//   for each page: the progress is told and may stop the job, the page's slice of the body is
//   drawn, its footnotes, its header and footer (PageDecorations), then the job's decorations.
// The document is changed and laid out again for the printer: print a copy, with its
// DocumentExtras. No background is printed, and text without a colour of its own prints black.
class DocumentPrinter
{
public:
    // Draws what else belongs to one page. Pages count from 1.
    using Decorations = std::function<void(QPainter &, const PageGeometry &, int page, int pageCount)>;

    struct Job {
        PrintProgress *progress = nullptr;
        Decorations decorations;
        // Called when the progress stops the job, before the device is closed; true when the
        // device has dropped the pages it was given (a printer that could abort its job).
        std::function<bool()> abort;
    };

    struct Result {
        int pageCount = 0;
        int pagesPrinted = 0;
        bool cancelled = false;
        bool discarded = false; // cancelled, and none of the pages reached the printer or the file
    };

    // Throws Failure naming the device when it cannot be opened or a page cannot be started.
    static Result print(QTextDocument &doc, QPagedPaintDevice &device, const QString &deviceName, const Job &job);

    // Prints into a PDF file, which appears only once every page is in it: a job that is stopped
    // or fails leaves whatever was at the path before. Throws Failure naming the file when it
    // cannot be written.
    static Result printToPdfFile(QTextDocument &doc, const QString &path, const QPageLayout &layout, int resolution,
                                 const Job &job);

    // A print preview has the printer draw its pages into pictures: no file is written then.
    static bool paintsPreview(const QPaintDevice &device);
};
