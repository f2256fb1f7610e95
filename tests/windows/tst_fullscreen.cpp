// The full-screen view: the document goes in whole and comes back whole, edits included.
#include "support/FrameFixture.h"

#include "document/Form3.h"
#include "document/RichTextBox.h"
#include "rtf/DocumentExtras.h"
#include "windows/Form6.h"
#include "windows/SideWindows.h"

#include <QPointer>
#include <QTest>

namespace {

// The text and formatting of some stretches of a document, in one comparable string.
QStringList looks(RichTextBox &box)
{
    const auto b = [](std::optional<bool> v) { return v ? QString::number(*v) : QStringLiteral("null"); };
    const auto n = [](auto v) { return v ? QString::number(*v) : QStringLiteral("null"); };
    QStringList all;
    for (const auto &[start, length] : {std::pair{0, 10}, {11, 18}, {29, 10}, {40, 5}, {0, 45}}) {
        box.setSelStart(start);
        box.setSelLength(length);
        all << QStringLiteral("%1: bold %2 italic %3 underline %4 bullet %5 size %6 colour %7 align %8 indent %9")
                   .arg(box.SelText(), b(box.SelBold()), b(box.SelItalic()), b(box.SelUnderline()),
                        b(box.SelBullet()), n(box.SelFontSize()), n(box.SelColor()), n(box.SelAlignment()),
                        n(box.SelIndent()));
    }
    return all;
}

Form6 *open(FrameFixture &f)
{
    f.trigger("fsm");
    return f.frame->sideWindows().fullScreen();
}

} // namespace

class FullScreenTest : public QObject
{
    Q_OBJECT

private slots:
    void formattedDocumentComesBackAsItWas()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        box.setSelText("Title line\rSecond paragraph, partly red\rThird");
        box.setSelStart(0);
        box.setSelLength(45);
        box.setSelFontSize(11);
        box.setSelLength(10);
        box.setSelBold(true);
        box.setSelFontSize(18);
        box.setSelAlignment(RichTextBox::Center);
        box.setSelStart(29);
        box.setSelLength(10);
        box.setSelColor(0x0000FF);
        box.setSelItalic(true);
        box.setSelIndent(360);
        box.setSelStart(40);
        box.setSelLength(5);
        box.setSelUnderline(true);
        box.setSelBullet(true);
        // What the document holds beside its text makes the trip too.
        DocumentExtras &extras = DocumentExtras::of(*box.document());
        PageSetup page;
        page.landscape = true;
        extras.setPageSetup(page);
        extras.setHeaderFooter(HeaderFooter::Footer, QByteArray("{\\rtf1\\ansi Page foot\\par}"));
        const QStringList before = looks(box);
        const QByteArray rtf = box.TextRTF();
        QVERIFY(rtf.contains("Page foot"));

        QPointer<Form6> view = open(f);
        QVERIFY(view && view->isFullScreen());
        QCOMPARE(looks(*view->RichTextBox1), before);
        QVERIFY(!f.frame->isEnabled());
        QVERIFY(!box.isEnabled());

        f.active()->doc = 0;
        QTest::mouseDClick(view->RichTextBox1->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
        QTRY_VERIFY(!view);
        QVERIFY(f.frame->isEnabled());
        QCOMPARE(looks(box), before);
        QCOMPARE(box.TextRTF(), rtf);
        QCOMPARE(f.active()->doc, -1); // its content was replaced
    }

    void typingLandsInTheDocumentItCameFrom()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        box.setSelText("Hello");
        f.trigger("nw");
        f.surface().setSelText("other");
        mdiAreaOf(*f.frame)->setActiveSubWindow(f.frame->documentWindows().first());

        QPointer<Form6> view = open(f);
        QTest::keyClicks(view->RichTextBox1->viewport(), "Well, ");
        QCOMPARE(box.Text(), QStringLiteral("Hello"));
        // Escape leaves the view like the double-click; so does closing the window.
        QTest::keyClick(view->RichTextBox1->viewport(), Qt::Key_Escape);
        QTRY_VERIFY(!view);
        QCOMPARE(box.Text(), QStringLiteral("Well, Hello"));
        QCOMPARE(f.frame->documents().last()->RichTextBox1->Text(), QStringLiteral("other"));

        view = open(f);
        view->RichTextBox1->setSelText("Oh. ");
        view->close();
        QTRY_VERIFY(!view);
        QCOMPARE(box.Text(), QStringLiteral("Oh. Well, Hello"));
        QVERIFY(f.frame->isEnabled());
    }
};

QTEST_MAIN(FullScreenTest)
#include "tst_fullscreen.moc"
