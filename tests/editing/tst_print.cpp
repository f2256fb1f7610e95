// Printing: the warning, the print dialog, and what reaches the page (read back from a PDF).
#include "support/FrameFixture.h"
#include "support/PdfFiles.h"

#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "editing/PrintCommand.h"
#include "platform/DialogFlags.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QProgressBar>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QTest>
#include <QTextTable>

using PdfFiles::printerTo;

namespace {

// Enough numbered lines for several pages.
QString numberedLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << QStringLiteral("line %1").arg(i);
    return lines.join('\n');
}

// Clicks Cancel in the print progress dialog while the page before `page` prints (the click is
// taken before `page` starts), and notes what the dialog says before each page.
class CancelBeforePage : public QObject
{
public:
    explicit CancelBeforePage(int page) : m_page(page) { qApp->installEventFilter(this); }
    QStringList labels;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *dialog = qobject_cast<QProgressDialog *>(watched);
        if (dialog && event->type() == QEvent::Show && dialog->objectName() == "printProgress")
            connect(dialog->findChild<QProgressBar *>(), &QProgressBar::valueChanged, dialog, [this, dialog](int done) {
                labels << dialog->labelText();
                if (done + 1 == m_page)
                    dialog->cancel();
            });
        return false;
    }

private:
    int m_page;
};

QTextTable *firstTable(const QTextDocument &doc)
{
    for (QTextFrame *frame : doc.rootFrame()->childFrames())
        if (auto *table = qobject_cast<QTextTable *>(frame))
            return table;
    return nullptr;
}

} // namespace

class PrintTest : public QObject
{
    Q_OBJECT

    // "first line" and "second line" in two paragraphs.
    RichTextBox &prepare(FrameFixture &f)
    {
        f.start();
        RichTextBox &box = f.surface();
        box.setSelectionText("first line\nsecond line");
        return box;
    }

private slots:
    void selectionAloneOrTheWholeDocument()
    {
        FrameFixture f;
        RichTextBox &box = prepare(f);
        box.setSelectionStart(11);
        box.setSelectionLength(6);
        const QString selection = f.path("selection.pdf");
        f.dialogs.answerMessage(Dialogs::Answer::Retry);
        f.dialogs.answerPrint(true, printerTo(selection));
        f.trigger("print");

        const Dialogs::Message warning = f.dialogs.messages().constFirst();
        QCOMPARE(warning.text, QStringLiteral("Warning : Using other color instead of white won't make printing with background."));
        QCOMPARE(warning.title, QStringLiteral("Scrivlo"));
        QCOMPARE(warning.buttons, Dialogs::Buttons::AbortRetryIgnore);
        QCOMPARE(warning.icon, Dialogs::Icon::Information);
        QCOMPARE(f.dialogs.lastAsk().print.title, QStringLiteral("Printer Setup"));
        QCOMPARE(f.dialogs.lastAsk().print.flags, 265);
        QStringList pages = PdfFiles::pages(selection);
        QCOMPARE(pages.size(), 1);
        QCOMPARE(pages[0].simplified(), QStringLiteral("second"));

        box.setSelectionStart(0);
        const QString whole = f.path("whole.pdf");
        f.dialogs.answerMessage(Dialogs::Answer::Ignore);
        f.dialogs.answerPrint(true, printerTo(whole));
        f.frame->menuItem("print_setup")->trigger();
        QCOMPARE(f.dialogs.lastAsk().print.flags, 264);
        pages = PdfFiles::pages(whole);
        QCOMPARE(pages.size(), 1);
        QCOMPARE(pages[0].simplified(), QStringLiteral("first line second line"));
        QCOMPARE(box.text(), QStringLiteral("first line\r\nsecond line"));
    }

    void abortCancelOrNoDocumentPrintNothing()
    {
        FrameFixture f;
        prepare(f);
        f.dialogs.answerMessage(Dialogs::Answer::Abort);
        f.trigger("print");
        QCOMPARE(f.dialogs.asks().size(), 1); // no print dialog

        const QString cancelled = f.path("cancelled.pdf");
        f.dialogs.answerMessage(Dialogs::Answer::Retry);
        f.dialogs.answerPrint(false, printerTo(cancelled));
        f.trigger("print");
        QCOMPARE(f.dialogs.asks().size(), 3);
        QVERIFY(!QFile::exists(cancelled));

        f.active()->doc = 0;
        f.active()->parentWidget()->close();
        f.trigger("print");
        QCOMPARE(f.dialogs.asks().size(), 3);
    }

    void aPrinterThatCannotBeOpenedIsReported()
    {
        FrameFixture f;
        prepare(f);
        const QString nowhere = f.path("no-such-folder/out.pdf");
        f.dialogs.answerMessage(Dialogs::Answer::Ignore);
        f.dialogs.answerPrint(true, printerTo(nowhere));
        f.dialogs.answerMessage(Dialogs::Answer::OK);
        f.trigger("print");
        const Dialogs::Message report = f.dialogs.messages().constLast();
        QCOMPARE(report.icon, Dialogs::Icon::Critical);
        QVERIFY2(report.text.contains(nowhere), qPrintable(report.text));
    }

    void longDocumentsGoOverPagesWithMarginsAndNoBackground()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        QStringList lines;
        for (int i = 1; i <= 200; ++i)
            lines << QStringLiteral("line %1").arg(i);
        box.setSelectionText(lines.join('\n'));
        box.setBackColor(0x00000080); // dark red on screen only
        box.setSelectionStart(0);
        const QString pdf = f.path("long.pdf");
        PrintCommand::printWholeDocumentToPdf(box, pdf);

