// The rich-text surface's operations, as the commands use them.
#include "document/RichTextBox.h"
#include "platform/Failure.h"
#include "rtf/DocumentExtras.h"
#include "rtf/TextFormats.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QHelpEvent>
#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolTip>

namespace {

// A surface holding "plain bold" with the second word bold, in two paragraphs "one" / "two".
void fill(RichTextBox &box)
{
    box.setSelectionText("plain bold\nnext");
    box.setSelectionStart(6);
    box.setSelectionLength(4);
    box.setSelectionBold(true);
    box.setSelectionStart(0);
}

void select(RichTextBox &box, int start, int length)
{
    box.setSelectionStart(start);
    box.setSelectionLength(length);
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
        QCOMPARE(box.selectionBold(), std::nullopt);
        QCOMPARE(box.selectionItalic(), std::optional<bool>(false));
        select(box, 6, 4);
        QCOMPARE(box.selectionBold(), std::optional<bool>(true));
        // Writing True over a mixed selection makes all of it bold.
        select(box, 0, 10);
        box.setSelectionBold(true);
        QCOMPARE(box.selectionBold(), std::optional<bool>(true));

        select(box, 0, 5);
        box.setSelectionFontSize(14);
        select(box, 0, 10);
        QCOMPARE(box.selectionFontSize(), std::nullopt);
        box.setSelectionFontName("DejaVu Sans");
        QCOMPARE(box.selectionFontName(), std::optional<QString>("DejaVu Sans"));
        select(box, 3, 4);
        box.setSelectionColor(0x0000FF);
        select(box, 0, 10);
        QCOMPARE(box.selectionColor(), std::nullopt);
        select(box, 3, 4);
        QCOMPARE(box.selectionColor(), std::optional<quint32>(0x0000FF)); // red as 0x00BBGGRR
    }

    void caretReadsAndWritesTheTypingFormat()
    {
        RichTextBox box;
        box.setSelectionText("abc");
        QCOMPARE(box.selectionFontName(), std::optional<QString>("Times New Roman"));
        QCOMPARE(box.selectionFontSize(), std::optional<double>(9.75));
        QSignalSpy changes(&box, &RichTextBox::contentChanged);
        box.setSelectionItalic(true);
        QCOMPARE(changes.count(), 0); // only the caret's format changed
        QTest::keyClicks(box.viewport(), "d"); // typing uses it
        box.setSelectionStart(3);
        box.setSelectionLength(1);
        QCOMPARE(box.selectionItalic(), std::optional<bool>(true));
        QCOMPARE(box.text(), QStringLiteral("abcd"));
    }

    void writesRaiseChangeOnlyWhenTheyChangeSomething()
    {
        RichTextBox box;
        fill(box);
        select(box, 6, 4);
        QSignalSpy changes(&box, &RichTextBox::contentChanged);
        box.setSelectionBold(true);
        box.setSelectionFontName(box.selectionFontName().value());
        box.setSelectionFontSize(box.selectionFontSize().value());
        box.setSelectionAlignment(0);
        box.setSelectionBullet(false);
        box.setSelectionText(QString());
        QCOMPARE(changes.count(), 1); // only deleting the selected text changed the document
        select(box, 0, 5);
        changes.clear();
        box.setSelectionUnderline(true);
        QCOMPARE(changes.count(), 1);
        box.setSelectionAlignment(2);
        QCOMPARE(changes.count(), 2);
    }

    void selLengthClampsAndSelStartEmptiesTheSelection()
    {
        RichTextBox box;
        box.setSelectionText("hello");
        box.setSelectionStart(1);
        box.setSelectionLength(100000);
        QCOMPARE(box.selectionStart(), 1);
        QCOMPARE(box.selectionLength(), 4);
        QCOMPARE(box.selectionText(), QStringLiteral("ello"));
        box.setSelectionStart(2);
        QCOMPARE(box.selectionLength(), 0);
        box.setSelectionStart(0);
        box.setSelectionLength(int(box.rtf().size()));
        QCOMPARE(box.selectionText(), QStringLiteral("hello"));
        QVERIFY_THROWS_EXCEPTION(Failure, box.setSelectionLength(-1));
        RichTextBox empty;
        empty.setSelectionLength(50);
        QCOMPARE(empty.selectionLength(), 0);
    }

