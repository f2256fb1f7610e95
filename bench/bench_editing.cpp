// Editing a long document: Select All (which must not write the document out as RTF just to learn
// a length), Copy and Paste of the whole of it, and printing all of it into a PDF file, without and
// with the progress dialog. Times are wall-clock and, since the machine may be shared, the
// process's processor time too. Run by hand under QT_QPA_PLATFORM=offscreen:
//   bench_editing FILE.rtf
#include "BenchDocument.h"
#include "app/MainFrame.h"
#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "editing/PrintProgressDialog.h"
#include "editing/PrinterPage.h"
#include "QuietDialogs.h"
#include "platform/Dialogs.h"
#include "platform/Failure.h"
#include "workspace/Services.h"
#include "platform/SettingsStore.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMimeData>
#include <QPrinter>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>

namespace {

double ms(const QElapsedTimer &timer) { return timer.nsecsElapsed() / 1e6; }

double processorMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Prints the whole document into a PDF file, with the progress dialog when given a parent.
void timePrint(RichTextBox &box, const QString &pdf, QWidget *progressParent)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    PrinterPage::applySetup(printer, *box.document()); // as the Print command starts the printer
    box.setSelectionStart(0);
    QElapsedTimer timer;
    timer.start();
    const double processor = processorMs();
    DocumentPrinter::Result result;
    if (progressParent) {
        PrintProgressDialog progress(progressParent);
        result = box.printSelection(printer, &progress);
    } else {
        result = box.printSelection(printer);
    }
    std::printf("print the whole document to PDF%s: %.0f ms, processor %.0f ms (%d pages, %lld bytes)\n",
                progressParent ? " with the progress dialog" : "", ms(timer), processorMs() - processor,
                result.pagesPrinted, qlonglong(QFileInfo(pdf).size()));
}

} // namespace

int main(int argc, char **argv)
{
    const QString path = benchDocument(argc, argv, "bench_editing FILE.rtf");
    if (path.isEmpty())
        return 2;
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QuietDialogs dialogs;
    SettingsStore settings(QStringLiteral("bench_editing"), dir.path());
    Services services{dialogs, settings, AppFolder({dir.path()}), [] { return 1u; }};
    MainFrame frame(services);
    frame.resize(1280, 800);
    frame.show();
    QCoreApplication::processEvents();

    RichTextBox &box = *frame.currentDocument().surface;
    QElapsedTimer timer;
    timer.start();
    if (!stopAtFirstFailure([&] { box.loadFile(path, RichTextBox::RichText); })) {
        std::printf("cannot read %s\n", qPrintable(path));
        return 1;
    }
    QCoreApplication::processEvents();
    std::printf("loaded %s: %d paragraphs, %d characters, %.0f ms\n", qPrintable(path), box.document()->blockCount(),
                box.characterCount(), ms(timer));

    timer.restart();
    frame.menuItem(QStringLiteral("seall"))->trigger();
    const double selectAll = ms(timer);
    timer.restart();
    const qsizetype rtfLength = box.rtf().size();
    std::printf("Select All: %.1f ms (%d selected); learning the RTF length instead: %.0f ms (%lld bytes)\n",
                selectAll, box.selectionLength(), ms(timer), qlonglong(rtfLength));

    timer.restart();
    frame.menuItem(QStringLiteral("copy"))->trigger();
    std::printf("Copy: %.0f ms\n", ms(timer));
    timer.restart();
    const qsizetype copiedRtf = QGuiApplication::clipboard()->mimeData()->data(QStringLiteral("text/rtf")).size();
    std::printf("the copy as RTF, made when another program asks: %.0f ms (%lld bytes)\n", ms(timer), qlonglong(copiedRtf));

    // The caret goes back to the start first: a focus change with the whole document selected has
    // Qt lay out all of it to repaint the selection, which is timed below on its own.
    box.setSelectionStart(0);
    frame.newDocument();
    RichTextBox &second = *frame.currentDocument().surface;
    timer.restart();
    frame.menuItem(QStringLiteral("paste"))->trigger();
    std::printf("Paste into a new document: %.0f ms (%d characters)\n", ms(timer), second.characterCount());

    timePrint(box, dir.filePath(QStringLiteral("all.pdf")), nullptr);
    timePrint(box, dir.filePath(QStringLiteral("all-with-progress.pdf")), &frame);

    for (DocumentWindow *form : frame.documents())
        form->doc = 0;
    return 0;
}
