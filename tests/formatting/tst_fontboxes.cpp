// The font name and size boxes: what they show is applied to the active selection.
#include "support/FrameFixture.h"

#include "document/Form3.h"
#include "document/RichTextBox.h"
#include "platform/DropDownList.h"
#include "rtf/TextFormats.h"

#include <QFontDatabase>
#include <QSignalSpy>
#include <QTest>
#include <QTextCursor>

namespace {

void select(RichTextBox &box, int start, int length)
{
    box.setSelStart(start);
    box.setSelLength(length);
}

// Chooses an entry as the user does with the keyboard from the list: the box changes and reports
// the choice.
void choose(DropDownList &box, const QString &entry)
{
    const int index = box.findText(entry);
    QVERIFY2(index >= 0, qPrintable(entry));
    box.setCurrentIndex(index);
    emit box.activated(index);
}

// Formats part of the text without moving the selection, so the refresh keeps reading it.
void formatRange(RichTextBox &box, int start, int length, const QTextCharFormat &format)
{
    QTextCursor range(box.document());
    range.setPosition(start);
    range.setPosition(start + length, QTextCursor::KeepAnchor);
    range.mergeCharFormat(format);
}

QTextCharFormat withFont(const QString &name)
{
    QTextCharFormat format;
    TextFormats::setFamily(format, name);
    return format;
}

// "DejaVu Sans" and "Liberation Serif" stand in for the fonts a user has; both ship with the
// machine's font packages, and the box lists only installed fonts.
const QString kSans = QStringLiteral("DejaVu Sans");
const QString kSerif = QStringLiteral("Liberation Serif");

} // namespace

class FontBoxesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(QFontDatabase::families().contains(kSans));
        QVERIFY(QFontDatabase::families().contains(kSerif));
    }

    void choosingAnEntryAppliesItToTheSelectionOrTheCaret()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        box.setSelText("alpha beta");
        f.active()->doc = 0;

        select(box, 0, 5);
        choose(*Combo1Of(*f.frame), kSerif);
        QCOMPARE(box.SelFontName(), std::optional<QString>(kSerif));
        choose(*Combo2Of(*f.frame), QStringLiteral("36"));
        QCOMPARE(box.SelFontSize(), std::optional<double>(36));
        select(box, 6, 4);
        QCOMPARE(box.SelFontName(), std::optional<QString>("Times New Roman")); // the rest as it was
        QCOMPARE(f.active()->doc, -1); // a real change: closing asks

        // With only a caret, the text typed next takes the chosen font.
        box.setSelStart(10);
        choose(*Combo1Of(*f.frame), kSans);
        choose(*Combo2Of(*f.frame), QStringLiteral("20"));
        QTest::keyClicks(box.viewport(), "!");
        select(box, 10, 1);
        QCOMPARE(box.SelFontName(), std::optional<QString>(kSans));
        QCOMPARE(box.SelFontSize(), std::optional<double>(20));
        QVERIFY(f.dialogs.asks().isEmpty());
    }

    void aTypedLetterReappliesTheShownEntryThenTheOneItMovesTo()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        DropDownList &names = *Combo1Of(*f.frame);
        box.setSelText("alpha beta");
        select(box, 0, 10);
        names.setText(kSans); // the box starts at the serif that stands in for Times New Roman
        names.setText(kSerif);
        QCOMPARE(box.SelFontName(), std::optional<QString>(kSerif)); // the change applied it
        formatRange(box, 0, 5, withFont(kSans)); // now mixed; the box keeps showing the serif

        QStringList applied;
        connect(&box, &RichTextBox::Change, this, [&] { applied << box.SelFontName().value_or("mixed"); });
        names.setFocus();
        QTest::keyClick(&names, Qt::Key_D);
        // The first entry after the shown one that starts with the letter.
        int expected = names.findText(kSerif);
        do
            expected = (expected + 1) % names.count();
        while (!names.itemText(expected).startsWith(QLatin1Char('D'), Qt::CaseInsensitive));
        QCOMPARE(names.currentIndex(), expected); // the key went on to the box
        QCOMPARE(applied, QStringList({kSerif, names.itemText(expected)}));
        QCOMPARE(box.SelFontName(), std::optional<QString>(names.itemText(expected)));

        // A letter that moves the size box nowhere re-applies the shown size.
        Combo2Of(*f.frame)->setText(QStringLiteral("12"));
        QTextCharFormat large;
        large.setFontPointSize(30);
        formatRange(box, 0, 5, large);
        QCOMPARE(box.SelFontSize(), std::nullopt);
        Combo2Of(*f.frame)->setFocus();
        QTest::keyClick(Combo2Of(*f.frame), Qt::Key_X);
        QCOMPARE(box.SelFontSize(), std::optional<double>(12));
        QCOMPARE(Combo2Of(*f.frame)->Text(), QStringLiteral("12"));
    }

    void enterOnAMixedSelectionGivesItTheShownFont()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        box.setSelText("alpha beta");
        select(box, 6, 4);
        choose(*Combo1Of(*f.frame), kSerif);
        select(box, 0, 10);
        formatRange(box, 0, 5, withFont(kSans));
        QCOMPARE(box.SelFontName(), std::nullopt);
        QCOMPARE(Combo1Of(*f.frame)->Text(), kSerif); // stale: the mixed row was skipped

        Combo1Of(*f.frame)->setFocus();
        QTest::keyClick(Combo1Of(*f.frame), Qt::Key_Return);
        QCOMPARE(box.SelFontName(), std::optional<QString>(kSerif));
        QCOMPARE(Combo1Of(*f.frame)->Text(), kSerif);
    }

    void sizesOffTheListLeaveTheSizeBoxAlone()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        DropDownList &sizes = *Combo2Of(*f.frame);
        box.setSelText("small half large");
        select(box, 6, 4);
        box.setSelFontSize(10.5);
        select(box, 11, 5);
        box.setSelFontSize(14);
        // "small" keeps the window's own 9.75 points.

        const auto caretAt = [&](int position) {
            box.setSelStart(position);
            QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, box.cursorRect().center());
        };
        caretAt(13);
        QCOMPARE(sizes.Text(), QStringLiteral("14"));
        caretAt(2);
        QCOMPARE(box.SelFontSize(), std::optional<double>(9.75));
        QCOMPARE(sizes.Text(), QStringLiteral("14"));
        caretAt(8);
        QCOMPARE(box.SelFontSize(), std::optional<double>(10.5));
        QCOMPARE(sizes.Text(), QStringLiteral("14"));
        // Nothing was applied back: the text keeps its sizes.
        select(box, 0, 5);
        QCOMPARE(box.SelFontSize(), std::optional<double>(9.75));
        select(box, 6, 4);
        QCOMPARE(box.SelFontSize(), std::optional<double>(10.5));
        QCOMPARE(sizes.count(), 63);
        QCOMPARE(sizes.itemText(0), QStringLiteral("10"));
        QCOMPARE(sizes.itemText(62), QStringLiteral("72"));
    }

    void nothingHappensWithoutADocumentOrWithAnEmptyBox()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        box.setSelText("words");
        select(box, 0, 5);
        f.active()->doc = 0;
        QSignalSpy changes(&box, &RichTextBox::Change);
        Combo2Of(*f.frame)->setCurrentIndex(-1); // an empty size box is refused by the surface
        QCOMPARE(changes.count(), 0);
        QCOMPARE(box.SelFontSize(), std::optional<double>(9.75));

        f.active()->doc = 0;
        mdiAreaOf(*f.frame)->closeAllSubWindows();
        QCoreApplication::processEvents();
        QVERIFY(!f.frame->activeDocument());
        choose(*Combo1Of(*f.frame), kSans);
        choose(*Combo2Of(*f.frame), QStringLiteral("40"));
        Combo1Of(*f.frame)->setFocus();
        QTest::keyClick(Combo1Of(*f.frame), Qt::Key_L);
        QTest::keyClick(Combo1Of(*f.frame), Qt::Key_Return);
        Combo2Of(*f.frame)->setFocus();
        QTest::keyClick(Combo2Of(*f.frame), Qt::Key_Return);
        QVERIFY(f.dialogs.asks().isEmpty());
        QVERIFY(f.frame->documents().isEmpty());
    }
};

QTEST_MAIN(FontBoxesTest)
#include "tst_fontboxes.moc"
