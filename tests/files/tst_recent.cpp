// The recent files of the File menu.
#include "support/FrameFixture.h"

#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "files/RecentFilesMenu.h"
#include "platform/Failure.h"

#include <QTest>

namespace {

QStringList entryTexts(const MainFrame &frame)
{
    QStringList texts;
    for (QAction *entry : frame.recentFiles().entries())
        texts << (entry->isSeparator() ? QStringLiteral("-") : entry->text() + " | " + entry->statusTip());
    return texts;
}

} // namespace

class RecentTest : public QObject
{
    Q_OBJECT

private slots:
    void openedAndSavedFilesAreListedAboveExit()
    {
        FrameFixture f;
        f.start();
        const QString a = f.writeFile("a&b.txt", "first");
        f.dialogs.answerFile(a);
        f.trigger("open");
        f.dialogs.answerFile(f.path("saved.rtf"));
        f.trigger("saveas");
        const QString saved = f.path("saved.rtf");
        QCOMPARE(entryTexts(*f.frame), (QStringList{"&1 saved.rtf | " + saved, "&2 a&&b.txt | " + a, "-"}));
        const QList<QAction *> file = f.frame->menu("file")->actions();
        QCOMPARE(file.indexOf(f.frame->menuItem("recent1")), file.indexOf(f.frame->menuItem("exit")) - 3);
        QCOMPARE(f.settings->setting("Recent Files", "File1", ""), saved);

        // At most six are kept; the window's own save (its close prompt) counts too.
        QMdiSubWindow *first = mdiAreaOf(*f.frame)->currentSubWindow();
        for (int i = 0; i < 5; ++i) {
            f.dialogs.answerFile(f.writeFile(QStringLiteral("%1.txt").arg(i), "x"));
            f.trigger("open");
        }
        QCOMPARE(f.frame->recentFiles().paths().size(), 6);
        QVERIFY(!f.frame->recentFiles().paths().contains(a));
        mdiAreaOf(*f.frame)->setActiveSubWindow(first);
        f.active()->doc = -1;
        f.dialogs.answerMessage(Dialogs::Answer::Yes);
        QVERIFY(first->close());
        QCOMPARE(f.frame->recentFiles().paths(), (QStringList{saved, f.path("4.txt"), f.path("3.txt"), f.path("2.txt"),
                                                              f.path("1.txt"), f.path("0.txt")}));
    }

    void choosingOneOpensItAndAGoneOneIsReportedAndDropped()
    {
        FrameFixture f;
        const QString kept = f.writeFile("kept.rtf", "{\\rtf1\\ansi {\\b kept} text\\par}");
        const QString gone = f.path("gone.rtf");
        f.settings->saveSetting("Recent Files", "File1", gone);
        f.settings->saveSetting("Recent Files", "File2", kept);
        f.start();
        emit f.frame->menu("file")->aboutToShow();
        QCOMPARE(entryTexts(*f.frame), (QStringList{"&1 gone.rtf | " + gone, "&2 kept.rtf | " + kept, "-"}));

        f.trigger("recent2");
        QCOMPARE(f.active()->windowTitle(), QStringLiteral("kept.rtf"));
        QCOMPARE(f.surface().text(), QStringLiteral("kept text"));
        QCOMPARE(f.surface().fileName(), kept);
        QCOMPARE(f.active()->doc, 0);
        QCOMPARE(f.frame->recentFiles().paths(), (QStringList{kept, gone}));

        const int windows = f.frame->documents().size();
        f.dialogs.answerMessage(Dialogs::Answer::OK);
        f.trigger("recent2");
        QCOMPARE(f.dialogs.messages().size(), 1);
        QCOMPARE(f.dialogs.messages()[0].text, QStringLiteral("Cannot open \"%1\": No such file or directory").arg(gone));
        QCOMPARE(f.frame->recentFiles().paths(), QStringList{kept});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(f.frame->documents().size(), windows); // no empty window is left for it
        QVERIFY_THROWS_EXCEPTION(Failure, f.frame->menuItem("recent2"));
    }
};

QTEST_MAIN(RecentTest)
#include "tst_recent.moc"
