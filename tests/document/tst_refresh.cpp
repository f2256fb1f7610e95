// The frame's formatting indicators following the caret: which rows run on a content change, a
// click and an arrow key, in which order, and that following the caret never changes a document.
#include "support/FrameFixture.h"

#include "document/Form3.h"
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
    box.setSelStart(start);
    box.setSelLength(length);
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
    box.setSelText("xy\nZW");
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
    box.setSelAlignment(RichTextBox::Center);
    box.setSelBullet(true);
}

// Records, in order, the row letter of every indicator that changes.
class IndicatorLog : public QObject
{
public:
    explicit IndicatorLog(MDIForm1 &frame)
    {
        connect(Combo1Of(frame), &DropDownList::Change, this, [this] { rows += 'F'; });
        connect(Combo2Of(frame), &DropDownList::Change, this, [this] { rows += 'S'; });
        connect(frame.menuItem(QStringLiteral("bs")), &QAction::toggled, this, [this] { rows += 'B'; });
        for (const char key : QByteArray("abcdefg")) {
            QAction *button = Toolbar2Of(frame)->button(QString(QLatin1Char(key)));
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

Indicators indicators(MDIForm1 &frame)
{
    Indicators shown{Combo1Of(frame)->Text(), Combo2Of(frame)->Text(), frame.menuItem(QStringLiteral("bs"))->isChecked(), {}};
    for (const char key : QByteArray("abcdefg"))
        shown.buttons << Toolbar2Of(frame)->Value(QString(QLatin1Char(key)));
    return shown;
}

const Indicators kFirstParagraph{kSans, QStringLiteral("20"), false, {0, 0, 0, 0, 1, 0, 0}};
const Indicators kSecondParagraph{kSerif, QStringLiteral("14"), true, {1, 1, 1, 1, 0, 1, 0}};

void refreshAll(RichTextBox &box, MDIForm1 &frame)
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
        MDIForm1 &frame = *f.frame;
        fillTwoParagraphs(box);
        box.setSelStart(4);
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
        QCOMPARE(Toolbar2Of(frame)->Value("a"), 0);
        QCOMPARE(Combo1Of(frame)->Text(), kSans); // the font agrees, so its row ran
        select(box, 0, 1);
        refreshAll(box, frame);
        QCOMPARE(Toolbar2Of(frame)->Value("a"), 1);

        // Justified text is none of the three alignments.
        box.setSelAlignment(RichTextBox::Justify);
        refreshAll(box, frame);
        QCOMPARE(QList<int>(indicators(frame).buttons.mid(4)), QList<int>({0, 0, 0}));
        QVERIFY(f.dialogs.asks().isEmpty());
    }

    void anArrowKeyLeavesTheIndicatorsOneStepBehind()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        MDIForm1 &frame = *f.frame;
        fillTwoParagraphs(box);
        box.setSelStart(2); // end of the first paragraph
        refreshAll(box, frame);
        QCOMPARE(indicators(frame), kFirstParagraph);

        // The key crosses into the second paragraph, but the indicators describe where it started.
        IndicatorLog log(frame);
        QTest::keyClick(box.viewport(), Qt::Key_Right);
        QCOMPARE(box.SelStart(), 3);
        QCOMPARE(indicators(frame), kFirstParagraph);
        QCOMPARE(log.rows, QByteArray());

        // The next one catches up, row by row in the arrow key's order. The alignment buttons are
        // one group, so of them only "e" (released) and "f" (pressed) change.
        log.rows.clear();
        QTest::keyClick(box.viewport(), Qt::Key_Right);
        QCOMPARE(indicators(frame), kSecondParagraph);
        QCOMPARE(log.rows, QByteArray("BabdefcFS"));

        // Keys other than the arrows refresh nothing.
        box.setSelStart(1);
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
        MDIForm1 &frame = *f.frame;
        fillTwoParagraphs(box);

        // A click shows the clicked position at once.
        box.setSelStart(1);
        refreshAll(box, frame);
        IndicatorLog log(frame);
        box.setSelStart(4);
        QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, box.cursorRect().center());
        QCOMPARE(box.SelStart(), 4);
        QCOMPARE(indicators(frame), kSecondParagraph);
        QCOMPARE(log.rows, QByteArray("BFSabcdef"));

