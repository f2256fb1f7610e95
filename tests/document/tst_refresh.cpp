// The frame's formatting indicators following the caret: which rows run on a content change, a
// click and an arrow key, in which order, and that following the caret never changes a document.
#include "support/FrameFixture.h"

#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "platform/DropDownList.h"
#include "platform/KeyedToolbar.h"
#include "rtf/TextFormats.h"
#include "workspace/FormattingRefresh.h"

#include <QMdiSubWindow>
#include <QTest>
#include <QTextCursor>
#include <cmath>

namespace {

const QString kSans = QStringLiteral("DejaVu Sans");
const QString kSerif = QStringLiteral("Liberation Serif");

void select(RichTextBox &box, int start, int length)
{
    box.setSelectionStart(start);
    box.setSelectionLength(length);
}

// Formats a range without moving the selection.
void formatRange(RichTextBox &box, int start, int length, const QTextCharFormat &format)
{
    QTextCursor range(box.document());
    range.setPosition(start);
    range.setPosition(start + length, QTextCursor::KeepAnchor);
    range.mergeCharFormat(format);
}

// Two paragraphs that differ in every indicator: "xy" plain, sans, 20 points, left aligned;
// "ZW" bold, italic, underlined, struck through, serif, 14 points, centred and bulleted.
void fillTwoParagraphs(RichTextBox &box)
{
    box.setSelectionText("xy\nZW");
    QTextCharFormat first;
    TextFormats::setFamily(first, kSans);
    first.setFontPointSize(20);
    formatRange(box, 0, 2, first);
    QTextCharFormat second;
    TextFormats::setFamily(second, kSerif);
    second.setFontPointSize(14);
    second.setFontWeight(QFont::Bold);
    second.setFontItalic(true);
    second.setFontUnderline(true);
    second.setFontStrikeOut(true);
    formatRange(box, 3, 2, second);
    select(box, 3, 1);
    box.setSelectionAlignment(RichTextBox::Center);
    box.setSelectionBullet(true);
}

// Records, in order, the row letter of every indicator that changes.
class IndicatorLog : public QObject
{
public:
    explicit IndicatorLog(MainFrame &frame)
    {
        connect(fontNameBoxOf(frame), &DropDownList::choiceChanged, this, [this] { rows += 'F'; });
        connect(fontSizeBoxOf(frame), &DropDownList::choiceChanged, this, [this] { rows += 'S'; });
        connect(frame.menuItem(QStringLiteral("bs")), &QAction::toggled, this, [this] { rows += 'B'; });
        for (const char key : QByteArray("abcdefg")) {
            QAction *button = formattingToolbarOf(frame)->button(QString(QLatin1Char(key)));
            connect(button, &QAction::toggled, this, [this, key] { rows += key; });
        }
    }
    QByteArray rows;
};

struct Indicators {
    QString font, size;
    bool bullet;
    QList<int> buttons; // "a" to "g"
    bool operator==(const Indicators &) const = default;
};

Indicators indicators(MainFrame &frame)
{
    Indicators shown{fontNameBoxOf(frame)->text(), fontSizeBoxOf(frame)->text(), frame.menuItem(QStringLiteral("bs"))->isChecked(), {}};
    for (const char key : QByteArray("abcdefg"))
        shown.buttons << formattingToolbarOf(frame)->state(QString(QLatin1Char(key)));
    return shown;
}

const Indicators kFirstParagraph{kSans, QStringLiteral("20"), false, {0, 0, 0, 0, 1, 0, 0}};
const Indicators kSecondParagraph{kSerif, QStringLiteral("14"), true, {1, 1, 1, 1, 0, 1, 0}};

void refreshAll(RichTextBox &box, MainFrame &frame)
{
    FormattingRefresh::run(box, frame, QString::fromLatin1(FormattingRefresh::ContentChange));
}

} // namespace

namespace QTest {
template <>
char *toString(const Indicators &shown)
{
    QStringList buttons;
    for (int b : shown.buttons)
        buttons << QString::number(b);
    return qstrdup(qPrintable(QStringLiteral("%1 / %2 / bullet %3 / %4")
                                  .arg(shown.font, shown.size, shown.bullet ? "on" : "off", buttons.join(' '))));
}
} // namespace QTest

class RefreshTest : public QObject
{
    Q_OBJECT

private slots:
    void mixedValuesReleaseTheButtonsAndLeaveTheBoxes()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        MainFrame &frame = *f.frame;
        fillTwoParagraphs(box);
        box.setSelectionStart(4);
        refreshAll(box, frame);
        QCOMPARE(indicators(frame), kSecondParagraph);

        // Across both paragraphs every value is mixed: the boxes keep the last entries and every
        // button and the check are released, each row on its own.
        select(box, 1, 3);
        refreshAll(box, frame);
        QCOMPARE(indicators(frame), (Indicators{kSerif, QStringLiteral("14"), false, {0, 0, 0, 0, 0, 0, 0}}));

