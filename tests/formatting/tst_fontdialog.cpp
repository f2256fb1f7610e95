// The Font dialog: what it shows for a selection, and what OK, Enter and Escape write back.
#include "support/FrameFixture.h"

#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "formatting/FontDialog.h"
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
    box.setSelectionStart(start);
    box.setSelectionLength(length);
}

void choose(QListWidget *list, const QString &text)
{
    const QList<QListWidgetItem *> items = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(!items.isEmpty(), qPrintable(text));
    list->setCurrentItem(items.first());
}

FontDialog *open(FrameFixture &f)
{
    f.trigger(QStringLiteral("font"));
    return f.frame->formatMenu().fontDialog();
}

// Presses a key or OK, waits for the dialog to go and checks that the frame is back.
void closeBy(FrameFixture &f, FontDialog *dialog, Qt::Key key = Qt::Key_unknown)
{
    QPointer<FontDialog> watched(dialog);
    if (key == Qt::Key_unknown)
        QTest::mouseClick(dialog->okButton, Qt::LeftButton);
    else
        QTest::keyClick(dialog->styleEdit, key);
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
        box.setSelectionText("Hello world");
        select(box, 0, 5);
        box.setSelectionBold(true);
        box.setSelectionUnderline(true);
        box.setSelectionFontSize(10.5);

        FontDialog *dialog = open(f);
        QCOMPARE(dialog->styleEdit->text(), QStringLiteral("Bold"));
        QCOMPARE(dialog->sizeEdit->text(), QStringLiteral("10.5"));
        QCOMPARE(dialog->sampleLabel->font().pointSizeF(), 10.5);
        QVERIFY(dialog->underlineCheck->isChecked() && dialog->sampleLabel->font().underline());
        dialog->underlineCheck->click();
        QVERIFY(!dialog->sampleLabel->font().underline());
        dialog->strikeOutCheck->click();

        // The frame and its documents take no input meanwhile.
        QVERIFY(!f.frame->isEnabled() && !box.isEnabled());
        QTest::keyClick(f.frame.get(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(f.frame->documents().size(), 1);

        closeBy(f, dialog);
        QCOMPARE(box.selectionBold(), std::optional<bool>(true));
        QCOMPARE(box.selectionFontSize(), std::optional<double>(10.5));
        QCOMPARE(box.selectionUnderline(), std::optional<bool>(true));
        QCOMPARE(box.selectionStrikeOut(), std::optional<bool>(true));

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
        box.setSelectionText("Hello world");
        select(box, 0, 11);
        box.setSelectionItalic(true);
        select(box, 0, 3);
        box.setSelectionBold(true);
        select(box, 0, 11);

        // Italic and partly bold shows "Italic", and OK makes it all italic and not bold.
        FontDialog *dialog = open(f);
        QCOMPARE(dialog->styleEdit->text(), QStringLiteral("Italic"));
        closeBy(f, dialog);
        QCOMPARE(box.selectionItalic(), std::optional<bool>(true));
        QCOMPARE(box.selectionBold(), std::optional<bool>(false));

        // Typed by hand the name must match exactly: in lower case it changes nothing.
        dialog = open(f);
        dialog->styleEdit->clear();
        QTest::keyClicks(dialog->styleEdit, "bold italic");
        closeBy(f, dialog, Qt::Key_Return);
        QCOMPARE(box.selectionBold(), std::optional<bool>(false));
        dialog = open(f);
        dialog->styleEdit->clear();
        QTest::keyClicks(dialog->styleEdit, "Bold Italic");
        closeBy(f, dialog, Qt::Key_Return);
        QCOMPARE(box.selectionBold(), std::optional<bool>(true));
        QCOMPARE(box.selectionItalic(), std::optional<bool>(true));

        // A style chosen in the list shows in the sample; Escape writes nothing.
        dialog = open(f);
        choose(dialog->styleList, QStringLiteral("Normal"));
        QVERIFY(!dialog->sampleLabel->font().bold());
        closeBy(f, dialog, Qt::Key_Escape);
        QCOMPARE(box.selectionBold(), std::optional<bool>(true));
    }

    void mixedNameOrSizeIsKeptUnlessChosenInTheLists()
    {
        const QStringList families = FontFamilies::screen(); // as the dialog lists them
        QVERIFY(families.size() >= 2);
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        box.setSelectionText("Hello world");
        select(box, 0, 11);
        box.setSelectionFontSize(11);
        select(box, 0, 5);
        box.setSelectionFontSize(20);
        select(box, 0, 11);
        const QString name = *box.selectionFontName();

        // Mixed sizes: the boxes open empty, the sample shows nothing, OK keeps every size.
        FontDialog *dialog = open(f);
        QCOMPARE(dialog->fontEdit->text() + dialog->styleEdit->text() + dialog->sizeEdit->text(), QString());
        QCOMPARE(dialog->sampleLabel->text(), QString());
        QVERIFY(!f.frame->isEnabled());
        closeBy(f, dialog);
        QCOMPARE(box.selectionFontName(), std::optional<QString>(name));
        select(box, 0, 5);
        QCOMPARE(box.selectionFontSize(), std::optional<double>(20));
        select(box, 6, 5);
        QCOMPARE(box.selectionFontSize(), std::optional<double>(11));

        // A size chosen in the list is applied, the name left as it is.
        select(box, 0, 11);
        dialog = open(f);
        choose(dialog->sizeList, QStringLiteral("14"));
        closeBy(f, dialog);
        QCOMPARE(box.selectionFontSize(), std::optional<double>(14));
        QCOMPARE(box.selectionFontName(), std::optional<QString>(name));

        // Mixed names: a name chosen in the list goes to all of it, the size left as it is.
        select(box, 0, 5);
        box.setSelectionFontName(families[0]);
        select(box, 0, 11);
        dialog = open(f);
        choose(dialog->fontList, families[1]);
        QCOMPARE(dialog->sampleLabel->text(), families[1]);
        closeBy(f, dialog);
        QCOMPARE(box.selectionFontName(), std::optional<QString>(families[1]));
        QCOMPARE(box.selectionFontSize(), std::optional<double>(14));
    }
};

QTEST_MAIN(FontDialogTest)
#include "tst_fontdialog.moc"
