// The document window: its changed flag, the save prompt and its fit in the frame.
#include "support/FrameFixture.h"

#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

class DocumentWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void typingMarksTheWindowChangedAndClosingAsks()
    {
        FrameFixture f;
        f.start();
        DocumentWindow *form = f.active();
        QTest::keyClicks(form->surface->viewport(), "x");
        QCOMPARE(form->doc, -1);
        QTest::keyClick(form->surface->viewport(), Qt::Key_Backspace);
        QCOMPARE(form->doc, -1); // typing and deleting again still counts as a change

        f.dialogs.answerMessage(Dialogs::Answer::Cancel);
        QVERIFY(!form->parentWidget()->close());
        const Dialogs::Message ask = f.dialogs.messages().constLast();
        QCOMPARE(ask.text, QStringLiteral("Do you want to save changes to Document 1"));
        QCOMPARE(ask.title, QStringLiteral("Scrivlo"));
        QCOMPARE(ask.buttons, Dialogs::Buttons::YesNoCancel);
        QCOMPARE(ask.icon, Dialogs::Icon::Question);
        QCOMPARE(ask.defaultButton, 0);
        QCOMPARE(form->doc, -1);

        f.dialogs.answerMessage(Dialogs::Answer::No);
        QVERIFY(form->parentWidget()->close());
    }

    void unchangedWindowClosesWithoutAQuestion()
    {
        FrameFixture f;
        f.start();
        f.surface().setSelectionText("typed");
        f.active()->doc = 0;
        QVERIFY(f.active()->parentWidget()->close());
        QVERIFY(f.dialogs.asks().isEmpty());
    }

    void formattingAChangeMarksItButAClickDoesNot()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        box.setSelectionText("some words");
        f.active()->doc = 0;
        QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, QPoint(4, 6));
        QTest::keyClick(box.viewport(), Qt::Key_Right);
        QCOMPARE(f.active()->doc, 0);
        box.setSelectionStart(0);
        box.setSelectionLength(4);
        box.setSelectionBold(true);
        QCOMPARE(f.active()->doc, -1);
    }

    void surfaceFillsTheWindowAtEverySize()
    {
        FrameFixture f;
        f.start();
        QMdiSubWindow *sub = mdiAreaOf(*f.frame)->currentSubWindow();
        DocumentWindow *form = f.active();
        sub->showNormal();
        sub->resize(400, 300);
        QCOMPARE(form->surface->size(), form->size());
        sub->showMinimized();
        sub->showMaximized();
        QCOMPARE(form->surface->size(), form->size());
        QVERIFY(f.dialogs.asks().isEmpty());
    }
};

QTEST_MAIN(DocumentWindowTest)
#include "tst_documentwindow.moc"
