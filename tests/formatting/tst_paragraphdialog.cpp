// The Paragraph dialog behind the disabled "Paragraph ..." item: three indents, each in the box
// its caption names.
#include "support/FrameFixture.h"

#include "document/RichTextBox.h"
#include "formatting/ParagraphDialog.h"
#include "formatting/FormatMenu.h"
#include "platform/DropDownList.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace {

ParagraphDialog *open(FrameFixture &f)
{
    f.frame->formatMenu().showParagraphDialog();
    return f.frame->formatMenu().paragraphDialog();
}

void pressOk(ParagraphDialog *dialog)
{
    QPointer<ParagraphDialog> watched(dialog);
    QTest::mouseClick(dialog->okButton, Qt::LeftButton);
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
        box.setSelectionText("first\rsecond");
        box.setSelectionStart(0);
        box.setSelectionLength(5);
        box.setSelectionIndent(100);
        box.setSelectionRightIndent(-50);
        box.setSelectionFirstLineIndent(300);
        box.setSelectionCharOffset(40);

        ParagraphDialog *dialog = open(f);
        QVERIFY(dialog);
        QCOMPARE(dialog->leftIndentLabel->text() + dialog->leftIndentBox->text(), QStringLiteral("Left indentation :100"));
        QCOMPARE(dialog->rightIndentLabel->text() + dialog->rightIndentBox->text(), QStringLiteral("Right indentation :-50"));
        QCOMPARE(dialog->firstLineLabel->text() + dialog->firstLineBox->text(), QStringLiteral("First line :300"));
        QCOMPARE(dialog->leftIndentBox->count(), 1001);
        QVERIFY(f.frame->isEnabled());
        dialog->leftIndentBox->setText("200");
        dialog->rightIndentBox->setText("15");
        dialog->firstLineBox->setText("-120");
        pressOk(dialog);
        QCOMPARE(box.selectionIndent(), std::optional<int>(200));
        QCOMPARE(box.selectionRightIndent(), std::optional<int>(15));
        QCOMPARE(box.selectionFirstLineIndent(), std::optional<int>(-120));
        QCOMPARE(box.selectionCharOffset(), std::optional<int>(40));
        box.setSelectionStart(8);
        QCOMPARE(box.selectionIndent(), std::optional<int>(0));

        // 720 is beyond the boxes' range and the right indents differ: both boxes open empty,
        // and OK leaves those measures as they were.
        box.setSelectionStart(0);
        box.setSelectionLength(12);
        box.setSelectionIndent(720);
        dialog = open(f);
        QCOMPARE(dialog->leftIndentBox->text() + dialog->rightIndentBox->text(), QString());
        dialog->firstLineBox->setText("10");
        pressOk(dialog);
        QCOMPARE(box.selectionIndent(), std::optional<int>(720));
        QCOMPARE(box.selectionRightIndent(), std::nullopt);
        QCOMPARE(box.selectionFirstLineIndent(), std::optional<int>(10));
    }

    void closesWithoutWritingWhenAnotherWindowBecomesActive()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        QPointer<ParagraphDialog> dialog = open(f);
        QApplication::setActiveWindow(dialog);
        QTRY_VERIFY(dialog->isActiveWindow());
        dialog->leftIndentBox->setText("250");
        QApplication::setActiveWindow(f.frame.get());
        QTRY_VERIFY(!dialog);
        QCOMPARE(box.selectionIndent(), std::optional<int>(0));
    }
};

QTEST_MAIN(ParagraphDialogTest)
#include "tst_paragraphdialog.moc"