    void paragraphPropertiesCoverTheTouchedParagraphs()
    {
        RichTextBox box;
        box.setSelectionText("one\ntwo\nthree");
        select(box, 0, 5); // "one" and the start of "two"
        box.setSelectionAlignment(2);
        box.setSelectionStart(9);
        QCOMPARE(box.selectionAlignment(), std::optional<int>(0));
        select(box, 0, 13);
        QCOMPARE(box.selectionAlignment(), std::nullopt);
        select(box, 0, 5);
        QCOMPARE(box.selectionAlignment(), std::optional<int>(2));
        box.setSelectionAlignment(1);
        QCOMPARE(box.document()->findBlockByNumber(1).blockFormat().alignment() & Qt::AlignHorizontal_Mask,
                 Qt::AlignRight);
        QVERIFY_THROWS_EXCEPTION(Failure, box.setSelectionAlignment(7));

        box.setSelectionIndent(720);
        QCOMPARE(box.selectionIndent(), std::optional<int>(720));
        QCOMPARE(box.document()->firstBlock().blockFormat().leftMargin(), 48.0); // 720 twips at 96 dpi
        box.setSelectionRightIndent(QStringLiteral("200"));
        QCOMPARE(box.selectionRightIndent(), std::optional<int>(200));
        QVERIFY_THROWS_EXCEPTION(Failure, box.setSelectionIndent(QStringLiteral("")));
        QCOMPARE(box.selectionIndent(), std::optional<int>(720));
    }

    void bulletsOnMixedAndBulletedParagraphs()
    {
        RichTextBox box;
        box.setSelectionText("one\ntwo\nthree");
        box.setSelectionStart(0);
        box.setSelectionBullet(true);
        select(box, 0, 13);
        QCOMPARE(box.selectionBullet(), std::nullopt);
        box.setSelectionBullet(true);
        QCOMPARE(box.selectionBullet(), std::optional<bool>(true));
        QCOMPARE(box.document()->findBlockByNumber(2).textList(), box.document()->firstBlock().textList());
        box.setSelectionBullet(false);
        QCOMPARE(box.selectionBullet(), std::optional<bool>(false));
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
        box.setSelectionFontName("Liberation Mono");
        box.setSelectionFontSize(14);
        box.setSelectionBullet(true);
        QTest::keyClicks(box.viewport(), "one");
        QTest::keyClick(box.viewport(), Qt::Key_Return);
        if (byReturn)
            QTest::keyClick(box.viewport(), Qt::Key_Return);
        else
            box.setSelectionBullet(false);
        QTest::keyClicks(box.viewport(), "after");
        QCOMPARE(box.text(), QStringLiteral("one\r\nafter"));
        QVERIFY(box.document()->firstBlock().textList());
        QVERIFY(!box.document()->lastBlock().textList());
        QCOMPARE(box.document()->lastBlock().blockFormat().indent(), 0);

        // As typed, and as saved and read back.
        RichTextBox reread;
        reread.setRtf(box.rtf());
        for (RichTextBox *surface : {&box, &reread}) {
            select(*surface, 5, 5);
            QCOMPARE(surface->selectionFontName(), std::optional<QString>("Liberation Mono"));
            QCOMPARE(surface->selectionFontSize(), std::optional<double>(14));
            QCOMPARE(surface->selectionBullet(), std::optional<bool>(false));
        }
    }

    void sizesAndOffsetsTakeTextThatReadsAsANumber()
    {
        RichTextBox box;
        box.setSelectionText("x");
        box.setSelectionStart(0);
        box.setSelectionLength(1);
        box.setSelectionFontSize(QStringLiteral("12"));
        QCOMPARE(box.selectionFontSize(), std::optional<double>(12));
        QVERIFY_THROWS_EXCEPTION(Failure, box.setSelectionFontSize(QStringLiteral("big")));
        QVERIFY_THROWS_EXCEPTION(Failure, box.setSelectionFontSize(QString()));
        QVERIFY_THROWS_EXCEPTION(Failure, box.setSelectionFontSize(-3));
        QCOMPARE(box.selectionFontSize(), std::optional<double>(12));
        box.setSelectionCharOffset(60);
        QCOMPARE(box.selectionCharOffset(), std::optional<int>(60));
        QVERIFY_THROWS_EXCEPTION(Failure, box.setHeight(-1));
        box.setWidth(1500);
        QCOMPARE(box.width(), 100);
    }