        const QStringList pages = PdfFiles::pages(pdf);
        QVERIFY2(pages.size() >= 3, qPrintable(QString::number(pages.size())));
        QString all;
        for (const QString &page : pages)
            all += page + QLatin1Char('\n');
        QCOMPARE(all.simplified(), lines.join(' ')); // every line once, none lost at a page break

        const QImage page = PdfFiles::firstPage(pdf, f.path("page"));
        QVERIFY(!page.isNull());
        // The paper is white where the surface is not, and an inch of it is left on the left.
        QCOMPARE(page.pixelColor(page.width() / 2, page.height() - 3), QColor(Qt::white));
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < 18; ++x)
                QVERIFY(page.pixelColor(x, y) == QColor(Qt::white));
    }

    void picturesArePrinted()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        QImage picture(60, 40, QImage::Format_RGB32);
        picture.fill(Qt::green);
        box.setSelectionText("caption ");
        box.insertPicture(picture);
        const QString pdf = f.path("picture.pdf");
        PrintCommand::printWholeDocumentToPdf(box, pdf);
        QProcess list;
        list.start("pdfimages", {"-list", pdf});
        QVERIFY(list.waitForFinished(30000));
        const QStringList rows = QString::fromUtf8(list.readAllStandardOutput()).trimmed().split('\n');
        QCOMPARE(rows.size(), 3); // two header lines and one picture
        QVERIFY2(rows[2].simplified().split(' ').mid(3, 2) == QStringList({"60", "40"}), qPrintable(rows[2]));
    }

    void aWideTablePrintsInsideThePrintableArea()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        // Three columns of four inches each, on paper six and a half or so inches wide inside.
        box.setRtf(R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}\trowd\cellx5760\cellx11520\cellx17280 )"
                       R"(first\cell middle\cell lastcolumn\cell\row})");
        const QList<QTextLength> onScreen = firstTable(*box.document())->format().columnWidthConstraints();
        const QString pdf = f.path("wide.pdf");
        PrintCommand::printWholeDocumentToPdf(box, pdf);

        const QList<PdfFiles::Word> words = PdfFiles::words(pdf);
        const auto last = std::find_if(words.begin(), words.end(), [](const PdfFiles::Word &w) { return w.text == "lastcolumn"; });
        QVERIFY(last != words.end());
        QVERIFY2(last->right <= last->pageWidth - 72 + 0.5, qPrintable(QString::number(last->right)));
        QCOMPARE(firstTable(*box.document())->format().columnWidthConstraints(), onScreen);
    }

    void cancelInTheProgressDialogLeavesTheFileAsItWas()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        box.setSelectionText(numberedLines(400));
        box.setSelectionStart(0);
        const QString pdf = f.writeFile("cancelled.pdf", "the file that was there");
        CancelBeforePage cancel(3);
        f.dialogs.answerMessage(Dialogs::Answer::Ignore);
        f.dialogs.answerPrint(true, printerTo(pdf));
        f.dialogs.answerMessage(Dialogs::Answer::OK);
        f.trigger("print");

        QCOMPARE(cancel.labels.size(), 3);
        QVERIFY2(QRegularExpression("^Printing page 1 of ([4-9]|\\d\\d+)$").match(cancel.labels[0]).hasMatch(),
                 qPrintable(cancel.labels[0]));
        QVERIFY(cancel.labels[2].startsWith("Printing page 3 of "));
        const Dialogs::Message told = f.dialogs.messages().constLast();
        QCOMPARE(told.text, QStringLiteral("Printing was cancelled. Nothing was printed."));
        QCOMPARE(told.title, QStringLiteral("Scrivlo"));
        QCOMPARE(told.icon, Dialogs::Icon::Information);
        QCOMPARE(FrameFixture::readFile(pdf), QByteArray("the file that was there"));
        QCOMPARE(QDir(f.dir.path()).entryList({"*cancelled*"}, QDir::Files | QDir::Hidden), QStringList{"cancelled.pdf"});
        QCOMPARE(f.dialogs.unusedAnswers(), 0);
    }

    void previewShowsThePagesThatPrintAndPrintsFromThere()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        box.setSelectionText(numberedLines(400));
        box.setSelectionStart(0);
        const QString pdf = f.path("from-preview.pdf");
        int previewPages = -1;
        QTimer::singleShot(0, this, [&] {
            auto *preview = f.frame->findChild<QPrintPreviewDialog *>("printPreview");
            if (!preview) {
                if (QWidget *modal = QApplication::activeModalWidget())
                    modal->close(); // whatever came instead, so that the test ends
                return;
            }
            previewPages = preview->findChild<QPrintPreviewWidget *>()->pageCount();
            QPrinter printer(QPrinter::HighResolution); // as its Print button would, after the print dialog
            printerTo(pdf)(printer);
            emit preview->paintRequested(&printer);
            preview->reject();
        });
        f.trigger("printpreview");

        QVERIFY2(previewPages > 3, qPrintable(QString::number(previewPages)));
        QCOMPARE(PdfFiles::pages(pdf).size(), previewPages);
        QVERIFY(f.dialogs.asks().isEmpty());
    }
};

QTEST_MAIN(PrintTest)
#include "tst_print.moc"