        // A content change marks the window first, then shows the caret's formatting.
        box.setSelStart(1);
        refreshAll(box, frame);
        f.active()->doc = 0;
        box.setSelStart(4);
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
        KeyedToolbar &bar = *Toolbar2Of(*f.frame);
        box.setSelText("some words");
        select(box, 0, 10);
        bar.button("a")->trigger();
        QCOMPARE(box.SelBold(), std::optional<bool>(true));
        QCOMPARE(bar.Value("a"), 1);

        // The same selection again after the undo: what it reads is the undone formatting.
        box.Undo();
        select(box, 0, 10);
        QCOMPARE(box.SelBold(), std::optional<bool>(false));
        QTest::keyClick(box.viewport(), Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(bar.Value("a"), 0);
        box.redo();
        select(box, 0, 10);
        QCOMPARE(box.SelBold(), std::optional<bool>(true));
        QTest::keyClick(box.viewport(), Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(bar.Value("a"), 1);
    }

    void followingTheCaretNeverChangesTheDocument()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        MDIForm1 &frame = *f.frame;
        fillTwoParagraphs(box);
        box.setSelStart(0);
        Form3 &form = *f.active();
        form.doc = 0;
        const QString before = box.document()->toHtml();
        const int undoSteps = box.document()->availableUndoSteps();

        // Every click and arrow key here makes the boxes change, and each box applies its new
        // entry back to the selection.
        IndicatorLog log(frame);
        for (int position : {1, 4, 2, 5}) {
            box.setSelStart(position);
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
        Combo1Of(frame)->setText(QStringLiteral("Liberation Mono"));
        QCOMPARE(box.SelFontName(), std::optional<QString>("Liberation Mono"));
        QCOMPARE(form.doc, -1);
        f.dialogs.answerMessage(Dialogs::Answer::Cancel);
        QVERIFY(!form.parentWidget()->close());
        QCOMPARE(f.dialogs.messages().constLast().text, QStringLiteral("Do you want to save changes to Document 1"));
    }

    void theActiveWindowShowsItsFormattingWithoutChanging()
    {
        FrameFixture f;
        f.start();
        MDIForm1 &frame = *f.frame;
        Form3 *first = f.active();
        fillTwoParagraphs(*first->RichTextBox1);
        first->RichTextBox1->setSelStart(4);
        f.trigger("new");
        Form3 *second = f.active();
        fillTwoParagraphs(*second->RichTextBox1);
        second->RichTextBox1->setSelStart(1);
        emit second->RichTextBox1->Click();
        QCOMPARE(indicators(frame), kFirstParagraph);
        first->doc = second->doc = 0;
        const QString before = first->RichTextBox1->document()->toHtml();

        // Choosing a window shows where its caret stands; coming back shows the other again.
        mdiAreaOf(frame)->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(first->parentWidget()));
        QCOMPARE(f.active(), first);
        QCOMPARE(indicators(frame), kSecondParagraph);
        mdiAreaOf(frame)->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(second->parentWidget()));
        QCOMPARE(indicators(frame), kFirstParagraph);
        QCOMPARE(first->doc, 0);
        QCOMPARE(second->doc, 0);
        QCOMPARE(first->RichTextBox1->document()->toHtml(), before);
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
        f.surface().setSelStart(1);
        emit f.surface().Click();
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
        box.setSelText("odd size");
        Combo2Of(*f.frame)->setText(QStringLiteral("20")); // only the caret takes it
        select(box, 0, 3);
        QTextCharFormat odd;
        odd.setFontPointSize(std::nextafter(14.0, 15.0)); // as a conversion from pixels can leave it
        formatRange(box, 0, 8, odd);
        f.active()->doc = 0;
        const int undoSteps = box.document()->availableUndoSteps();

        emit box.Click();
        QCOMPARE(Combo2Of(*f.frame)->Text(), QStringLiteral("20"));
        QCOMPARE(box.SelFontSize(), std::optional<double>(std::nextafter(14.0, 15.0)));
        QCOMPARE(box.document()->availableUndoSteps(), undoSteps);
        QCOMPARE(f.active()->doc, 0);
        QCOMPARE(FormattingRefresh::sizeText(14), QStringLiteral("14"));
        QCOMPARE(FormattingRefresh::sizeText(9.75), QStringLiteral("9.75"));
    }
};

QTEST_MAIN(RefreshTest)
#include "tst_refresh.moc"
