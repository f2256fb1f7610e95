// Creating, numbering, listing and arranging document windows.
#include "support/FrameFixture.h"

#include "document/Form3.h"
#include "document/RichTextBox.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTest>

namespace {

QStringList captions(const MDIForm1 &frame)
{
    QStringList result;
    for (Form3 *form : frame.documents())
        result << form->windowTitle();
    return result;
}

void closeWindow(FrameFixture &f, const QString &caption)
{
    for (QMdiSubWindow *sub : f.frame->documentWindows())
        if (sub->widget()->windowTitle() == caption)
            sub->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The window entries listed below the Window menu's own items, with their check marks.
QStringList windowList(const MDIForm1 &frame)
{
    QStringList result;
    for (QAction *action : FrameFixture::windowEntries(frame))
        result << (action->isChecked() ? "*" : "") + action->text();
    return result;
}

} // namespace

class WindowsTest : public QObject
{
    Q_OBJECT

private slots:
    void numbersAreNeverReused()
    {
        FrameFixture f;
        f.start();
        f.trigger("new");
        f.trigger("nw");
        QCOMPARE(captions(*f.frame), (QStringList{"Document 1", "Document 2", "Document 3"}));
        QCOMPARE(f.active()->windowTitle(), QStringLiteral("Document 3"));
        closeWindow(f, "Document 3");
        f.trigger("new");
        QCOMPARE(captions(*f.frame), (QStringList{"Document 1", "Document 2", "Document 4"}));
        QCOMPARE(f.active()->windowTitle(), QStringLiteral("Document 4"));
        QCOMPARE(f.active()->doc, 0);
    }

    void aWindowLeftBehindKeepsAUsableWidth()
    {
        // Only the active window stays maximised; the one left behind must not shrink to a sliver,
        // where its text would be laid out a word a line (and a large document would take ages).
        FrameFixture f;
        f.start();
        Form3 *first = f.active();
        f.trigger("new");
        QVERIFY(first->RichTextBox1->viewport()->width() >= 400);
    }

    void newClearsTheBulletCheckButNewWindowDoesNot()
    {
        FrameFixture f;
        f.start();
        QAction *bs = f.frame->menuItem("bs");
        bs->setChecked(true);
        f.trigger("nw");
        QVERIFY(bs->isChecked());
        f.trigger("new");
        QVERIFY(!bs->isChecked());
        QCOMPARE(f.surface().SelBullet(), std::optional<bool>(false));
    }

    void windowMenuListsTheOpenWindowsAndChecksTheActiveOne()
    {
        FrameFixture f;
        f.start();
        f.trigger("new");
        f.trigger("new");
        QCOMPARE(windowList(*f.frame), (QStringList{"&1 Document 1", "&2 Document 2", "*&3 Document 3"}));
        closeWindow(f, "Document 2");
        QCOMPARE(windowList(*f.frame), (QStringList{"&1 Document 1", "*&2 Document 3"}));
        // Choosing an entry activates its window.
        QMenu *menu = f.frame->menu("window");
        emit menu->aboutToShow();
        for (QAction *action : menu->actions())
            if (action->text() == QLatin1String("&1 Document 1"))
                action->trigger();
        QCOMPARE(f.active()->windowTitle(), QStringLiteral("Document 1"));
        mdiAreaOf(*f.frame)->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(windowList(*f.frame), QStringList());
    }

    void minimizeAndRestoreAll()
    {
        FrameFixture f;
        f.start();
        f.trigger("new");
        f.trigger("new");
        f.trigger("miall");
        for (QMdiSubWindow *sub : f.frame->documentWindows())
            QVERIFY(sub->isMinimized());
        f.trigger("resall");
        // None stays minimised; the active one is shown maximised, and so is each window the
        // user switches to.
        for (QMdiSubWindow *sub : f.frame->documentWindows())
            QVERIFY(!sub->isMinimized());
        QVERIFY(mdiAreaOf(*f.frame)->currentSubWindow()->isMaximized());
        mdiAreaOf(*f.frame)->activatePreviousSubWindow();
        QVERIFY(mdiAreaOf(*f.frame)->currentSubWindow()->isMaximized());
        QCOMPARE(f.frame->documents().size(), 3);
    }

    void arrangementsWithNoWindowChangeNothing()
    {
        FrameFixture f;
        f.start();
        mdiAreaOf(*f.frame)->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (const char *name : {"cascade", "th", "til", "arricos", "miall", "resall"})
            f.trigger(name);
        QVERIFY(f.frame->documents().isEmpty());
    }

    void tilingPlacesThreeWindowsWithoutOverlap_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("aboveEachOther");
        QTest::newRow("Tile Horizontal") << "th" << true;
        QTest::newRow("Tile Vertical") << "til" << false;
    }

    void tilingPlacesThreeWindowsWithoutOverlap()
    {
        QFETCH(QString, command);
        QFETCH(bool, aboveEachOther);
        FrameFixture f;
        f.start();
        f.trigger("new");
        f.trigger("new");
        f.trigger(command);
        const QList<QMdiSubWindow *> windows = f.frame->documentWindows();
        QCOMPARE(windows.size(), 3);
        const QRect area = mdiAreaOf(*f.frame)->viewport()->rect();
        for (int i = 0; i < 3; ++i) {
            const QRect g = windows[i]->geometry();
            QVERIFY(!windows[i]->isMaximized());
            if (aboveEachOther) {
                QCOMPARE(g.width(), area.width());
                QVERIFY(qAbs(g.height() - area.height() / 3) <= 1);
            } else {
                QCOMPARE(g.height(), area.height());
                QVERIFY(qAbs(g.width() - area.width() / 3) <= 1);
            }
            for (int j = 0; j < i; ++j)
                QVERIFY(!g.intersects(windows[j]->geometry()));
        }
        // Cascading overlaps them, each offset from the one before.
        f.trigger("cascade");
        QVERIFY(windows[1]->geometry().topLeft() != windows[0]->geometry().topLeft());
        QVERIFY(windows[1]->geometry().intersects(windows[0]->geometry()));
    }

    void arrangeIconsLinesUpMinimisedWindowsAtTheBottom()
    {
        FrameFixture f;
        f.start();
        f.trigger("new");
        f.trigger("miall");
        f.trigger("arricos");
        const QList<QMdiSubWindow *> windows = f.frame->documentWindows();
        const int bottom = mdiAreaOf(*f.frame)->viewport()->rect().bottom();
        QCOMPARE(windows[0]->geometry().bottom(), bottom);
        QCOMPARE(windows[1]->geometry().bottom(), bottom);
        QVERIFY(windows[1]->geometry().left() >= windows[0]->geometry().right());
    }
};

QTEST_MAIN(WindowsTest)
#include "tst_windows.moc"
