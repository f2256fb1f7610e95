// Creating, numbering, listing and arranging document windows.
#include "support/FrameFixture.h"

#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTest>

namespace {

QStringList captions(const MainFrame &frame)
{
    QStringList result;
    for (DocumentWindow *form : frame.documents())
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
QStringList windowList(const MainFrame &frame)
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
        DocumentWindow *first = f.active();
        f.trigger("new");
        QVERIFY(first->surface->viewport()->width() >= 400);
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
        QCOMPARE(f.surface().selectionBullet(), std::optional<bool>(false));
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
    }

    void cascadeLeavesWindowsToWorkIn()
    {
        FrameFixture f;
        f.start();
        f.trigger("new");
        f.trigger("new");
        QMdiArea &area = *mdiAreaOf(*f.frame);
        const QList<QMdiSubWindow *> windows = f.frame->documentWindows();
        area.setActiveSubWindow(windows[1]);
        f.trigger("cascade");

        // Each at least half the workspace, a title bar below and beside the one before; the
        // active one stays active and comes last, on top.
        const QSize space = area.viewport()->size();
        const QList<QMdiSubWindow *> stair{windows[0], windows[2], windows[1]};
        for (QMdiSubWindow *sub : stair) {
            QVERIFY(!sub->isMaximized() && !sub->isMinimized());
            QVERIFY(sub->width() >= space.width() / 2 && sub->height() >= space.height() / 2);
            QVERIFY(area.viewport()->rect().contains(sub->geometry()));
        }
        const QPoint step = stair[1]->pos() - stair[0]->pos();
        QVERIFY(step.x() > 0 && step.y() > 0);
        QCOMPARE(stair[2]->pos() - stair[1]->pos(), step);
        QCOMPARE(area.currentSubWindow(), windows[1]);
        QCOMPARE(area.subWindowList(QMdiArea::StackingOrder).constLast(), windows[1]);
        QVERIFY(f.active()->surface->viewport()->width() >= space.width() / 2 - 40);

        // A window restored from the minimised state comes back to work in, even one that was
        // left a title bar alone, out of sight.
        windows[0]->setGeometry(space.width() - 50, 40, 120, 24);
        windows[0]->showMinimized();
        windows[0]->showNormal();
        QVERIFY(windows[0]->width() >= space.width() / 2 && windows[0]->height() >= space.height() / 2);
        QVERIFY(area.viewport()->rect().contains(windows[0]->geometry()));
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
