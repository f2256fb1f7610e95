// The full-screen view: the document goes in whole and comes back whole, edits included.
#include "support/FrameFixture.h"

#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "rtf/DocumentExtras.h"
#include "windows/FullScreenView.h"
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
        box.setSelectionStart(start);
        box.setSelectionLength(length);
        all << QStringLiteral("%1: bold %2 italic %3 underline %4 bullet %5 size %6 colour %7 align %8 indent %9")
                   .arg(box.selectionText(), b(box.selectionBold()), b(box.selectionItalic()), b(box.selectionUnderline()),
                        b(box.selectionBullet()), n(box.selectionFontSize()), n(box.selectionColor()), n(box.selectionAlignment()),
                        n(box.selectionIndent()));
    }
    return all;
}

FullScreenView *open(FrameFixture &f)
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
        box.setSelectionText("Title line\rSecond paragraph, partly red\rThird");
        box.setSelectionStart(0);
        box.setSelectionLength(45);
        box.setSelectionFontSize(11);
        box.setSelectionLength(10);
        box.setSelectionBold(true);
        box.setSelectionFontSize(18);
        box.setSelectionAlignment(RichTextBox::Center);
        box.setSelectionStart(29);
        box.setSelectionLength(10);
        box.setSelectionColor(0x0000FF);
        box.setSelectionItalic(true);
        box.setSelectionIndent(360);
        box.setSelectionStart(40);
        box.setSelectionLength(5);
        box.setSelectionUnderline(true);
        box.setSelectionBullet(true);
        // What the document holds beside its text makes the trip too.
        DocumentExtras &extras = DocumentExtras::of(*box.document());
        PageSetup page;
        page.landscape = true;
        extras.setPageSetup(page);
        extras.setHeaderFooter(HeaderFooter::Footer, QByteArray("{\\rtf1\\ansi Page foot\\par}"));
        const QStringList before = looks(box);
        const QByteArray rtf = box.rtf();
        QVERIFY(rtf.contains("Page foot"));

        QPointer<FullScreenView> view = open(f);
        QVERIFY(view && view->isFullScreen());
        QCOMPARE(looks(*view->surface), before);
        QVERIFY(!f.frame->isEnabled());
        QVERIFY(!box.isEnabled());

        f.active()->doc = 0;
        QTest::mouseDClick(view->surface->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
        QTRY_VERIFY(!view);
        QVERIFY(f.frame->isEnabled());
        QCOMPARE(looks(box), before);
        QCOMPARE(box.rtf(), rtf);
        QCOMPARE(f.active()->doc, -1); // its content was replaced
    }

    void typingLandsInTheDocumentItCameFrom()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        box.setSelectionText("Hello");
        f.trigger("nw");
        f.surface().setSelectionText("other");
        mdiAreaOf(*f.frame)->setActiveSubWindow(f.frame->documentWindows().first());

        QPointer<FullScreenView> view = open(f);
        QTest::keyClicks(view->surface->viewport(), "Well, ");
        QCOMPARE(box.text(), QStringLiteral("Hello"));
        // Escape leaves the view like the double-click; so does closing the window.
        QTest::keyClick(view->surface->viewport(), Qt::Key_Escape);
        QTRY_VERIFY(!view);
        QCOMPARE(box.text(), QStringLiteral("Well, Hello"));
        QCOMPARE(f.frame->documents().last()->surface->text(), QStringLiteral("other"));

        view = open(f);
        view->surface->setSelectionText("Oh. ");
        view->close();
        QTRY_VERIFY(!view);
        QCOMPARE(box.text(), QStringLiteral("Oh. Well, Hello"));
        QVERIFY(f.frame->isEnabled());
    }
};

QTEST_MAIN(FullScreenTest)
#include "tst_fullscreen.moc"
