// The Font dialog: what it shows for a selection, and what OK, Enter and Escape write back.
#include "support/FrameFixture.h"

#include "document/Form3.h"
#include "document/RichTextBox.h"
#include "formatting/Form4.h"
#include "formatting/FormatMenu.h"
#include "platform/FontFamilies.h"
#include "platform/KeyedToolbar.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace {

void select(RichTextBox &box, int start, int length)
{
    box.setSelStart(start);
    box.setSelLength(length);
}

void choose(QListWidget *list, const QString &text)
{
    const QList<QListWidgetItem *> items = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(!items.isEmpty(), qPrintable(text));
    list->setCurrentItem(items.first());
}

Form4 *open(FrameFixture &f)
{
    f.trigger(QStringLiteral("font"));
    return f.frame->formatMenu().fontDialog();
}

// Presses a key or OK, waits for the dialog to go and checks that the frame is back.
void closeBy(FrameFixture &f, Form4 *dialog, Qt::Key key = Qt::Key_unknown)
{
    QPointer<Form4> watched(dialog);
    if (key == Qt::Key_unknown)
        QTest::mouseClick(dialog->Command1, Qt::LeftButton);
    else
        QTest::keyClick(dialog->Text2, key);
    QTRY_VERIFY(!watched);
    QVERIFY(f.frame->isEnabled());
}

} // namespace

class FontDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void showsTheSelectionAndAppliesOnlyCheckedEffects()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        box.setSelText("Hello world");
        select(box, 0, 5);
        box.setSelBold(true);
        box.setSelUnderline(true);
        box.setSelFontSize(10.5);

        Form4 *dialog = open(f);
        QCOMPARE(dialog->Text2->text(), QStringLiteral("Bold"));
        QCOMPARE(dialog->Text3->text(), QStringLiteral("10.5"));
        QCOMPARE(dialog->Label1->font().pointSizeF(), 10.5);
        QVERIFY(dialog->Check2->isChecked() && dialog->Label1->font().underline());
        dialog->Check2->click();
        QVERIFY(!dialog->Label1->font().underline());
        dialog->Check1->click();

        // The frame and its documents take no input meanwhile.
        QVERIFY(!f.frame->isEnabled() && !box.isEnabled());
        QTest::keyClick(f.frame.get(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(f.frame->documents().size(), 1);

        closeBy(f, dialog);
        QCOMPARE(box.SelBold(), std::optional<bool>(true));
        QCOMPARE(box.SelFontSize(), std::optional<double>(10.5));
        QCOMPARE(box.SelUnderline(), std::optional<bool>(true));
        QCOMPARE(box.SelStrikeThru(), std::optional<bool>(true));

        // Without a document the command only complains.
        f.active()->doc = 0;
        f.active()->parentWidget()->close();
        QCoreApplication::processEvents();
        f.dialogs.answerMessage(Dialogs::Answer::OK);
        f.trigger(QStringLiteral("font"));
        QCOMPARE(f.dialogs.messages().constLast().text, QStringLiteral("Error accessing into the document."));
        QCOMPARE(f.dialogs.messages().constLast().icon, Dialogs::Icon::Critical);
        QVERIFY(!f.frame->formatMenu().fontDialog());
    }

    void styleBoxDecidesBoldAndItalic()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        box.setSelText("Hello world");
        select(box, 0, 11);
        box.setSelItalic(true);
        select(box, 0, 3);
        box.setSelBold(true);
        select(box, 0, 11);

        // Italic and partly bold shows "Italic", and OK makes it all italic and not bold.
        Form4 *dialog = open(f);
        QCOMPARE(dialog->Text2->text(), QStringLiteral("Italic"));
        closeBy(f, dialog);
        QCOMPARE(box.SelItalic(), std::optional<bool>(true));
        QCOMPARE(box.SelBold(), std::optional<bool>(false));

        // Typed by hand the name must match exactly: in lower case it changes nothing.
        dialog = open(f);
        dialog->Text2->clear();
        QTest::keyClicks(dialog->Text2, "bold italic");
        closeBy(f, dialog, Qt::Key_Return);
        QCOMPARE(box.SelBold(), std::optional<bool>(false));
        dialog = open(f);
        dialog->Text2->clear();
        QTest::keyClicks(dialog->Text2, "Bold Italic");
        closeBy(f, dialog, Qt::Key_Return);
        QCOMPARE(box.SelBold(), std::optional<bool>(true));
        QCOMPARE(box.SelItalic(), std::optional<bool>(true));

        // A style chosen in the list shows in the sample; Escape writes nothing.
        dialog = open(f);
        choose(dialog->List2, QStringLiteral("Normal"));
        QVERIFY(!dialog->Label1->font().bold());
        closeBy(f, dialog, Qt::Key_Escape);
        QCOMPARE(box.SelBold(), std::optional<bool>(true));
    }

    void mixedNameOrSizeIsKeptUnlessChosenInTheLists()
    {
        const QStringList families = FontFamilies::screen(); // as the dialog lists them
        QVERIFY(families.size() >= 2);
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        box.setSelText("Hello world");
        select(box, 0, 11);
        box.setSelFontSize(11);
        select(box, 0, 5);
        box.setSelFontSize(20);
        select(box, 0, 11);
        const QString name = *box.SelFontName();

        // Mixed sizes: the boxes open empty, the sample shows nothing, OK keeps every size.
        Form4 *dialog = open(f);
        QCOMPARE(dialog->Text1->text() + dialog->Text2->text() + dialog->Text3->text(), QString());
        QCOMPARE(dialog->Label1->text(), QString());
        QVERIFY(!f.frame->isEnabled());
        closeBy(f, dialog);
        QCOMPARE(box.SelFontName(), std::optional<QString>(name));
        select(box, 0, 5);
        QCOMPARE(box.SelFontSize(), std::optional<double>(20));
        select(box, 6, 5);
        QCOMPARE(box.SelFontSize(), std::optional<double>(11));

        // A size chosen in the list is applied, the name left as it is.
        select(box, 0, 11);
        dialog = open(f);
        choose(dialog->List3, QStringLiteral("14"));
        closeBy(f, dialog);
        QCOMPARE(box.SelFontSize(), std::optional<double>(14));
        QCOMPARE(box.SelFontName(), std::optional<QString>(name));

        // Mixed names: a name chosen in the list goes to all of it, the size left as it is.
        select(box, 0, 5);
        box.setSelFontName(families[0]);
        select(box, 0, 11);
        dialog = open(f);
        choose(dialog->List1, families[1]);
        QCOMPARE(dialog->Label1->text(), families[1]);
        closeBy(f, dialog);
        QCOMPARE(box.SelFontName(), std::optional<QString>(families[1]));
        QCOMPARE(box.SelFontSize(), std::optional<double>(14));
    }
};

QTEST_MAIN(FontDialogTest)
#include "tst_fontdialog.moc"
