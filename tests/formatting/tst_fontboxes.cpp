// The font name and size boxes: what they show is applied to the active selection.
#include "support/FrameFixture.h"

#include "document/DocumentWindow.h"
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
    box.setSelectionStart(start);
    box.setSelectionLength(length);
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
        box.setSelectionText("alpha beta");
        f.active()->doc = 0;

        select(box, 0, 5);
        choose(*fontNameBoxOf(*f.frame), kSerif);
        QCOMPARE(box.selectionFontName(), std::optional<QString>(kSerif));
        choose(*fontSizeBoxOf(*f.frame), QStringLiteral("36"));
        QCOMPARE(box.selectionFontSize(), std::optional<double>(36));
        select(box, 6, 4);
        QCOMPARE(box.selectionFontName(), std::optional<QString>("Times New Roman")); // the rest as it was
        QCOMPARE(f.active()->doc, -1); // a real change: closing asks

        // With only a caret, the text typed next takes the chosen font.
        box.setSelectionStart(10);
        choose(*fontNameBoxOf(*f.frame), kSans);
        choose(*fontSizeBoxOf(*f.frame), QStringLiteral("20"));
        QTest::keyClicks(box.viewport(), "!");
        select(box, 10, 1);
        QCOMPARE(box.selectionFontName(), std::optional<QString>(kSans));
        QCOMPARE(box.selectionFontSize(), std::optional<double>(20));
        QVERIFY(f.dialogs.asks().isEmpty());
    }

    void aTypedLetterReappliesTheShownEntryThenTheOneItMovesTo()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        DropDownList &names = *fontNameBoxOf(*f.frame);
        box.setSelectionText("alpha beta");
        select(box, 0, 10);
        names.setText(kSans); // the box starts at the serif that stands in for Times New Roman
        names.setText(kSerif);
        QCOMPARE(box.selectionFontName(), std::optional<QString>(kSerif)); // the change applied it
        formatRange(box, 0, 5, withFont(kSans)); // now mixed; the box keeps showing the serif

        QStringList applied;
        connect(&box, &RichTextBox::contentChanged, this, [&] { applied << box.selectionFontName().value_or("mixed"); });
        names.setFocus();
        QTest::keyClick(&names, Qt::Key_D);
        // The first entry after the shown one that starts with the letter.
        int expected = names.findText(kSerif);
        do
            expected = (expected + 1) % names.count();
        while (!names.itemText(expected).startsWith(QLatin1Char('D'), Qt::CaseInsensitive));
        QCOMPARE(names.currentIndex(), expected); // the key went on to the box
        QCOMPARE(applied, QStringList({kSerif, names.itemText(expected)}));
        QCOMPARE(box.selectionFontName(), std::optional<QString>(names.itemText(expected)));

        // A letter that moves the size box nowhere re-applies the shown size.
        fontSizeBoxOf(*f.frame)->setText(QStringLiteral("12"));
        QTextCharFormat large;
        large.setFontPointSize(30);
        formatRange(box, 0, 5, large);
        QCOMPARE(box.selectionFontSize(), std::nullopt);
        fontSizeBoxOf(*f.frame)->setFocus();
        QTest::keyClick(fontSizeBoxOf(*f.frame), Qt::Key_X);
        QCOMPARE(box.selectionFontSize(), std::optional<double>(12));
        QCOMPARE(fontSizeBoxOf(*f.frame)->text(), QStringLiteral("12"));
    }

    void enterOnAMixedSelectionGivesItTheShownFont()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        box.setSelectionText("alpha beta");
        select(box, 6, 4);
        choose(*fontNameBoxOf(*f.frame), kSerif);
        select(box, 0, 10);
        formatRange(box, 0, 5, withFont(kSans));
        QCOMPARE(box.selectionFontName(), std::nullopt);
        QCOMPARE(fontNameBoxOf(*f.frame)->text(), kSerif); // stale: the mixed row was skipped

        fontNameBoxOf(*f.frame)->setFocus();
        QTest::keyClick(fontNameBoxOf(*f.frame), Qt::Key_Return);
        QCOMPARE(box.selectionFontName(), std::optional<QString>(kSerif));
        QCOMPARE(fontNameBoxOf(*f.frame)->text(), kSerif);
    }

    void sizesOffTheListLeaveTheSizeBoxAlone()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        DropDownList &sizes = *fontSizeBoxOf(*f.frame);
        box.setSelectionText("small half large");
        select(box, 6, 4);
        box.setSelectionFontSize(10.5);
        select(box, 11, 5);
        box.setSelectionFontSize(14);
        // "small" keeps the window's own 9.75 points.

        const auto caretAt = [&](int position) {
            box.setSelectionStart(position);
            QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, box.cursorRect().center());
        };
        caretAt(13);
        QCOMPARE(sizes.text(), QStringLiteral("14"));
        caretAt(2);
        QCOMPARE(box.selectionFontSize(), std::optional<double>(9.75));
        QCOMPARE(sizes.text(), QStringLiteral("14"));
        caretAt(8);
        QCOMPARE(box.selectionFontSize(), std::optional<double>(10.5));
        QCOMPARE(sizes.text(), QStringLiteral("14"));
        // Nothing was applied back: the text keeps its sizes.
        select(box, 0, 5);
        QCOMPARE(box.selectionFontSize(), std::optional<double>(9.75));
        select(box, 6, 4);
        QCOMPARE(box.selectionFontSize(), std::optional<double>(10.5));
        QCOMPARE(sizes.count(), 63);
        QCOMPARE(sizes.itemText(0), QStringLiteral("10"));
        QCOMPARE(sizes.itemText(62), QStringLiteral("72"));
    }

    void nothingHappensWithoutADocumentOrWithAnEmptyBox()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        box.setSelectionText("words");
        select(box, 0, 5);
        f.active()->doc = 0;
        QSignalSpy changes(&box, &RichTextBox::contentChanged);
        fontSizeBoxOf(*f.frame)->setCurrentIndex(-1); // an empty size box is refused by the surface
        QCOMPARE(changes.count(), 0);
        QCOMPARE(box.selectionFontSize(), std::optional<double>(9.75));

        f.active()->doc = 0;
        mdiAreaOf(*f.frame)->closeAllSubWindows();
        QCoreApplication::processEvents();
        QVERIFY(!f.frame->activeDocument());
        choose(*fontNameBoxOf(*f.frame), kSans);
        choose(*fontSizeBoxOf(*f.frame), QStringLiteral("40"));
        fontNameBoxOf(*f.frame)->setFocus();
        QTest::keyClick(fontNameBoxOf(*f.frame), Qt::Key_L);
        QTest::keyClick(fontNameBoxOf(*f.frame), Qt::Key_Return);
        fontSizeBoxOf(*f.frame)->setFocus();
        QTest::keyClick(fontSizeBoxOf(*f.frame), Qt::Key_Return);
        QVERIFY(f.dialogs.asks().isEmpty());
        QVERIFY(f.frame->documents().isEmpty());
    }
};

QTEST_MAIN(FontBoxesTest)
#include "tst_fontboxes.moc"