    void backColorBelongsToTheSurface()
    {
        RichTextBox one, two;
        const quint32 before = two.backColor();
        one.setBackColor(0x00FFFF); // yellow
        QCOMPARE(one.backColor(), quint32(0x00FFFF));
        QCOMPARE(one.palette().color(QPalette::Base), QColor(255, 255, 0));
        QCOMPARE(two.backColor(), before);
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
        box.setRtf("{\\rtf1\\ansi\\paperw5000{\\header Old head\\par}Rich\\par}");
        box.setSelectionFontSize(12);
        QSignalSpy changes(&box, &RichTextBox::contentChanged);
        box.loadFile(path, RichTextBox::PlainText);
        QVERIFY(changes.count() >= 1);
        QVERIFY(DocumentExtras::of(*box.document()).isEmpty());
        QVERIFY(!box.rtf().contains("Old head"));
        QCOMPARE(box.text(), QStringLiteral("caf\u00e9\r\nline two\r\n"));
        box.setSelectionStart(0);
        box.setSelectionLength(100);
        QCOMPARE(box.selectionFontSize(), std::optional<double>(12));
        QVERIFY(!box.document()->isUndoAvailable());
        QVERIFY_THROWS_EXCEPTION(Failure, box.loadFile(dir.filePath("missing.txt"), RichTextBox::PlainText));
        QCOMPARE(box.text(), QStringLiteral("caf\u00e9\r\nline two\r\n"));
        try {
            box.loadFile(dir.filePath("missing.txt"));
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
        box.setRtf("{\\rtf1\\ansi Before{\\super\\chftn{\\footnote\\pard{\\super\\chftn} The note says this.}}"
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
        box.setSelectionText("abc");
        box.setSelectionStart(1);
        box.deleteSelection();
        QCOMPARE(box.text(), QStringLiteral("abc"));
        box.setSelectionLength(1);
        box.deleteSelection();
        QCOMPARE(box.text(), QStringLiteral("ac"));
    }

    void keyDownComesBeforeTheKeyActs()
    {
        RichTextBox box;
        box.setSelectionText("ab");
        box.setSelectionStart(0);
        QList<int> positionsAtKeyDown;
        QList<int> codes;
        connect(&box, &RichTextBox::keyDown, &box, [&](int code, int shift) {
            if (code == 16)
                return; // the Shift key itself
            codes << code * 10 + shift;
            positionsAtKeyDown << box.selectionStart();
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
        box.setSelectionText("word another");
        QSignalSpy clicks(&box, &RichTextBox::clicked);
        QSignalSpy doubles(&box, &RichTextBox::doubleClicked);
        QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, QPoint(5, 8));
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(box.selectionStart(), 0);
        QTest::mouseDClick(box.viewport(), Qt::LeftButton, {}, QPoint(8, 8));
        QCOMPARE(doubles.count(), 1);
    }

    void listNumbersQtCannotShowAreDrawn()
    {
        // Qt 6.4 would number this list from 1: its own marker is hidden and the program's drawn.
        RichTextBox box;
        box.resize(300, 200);
        box.setRtf("{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc0\\levelstartat3{\\leveltext\\'02\\'00.;}}\\listid1}}"
                   "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}\\pard\\li1440 plain\\par\\pard\\ls1 three\\par}");
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        const QImage shown = box.viewport()->grab().toImage();
        // Dark pixels before the text of a paragraph, on its first line.
        auto inkBefore = [&](const QTextBlock &block) {
            const QRectF rect = box.document()->documentLayout()->blockBoundingRect(block);
            const QRectF line = block.layout()->lineAt(0).naturalTextRect().translated(rect.topLeft());
            int ink = 0;
            for (int y = int(line.top()); y < int(line.bottom()); ++y)
                for (int x = 0; x < int(line.left()) - 1; ++x)
                    ink += qGray(shown.pixel(x, y)) < 128;
            return ink;
        };
        QCOMPARE(inkBefore(box.document()->begin()), 0);
        QVERIFY(inkBefore(box.document()->lastBlock()) > 0);
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
        box.setSelectionStart(0);
        box.setSelectionLength(box.characterCount());
        QCOMPARE(box.selectionBold(), std::nullopt);
        QCOMPARE(box.selectionItalic(), std::optional<bool>(false));
    }
};

QTEST_MAIN(SurfaceTest)
#include "tst_surface.moc"
