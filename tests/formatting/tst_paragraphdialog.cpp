// The Paragraph dialog behind the disabled "Paragraph ..." item: three indents, each in the box
// its caption names.
#include "support/FrameFixture.h"

#include "document/RichTextBox.h"
#include "formatting/Form7.h"
#include "formatting/FormatMenu.h"
#include "platform/DropDownList.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace {

Form7 *open(FrameFixture &f)
{
    f.frame->formatMenu().paragraph_Click();
    return f.frame->formatMenu().paragraphDialog();
}

void pressOk(Form7 *dialog)
{
    QPointer<Form7> watched(dialog);
    QTest::mouseClick(dialog->Command1, Qt::LeftButton);
    QTRY_VERIFY(!watched);
}

} // namespace

class ParagraphDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void eachBoxShowsAndWritesTheIndentItsCaptionNames()
    {
        FrameFixture f;
        f.start();
        QVERIFY(!f.frame->menuItem("paragraph")->isEnabled());
        RichTextBox &box = f.surface();
        box.setSelText("first\rsecond");
        box.setSelStart(0);
        box.setSelLength(5);
        box.setSelIndent(100);
        box.setSelRightIndent(-50);
        box.setSelFirstLineIndent(300);
        box.setSelCharOffset(40);

        Form7 *dialog = open(f);
        QVERIFY(dialog);
        QCOMPARE(dialog->Label1->text() + dialog->Combo1->Text(), QStringLiteral("Left indentation :100"));
        QCOMPARE(dialog->Label2->text() + dialog->Combo2->Text(), QStringLiteral("Right indentation :-50"));
        QCOMPARE(dialog->Label3->text() + dialog->Combo3->Text(), QStringLiteral("First line :300"));
        QCOMPARE(dialog->Combo1->count(), 1001);
        QVERIFY(f.frame->isEnabled());
        dialog->Combo1->setText("200");
        dialog->Combo2->setText("15");
        dialog->Combo3->setText("-120");
        pressOk(dialog);
        QCOMPARE(box.SelIndent(), std::optional<int>(200));
        QCOMPARE(box.SelRightIndent(), std::optional<int>(15));
        QCOMPARE(box.SelFirstLineIndent(), std::optional<int>(-120));
        QCOMPARE(box.SelCharOffset(), std::optional<int>(40));
        box.setSelStart(8);
        QCOMPARE(box.SelIndent(), std::optional<int>(0));

        // 720 is beyond the boxes' range and the right indents differ: both boxes open empty,
        // and OK leaves those measures as they were.
        box.setSelStart(0);
        box.setSelLength(12);
        box.setSelIndent(720);
        dialog = open(f);
        QCOMPARE(dialog->Combo1->Text() + dialog->Combo2->Text(), QString());
        dialog->Combo3->setText("10");
        pressOk(dialog);
        QCOMPARE(box.SelIndent(), std::optional<int>(720));
        QCOMPARE(box.SelRightIndent(), std::nullopt);
        QCOMPARE(box.SelFirstLineIndent(), std::optional<int>(10));
    }

    void closesWithoutWritingWhenAnotherWindowBecomesActive()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        QPointer<Form7> dialog = open(f);
        QApplication::setActiveWindow(dialog);
        QTRY_VERIFY(dialog->isActiveWindow());
        dialog->Combo1->setText("250");
        QApplication::setActiveWindow(f.frame.get());
        QTRY_VERIFY(!dialog);
        QCOMPARE(box.SelIndent(), std::optional<int>(0));
    }
};

QTEST_MAIN(ParagraphDialogTest)
#include "tst_paragraphdialog.moc"
