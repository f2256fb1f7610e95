// Find and Replace through the Edit menu and its window, on the active document.
#include "support/FrameFixture.h"

#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "find/FindCommands.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

// The frame with one document holding `text`, the caret at `caret`, and the window open.
struct Finding {
    explicit Finding(const QString &text, int caret = 0)
    {
        f.start();
        box().setSelectionText(text);
        box().setSelectionStart(caret);
        f.trigger("findreplace");
        window = f.frame->findCommands().window();
    }
    RichTextBox &box() const { return f.surface(); }
    void find(const QString &text, bool matchCase = false, bool wholeWords = false)
    {
        window->findWhat->setText(text);
        window->matchCase->setChecked(matchCase);
        window->wholeWords->setChecked(wholeWords);
        window->findNext->click();
    }
    FrameFixture f;
    FindReplaceWindow *window = nullptr;
};

} // namespace

class FindTest : public QObject
{
    Q_OBJECT

private slots:
    void findsForwardBackwardRoundTheEndAndSaysWhenNothingIsThere()
    {
        Finding s("cat dog\ncat bird cat", 5);
        QCOMPARE(s.window->findChild<QLabel *>("findWhatLabel")->buddy(), s.window->findWhat);
        QCOMPARE(s.window->findChild<QLabel *>("replaceWithLabel")->buddy(), s.window->replaceWith);
        s.find("cat");
        QCOMPARE(s.box().selectionStart(), 8);
        QCOMPARE(s.box().selectionLength(), 3);
        s.window->findNext->click();
        QCOMPARE(s.box().selectionStart(), 17);
        s.window->findNext->click(); // round the end, once, and it says so
        QCOMPARE(s.box().selectionStart(), 0);
        QVERIFY(s.window->status->text().contains("continued from the start"));
        s.f.trigger("findprev"); // Shift+F3: backward, round the start
        QCOMPARE(s.box().selectionStart(), 17);
        QVERIFY(s.window->status->text().contains("continued from the end"));
        s.f.trigger("findprev");
        QCOMPARE(s.box().selectionStart(), 8);
        QCOMPARE(s.window->status->text(), QString());

        s.find("absent");
        QCOMPARE(s.window->status->text(), QStringLiteral("Not found"));
        QCOMPARE(s.box().selectionStart(), 8);
        QVERIFY(s.f.dialogs.asks().isEmpty()); // no message box
        // With the window closed, F3 says it in the status bar.
        s.window->close();
        s.f.trigger("findnext");
        QCOMPARE(statusBarOf(*s.f.frame)->currentMessage(), QStringLiteral("Not found"));
    }

    void matchCaseAndWholeWords()
    {
        Finding s("Category cat CAT");
        s.find("cat", true, false);
        QCOMPARE(s.box().selectionStart(), 9); // the "Cat" of Category differs in case
        s.box().setSelectionStart(0);
        s.find("cat", false, true);
        QCOMPARE(s.box().selectionStart(), 9); // no whole word inside Category
        s.window->findNext->click();
        QCOMPARE(s.box().selectionText(), QStringLiteral("CAT"));
    }

    void replaceTheFoundMatchThenReplaceAllKeepingFormatsAsOneUndo()
    {
        Finding s("red, Red\nand red");
        RichTextBox &box = s.box();
        box.setSelectionStart(5); // the second one bold at 20 points
        box.setSelectionLength(3);
        box.setSelectionBold(true);
        box.setSelectionFontSize(20);
        box.setSelectionStart(0);
        const QByteArray before = box.rtf();
        s.window->replaceWith->setText("green");
        s.find("red");
        s.window->replace->click(); // the selected match, then on to the next
        QCOMPARE(box.text(), QStringLiteral("green, Red\r\nand red"));
        QCOMPARE(box.selectionText(), QStringLiteral("Red"));
        s.f.trigger("undo");

        s.f.active()->doc = 0;
        const QSizeF pageSize = box.document()->pageSize();
        s.window->replaceAll->click();
        QCOMPARE(box.text(), QStringLiteral("green, green\r\nand green"));
        QCOMPARE(s.window->status->text(), QStringLiteral("3 replacements made"));
        QCOMPARE(s.f.active()->doc, -1);
        QCOMPARE(box.document()->pageSize(), pageSize); // laid out again
        box.setSelectionStart(7);
        box.setSelectionLength(5);
        QCOMPARE(box.selectionBold(), std::optional<bool>(true));
        QCOMPARE(box.selectionFontSize(), std::optional<double>(20));
        box.setSelectionStart(0);
        box.setSelectionLength(5);
        QCOMPARE(box.selectionBold(), std::optional<bool>(false));
        s.f.trigger("undo");
        QCOMPARE(box.rtf(), before);

        // A replacement that holds what it replaces is not replaced again.
        s.window->matchCase->setChecked(true);
        s.window->replaceWith->setText("redder");
        s.window->replaceAll->click();
        QCOMPARE(box.text(), QStringLiteral("redder, Red\r\nand redder"));
    }
};

QTEST_MAIN(FindTest)
#include "tst_find.moc"
