// The Insert menu: Date / Time, Pictures, Text Files and Table.
#include "support/FrameFixture.h"
#include "support/TestPictures.h"

#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "editing/InsertCommands.h"

#include <QBuffer>
#include <QClipboard>
#include <QDateTime>
#include <QGuiApplication>
#include <QMimeData>
#include <QTest>
#include <QTextBlock>
#include <QTextTable>

using namespace TestPictures;

namespace {

// RTF with its line breaks taken out, so that picture data reads as one run of hex digits.
QByteArray unbroken(QByteArray rtf)
{
    return rtf.replace("\r", "").replace("\n", "");
}

} // namespace

class InsertTest : public QObject
{
    Q_OBJECT

    // A document holding "keep this" with "this" selected, and text on the clipboard.
    RichTextBox &prepare(FrameFixture &f)
    {
        f.start();
        RichTextBox &box = f.surface();
        box.setSelectionText("keep this");
        box.setSelectionStart(5);
        box.setSelectionLength(4);
        QGuiApplication::clipboard()->setText("clipboard text");
        return box;
    }

    void verifyUntouched(FrameFixture &f, RichTextBox &box)
    {
        QVERIFY(!f.frame->pictureEndTimer().isActive()); // nothing will empty the selection later
        QCoreApplication::processEvents();
        QCOMPARE(box.text(), QStringLiteral("keep this"));
        QCOMPARE(box.selectionText(), QStringLiteral("this"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("clipboard text"));
    }

private slots:
    void menuStatesFollowTheDocument()
    {
        FrameFixture f;
        f.start();
        f.active()->parentWidget()->close();
        emit f.frame->menu("insert")->aboutToShow();
        const auto enabled = [&](const char *name) { return f.frame->menuItem(name)->isEnabled(); };
        QVERIFY(!enabled("dt") && !enabled("picturea") && !enabled("table"));
        QVERIFY(enabled("fgsdgfdg") && enabled("dfgfdgdf"));
        f.frame->newDocument();
        emit f.frame->menu("insert")->aboutToShow();
        QVERIFY(enabled("dt") && enabled("picturea") && !enabled("table"));
    }

    void dateTimeReplacesTheSelection()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        box.setSelectionText("on DATE.");
        box.setSelectionStart(3);
        box.setSelectionLength(4);
        const QDateTime before = QDateTime::currentDateTime();
        f.trigger("dt");
        const QDateTime after = QDateTime::currentDateTime();
        const QString text = box.text();
        QVERIFY2(text == "on " + InsertCommands::dateTimeText(before, QLocale::system()) + "."
                     || text == "on " + InsertCommands::dateTimeText(after, QLocale::system()) + ".",
                 qPrintable(text));
        QCOMPARE(box.selectionStart(), text.size() - 1);
        QCOMPARE(box.selectionLength(), 0);

        // The user's short date, then hours, minutes, seconds and the day period; no time zone.
        const QDateTime moment(QDate(2024, 3, 9), QTime(15, 4, 5));
        QCOMPARE(InsertCommands::dateTimeText(moment, QLocale(QLocale::English, QLocale::UnitedStates)),
                 QStringLiteral("3/9/24 / 3:04:05 PM"));
        QCOMPARE(InsertCommands::dateTimeText(moment, QLocale(QLocale::German, QLocale::Germany)),
                 QStringLiteral("09.03.24 / 15:04:05"));
    }

    void textFilesBecomeParagraphs()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        box.setSelectionText("[]");
        box.setSelectionStart(1);
        f.dialogs.answerFile(f.writeFile("empty.txt", ""));
        f.trigger("dfgfdgdf");
        QCOMPARE(box.text(), QStringLiteral("[]"));

        f.dialogs.answerFile(f.writeFile("three.txt", "one\r\ntwo\nthr\xe9\x65"));
        f.trigger("dfgfdgdf");
        QCOMPARE(box.document()->blockCount(), 3);
        QCOMPARE(box.document()->findBlockByNumber(0).text(), QStringLiteral("[one"));
        QCOMPARE(box.document()->findBlockByNumber(1).text(), QStringLiteral("two"));
        QCOMPARE(box.document()->findBlockByNumber(2).text(), QString::fromUtf8("thrée]")); // not UTF-8: Windows-1252

