// View > Header and Footer...: the document's headers and footers shown in boxes, written back on
// OK and kept by Save; Cancel changes nothing.
#include "support/FrameFixture.h"

#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "rtf/DocumentExtras.h"
#include "rtf/RtfCodec.h"
#include "rtf/TextFormats.h"
#include "view/ViewCommands.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>

namespace {

HeaderFooterWindow *open(FrameFixture &f)
{
    f.trigger("headerfooter");
    return f.frame->viewCommands().headerFooterWindow();
}

void press(HeaderFooterWindow *window, QDialogButtonBox::StandardButton button)
{
    QPointer<HeaderFooterWindow> watched(window);
    QTest::mouseClick(window->buttons()->button(button), Qt::LeftButton);
    QTRY_VERIFY(!watched);
}

void retype(QTextEdit *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    box->textCursor().removeSelectedText();
    QTest::keyClicks(box, text);
}

QString stored(const QTextDocument &doc, HeaderFooter::Kind kind)
{
    const auto part = HeaderFooter::document(doc, kind);
    return part ? part->toPlainText() : QString();
}

const QByteArray kFacing = "{\\rtf1\\ansi\\titlepg\\facingp{\\header All\\par}{\\headerf First\\par}"
                           "{\\footerl Left foot\\par}Body\\par}";

} // namespace

class HeaderFooterTest : public QObject
{
    Q_OBJECT

private slots:
    void anEditedHeaderIsSavedAndReadBack()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        box.setRtf("{\\rtf1\\ansi{\\header Old head\\par}"
                       "{\\footer Page {\\field{\\*\\fldinst PAGE}{\\fldrslt 7}}\\par}Body\\par}");
        const QByteArray footer = DocumentExtras::of(*box.document()).headerFooter(HeaderFooter::Footer);

        HeaderFooterWindow *window = open(f);
        QVERIFY(window && window->isModal());
        QCOMPARE(window->windowTitle(), QStringLiteral("Header and Footer"));
        QCOMPARE(window->pages()->count(), 1);
        QVERIFY(!window->box(HeaderFooter::HeaderFirst) && !window->box(HeaderFooter::FooterLeft));
        const QList<QLabel *> labels = window->findChildren<QLabel *>();
        QCOMPARE(labels.size(), 2);
        QCOMPARE(labels.first()->text() + labels.first()->buddy()->objectName(), QStringLiteral("Header:header"));
        QCOMPARE(window->box(HeaderFooter::Header)->toPlainText(), QStringLiteral("Old head"));
        QCOMPARE(window->box(HeaderFooter::Footer)->toPlainText(), QStringLiteral("Page 7")); // as stored

        // Ctrl+B works in the box; the footer, left alone, is kept byte for byte.
        QTextEdit *header = window->box(HeaderFooter::Header);
        retype(header, QStringLiteral("New head"));
        header->selectAll();
        QApplication::setActiveWindow(window);
        QTest::keyClick(header, Qt::Key_B, Qt::ControlModifier);
        f.active()->doc = 0;
        press(window, QDialogButtonBox::Ok);
        QCOMPARE(f.active()->doc, -1);
        QCOMPARE(DocumentExtras::of(*box.document()).headerFooter(HeaderFooter::Footer), footer);

        const QString path = f.path("head.rtf");
        box.setFileName(path);
        f.trigger("save");
        QTextDocument reopened;
        RtfCodec::read(FrameFixture::readFile(path), reopened);
        const auto part = HeaderFooter::document(reopened, HeaderFooter::Header);
        QVERIFY(part);
        QCOMPARE(part->toPlainText(), QStringLiteral("New head"));
        QVERIFY(TextFormats::isBold(QTextCursor(part->lastBlock()).charFormat()));
        QCOMPARE(stored(reopened, HeaderFooter::Footer), QStringLiteral("Page 7"));

        // Cancel keeps the document as it was, unchanged.
        const QByteArray saved = box.rtf();
        window = open(f);
        retype(window->box(HeaderFooter::Header), QStringLiteral("Not this"));
        press(window, QDialogButtonBox::Cancel);
        QCOMPARE(box.rtf(), saved);
        QCOMPARE(f.active()->doc, 0);
        // OK with nothing edited changes nothing either.
        press(open(f), QDialogButtonBox::Ok);
        QCOMPARE(box.rtf(), saved);
        QCOMPARE(f.active()->doc, 0);
    }

    void aNewDocumentGetsAHeaderAndEmptiedBoxesRemoveThem()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        QVERIFY(!DocumentExtras::find(*box.document()) || DocumentExtras::find(*box.document())->isEmpty());
        HeaderFooterWindow *window = open(f);
        retype(window->box(HeaderFooter::Header), QStringLiteral("Typed head"));
        press(window, QDialogButtonBox::Ok);
        QVERIFY(box.rtf().contains("{\\header"));
        QCOMPARE(stored(*box.document(), HeaderFooter::Header), QStringLiteral("Typed head"));

        // The first page's, left and right pages' show only in a document that has them.
        box.setRtf(kFacing);
        window = open(f);
        QCOMPARE(window->pages()->count(), 4);
        QCOMPARE(window->box(HeaderFooter::HeaderFirst)->toPlainText(), QStringLiteral("First"));
        QCOMPARE(window->box(HeaderFooter::FooterLeft)->toPlainText(), QStringLiteral("Left foot"));
        retype(window->box(HeaderFooter::HeaderFirst), QString());
        retype(window->box(HeaderFooter::FooterRight), QStringLiteral("Right foot"));
        press(window, QDialogButtonBox::Ok);
        const DocumentExtras &extras = DocumentExtras::of(*box.document());
        QVERIFY(extras.headerFooter(HeaderFooter::HeaderFirst).isEmpty());
        QCOMPARE(stored(*box.document(), HeaderFooter::FooterRight), QStringLiteral("Right foot"));
        QCOMPARE(stored(*box.document(), HeaderFooter::Header), QStringLiteral("All"));
        QVERIFY(extras.titlePage() && extras.facingPages());

        // Pasted rich text brings its text, not its header or page.
        const QByteArray before = box.rtf();
        box.insertRichText("{\\rtf1\\ansi\\paperw5000{\\header Theirs\\par}Pasted\\par}");
        const QByteArray after = box.rtf();
        QVERIFY(after.contains("Pasted") && after.startsWith(before.left(before.indexOf("Body"))));
        QVERIFY(!after.contains("Theirs") && !after.contains("\\paperw5000"));

        // Without a document the command does nothing.
        f.active()->doc = 0;
        f.active()->parentWidget()->close();
        QVERIFY(!f.active());
        QVERIFY(!open(f));
    }

};

QTEST_MAIN(HeaderFooterTest)
#include "tst_headerfooter.moc"