        // Partly bold inside one paragraph: "a" released; wholly bold: pressed.
        formatRange(box, 0, 1, [] { QTextCharFormat bold; bold.setFontWeight(QFont::Bold); return bold; }());
        select(box, 0, 2);
        refreshAll(box, frame);
        QCOMPARE(formattingToolbarOf(frame)->state("a"), 0);
        QCOMPARE(fontNameBoxOf(frame)->text(), kSans); // the font agrees, so its row ran
        select(box, 0, 1);
        refreshAll(box, frame);
        QCOMPARE(formattingToolbarOf(frame)->state("a"), 1);

        // Justified text is none of the three alignments.
        box.setSelectionAlignment(RichTextBox::Justify);
        refreshAll(box, frame);
        QCOMPARE(QList<int>(indicators(frame).buttons.mid(4)), QList<int>({0, 0, 0}));
        QVERIFY(f.dialogs.asks().isEmpty());
    }

    void anArrowKeyLeavesTheIndicatorsOneStepBehind()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        MainFrame &frame = *f.frame;
        fillTwoParagraphs(box);
        box.setSelectionStart(2); // end of the first paragraph
        refreshAll(box, frame);
        QCOMPARE(indicators(frame), kFirstParagraph);

        // The key crosses into the second paragraph, but the indicators describe where it started.
        IndicatorLog log(frame);
        QTest::keyClick(box.viewport(), Qt::Key_Right);
        QCOMPARE(box.selectionStart(), 3);
        QCOMPARE(indicators(frame), kFirstParagraph);
        QCOMPARE(log.rows, QByteArray());

        // The next one catches up, row by row in the arrow key's order. The alignment buttons are
        // one group, so of them only "e" (released) and "f" (pressed) change.
        log.rows.clear();
        QTest::keyClick(box.viewport(), Qt::Key_Right);
        QCOMPARE(indicators(frame), kSecondParagraph);
        QCOMPARE(log.rows, QByteArray("BabdefcFS"));

        // Keys other than the arrows refresh nothing.
        box.setSelectionStart(1);
        log.rows.clear();
        QTest::keyClick(box.viewport(), Qt::Key_Home);
        QTest::keyClick(box.viewport(), Qt::Key_End, Qt::ShiftModifier);
        QCOMPARE(log.rows, QByteArray());
    }

    void clicksAndContentChangesRunTheirRowsInTheirOrder()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        MainFrame &frame = *f.frame;
        fillTwoParagraphs(box);

        // A click shows the clicked position at once.
        box.setSelectionStart(1);
        refreshAll(box, frame);
        IndicatorLog log(frame);
        box.setSelectionStart(4);
        QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, box.cursorRect().center());
        QCOMPARE(box.selectionStart(), 4);
        QCOMPARE(indicators(frame), kSecondParagraph);
        QCOMPARE(log.rows, QByteArray("BFSabcdef"));

        // A content change marks the window first, then shows the caret's formatting.
        box.setSelectionStart(1);
        refreshAll(box, frame);
        f.active()->doc = 0;
        box.setSelectionStart(4);
        log.rows.clear();
        QTest::keyClicks(box.viewport(), "q");
        QCOMPARE(f.active()->doc, -1);
        QCOMPARE(indicators(frame), kSecondParagraph);
        QCOMPARE(log.rows, QByteArray("FSBabcdef"));
    }

    void undoAndRedoOfAFormattingChangeShowAtOnce()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        KeyedToolbar &bar = *formattingToolbarOf(*f.frame);
        box.setSelectionText("some words");
        select(box, 0, 10);
        bar.button("a")->trigger();
        QCOMPARE(box.selectionBold(), std::optional<bool>(true));
        QCOMPARE(bar.state("a"), 1);

        // The same selection again after the undo: what it reads is the undone formatting.
        box.undoEdit();
        select(box, 0, 10);
        QCOMPARE(box.selectionBold(), std::optional<bool>(false));
        QTest::keyClick(box.viewport(), Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(bar.state("a"), 0);
        box.redo();
        select(box, 0, 10);
        QCOMPARE(box.selectionBold(), std::optional<bool>(true));
        QTest::keyClick(box.viewport(), Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(bar.state("a"), 1);
    }

    void followingTheCaretNeverChangesTheDocument()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        MainFrame &frame = *f.frame;
        fillTwoParagraphs(box);
        box.setSelectionStart(0);
        DocumentWindow &form = *f.active();
        form.doc = 0;
        const QString before = box.document()->toHtml();
        const int undoSteps = box.document()->availableUndoSteps();

        // Every click and arrow key here makes the boxes change, and each box applies its new
        // entry back to the selection.
        IndicatorLog log(frame);
        for (int position : {1, 4, 2, 5}) {
            box.setSelectionStart(position);
            QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, box.cursorRect().center());
        }
        for (Qt::Key key : {Qt::Key_Up, Qt::Key_Left, Qt::Key_Down, Qt::Key_Right, Qt::Key_Left}) {
            QTest::keyClick(box.viewport(), key);
            QTest::keyClick(box.viewport(), key, Qt::ShiftModifier);
        }
        QVERIFY(log.rows.count('F') >= 4);
        QVERIFY(log.rows.count('S') >= 4);
        QCOMPARE(form.doc, 0);
        QCOMPARE(box.document()->toHtml(), before);
        QCOMPARE(box.document()->availableUndoSteps(), undoSteps);

        // A font chosen in a box is a real change: closing asks.
        select(box, 0, 2);
        fontNameBoxOf(frame)->setText(QStringLiteral("Liberation Mono"));
        QCOMPARE(box.selectionFontName(), std::optional<QString>("Liberation Mono"));
        QCOMPARE(form.doc, -1);
        f.dialogs.answerMessage(Dialogs::Answer::Cancel);
        QVERIFY(!form.parentWidget()->close());
        QCOMPARE(f.dialogs.messages().constLast().text, QStringLiteral("Do you want to save changes to Document 1"));
    }

    void theActiveWindowShowsItsFormattingWithoutChanging()
    {
        FrameFixture f;
        f.start();
        MainFrame &frame = *f.frame;
        DocumentWindow *first = f.active();
        fillTwoParagraphs(*first->surface);
        first->surface->setSelectionStart(4);
        f.trigger("new");
        DocumentWindow *second = f.active();
        fillTwoParagraphs(*second->surface);
        second->surface->setSelectionStart(1);
        emit second->surface->clicked();
        QCOMPARE(indicators(frame), kFirstParagraph);
        first->doc = second->doc = 0;
        const QString before = first->surface->document()->toHtml();

        // Choosing a window shows where its caret stands; coming back shows the other again.
        mdiAreaOf(frame)->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(first->parentWidget()));
        QCOMPARE(f.active(), first);
        QCOMPARE(indicators(frame), kSecondParagraph);
        mdiAreaOf(frame)->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(second->parentWidget()));
        QCOMPARE(indicators(frame), kFirstParagraph);
        QCOMPARE(first->doc, 0);
        QCOMPARE(second->doc, 0);
        QCOMPARE(first->surface->document()->toHtml(), before);
    }

    void aLoadedFileShowsItsFormatting()
    {
        // A centred, bold heading of 18 points in the serif, then plain text.
        const QByteArray heading = "{\\rtf1\\ansi{\\fonttbl{\\f0 Liberation Serif;}}"
                                   "\\pard\\qc\\b\\f0\\fs36 Heading\\par\\pard\\b0\\fs24 body\\par}";
        const Indicators shown{kSerif, QStringLiteral("18"), false, {1, 0, 0, 0, 0, 1, 0}};

        // Through Open, after another window showed something else.
        FrameFixture f;
        f.start();
        fillTwoParagraphs(f.surface());
        f.surface().setSelectionStart(1);
        emit f.surface().clicked();
        QCOMPARE(indicators(*f.frame), kFirstParagraph);
        f.dialogs.answerFile(f.writeFile("heading.rtf", heading));
        f.trigger("open");
        QCOMPARE(f.active()->windowTitle(), QStringLiteral("heading.rtf"));
        QCOMPARE(indicators(*f.frame), shown);
        QCOMPARE(f.active()->doc, 0);

        // From the command line.
        FrameFixture started({f.path("heading.rtf")});
        started.start();
        QCOMPARE(indicators(*started.frame), shown);
    }

    void aSizeTheBoxCannotShowExactlyStaysAsItIs()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        box.setSelectionText("odd size");
        fontSizeBoxOf(*f.frame)->setText(QStringLiteral("20")); // only the caret takes it
        select(box, 0, 3);
        QTextCharFormat odd;
        odd.setFontPointSize(std::nextafter(14.0, 15.0)); // as a conversion from pixels can leave it
        formatRange(box, 0, 8, odd);
        f.active()->doc = 0;
        const int undoSteps = box.document()->availableUndoSteps();

        emit box.clicked();
        QCOMPARE(fontSizeBoxOf(*f.frame)->text(), QStringLiteral("20"));
        QCOMPARE(box.selectionFontSize(), std::optional<double>(std::nextafter(14.0, 15.0)));
        QCOMPARE(box.document()->availableUndoSteps(), undoSteps);
        QCOMPARE(f.active()->doc, 0);
        QCOMPARE(FormattingRefresh::sizeText(14), QStringLiteral("14"));
        QCOMPARE(FormattingRefresh::sizeText(9.75), QStringLiteral("9.75"));
    }
};

QTEST_MAIN(RefreshTest)
#include "tst_refresh.moc"
