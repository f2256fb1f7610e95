// Undo by words, many steps deep, and Redo with its enabling.
#include "support/FrameFixture.h"

#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"

#include <QAbstractTextDocumentLayout>
#include <QSignalSpy>
#include <QTest>

class UndoRedoTest : public QObject
{
    Q_OBJECT

private slots:
    void typingAWordIsOneStepAndRedoBringsItBack()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        QAction *redo = f.frame->menuItem("redo");
        QVERIFY(!redo->isEnabled());
        QTest::keyClicks(box.viewport(), "one two three");
        f.trigger("undo");
        QCOMPARE(box.text(), QStringLiteral("one two "));
        QVERIFY(redo->isEnabled());
        f.trigger("undo");
        f.trigger("redo");
        QCOMPARE(box.text(), QStringLiteral("one two "));
        // Ctrl+Shift+Z is the menu item's, even while typing in the document.
        QSignalSpy redone(redo, &QAction::triggered);
        QTest::keyClick(box.viewport(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(redone.count(), 1);
        QCOMPARE(box.text(), QStringLiteral("one two three"));
        QVERIFY(!redo->isEnabled());

        // Redo follows the active window; new typing leaves nothing to redo.
        f.trigger("undo");
        QMdiSubWindow *first = mdiAreaOf(*f.frame)->currentSubWindow();
        f.trigger("new");
        QVERIFY(!redo->isEnabled());
        mdiAreaOf(*f.frame)->setActiveSubWindow(first);
        QVERIFY(redo->isEnabled());
        QTest::keyClicks(box.viewport(), "four");
        QVERIFY(!redo->isEnabled());
        QCOMPARE(box.text(), QStringLiteral("one two four"));
    }

    void undoGoesBackManyStepsAndTakesAFormatChangeAtOnce()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        QStringList words;
        for (int i = 0; i < 40; ++i)
            words << QStringLiteral("w%1").arg(i);
        QTest::keyClicks(box.viewport(), words.join(' '));
        f.trigger("seall");
        box.setSelectionBold(true);
        f.trigger("undo");
        QCOMPARE(box.selectionBold(), std::optional<bool>(false));
        QCOMPARE(box.text(), words.join(' '));
        for (int i = 0; i < 40; ++i)
            f.trigger("undo");
        QCOMPARE(box.text(), QString());
    }

    void undoOfABroadChangeLaysTheDocumentOutAgain()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        box.setText(QStringLiteral("A paragraph of some words to lay out.\n").repeated(4000)); // 152,000 characters
        const QSizeF pageSize = box.document()->pageSize();
        f.trigger("seall");
        box.setSelectionBold(true);
        f.trigger("undo");
        QCOMPARE(box.selectionBold(), std::optional<bool>(false));
        QCOMPARE(box.document()->pageSize(), pageSize);
        QCoreApplication::processEvents();
        QVERIFY(box.document()->documentLayout()->documentSize().height() > 0);
        QVERIFY(box.cursorRect().height() > 0); // the caret's line is laid out
    }
};

QTEST_MAIN(UndoRedoTest)
#include "tst_undoredo.moc"
