// What a document's own page brings to printing: its paper and margins, headers and footers with
// the page numbers filled in, footnotes at the foot of their mark's page, endnotes at the end.
#include "support/PdfFiles.h"

#include "content/PageGeometry.h"
#include "document/RichTextBox.h"
#include "editing/PrintCommand.h"
#include "editing/PrinterPage.h"
#include "rtf/DocumentExtras.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QPdfWriter>
#include <QPrinter>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A paragraph of words named after it ("p3w0x p3w1x ..."), a footnote after its last word when given.
QString paragraph(int index, int words, const QString &footnote = {})
{
    QStringList text;
    for (int word = 0; word < words; ++word)
        text << QStringLiteral("p%1w%2x").arg(index).arg(word);
    QString rtf = QStringLiteral("\\pard\\plain ") + text.join(u' ');
    if (!footnote.isEmpty())
        rtf += QStringLiteral("{\\super\\chftn{\\footnote\\pard\\plain{\\super\\chftn} %1}}").arg(footnote);
    return rtf + QStringLiteral("\\par\n");
}

// Landscape A5-like paper with half-inch side margins, a header with page numbers and a footer.
QString document(const QString &body)
{
    return QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Liberation Serif;}}"
                          "\\paperw11906\\paperh8391\\margl720\\margr720\\margt1440\\margb1440\\landscape\n"
                          "{\\header\\pard\\plain Page {\\field{\\*\\fldinst PAGE}{\\fldrslt 1}} of "
                          "{\\field{\\*\\fldinst NUMPAGES}{\\fldrslt 1}}\\par}\n"
                          "{\\footer\\pard\\plain Footer text\\par}\n")
        + body + u'}';
}

// The words of the body ("p…w…x", a note's mark may follow) in the order they print.
QStringList bodyWords(const QString &text)
{
    static const QRegularExpression word(QStringLiteral("\\bp\\d+w\\d+x"));
    QStringList words;
    for (auto it = word.globalMatch(text); it.hasNext();)
        words << it.next().captured();
    return words;
}

// The words without repeats. The last line of a page is also drawn, clipped away, at the top of
// the next when a paragraph goes on there: the PDF's text has it twice.
QStringList firstOccurrences(const QStringList &words)
{
    QStringList once;
    QSet<QString> seen;
    for (const QString &word : words)
        if (!seen.contains(word)) {
            seen.insert(word);
            once << word;
        }
    return once;
}

} // namespace

class PrintPagesTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    // The pages' text of the document printed into a PDF the way --convert-to pdf does.
    QStringList printed(const QString &rtf, const QString &name)
    {
        const QString path = m_dir.filePath(name + QStringLiteral(".rtf"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(rtf.toLatin1()) < 0)
            return {};
        file.close();
        RichTextBox box;
        box.loadFile(path, RichTextBox::RichText);
        const QString pdf = m_dir.filePath(name + QStringLiteral(".pdf"));
        PrintCommand::printWholeDocumentToPdf(box, pdf);
        m_pdf = pdf;
        return PdfFiles::pages(pdf);
    }
    QString m_pdf;

private slots:
    void geometryComesFromTheSetUpOrStaysAsBefore()
    {
        PageSetup setup;
        setup.paperWidth = 11906;
        setup.paperHeight = 8391;
        setup.marginLeft = setup.marginRight = 720;
        setup.marginTop = 1000;
        setup.marginBottom = 1200;
        setup.headerDistance = 400;
        setup.footerDistance = 500;
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setResolution(1440); // a pixel is a twip
        pdf.setPageLayout(setup.pageLayout());
        const PageGeometry page = PageGeometry::of(pdf, setup);
        QVERIFY(page.paper.width() > page.paper.height());
        QVERIFY(qAbs(page.paper.width() - 11906) < 20 && qAbs(page.paper.height() - 8391) < 20);
        QCOMPARE(page.body.toRect(), page.paper.adjusted(720, 1000, -720, -1200).toRect());
        QCOMPARE(qRound(page.headerTop), qRound(page.paper.top()) + 400);
        QCOMPARE(qRound(page.footerBottom), qRound(page.paper.bottom()) - 500);

        // A header distance beyond the top margin still puts the header above the body.
        setup.headerDistance = 5000;
        QVERIFY(PageGeometry::of(pdf, setup).headerTop <= page.body.top());

        // Without a set-up: the device's paper with an inch all round, whatever its margins.
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(5, 5, 5, 5)));
        const PageGeometry plain = PageGeometry::of(pdf);
        QCOMPARE(plain.body.toRect(), PageGeometry::withMargins(plain.paper, 1440).body.toRect());
        QCOMPARE(plain.body.toRect(), QRect(1440, 1440, 12240 - 2880, 15840 - 2880));
    }

    void thePrinterStartsFromTheDocumentsPage()
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(1, 2, 3, 4)));
        const QPageLayout chosen = printer.pageLayout();
        QTextDocument own, plain;
        PageSetup setup;
        setup.paperWidth = 11906;
        setup.paperHeight = 8391;
        setup.marginLeft = 720;
        DocumentExtras::of(own).setPageSetup(setup);

        PrinterPage page;
        page.startFrom(printer, own);
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
        QCOMPARE(printer.pageLayout().margins(QPageLayout::Point).left(), 36.0);
        page.startFrom(printer, own); // twice: the user's page is still the one to go back to
        page.startFrom(printer, plain);
        QVERIFY(printer.pageLayout().isEquivalentTo(chosen));
    }

    void headersFootersAndNotesGoOnTheirPages()
    {
        QString body;
        int notes = 0;
        for (int i = 0; i < 60; ++i)
            body += i % 7 == 3 ? paragraph(i, 25, QStringLiteral("note%1 text").arg(++notes)) : paragraph(i, 25);
        body += QStringLiteral("\\pard\\plain last{\\super\\chftn{\\footnote\\ftnalt\\pard\\plain{\\super\\chftn} "
                               "endnote text}}\\par\n");
        const QStringList pages = printed(document(body), QStringLiteral("notes"));
        QVERIFY2(pages.size() >= 3, qPrintable(QString::number(pages.size())));

        QStringList words;
        for (int page = 0; page < pages.size(); ++page) {
            const QString &text = pages[page];
            QVERIFY2(text.contains(QStringLiteral("Page %1 of %2").arg(page + 1).arg(pages.size())), qPrintable(text));
            QVERIFY(text.contains(QStringLiteral("Footer text")));
            words += bodyWords(text);
        }
        // Each footnote is printed once, on the page of its mark: the last word of its paragraph.
        for (int note = 1; note <= notes; ++note) {
            const QString text = QStringLiteral("note%1 text").arg(note);
            const auto page = std::find_if(pages.begin(), pages.end(), [&](const QString &p) { return p.contains(text); });
            QVERIFY2(page != pages.end(), qPrintable(text));
            QVERIFY2(page->contains(QStringLiteral("p%1w24x").arg(3 + 7 * (note - 1))), qPrintable(*page));
            QCOMPARE(pages.join(u' ').count(text), 1);
        }
        QStringList expected;
        for (int i = 0; i < 60; ++i)
            expected += bodyWords(paragraph(i, 25));
        QCOMPARE(firstOccurrences(words), expected); // every word, in order: none under the notes

        const QString &last = pages.constLast();
        QVERIFY(last.indexOf(QStringLiteral("endnote text")) > last.indexOf(QStringLiteral("last")));
        QCOMPARE(pages.join(u' ').count(QStringLiteral("endnote text")), 1);
        const QList<PdfFiles::Word> placed = PdfFiles::words(m_pdf);
        QVERIFY(!placed.isEmpty());
        QVERIFY(qAbs(placed.first().pageWidth - 595) < 2); // the document's paper, turned
    }

    void aNoteTallerThanAPageIsCutAndPrintingGoesOn()
    {
        QStringList tall;
        for (int word = 0; word < 3000; ++word)
            tall << QStringLiteral("long%1").arg(word);
        QString body = paragraph(0, 5, tall.join(u' '));
        for (int i = 1; i < 30; ++i)
            body += paragraph(i, 25);
        const QStringList pages = printed(document(body), QStringLiteral("tall"));
        QVERIFY(pages.size() >= 2);
        QVERIFY(pages[0].contains(QStringLiteral("long0")));
        QVERIFY(!pages.join(u' ').contains(QStringLiteral("long2999")));
        QStringList expected;
        for (int i = 0; i < 30; ++i)
            expected += bodyWords(paragraph(i, i == 0 ? 5 : 25));
        QCOMPARE(firstOccurrences(bodyWords(pages.join(u' '))), expected);
    }
};

QTEST_MAIN(PrintPagesTest)
#include "tst_printpages.moc"
