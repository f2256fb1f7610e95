// The rich-text surface's operations, as the commands use them.
#include "document/RichTextBox.h"
#include "platform/Failure.h"
#include "rtf/DocumentExtras.h"
#include "rtf/TextFormats.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QHelpEvent>
#include <QTextBlock>
#include <QToolTip>

namespace {

// A surface holding "plain bold" with the second word bold, in two paragraphs "one" / "two".
void fill(RichTextBox &box)
{
    box.setSelText("plain bold\nnext");
    box.setSelStart(6);
    box.setSelLength(4);
    box.setSelBold(true);
    box.setSelStart(0);
}

void select(RichTextBox &box, int start, int length)
{
    box.setSelStart(start);
    box.setSelLength(length);
}

} // namespace

class SurfaceTest : public QObject
{
    Q_OBJECT

private slots:
    void mixedSelectionsReadAsNull()
    {
        RichTextBox box;
        fill(box);
        select(box, 0, 10);
        QCOMPARE(box.SelBold(), std::nullopt);
        QCOMPARE(box.SelItalic(), std::optional<bool>(false));
        select(box, 6, 4);
        QCOMPARE(box.SelBold(), std::optional<bool>(true));
        // Writing True over a mixed selection makes all of it bold.
        select(box, 0, 10);
        box.setSelBold(true);
        QCOMPARE(box.SelBold(), std::optional<bool>(true));

        select(box, 0, 5);
        box.setSelFontSize(14);
        select(box, 0, 10);
        QCOMPARE(box.SelFontSize(), std::nullopt);
        box.setSelFontName("DejaVu Sans");
        QCOMPARE(box.SelFontName(), std::optional<QString>("DejaVu Sans"));
        select(box, 3, 4);
        box.setSelColor(0x0000FF);
        select(box, 0, 10);
        QCOMPARE(box.SelColor(), std::nullopt);
        select(box, 3, 4);
        QCOMPARE(box.SelColor(), std::optional<quint32>(0x0000FF)); // red as 0x00BBGGRR
    }

    void caretReadsAndWritesTheTypingFormat()
    {
        RichTextBox box;
        box.setSelText("abc");
        QCOMPARE(box.SelFontName(), std::optional<QString>("Times New Roman"));
        QCOMPARE(box.SelFontSize(), std::optional<double>(9.75));
        QSignalSpy changes(&box, &RichTextBox::Change);
        box.setSelItalic(true);
        QCOMPARE(changes.count(), 0); // only the caret's format changed
        QTest::keyClicks(box.viewport(), "d"); // typing uses it
        box.setSelStart(3);
        box.setSelLength(1);
        QCOMPARE(box.SelItalic(), std::optional<bool>(true));
        QCOMPARE(box.Text(), QStringLiteral("abcd"));
    }

    void writesRaiseChangeOnlyWhenTheyChangeSomething()
    {
        RichTextBox box;
        fill(box);
        select(box, 6, 4);
        QSignalSpy changes(&box, &RichTextBox::Change);
        box.setSelBold(true);
        box.setSelFontName(box.SelFontName().value());
        box.setSelFontSize(box.SelFontSize().value());
        box.setSelAlignment(0);
        box.setSelBullet(false);
        box.setSelText(QString());
        QCOMPARE(changes.count(), 1); // only deleting the selected text changed the document
        select(box, 0, 5);
        changes.clear();
        box.setSelUnderline(true);
        QCOMPARE(changes.count(), 1);
        box.setSelAlignment(2);
        QCOMPARE(changes.count(), 2);
    }

    void selLengthClampsAndSelStartEmptiesTheSelection()
    {
        RichTextBox box;
        box.setSelText("hello");
        box.setSelStart(1);
        box.setSelLength(100000);
        QCOMPARE(box.SelStart(), 1);
        QCOMPARE(box.SelLength(), 4);
        QCOMPARE(box.SelText(), QStringLiteral("ello"));
        box.setSelStart(2);
        QCOMPARE(box.SelLength(), 0);
        box.setSelStart(0);
        box.setSelLength(int(box.TextRTF().size()));
        QCOMPARE(box.SelText(), QStringLiteral("hello"));
        QVERIFY_THROWS_EXCEPTION(Failure, box.setSelLength(-1));
        RichTextBox empty;
        empty.setSelLength(50);
        QCOMPARE(empty.SelLength(), 0);
    }

    void paragraphPropertiesCoverTheTouchedParagraphs()
    {
        RichTextBox box;
        box.setSelText("one\ntwo\nthree");
        select(box, 0, 5); // "one" and the start of "two"
        box.setSelAlignment(2);
        box.setSelStart(9);
        QCOMPARE(box.SelAlignment(), std::optional<int>(0));
        select(box, 0, 13);
        QCOMPARE(box.SelAlignment(), std::nullopt);
        select(box, 0, 5);
        QCOMPARE(box.SelAlignment(), std::optional<int>(2));
        box.setSelAlignment(1);
        QCOMPARE(box.document()->findBlockByNumber(1).blockFormat().alignment() & Qt::AlignHorizontal_Mask,
                 Qt::AlignRight);
        QVERIFY_THROWS_EXCEPTION(Failure, box.setSelAlignment(7));

        box.setSelIndent(720);
        QCOMPARE(box.SelIndent(), std::optional<int>(720));
        QCOMPARE(box.document()->firstBlock().blockFormat().leftMargin(), 48.0); // 720 twips at 96 dpi
        box.setSelRightIndent(QStringLiteral("200"));
        QCOMPARE(box.SelRightIndent(), std::optional<int>(200));
        QVERIFY_THROWS_EXCEPTION(Failure, box.setSelIndent(QStringLiteral("")));
        QCOMPARE(box.SelIndent(), std::optional<int>(720));
    }

