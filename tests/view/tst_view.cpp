// View > Zoom In, Zoom Out, Normal Size, Ctrl + mouse wheel, and Word Count.
#include "support/FrameFixture.h"

#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "view/ViewCommands.h"

#include <QAbstractTextDocumentLayout>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

namespace {

qreal layoutHeight(const RichTextBox &box) { return box.document()->documentLayout()->documentSize().height(); }

void ctrlWheel(RichTextBox &box, int angle)
{
    const QPointF at(10, 10);
    QWheelEvent event(at, box.viewport()->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(box.viewport(), &event);
}

} // namespace

class ViewTest : public QObject
{
    Q_OBJECT

private slots:
    void zoomShowsLargerAndLeavesTheDocumentAlone()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        box.setSelectionFontSize(14);
        box.setSelectionText(QStringLiteral("A line of text that is long enough to wrap at some width.\n").repeated(20));
        const QString path = f.path("zoom.rtf");
        box.setFileName(path);
        f.trigger("save");
        const QByteArray saved = FrameFixture::readFile(path);
        const qreal normalHeight = layoutHeight(box);
        QSignalSpy changes(&box, &RichTextBox::contentChanged);

        for (int i = 0; i < 5; ++i)
            f.trigger("zoomin");
        QCOMPARE(box.zoom(), 200);
        QCOMPARE(statusBarOf(*f.frame)->currentMessage(), QStringLiteral("Zoom 200%"));
        QVERIFY(layoutHeight(box) > 1.8 * normalHeight);
        box.setSelectionStart(0);
        box.setSelectionLength(5);
        QCOMPARE(box.selectionFontSize(), std::optional<double>(14));
        QCOMPARE(changes.count(), 0);
        QCOMPARE(f.active()->doc, 0);
        f.trigger("save");
        QCOMPARE(FrameFixture::readFile(path), saved);
        // The mouse still lands on the character under it.
        QTextCursor sixth(box.document());
        sixth.setPosition(5);
        QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, box.cursorRect(sixth).center() + QPoint(2, 0));
        QCOMPARE(box.selectionStart(), 5);

        // Each window has its own zoom.
        f.trigger("new");
        QCOMPARE(f.surface().zoom(), 100);
        mdiAreaOf(*f.frame)->setActiveSubWindow(f.frame->documentWindows().first());
        f.trigger("zoomnormal");
        QCOMPARE(box.zoom(), 100);
        QCOMPARE(layoutHeight(box), normalHeight);
    }

    void zoomByKeysAndWheelWithinItsRange()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        const std::pair<Qt::Key, int> keys[] = {{Qt::Key_Equal, 110}, {Qt::Key_Plus, 125}, {Qt::Key_Minus, 110}, {Qt::Key_0, 100}};
        for (const auto &[key, zoom] : keys) {
            QTest::keyClick(box.viewport(), key, Qt::ControlModifier);
            QCOMPARE(box.zoom(), zoom);
        }
        QCOMPARE(box.text(), QString());
        for (int i = 0; i < 20; ++i)
            f.trigger("zoomin");
        QCOMPARE(box.zoom(), 400);
        for (int i = 0; i < 20; ++i)
            ctrlWheel(box, -120);
        QCOMPARE(box.zoom(), 50);
        ctrlWheel(box, 60); // a fine wheel: a step once its turns make a notch
        QCOMPARE(box.zoom(), 50);
        ctrlWheel(box, 60);
        QCOMPARE(box.zoom(), 67);
    }

    void wordCountOfTheDocumentAndTheSelection()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        box.setSelectionText(QStringLiteral("One two  three\n\nfour-five six\n"));
        box.setSelectionStart(4);
        box.setSelectionLength(8); // "two  thr"
        f.trigger("wordcount");
        WordCountWindow *window = f.frame->viewCommands().wordCountWindow();
        QCOMPARE(window->windowTitle(), QStringLiteral("Word Count"));
        const auto column = [&](const char *name) {
            QStringList figures;
            for (const char *row : {"words", "characters", "charactersNoSpaces", "paragraphs"})
                figures << window->figure(name, row);
            return figures;
        };
        QCOMPARE(column("document"), (QStringList{"5", "27", "23", "2"}));
        QCOMPARE(column("selection"), (QStringList{"2", "8", "6", "1"}));
        // Pictures are neither words nor characters; a character beyond 16 bits is one.
        box.setSelectionStart(0);
        box.insertPicture(QImage(4, 4, QImage::Format_RGB32));
        box.setSelectionText(QStringLiteral("\u00e9t\u00e9 \U0001F600 "));
        f.trigger("wordcount");
        QCOMPARE(column("document"), (QStringList{"7", "33", "27", "2"}));
        QCOMPARE(column("selection"), (QStringList{"0", "0", "0", "0"}));
    }
};

QTEST_MAIN(ViewTest)
#include "tst_view.moc"
