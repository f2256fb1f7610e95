// The Edit menu: the enabling of Cut, Copy and Paste, the commands, and what goes through the
// clipboard (text, rich text, pictures).
#include "support/FrameFixture.h"
#include "support/TestPictures.h"

#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

using namespace TestPictures;

namespace {

QImage shownImage(const QTextDocument &doc, const QTextImageFormat &format)
{
    const QVariant data = doc.resource(QTextDocument::ImageResource, QUrl(format.name()));
    if (data.userType() == QMetaType::QByteArray)
        return QImage::fromData(data.toByteArray());
    return qvariant_cast<QImage>(data);
}

} // namespace

class EditMenuTest : public QObject
{
    Q_OBJECT

    QAction *item(FrameFixture &f, const char *name) { return f.frame->menuItem(QString::fromLatin1(name)); }
    void openEdit(FrameFixture &f) { emit f.frame->menu("edit")->aboutToShow(); }
    QString states(FrameFixture &f)
    {
        QString s;
        for (const char *name : {"cut", "copy", "paste"})
            s += item(f, name)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return s;
    }

private slots:
    void init() { QGuiApplication::clipboard()->clear(); }

    void menuStatesFollowTheDocumentAndTheClipboard()
    {
        FrameFixture f;
        f.start();
        // No document, text on the clipboard: only Paste, and Paste then does nothing.
        f.active()->doc = 0;
        f.active()->parentWidget()->close();
        QGuiApplication::clipboard()->setText("on the clipboard");
        openEdit(f);
        QCOMPARE(states(f), QStringLiteral("001"));
        f.trigger("paste");
        f.trigger("undo");
        f.trigger("seall");
        f.trigger("de");

        // A picture alone on the clipboard does not enable Paste.
        f.frame->newDocument();
        QGuiApplication::clipboard()->setImage(filled(QSize(24, 24), Qt::red));
        openEdit(f);
        QCOMPARE(states(f), QStringLiteral("000"));

        // One character selected: Cut and Copy; after Cut nothing is selected any more.
        RichTextBox &box = f.surface();
        box.setSelectionText("ab");
        box.setSelectionStart(1);
        box.setSelectionLength(1);
        openEdit(f);
        QCOMPARE(states(f), QStringLiteral("110"));
        f.trigger("cut");
        QCOMPARE(box.text(), QStringLiteral("a"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("b"));
        openEdit(f);
        QCOMPARE(states(f), QStringLiteral("001"));

        // Clear Clipboard empties it, whatever it holds; the document stays as it is.
        f.trigger("cc");
        const QMimeData *left = QGuiApplication::clipboard()->mimeData();
        QVERIFY(!left || left->formats().isEmpty());
        openEdit(f);
        QCOMPARE(states(f), QStringLiteral("000"));
        QCOMPARE(box.text(), QStringLiteral("a"));
        QVERIFY(item(f, "undo")->isEnabled() && item(f, "de")->isEnabled() && item(f, "seall")->isEnabled()
                && item(f, "cc")->isEnabled());
    }

    void copyKeyStillWorksWhileTheMenuItemIsDisabled()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        box.setSelectionText("word");
        openEdit(f); // nothing selected: Copy disabled until the menu opens again
        QVERIFY(!item(f, "copy")->isEnabled());
        box.setSelectionStart(0);
        box.setSelectionLength(4);
        QTest::keyClick(box.viewport(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("word"));
    }

    void selectAllSelectsExactlyTheText()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        f.trigger("seall");
        QCOMPARE(box.selectionStart(), 0);
        QCOMPARE(box.selectionLength(), 0);

        // Formatting makes the RTF source many times longer than the text.
        box.setSelectionText("x\ny");
        for (int start : {0, 2}) {
            box.setSelectionStart(start);
            box.setSelectionLength(1);
            box.setSelectionBold(true);
            box.setSelectionColor(0x00FF8040);
            box.setSelectionFontName("DejaVu Sans");
            box.setSelectionAlignment(RichTextBox::Center);
        }
        QVERIFY(box.rtf().size() > 20 * box.characterCount());
        box.setSelectionStart(1);
        f.trigger("seall");
        QCOMPARE(box.selectionStart(), 0);
        QCOMPARE(box.selectionLength(), 3);
        QCOMPARE(box.selectionText(), QStringLiteral("x\r\ny"));
    }

    void deleteClearsOnlyTheSelection()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        box.setSelectionText("abc");
        box.setSelectionStart(1);
        f.trigger("de");
        QTest::keyClick(box.viewport(), Qt::Key_Delete); // the key goes through the menu item
        QCOMPARE(box.text(), QStringLiteral("abc"));
        box.setSelectionLength(1);
        QTest::keyClick(box.viewport(), Qt::Key_Delete);
        QCOMPARE(box.text(), QStringLiteral("ac"));
        f.trigger("undo");
        QCOMPARE(box.text(), QStringLiteral("abc"));
    }

    void picturesSurviveCopyAndPasteIntoAnotherDocument()
    {
        FrameFixture f;
        f.start();
        RichTextBox &first = f.surface();
        first.setSelectionText("before ");
        first.insertPicture(filled(QSize(30, 30), Qt::red));
        first.setSelectionText(" after");
        f.trigger("seall");
        f.trigger("copy");

        f.frame->newDocument();
        RichTextBox &second = f.surface();
        QVERIFY(&second != &first);
        f.trigger("paste");
        QCOMPARE(second.toPlainText(), first.toPlainText());
        const QList<QTextImageFormat> pasted = pictures(*second.document());
        QCOMPARE(pasted.size(), 1);
        QCOMPARE(shownImage(*second.document(), pasted[0]).pixelColor(5, 5), QColor(Qt::red));
        QVERIFY(second.rtf().contains("\\pngblip"));

        // The clipboard carries rich text with the picture in it for other programs.
        const QByteArray rtf = QGuiApplication::clipboard()->mimeData()->data("text/rtf");
        QVERIFY(rtf.startsWith("{\\rtf"));
        QVERIFY(rtf.contains("\\pngblip"));
    }

    void pastedRichTextKeepsItsPictures()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        box.insertPicture(filled(QSize(10, 10), Qt::red)); // a picture already there must not be confused with the new one
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QImage blue(16, 8, QImage::Format_RGB32);
        blue.fill(Qt::blue);
        blue.save(&buffer, "PNG");
        auto *data = new QMimeData;
        data->setData("text/rtf", "{\\rtf1\\ansi {\\b bold}{\\pict\\pngblip\\picw16\\pich8 " + png.toHex() + "} tail}");
        QGuiApplication::clipboard()->setMimeData(data);
        f.trigger("paste");

        QCOMPARE(box.toPlainText(), QString(QChar::ObjectReplacementCharacter) + "bold" + QChar::ObjectReplacementCharacter + " tail");
        const QList<QTextImageFormat> all = pictures(*box.document());
        QCOMPARE(all.size(), 2);
        QVERIFY(all[0].name() != all[1].name());
        QCOMPARE(shownImage(*box.document(), all[0]).pixelColor(2, 2), QColor(Qt::red));
        QCOMPARE(shownImage(*box.document(), all[1]).pixelColor(2, 2), QColor(Qt::blue));
        box.setSelectionStart(1);
        box.setSelectionLength(1);
        QCOMPARE(box.selectionBold(), std::optional<bool>(true));
    }
};

QTEST_MAIN(EditMenuTest)
#include "tst_editmenu.moc"