    void bulletsOnMixedAndBulletedParagraphs()
    {
        RichTextBox box;
        box.setSelText("one\ntwo\nthree");
        box.setSelStart(0);
        box.setSelBullet(true);
        select(box, 0, 13);
        QCOMPARE(box.SelBullet(), std::nullopt);
        box.setSelBullet(true);
        QCOMPARE(box.SelBullet(), std::optional<bool>(true));
        QCOMPARE(box.document()->findBlockByNumber(2).textList(), box.document()->firstBlock().textList());
        box.setSelBullet(false);
        QCOMPARE(box.SelBullet(), std::optional<bool>(false));
        for (QTextBlock b = box.document()->firstBlock(); b.isValid(); b = b.next()) {
            QVERIFY(!b.textList());
            QCOMPARE(b.blockFormat().indent(), 0);
        }
    }

    void endingAListKeepsTheFont_data()
    {
        QTest::addColumn<bool>("byReturn");
        QTest::newRow("Return on an empty bullet") << true;
        QTest::newRow("bullets switched off") << false;
    }

    void endingAListKeepsTheFont()
    {
        QFETCH(bool, byReturn);
        RichTextBox box;
        box.setSelFontName("Liberation Mono");
        box.setSelFontSize(14);
        box.setSelBullet(true);
        QTest::keyClicks(box.viewport(), "one");
        QTest::keyClick(box.viewport(), Qt::Key_Return);
        if (byReturn)
            QTest::keyClick(box.viewport(), Qt::Key_Return);
        else
            box.setSelBullet(false);
        QTest::keyClicks(box.viewport(), "after");
        QCOMPARE(box.Text(), QStringLiteral("one\r\nafter"));
        QVERIFY(box.document()->firstBlock().textList());
        QVERIFY(!box.document()->lastBlock().textList());
        QCOMPARE(box.document()->lastBlock().blockFormat().indent(), 0);

        // As typed, and as saved and read back.
        RichTextBox reread;
        reread.setTextRTF(box.TextRTF());
        for (RichTextBox *surface : {&box, &reread}) {
            select(*surface, 5, 5);
            QCOMPARE(surface->SelFontName(), std::optional<QString>("Liberation Mono"));
            QCOMPARE(surface->SelFontSize(), std::optional<double>(14));
            QCOMPARE(surface->SelBullet(), std::optional<bool>(false));
        }
    }

    void sizesAndOffsetsTakeTextThatReadsAsANumber()
    {
        RichTextBox box;
        box.setSelText("x");
        box.setSelStart(0);
        box.setSelLength(1);
        box.setSelFontSize(QStringLiteral("12"));
        QCOMPARE(box.SelFontSize(), std::optional<double>(12));
        QVERIFY_THROWS_EXCEPTION(Failure, box.setSelFontSize(QStringLiteral("big")));
        QVERIFY_THROWS_EXCEPTION(Failure, box.setSelFontSize(QString()));
        QVERIFY_THROWS_EXCEPTION(Failure, box.setSelFontSize(-3));
        QCOMPARE(box.SelFontSize(), std::optional<double>(12));
        box.setSelCharOffset(60);
        QCOMPARE(box.SelCharOffset(), std::optional<int>(60));
        QVERIFY_THROWS_EXCEPTION(Failure, box.setHeight(-1));
        box.setWidth(1500);
        QCOMPARE(box.width(), 100);
    }

    void backColorBelongsToTheSurface()
    {
        RichTextBox one, two;
        const quint32 before = two.BackColor();
        one.setBackColor(0x00FFFF); // yellow
        QCOMPARE(one.BackColor(), quint32(0x00FFFF));
        QCOMPARE(one.palette().color(QPalette::Base), QColor(255, 255, 0));
        QCOMPARE(two.BackColor(), before);
    }

