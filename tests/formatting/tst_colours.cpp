// Text and background colour through the frame's one colour dialog, which keeps its colour.
#include "support/FrameFixture.h"

#include "content/OleColor.h"
#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "platform/DialogFlags.h"

#include <QTest>

namespace {

const quint32 Red = 0x0000FF;
const quint32 Blue = 0xFF0000;

void select(RichTextBox &box, int start, int length)
{
    box.setSelectionStart(start);
    box.setSelectionLength(length);
}

} // namespace

class ColoursTest : public QObject
{
    Q_OBJECT

private slots:
    void textColourThenBackgroundOfOneWindow()
    {
        FrameFixture f;
        f.start();
        RichTextBox &first = f.surface();
        const quint32 background = first.backColor();
        f.trigger("nw");
        RichTextBox &box = f.surface();
        box.setSelectionText("abc def");
        select(box, 0, 3);
        const quint32 before = *box.selectionColor();

        f.dialogs.answerColor(QColor(Qt::red));
        f.trigger("fc");
        QCOMPARE(f.dialogs.lastAsk().color.title, QStringLiteral("Font Color"));
        QCOMPARE(f.dialogs.lastAsk().color.flags, DialogFlags::RgbInit);
        QCOMPARE(f.dialogs.lastAsk().color.initial, OleColor::toQColor(before));
        QCOMPARE(box.selectionColor(), std::optional<quint32>(Red));
        select(box, 4, 3);
        QCOMPARE(box.selectionColor(), std::optional<quint32>(before));

        // The background dialog opens with the window's colour, not the red it just held, and
        // colours this window's surface only, leaving the text colours.
        f.dialogs.answerColor(QColor(Qt::yellow));
        f.trigger("bc");
        QCOMPARE(f.dialogs.lastAsk().color.title, QStringLiteral("Background Color"));
        QCOMPARE(f.dialogs.lastAsk().color.initial, OleColor::toQColor(background));
        QCOMPARE(box.backColor(), OleColor::fromQColor(QColor(Qt::yellow)));
        QCOMPARE(first.backColor(), background);
        select(box, 0, 3);
        QCOMPARE(box.selectionColor(), std::optional<quint32>(Red));
    }

    void cancelChangesNothing()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        box.setSelectionText("one two three");
        select(box, 4, 3);
        box.setSelectionColor(Blue);
        select(box, 8, 5);
        box.setSelectionColor(Red);
        f.active()->doc = 0;

        // One colour: the dialog starts from it, and Cancel leaves it.
        select(box, 4, 3);
        f.dialogs.answerColor(std::nullopt);
        f.trigger("fc");
        QCOMPARE(f.dialogs.lastAsk().color.initial, OleColor::toQColor(Blue));
        QCOMPARE(box.selectionColor(), std::optional<quint32>(Blue));

        // Two colours: the dialog starts from the colour it held, and Cancel recolours nothing.
        select(box, 4, 9);
        f.dialogs.answerColor(std::nullopt);
        f.trigger("fc");
        QCOMPARE(f.dialogs.lastAsk().color.initial, OleColor::toQColor(Blue));
        select(box, 8, 5);
        QCOMPARE(box.selectionColor(), std::optional<quint32>(Red));
        QCOMPARE(f.active()->doc, 0);

        // OK on two colours gives all of it the colour picked.
        select(box, 4, 9);
        f.dialogs.answerColor(QColor(Qt::blue));
        f.trigger("fc");
        QCOMPARE(box.selectionColor(), std::optional<quint32>(Blue));
    }
};

QTEST_MAIN(ColoursTest)
#include "tst_colours.moc"
