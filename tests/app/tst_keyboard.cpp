// The Insert key and the formatting shortcuts.
#include "support/FrameFixture.h"

#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"

#include <QLabel>
#include <QTest>

class KeyboardTest : public QObject
{
    Q_OBJECT

private slots:
    void insertSwitchesToOverwritingPerWindow()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        const QLabel *ins = statusBarOf(*f.frame)->panel(3);
        QTest::keyClicks(box.viewport(), "abcdef");
        box.setSelectionStart(2);
        QVERIFY(ins->isEnabled());
        QTest::keyClick(box.viewport(), Qt::Key_Insert);
        QVERIFY(!ins->isEnabled()); // greyed while overwriting
        QTest::keyClicks(box.viewport(), "XY");
        QCOMPARE(box.text(), QStringLiteral("abXYef"));

        // The panel follows the active window; each window keeps its own mode.
        QMdiSubWindow *first = mdiAreaOf(*f.frame)->currentSubWindow();
        f.trigger("new");
        QVERIFY(ins->isEnabled());
        mdiAreaOf(*f.frame)->setActiveSubWindow(first);
        QVERIFY(!ins->isEnabled());
        QTest::keyClick(box.viewport(), Qt::Key_Insert);
        QTest::keyClicks(box.viewport(), "Z");
        QCOMPARE(box.text(), QStringLiteral("abXYZef"));
        statusBarOf(*f.frame)->refresh(); // the clock's refresh keeps the state
        QVERIFY(ins->isEnabled());
    }

    void formattingShortcutsRunTheButtonsCommands()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        box.setSelectionText("some words");
        box.setSelectionStart(0);
        box.setSelectionLength(4);
        const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
            QTest::keyClick(box.viewport(), key, modifiers);
        };
        press(Qt::Key_B);
        press(Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
        press(Qt::Key_U);
        QCOMPARE(box.selectionBold(), std::optional<bool>(true));
        QCOMPARE(box.selectionItalic(), std::optional<bool>(true));
        QCOMPARE(box.selectionUnderline(), std::optional<bool>(true));
        for (const char *key : {"a", "b", "c"})
            QCOMPARE(formattingToolbarOf(*f.frame)->state(key), 1);
        press(Qt::Key_B); // a toggle switches back
        QCOMPARE(box.selectionBold(), std::optional<bool>(false));
        QCOMPARE(formattingToolbarOf(*f.frame)->state("a"), 0);
        const std::pair<Qt::Key, int> alignments[] = {{Qt::Key_E, RichTextBox::Center}, {Qt::Key_R, RichTextBox::Right},
                                                      {Qt::Key_L, RichTextBox::Left}};
        for (const auto &[key, alignment] : alignments) {
            press(key);
            QCOMPARE(box.selectionAlignment(), std::optional<int>(alignment));
        }
        QCOMPARE(formattingToolbarOf(*f.frame)->state("e"), 1);
        QCOMPARE(box.text(), QStringLiteral("some words"));

        // Ctrl+I stays with Insert Pictures.
        f.dialogs.answerFile(std::nullopt);
        press(Qt::Key_I);
        QCOMPARE(f.dialogs.asks().size(), 1);
        QCOMPARE(box.selectionItalic(), std::optional<bool>(true));
    }
};

QTEST_MAIN(KeyboardTest)
#include "tst_keyboard.moc"
