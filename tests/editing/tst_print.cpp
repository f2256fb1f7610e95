// Printing: the warning, the print dialog, and what reaches the page (read back from a PDF).
#include "support/FrameFixture.h"

#include "document/Form3.h"
#include "document/RichTextBox.h"
#include "editing/PrintCommand.h"
#include "platform/DialogFlags.h"

#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QTest>

namespace {

// The text of a PDF file, one string per page.
QStringList pdfPages(const QString &pdf)
{
    QProcess run;
    run.start("pdftotext", {"-layout", pdf, "-"});
    if (!run.waitForFinished(30000) || run.exitCode() != 0)
        return {};
    QStringList pages = QString::fromUtf8(run.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.constLast().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// The first page of a PDF as an image, 20 pixels per inch.
QImage pdfFirstPage(const QString &pdf, const QString &prefix)
{
    QProcess run;
    run.start("pdftoppm", {"-png", "-r", "20", "-f", "1", "-l", "1", "-singlefile", pdf, prefix});
    if (!run.waitForFinished(30000) || run.exitCode() != 0)
        return {};
    return QImage(prefix + ".png");
}

std::function<void(QPrinter &)> toPdf(const QString &path)
{
    return [path](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
    };
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
        box.setSelText("first line\nsecond line");
        return box;
    }

private slots:
    void selectionAloneOrTheWholeDocument()
    {
        FrameFixture f;
        RichTextBox &box = prepare(f);
        box.setSelStart(11);
        box.setSelLength(6);
        const QString selection = f.path("selection.pdf");
        f.dialogs.answerMessage(Dialogs::Answer::Retry);
        f.dialogs.answerPrint(true, toPdf(selection));
        f.trigger("print");

        const Dialogs::Message warning = f.dialogs.messages().constFirst();
        QCOMPARE(warning.text, QStringLiteral("Warning : Using other color instead of white won't make printing with background."));
        QCOMPARE(warning.title, QStringLiteral("Scrivlo"));
        QCOMPARE(warning.buttons, Dialogs::Buttons::AbortRetryIgnore);
        QCOMPARE(warning.icon, Dialogs::Icon::Information);
        QCOMPARE(f.dialogs.lastAsk().print.title, QStringLiteral("Printer Setup"));
        QCOMPARE(f.dialogs.lastAsk().print.flags, 265);
        QStringList pages = pdfPages(selection);
        QCOMPARE(pages.size(), 1);
        QCOMPARE(pages[0].simplified(), QStringLiteral("second"));

        box.setSelStart(0);
        const QString whole = f.path("whole.pdf");
        f.dialogs.answerMessage(Dialogs::Answer::Ignore);
        f.dialogs.answerPrint(true, toPdf(whole));
        f.frame->menuItem("print_setup")->trigger();
        QCOMPARE(f.dialogs.lastAsk().print.flags, 264);
        pages = pdfPages(whole);
        QCOMPARE(pages.size(), 1);
        QCOMPARE(pages[0].simplified(), QStringLiteral("first line second line"));
        QCOMPARE(box.Text(), QStringLiteral("first line\r\nsecond line"));
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
        f.dialogs.answerPrint(false, toPdf(cancelled));
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
        f.dialogs.answerPrint(true, toPdf(nowhere));
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
        box.setSelText(lines.join('\n'));
        box.setBackColor(0x00000080); // dark red on screen only
        box.setSelStart(0);
        const QString pdf = f.path("long.pdf");
        PrintCommand::printWholeDocumentToPdf(box, pdf);

        const QStringList pages = pdfPages(pdf);
        QVERIFY2(pages.size() >= 3, qPrintable(QString::number(pages.size())));
        QString all;
        for (const QString &page : pages)
            all += page + QLatin1Char('\n');
        QCOMPARE(all.simplified(), lines.join(' ')); // every line once, none lost at a page break

        const QImage page = pdfFirstPage(pdf, f.path("page"));
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
        box.setSelText("caption ");
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
};

QTEST_MAIN(PrintTest)
#include "tst_print.moc"
