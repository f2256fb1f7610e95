// The formatting toolbar and the Bullet Style command, on the real frame.
#include "support/FrameFixture.h"

#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "platform/KeyedToolbar.h"

#include <QGuiApplication>
#include <QTest>
#include <QTextBlock>

namespace {

using Read = std::optional<bool> (RichTextBox::*)() const;
using Write = void (RichTextBox::*)(bool);

void select(RichTextBox &box, int start, int length)
{
    box.setSelectionStart(start);
    box.setSelectionLength(length);
}

void click(FrameFixture &f, const char *key) { formattingToolbarOf(*f.frame)->button(QString::fromLatin1(key))->trigger(); }
int value(FrameFixture &f, const char *key) { return formattingToolbarOf(*f.frame)->state(QString::fromLatin1(key)); }
bool bulletChecked(FrameFixture &f) { return f.frame->menuItem(QStringLiteral("bs"))->isChecked(); }

// Closes every document window, unchanged, so that the commands meet no document.
void closeAll(FrameFixture &f)
{
    for (DocumentWindow *form : f.frame->documents())
        form->doc = 0;
    mdiAreaOf(*f.frame)->closeAllSubWindows();
    QCoreApplication::processEvents();
    QVERIFY(!f.frame->activeDocument());
}

} // namespace