        // Cancelled twice after that: nothing more.
        f.dialogs.answerFile(std::nullopt);
        f.dialogs.answerFile(std::nullopt);
        f.trigger("dfgfdgdf");
        f.trigger("dfgfdgdf");
        QCOMPARE(box.document()->blockCount(), 3);
    }

    void insertedPictureIsSavedAndReadBack()
    {
        FrameFixture f;
        RichTextBox &box = prepare(f);
        const QByteArray png = encoded(filled(QSize(40, 30), Qt::red), "PNG");
        f.dialogs.answerFile(f.writeFile("red.png", png));
        f.trigger("picturea");
        QCOMPARE(box.text(), QStringLiteral("keep ") + QChar::ObjectReplacementCharacter);
        QCOMPARE(QGuiApplication::clipboard()->image().size(), QSize(40, 30));
        QTRY_VERIFY(!f.frame->pictureEndTimer().isActive());
        QCOMPARE(box.text(), QStringLiteral("keep ") + QChar::ObjectReplacementCharacter);

        const QByteArray rtf = box.rtf();
        QVERIFY(rtf.contains("\\pngblip"));
        QVERIFY(unbroken(rtf).contains(png.toHex())); // the file's own bytes, not a re-encoding
        RichTextBox reread;
        reread.setRtf(rtf);
        const QList<QTextImageFormat> found = pictures(*reread.document());
        QCOMPARE(found.size(), 1);
        QCOMPARE(QSizeF(found[0].width(), found[0].height()), QSizeF(40, 30));
        const QVariant shown = reread.document()->resource(QTextDocument::ImageResource, QUrl(found[0].name()));
        const QImage image = shown.userType() == QMetaType::QByteArray ? QImage::fromData(shown.toByteArray())
                                                                       : qvariant_cast<QImage>(shown);
        QCOMPARE(image.pixelColor(3, 3), QColor(Qt::red));
    }

    void photographsKeepTheirBytesAndFitThePage()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        const QByteArray jpeg = encoded(filled(QSize(2000, 500), Qt::blue), "JPEG");
        f.dialogs.answerFile(f.writeFile("wide.jpg", jpeg));
        f.trigger("picturea");
        const QList<QTextImageFormat> found = pictures(*box.document());
        QCOMPARE(found.size(), 1);
        // Six inches and a bit: between the margins of an A4 page.
        QVERIFY(found[0].width() > 590 && found[0].width() < 610);
        QCOMPARE(found[0].height(), found[0].width() / 4);
        const QByteArray rtf = box.rtf();
        QVERIFY(rtf.contains("\\jpegblip"));
        QVERIFY(unbroken(rtf).contains(jpeg.toHex()));
    }

    void cancelOrANonPictureChangesNothing()
    {
        FrameFixture f;
        RichTextBox &box = prepare(f);
        f.dialogs.answerFile(std::nullopt);
        f.trigger("picturea");
        verifyUntouched(f, box);

        f.dialogs.answerFile(f.writeFile("fake.jpg", "this is not a picture"));
        f.trigger("picturea");
        verifyUntouched(f, box);

        f.dialogs.answerFile(f.path("missing.gif"));
        f.trigger("picturea");
        verifyUntouched(f, box);
        QVERIFY(f.dialogs.messages().isEmpty());
    }

    void tableGoesInAsATable()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        box.setSelectionText("above");
        f.frame->insertCommands().insertTable(); // behind the disabled item
        QVERIFY(!box.toPlainText().contains("\\rtf"));
        QTextTable *table = nullptr;
        for (QTextFrame *frame : box.document()->rootFrame()->childFrames())
            if ((table = qobject_cast<QTextTable *>(frame)))
                break;
        QVERIFY(table);
        QCOMPARE(table->rows(), 2);
        QCOMPARE(table->columns(), 3);

        QFile::remove(f.appFolder() + "/table.rtf");
        f.dialogs.answerMessage(Dialogs::Answer::OK);
        const QString before = box.toPlainText();
        f.frame->insertCommands().insertTable();
        const Dialogs::Message ask = f.dialogs.messages().constLast();
        QCOMPARE(ask.text, QStringLiteral("Table file not able to find !"));
        QCOMPARE(ask.title, QStringLiteral("Scrivlo"));
        QCOMPARE(ask.icon, Dialogs::Icon::Exclamation);
        QCOMPARE(box.toPlainText(), before);
    }
};

QTEST_MAIN(InsertTest)
#include "tst_insert.moc"
