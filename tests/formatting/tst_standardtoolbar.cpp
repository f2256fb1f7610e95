// The standard toolbar: each button runs its menu command, whatever the menu item's state.
#include "support/FrameFixture.h"

#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "platform/KeyedToolbar.h"
#include "windows/SideWindows.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

namespace {

void click(FrameFixture &f, const char *key)
{
    standardToolbarOf(*f.frame)->button(QString::fromLatin1(key))->trigger();
}

} // namespace

class StandardToolbarTest : public QObject
{
    Q_OBJECT

private slots:
    void newButtonOpensADocumentAndSeparatorIDoesNothing()
    {
        FrameFixture f;
        f.start();
        f.frame->menuItem("new")->setEnabled(false);
        click(f, "a");
        QCOMPARE(f.frame->documents().size(), 2);
        QCOMPARE(f.active()->windowTitle(), QStringLiteral("Document 2"));
        // The separator carrying "i" does nothing.
        f.frame->runStandardButton(standardToolbarOf(*f.frame)->button("i"));
        QCOMPARE(f.frame->documents().size(), 2);
        QVERIFY(!f.frame->sideWindows().fullScreen());
        QVERIFY(f.dialogs.asks().isEmpty());
    }

    void colourButtonWithoutADocumentOnlyShowsTheDialog()
    {
        FrameFixture f;
        f.start();
        f.active()->parentWidget()->close();
        QCoreApplication::processEvents();
        f.dialogs.answerColor(QColor(Qt::red));
        click(f, "k");
        QCOMPARE(f.dialogs.asks().size(), 1);
        QCOMPARE(f.dialogs.lastAsk().color.title, QStringLiteral("Font Color"));
        QVERIFY(f.frame->documents().isEmpty());
    }

    void editButtonsWorkWhileTheirItemsAreDisabled()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        box.setSelectionText("Hello world");
        box.setSelectionStart(0);
        box.setSelectionLength(5);
        for (const char *item : {"cut", "copy", "paste", "undo"})
            f.frame->menuItem(item)->setEnabled(false);
        click(f, "f");
        QCOMPARE(box.text(), QStringLiteral(" world"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Hello"));
        click(f, "h");
        QCOMPARE(box.text(), QStringLiteral("Hello world"));
        click(f, "j");
        QCOMPARE(box.text(), QStringLiteral(" world"));
    }
};

QTEST_MAIN(StandardToolbarTest)
#include "tst_standardtoolbar.moc"
