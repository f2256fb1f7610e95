// Laying a document out on pages: what is wider than the body is fitted to it, nothing is cut off,
// a job can be stopped between pages, and on screen a wide table scrolls.
#include "content/PageGeometry.h"
#include "content/PagedDocument.h"
#include "content/PrintProgress.h"
#include "document/RichTextBox.h"
#include "support/PdfFiles.h"
#include "support/TestPictures.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QPdfWriter>
#include <QPrinter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

namespace {

QTextTable *insertTable(QTextCursor &cursor, const QList<QTextLength> &widths)
{
    QTextTableFormat format;
    format.setColumnWidthConstraints(widths);
    return cursor.insertTable(1, int(widths.size()), format);
}

QList<QTextLength> fixed(const QList<double> &widths)
{
    QList<QTextLength> lengths;
    for (double width : widths)
        lengths << QTextLength(QTextLength::FixedLength, width);
    return lengths;
}

void insertPicture(QTextDocument &doc, QTextCursor &cursor, const QString &name, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::blue);
    doc.addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.setName(name);
    cursor.insertImage(format);
}

// Stops the job before the given page, and notes every page it is told of.
class StopBefore : public PrintProgress
{
public:
    explicit StopBefore(int page) : m_page(page) {}
    bool beforePage(int page, int pageCount) override
    {
        seen << QStringLiteral("%1/%2").arg(page).arg(pageCount);
        return page != m_page;
    }
    QStringList seen;

private:
    int m_page;
};

} // namespace

class PrintLayoutTest : public QObject
{
    Q_OBJECT

    QBuffer m_pdf;
    std::unique_ptr<QPdfWriter> m_device; // a printer's resolution, paper and fonts

private slots:
    void init()
    {
        m_device.reset();
        m_pdf.close();
        m_pdf.setData({});
        m_pdf.open(QIODevice::WriteOnly);
        m_device = std::make_unique<QPdfWriter>(&m_pdf);
        m_device->setResolution(1200);
        m_device->setPageSize(QPageSize(QPageSize::Letter));
    }

    void wideTablesAndPicturesAreFittedToTheBody()
    {
        QTextDocument doc;
        QTextCursor cursor(&doc);
        QTextTable *narrow = insertTable(cursor, fixed({100, 100}));
        cursor.movePosition(QTextCursor::End);
        QTextTable *wide = insertTable(cursor, fixed({400, 400, 200}));
        QTextCursor inCell = wide->cellAt(0, 0).firstCursorPosition();
        QTextTable *nested = insertTable(inCell, fixed({100, 100}));
        cursor.movePosition(QTextCursor::End);
        insertPicture(doc, cursor, "big", QSize(1248, 400));

        const PageGeometry geometry = PageGeometry::of(*m_device);
        const PagedDocument pages(doc, geometry, *m_device);

        // Letter paper less two inches is 624 pixels at 96 per inch.
        QCOMPARE(narrow->format().columnWidthConstraints(), fixed({100, 100}));
        const QList<QTextLength> widths = wide->format().columnWidthConstraints();
        QCOMPARE(widths[0], QTextLength(QTextLength::PercentageLength, 40));
        QCOMPARE(widths[2], QTextLength(QTextLength::PercentageLength, 20));
        QCOMPARE(nested->format().columnWidthConstraints()[1], QTextLength(QTextLength::PercentageLength, 50));
        const QTextImageFormat picture = doc.lastBlock().begin().fragment().charFormat().toImageFormat();
        QCOMPARE(QSizeF(picture.width(), picture.height()), QSizeF(624, 200));

        QCOMPARE(pages.scale(), 1.0);
        const double laidOut = doc.documentLayout()->frameBoundingRect(wide).width();
        QVERIFY2(laidOut <= geometry.body.width() + 1, qPrintable(QString::number(laidOut)));
    }

    void picturesSideBySideShareTheirRow()
    {
        QTextDocument doc;
        QTextCursor cursor(&doc);
        QTextTable *table = insertTable(cursor, {QTextLength(), QTextLength(), QTextLength()});
        for (int column = 0; column < 3; ++column) {
            QTextCursor cell = table->cellAt(0, column).firstCursorPosition();
            insertPicture(doc, cell, QStringLiteral("p%1").arg(column), QSize(480, 100));
        }
        const PageGeometry geometry = PageGeometry::of(*m_device);
        const PagedDocument pages(doc, geometry, *m_device);

        double together = 0;
        for (const QTextImageFormat &picture : TestPictures::pictures(doc)) {
            QCOMPARE(picture.width() / picture.height(), 4.8);
            together += picture.width();
        }
        QVERIFY2(together > 560 && together <= 624, qPrintable(QString::number(together)));
        QCOMPARE(pages.scale(), 1.0);
    }

    void whatCannotBeNarrowedIsDrawnSmaller()
    {
        QTextDocument doc;
        QTextCursor cursor(&doc);
        // Forty columns whose padding alone is wider than the page.
        QTextTableFormat format;
        format.setCellPadding(10);
        QTextTable *table = cursor.insertTable(1, 40, format);
        const PageGeometry geometry = PageGeometry::of(*m_device);
        const PagedDocument pages(doc, geometry, *m_device);

        QVERIFY2(pages.scale() < 0.7, qPrintable(QString::number(pages.scale())));
        const double drawn = doc.documentLayout()->frameBoundingRect(table).width() * pages.scale();
        QVERIFY2(drawn <= geometry.body.width() + 1, qPrintable(QString::number(drawn)));
    }

    void aStoppedJobLeavesTheFileAsItWas()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath("out.pdf");
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("before") == 6);
        old.close();
        RichTextBox box;
        QStringList lines;
        for (int i = 0; i < 400; ++i)
            lines << QStringLiteral("line %1").arg(i);
        box.setText(lines.join('\n'));
        QPrinter printer(QPrinter::HighResolution);
        PdfFiles::printerTo(target)(printer);

        StopBefore stop(3);
        const DocumentPrinter::Result stopped = box.printSelection(printer, &stop);
        QVERIFY(stopped.cancelled && stopped.discarded);
        QCOMPARE(stopped.pagesPrinted, 2);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("before"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.pdf"});

        StopBefore never(0);
        const DocumentPrinter::Result done = box.printSelection(printer, &never);
        QVERIFY(!done.cancelled);
        QCOMPARE(done.pagesPrinted, done.pageCount);
        QCOMPARE(never.seen.size(), done.pageCount);
        QCOMPARE(never.seen.constLast(), QStringLiteral("%1/%1").arg(done.pageCount));
        QCOMPARE(PdfFiles::pages(target).size(), done.pageCount);
    }

    void aWideTableScrollsOnScreenAndTextStillWraps()
    {
        RichTextBox box;
        box.setRtf(R"({\rtf1\ansi\trowd\cellx7200\cellx14400 left\cell right\cell\row )"
                       R"(\pard a paragraph long enough to be wrapped in a narrow window, as text always is\par})");
        box.resize(400, 300);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        auto *table = qobject_cast<QTextTable *>(box.document()->rootFrame()->childFrames().constFirst());
        const QRectF tableRect = box.document()->documentLayout()->frameBoundingRect(table);
        QVERIFY(tableRect.width() >= 960);
        const double scrolled = box.horizontalScrollBar()->maximum() + box.viewport()->width();
        QVERIFY(scrolled >= tableRect.width() + 2 * box.document()->documentMargin());
        QCOMPARE(box.document()->textWidth(), double(box.viewport()->width()));
    }
};

QTEST_MAIN(PrintLayoutTest)
#include "tst_printlayout.moc"