class FormatToolbarTest : public QObject
{
    Q_OBJECT

private slots:
    void togglesFollowTheSelectionNotTheLook_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<Read>("read");
        QTest::addColumn<Write>("write");
        QTest::newRow("a bold") << "a" << Read(&RichTextBox::selectionBold) << Write(&RichTextBox::setSelectionBold);
        QTest::newRow("b italic") << "b" << Read(&RichTextBox::selectionItalic) << Write(&RichTextBox::setSelectionItalic);
        QTest::newRow("c underline") << "c" << Read(&RichTextBox::selectionUnderline) << Write(&RichTextBox::setSelectionUnderline);
        QTest::newRow("d strike-through") << "d" << Read(&RichTextBox::selectionStrikeOut) << Write(&RichTextBox::setSelectionStrikeOut);
    }

    void togglesFollowTheSelectionNotTheLook()
    {
        QFETCH(QString, key);
        QFETCH(Read, read);
        QFETCH(Write, write);
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        KeyedToolbar &bar = *formattingToolbarOf(*f.frame);
        box.setSelectionText("plain words here");
        f.active()->doc = 0;

        // Wholly plain: on and pressed, then off and released; a real change marks the window.
        select(box, 0, 5);
        bar.button(key)->trigger();
        QCOMPARE((box.*read)(), std::optional<bool>(true));
        QCOMPARE(bar.state(key), 1);
        QCOMPARE(f.active()->doc, -1);
        bar.button(key)->trigger();
        QCOMPARE((box.*read)(), std::optional<bool>(false));
        QCOMPARE(bar.state(key), 0);

        // Partly on: the first click clears all of it.
        select(box, 3, 4);
        (box.*write)(true);
        select(box, 0, 11);
        QCOMPARE((box.*read)(), std::nullopt);
        bar.button(key)->trigger();
        QCOMPARE((box.*read)(), std::optional<bool>(false));
        QCOMPARE(bar.state(key), 0);

        // Wholly on while the button looks released: the click still switches it off.
        (box.*write)(true);
        bar.setState(key, 0);
        bar.button(key)->trigger();
        QCOMPARE((box.*read)(), std::optional<bool>(false));
        QCOMPARE(bar.state(key), 0);

        // Only this button's attribute moved.
        for (Read other : {Read(&RichTextBox::selectionBold), Read(&RichTextBox::selectionItalic),
                           Read(&RichTextBox::selectionUnderline), Read(&RichTextBox::selectionStrikeOut)})
            QCOMPARE((box.*other)(), std::optional<bool>(false));
        QVERIFY(f.dialogs.asks().isEmpty());
    }

    void alignmentWritesItsCodeAndReleasesTheOtherTwo()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        box.setSelectionText("one\ntwo\nthree");
        select(box, 2, 4); // touches "one" and "two"

        click(f, "f");
        QCOMPARE(box.selectionAlignment(), std::optional<int>(RichTextBox::Center)); // "f" writes 2
        QCOMPARE(QList<int>({value(f, "e"), value(f, "f"), value(f, "g")}), QList<int>({0, 1, 0}));
        click(f, "g");
        QCOMPARE(box.selectionAlignment(), std::optional<int>(RichTextBox::Right)); // "g" writes 1
        QCOMPARE(QList<int>({value(f, "e"), value(f, "f"), value(f, "g")}), QList<int>({0, 0, 1}));
        QCOMPARE(box.document()->findBlockByNumber(2).blockFormat().alignment() & Qt::AlignHorizontal_Mask,
                 Qt::AlignLeft); // an untouched paragraph keeps its alignment

        // Clicking the pressed button again keeps the alignment and the button pressed.
        click(f, "g");
        QCOMPARE(box.selectionAlignment(), std::optional<int>(RichTextBox::Right));
        QCOMPARE(QList<int>({value(f, "e"), value(f, "f"), value(f, "g")}), QList<int>({0, 0, 1}));

        // Over paragraphs of differing alignment, one click aligns them all.
        select(box, 0, 13);
        QCOMPARE(box.selectionAlignment(), std::nullopt);
        click(f, "e");
        QCOMPARE(box.selectionAlignment(), std::optional<int>(RichTextBox::Left));
        QCOMPARE(QList<int>({value(f, "e"), value(f, "f"), value(f, "g")}), QList<int>({1, 0, 0}));
    }

    void bulletStyleBulletsAMixAndRemovesWholeBullets()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        QAction *h = formattingToolbarOf(*f.frame)->button(QStringLiteral("h"));
        box.setSelectionText("one\ntwo\nthree");
        box.setSelectionStart(5);
        box.setSelectionBullet(true); // only "two"
        select(box, 0, 13);
        QCOMPARE(box.selectionBullet(), std::nullopt);

        h->trigger(); // a mix: all of it bulleted
        QCOMPARE(box.selectionBullet(), std::optional<bool>(true));
        QVERIFY(bulletChecked(f));
        QCOMPARE(h->isChecked(), false); // a push button, no lasting look

        f.trigger("bs"); // wholly bulleted: the bullets go
        QCOMPARE(box.selectionBullet(), std::optional<bool>(false));
        QVERIFY(!bulletChecked(f));

        f.trigger("bs");
        QCOMPARE(box.selectionBullet(), std::optional<bool>(true));
        QVERIFY(bulletChecked(f));
        h->trigger();
        QCOMPARE(box.selectionBullet(), std::optional<bool>(false));
        QVERIFY(!bulletChecked(f));
        QVERIFY(f.dialogs.asks().isEmpty());
    }

    void selectAllThenBoldShowsTheBusyPointer()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        box.setSelectionText("first line\nsecond line");
        select(box, 0, box.characterCount());
        QList<Qt::CursorShape> during;
        connect(&box, &RichTextBox::contentChanged, this, [&] {
            const QCursor *cursor = QGuiApplication::overrideCursor();
            during << (cursor ? cursor->shape() : Qt::ArrowCursor);
        });
        click(f, "a");
        QCOMPARE(box.selectionBold(), std::optional<bool>(true));
        QVERIFY(!during.isEmpty());
        QCOMPARE(during.first(), Qt::WaitCursor);
        QVERIFY(!QGuiApplication::overrideCursor()); // and it goes again
    }

    void withNoDocumentOpenNothingIsAskedAndTheLooksAreFixed()
    {
        FrameFixture f;
        f.start();
        closeAll(f);

        // A character button ends pressed, however often it is clicked.
        for (int i = 0; i < 3; ++i) {
            click(f, "b");
            QCOMPARE(value(f, "b"), 1);
        }
        // Alignment buttons still take their looks.
        click(f, "g");
        QCOMPARE(QList<int>({value(f, "e"), value(f, "f"), value(f, "g")}), QList<int>({0, 0, 1}));
        // Bullet Style ends unchecked, from the menu and from the button, even when it was checked.
        f.frame->menuItem(QStringLiteral("bs"))->setChecked(true);
        f.trigger("bs");
        QVERIFY(!bulletChecked(f));
        f.frame->menuItem(QStringLiteral("bs"))->setChecked(true);
        click(f, "h");
        QVERIFY(!bulletChecked(f));

        QVERIFY(f.dialogs.asks().isEmpty());
        QVERIFY(f.frame->documents().isEmpty());
        QVERIFY(!QGuiApplication::overrideCursor());
    }
};

QTEST_MAIN(FormatToolbarTest)
#include "tst_formattoolbar.moc"