    void plainTextLoadsWithCrLfLinesAndTheCaretFormat()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("notes.txt");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("caf\xe9\r\nline two\r\n"); // Windows-1252, not UTF-8
        file.close();
        RichTextBox box;
        // A header and page set-up of the file shown before do not stay with plain text.
        box.setTextRTF("{\\rtf1\\ansi\\paperw5000{\\header Old head\\par}Rich\\par}");
        box.setSelFontSize(12);
        QSignalSpy changes(&box, &RichTextBox::Change);
        box.LoadFile(path, RichTextBox::PlainText);
        QVERIFY(changes.count() >= 1);
        QVERIFY(DocumentExtras::of(*box.document()).isEmpty());
        QVERIFY(!box.TextRTF().contains("Old head"));
        QCOMPARE(box.Text(), QStringLiteral("caf\u00e9\r\nline two\r\n"));
        box.setSelStart(0);
        box.setSelLength(100);
        QCOMPARE(box.SelFontSize(), std::optional<double>(12));
        QVERIFY(!box.document()->isUndoAvailable());
        QVERIFY_THROWS_EXCEPTION(Failure, box.LoadFile(dir.filePath("missing.txt"), RichTextBox::PlainText));
        QCOMPARE(box.Text(), QStringLiteral("caf\u00e9\r\nline two\r\n"));
        try {
            box.LoadFile(dir.filePath("missing.txt"));
        } catch (const Failure &failure) {
            QVERIFY(failure.message().contains("missing.txt"));
            QVERIFY(failure.message().contains("No such file"));
        }
    }

    // Resting the mouse on a note's mark shows the note; anywhere else shows nothing.
    void aNotesMarkShowsTheNoteAsATooltip()
    {
        RichTextBox box;
        box.resize(400, 200);
        box.show();
        box.setTextRTF("{\\rtf1\\ansi Before{\\super\\chftn{\\footnote\\pard{\\super\\chftn} The note says this.}}"
                       " after\\par}");
        int mark = -1;
        for (auto it = box.document()->begin().begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().hasProperty(TextFormats::kNoteProperty))
                mark = it.fragment().position();
        QVERIFY(mark > 0);
        const auto middleOf = [&](int position) {
            QTextCursor at(box.document());
            at.setPosition(position);
            const QRect left = box.cursorRect(at);
            at.setPosition(position + 1);
            return QPoint((left.x() + box.cursorRect(at).x()) / 2, left.center().y());
        };
        const QString note = box.noteTextAt(middleOf(mark));
        QVERIFY2(note.contains(QStringLiteral("The note says this.")), qPrintable(note));
        QCOMPARE(box.noteTextAt(middleOf(mark - 1)), QString());
        QCOMPARE(box.noteTextAt(middleOf(mark + 2)), QString());
        QCOMPARE(box.noteTextAt(QPoint(390, middleOf(mark).y())), QString()); // past the end of the line

        QHelpEvent hover(QEvent::ToolTip, middleOf(mark), box.viewport()->mapToGlobal(middleOf(mark)));
        QApplication::sendEvent(box.viewport(), &hover);
        QVERIFY(QToolTip::text().contains(QStringLiteral("The note says this.")));
    }

    void deleteClearsOnlyTheSelection()
    {
        RichTextBox box;
        box.setSelText("abc");
        box.setSelStart(1);
        box.Clear();
        QCOMPARE(box.Text(), QStringLiteral("abc"));
        box.setSelLength(1);
        box.Clear();
        QCOMPARE(box.Text(), QStringLiteral("ac"));
    }

    void keyDownComesBeforeTheKeyActs()
    {
        RichTextBox box;
        box.setSelText("ab");
        box.setSelStart(0);
        QList<int> positionsAtKeyDown;
        QList<int> codes;
        connect(&box, &RichTextBox::KeyDown, &box, [&](int code, int shift) {
            if (code == 16)
                return; // the Shift key itself
            codes << code * 10 + shift;
            positionsAtKeyDown << box.SelStart();
        });
        QTest::keyClick(box.viewport(), Qt::Key_Right);
        QTest::keyClick(box.viewport(), Qt::Key_Left, Qt::ShiftModifier);
        QTest::keyClick(box.viewport(), Qt::Key_X);
        QCOMPARE(codes, (QList<int>{390, 371, 880}));
        QCOMPARE(positionsAtKeyDown, (QList<int>{0, 1, 0}));
    }

    void clickAndDoubleClickAreReported()
    {
        RichTextBox box;
        box.resize(300, 200);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        box.setSelText("word another");
        QSignalSpy clicks(&box, &RichTextBox::Click);
        QSignalSpy doubles(&box, &RichTextBox::DblClick);
        QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, QPoint(5, 8));
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(box.SelStart(), 0);
        QTest::mouseDClick(box.viewport(), Qt::LeftButton, {}, QPoint(8, 8));
        QCOMPARE(doubles.count(), 1);
    }

    void selectionReadsAreLinearOnALargeDocument()
    {
        // 20,000 alternating runs: a property read over all of them must walk the fragments, not
        // the characters, so this stays quick even in a debug build.
        RichTextBox box;
        QTextCursor c(box.document());
        QTextCharFormat bold, plain;
        bold.setFontWeight(QFont::Bold);
        plain.setFontWeight(QFont::Normal);
        c.beginEditBlock();
        for (int i = 0; i < 20000; ++i)
            c.insertText(QStringLiteral("word "), i % 2 ? bold : plain);
        c.endEditBlock();
        box.setSelStart(0);
        box.setSelLength(box.characterCount());
        QCOMPARE(box.SelBold(), std::nullopt);
        QCOMPARE(box.SelItalic(), std::optional<bool>(false));
    }
};

QTEST_MAIN(SurfaceTest)
#include "tst_surface.moc"
