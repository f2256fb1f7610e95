// A document taken out in slices and put together again on another thread is the same document:
// lists that run across slices, a table, a picture, an empty last paragraph; and edits made while
// the slices are taken never give a document that mixes them up.
#include "recovery/CapturedDocument.h"
#include "recovery/DocumentCapture.h"
#include "rtf/RtfCodec.h"

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTextTable>
#include <QThread>

namespace {

// Paragraphs, two bullet lists whose items are far apart, a numbered list, a table and a picture.
void fill(QTextDocument &doc)
{
    QTextCursor cursor(&doc);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextListFormat bullets;
    bullets.setStyle(QTextListFormat::ListDisc);
    QTextList *first = nullptr;
    for (int i = 0; i < 400; ++i) {
        if (i > 0)
            cursor.insertBlock(QTextBlockFormat());
        if (i % 10 == 3) {
            if (!first)
                first = cursor.createList(bullets);
            else
                first->add(cursor.block());
        }
        cursor.insertText(QStringLiteral("Paragraph %1 with some words in it, ").arg(i));
        cursor.insertText(QStringLiteral("bold ones"), bold);
        cursor.insertText(QStringLiteral(" and plain ones."), QTextCharFormat());
        if (i == 60) {
            cursor.insertTable(2, 2);
            cursor.insertText(QStringLiteral("cell"));
            cursor.movePosition(QTextCursor::End);
        }
        if (i == 80) {
            QImage image(4, 4, QImage::Format_RGB32);
            image.fill(Qt::red);
            doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("picture:red")), image);
            QTextImageFormat picture;
            picture.setName(QStringLiteral("picture:red"));
            cursor.insertImage(picture);
        }
    }
    QTextListFormat numbers;
    numbers.setStyle(QTextListFormat::ListDecimal);
    for (int i = 0; i < 5; ++i) {
        cursor.insertBlock(QTextBlockFormat());
        if (i == 0)
            cursor.createList(numbers);
        cursor.insertText(QStringLiteral("item %1").arg(i));
    }
    cursor.insertBlock(QTextBlockFormat()); // an empty last paragraph
}

// Written out as the writer's thread does it: the copy handed over to a thread of its own.
QByteArray writtenOnAnotherThread(std::unique_ptr<CapturedDocument> captured)
{
    QByteArray written;
    std::unique_ptr<QThread> thread(QThread::create([&] {
        written = captured->encode(DocumentFormat::RichText);
        captured.reset();
    }));
    captured->document->moveToThread(thread.get());
    thread->start();
    thread->wait();
    return written;
}

} // namespace

class CaptureTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QTest::failOnWarning(QRegularExpression(QStringLiteral("thread"))); }

    // The copy keeps what the document holds beside its text too: header, page set-up, styles.
    void slicesMakeTheSameDocument()
    {
        QTextDocument doc;
        RtfCodec::read("{\\rtf1\\ansi{\\stylesheet{\\s0 Normal;}{\\s1 Quote;}}\\paperw12240\\paperh15840\\margl1800"
                       "{\\header Running head\\par}\\pard\\s1 Quoted\\par}",
                       doc);
        fill(doc);
        DocumentCapture capture(doc, 0, 200);
        while (!capture.takeSlice()) {
        }
        QVERIFY(capture.slicesTaken() > 10);
        std::unique_ptr<CapturedDocument> captured = capture.take();
        QVERIFY(captured);
        const QByteArray written = writtenOnAnotherThread(std::move(captured));
        QCOMPARE(written, RtfCodec::write(doc));
        for (const char *kept : {"Running head", "\\margl1800", "Quote;"})
            QVERIFY2(written.contains(kept), kept);

        DocumentCapture again(doc, 0, 200);
        while (!again.takeSlice()) {
        }
        QCOMPARE(again.take()->encode(DocumentFormat::PlainText), CapturedDocument::encode(doc, DocumentFormat::PlainText));
    }

    void anEmptyDocument()
    {
        QTextDocument doc;
        DocumentCapture capture(doc);
        QVERIFY(capture.takeSlice());
        QCOMPARE(capture.take()->encode(DocumentFormat::RichText), RtfCodec::write(doc));
    }

    void editsWhileTheSlicesAreTaken_data()
    {
        QTest::addColumn<int>("where"); // 0 ahead of the point reached, 1 in the part taken, 2 across
        QTest::addColumn<bool>("reported"); // a document reports its changes once it has a layout
        QTest::addColumn<bool>("copyHasIt");
        QTest::newRow("ahead") << 0 << true << true;
        QTest::newRow("in the part taken") << 1 << true << false;
        QTest::newRow("across") << 2 << true << true;
        QTest::newRow("not reported") << 1 << false << true;
    }

    // An edit ahead of the point reached is in the copy; one in the part already taken is not (that
    // part stays as it was); one across the point reached, or one the document did not report,
    // starts the capture over. Never a copy that mixes them up.
    void editsWhileTheSlicesAreTaken()
    {
        QFETCH(int, where);
        QFETCH(bool, reported);
        QFETCH(bool, copyHasIt);
        QTextDocument doc;
        if (reported)
            doc.documentLayout();
        fill(doc);
        DocumentCapture capture(doc, 0, 2000); // the first slices take the first few paragraphs
        capture.takeSlice();
        capture.takeSlice();
        const QByteArray before = RtfCodec::write(doc);
        QTextCursor cursor(&doc);
        if (where == 0) {
            cursor.movePosition(QTextCursor::End);
            cursor.insertText(QStringLiteral("typed at the end"));
        } else if (where == 1) {
            cursor.setPosition(5);
            cursor.insertText(QStringLiteral("typed at the start "));
        } else {
            cursor.select(QTextCursor::Document);
            cursor.insertText(QStringLiteral("all new"));
        }
        const QByteArray after = RtfCodec::write(doc);
        QVERIFY(before != after);
        while (!capture.takeSlice()) {
        }
        QCOMPARE(capture.take()->encode(DocumentFormat::RichText), copyHasIt ? after : before);
    }

    void aDocumentThatGoesIsAbandoned()
    {
        auto doc = std::make_unique<QTextDocument>();
        fill(*doc);
        DocumentCapture capture(*doc, 0, 200);
        QSignalSpy abandoned(&capture, &DocumentCapture::abandoned);
        capture.start();
        doc.reset();
        QVERIFY(abandoned.wait(5000));
        QVERIFY(!capture.isComplete());
    }
};

QTEST_MAIN(CaptureTest)
#include "tst_capture.moc"
