// The menu bar and both toolbars, read from the running frame.
#include "support/FrameFixture.h"

#include "platform/KeyedToolbar.h"

#include <QAction>
#include <QMenuBar>
#include <QTest>

class MenusTest : public QObject
{
    Q_OBJECT

private slots:
    void menuItems_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shortcut");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("checked");
        const auto row = [](const char *name, const char *menu, const char *caption, const char *shortcut = "",
                            bool enabled = true, bool checked = false) {
            QTest::newRow(name) << menu << caption << shortcut << enabled << checked;
        };
        row("new", "file", "&New...", "Ctrl+N");
        row("closea", "file", "&Close");
        row("open", "file", "&Open", "Ctrl+O");
        row("save", "file", "&Save", "Ctrl+S");
        row("saveas", "file", "&Save as...");
        row("ps", "pc", "&Page Setup...", "", false);
        row("print_setup", "pc", "&Print Setup...");
        row("print", "file", "&Print", "Ctrl+P");
        row("printpreview", "file", "Print Pre&view...");
        row("exit", "file", "Exit");
        row("undo", "edit", "&Undo", "Ctrl+Z");
        row("redo", "edit", "&Redo", "Ctrl+Shift+Z", false);
        row("cut", "edit", "&Cut", "Ctrl+X");
        row("copy", "edit", "&Copy", "Ctrl+C");
        row("paste", "edit", "&Paste", "Ctrl+V");
        row("de", "edit", "&Delete", "Del");
        row("seall", "edit", "&Select all", "Ctrl+A");
        row("findreplace", "edit", "&Find and Replace...", "Ctrl+H");
        row("findnext", "edit", "Find &Next", "F3");
        row("findprev", "edit", "Find &Previous", "Shift+F3");
        row("cc", "edit", "&Clear Clipboard...");
        row("fsm", "view", "Full - screen mode");
        row("Statusbar", "view", "Status Bar", "", true, true);
        row("zoomin", "view", "Zoom In", "Ctrl++");
        row("zoomout", "view", "Zoom Out", "Ctrl+-");
        row("zoomnormal", "view", "Normal Size", "Ctrl+0");
        row("wordcount", "view", "Word Count...");
        row("headerfooter", "view", "Header and Footer...");
        row("dt", "insert", "&Date / Time", "Ctrl+D");
        row("picturea", "insert", "&Pictures...", "Ctrl+I");
        row("fgsdgfdg", "insert", "&Symbols...", "Ctrl+Y");
        row("dfgfdgdf", "insert", "&Text Files...", "Ctrl+T");
        row("table", "insert", "Table...", "", false);
        row("font", "format", "Font ...", "Ctrl+F");
        row("paragraph", "format", "Paragraph ...", "", false);
        row("bs", "format", "Bullet Style");
        row("fc", "format", "Font Color...");
        row("bc", "format", "Background Color...");
        row("nw", "window", "New Window");
        row("cascade", "window", "Cascade");
        row("th", "window", "Tile Horizontal");
        row("til", "window", "Tile Vertical");
        row("arricos", "window", "Arrange Icons");
        row("miall", "window", "Minimize All");
        row("resall", "window", "Restore All");
        row("totd", "help", "Tips of the day ?", "F2");
        row("awxph", "help", "Scrivlo Help", "F1");
        row("a_x", "help", "About Dorvane");
    }

    void menuItems()
    {
        QFETCH(QString, menu);
        QFETCH(QString, caption);
        QFETCH(QString, shortcut);
        QFETCH(bool, enabled);
        QFETCH(bool, checked);
        FrameFixture f;
        f.start();
        QAction *item = f.frame->menuItem(QString::fromLatin1(QTest::currentDataTag()));
        QCOMPARE(item->text(), caption);
        QCOMPARE(item->shortcut(), QKeySequence(shortcut));
        QCOMPARE(item->isEnabled(), enabled);
        QCOMPARE(item->isChecked(), checked);
        QVERIFY(f.frame->menu(menu)->actions().contains(item));
        if (item->objectName() == "zoomin") // the second shortcut
            QCOMPARE(item->shortcuts(), (QList<QKeySequence>{QKeySequence("Ctrl++"), QKeySequence("Ctrl+=")}));
    }

    void menuBarOrderAndSeparators()
    {
        FrameFixture f;
        f.start();
        QStringList top;
        for (QAction *a : f.frame->menuBar()->actions())
            top << a->objectName() + "=" + a->text();
        QCOMPARE(top, (QStringList{"file=File", "edit=Edit", "view=View", "insert=Insert", "format=Format",
                                   "window=Window", "help=Help"}));
        QStringList file;
        for (QAction *a : f.frame->menu("file")->actions())
            file << (a->isSeparator() ? "-" + a->objectName() : a->objectName());
        QCOMPARE(file, (QStringList{"new", "-a", "closea", "-d", "open", "-b", "save", "saveas", "-c", "pc",
                                    "print", "printpreview", "-e", "exit"}));
        // What is new stands beside the design's items, after the ones the issue names.
        QStringList edit;
        for (QAction *a : f.frame->menu("edit")->actions())
            edit << (a->isSeparator() ? "-" : a->objectName());
        QCOMPARE(edit, (QStringList{"undo", "redo", "-", "cut", "copy", "paste", "-", "de", "seall", "findreplace",
                                    "findnext", "findprev", "-", "cc"}));
    }

    void toolbarsHaveTheirKeysAndTooltips()
    {
        FrameFixture f;
        f.start();
        QStringList standard;
        for (QAction *a : standardToolbarOf(*f.frame)->actions())
            standard << (a->isSeparator() ? "|" + a->objectName() : a->objectName() + ":" + a->toolTip());
        QCOMPARE(standard, (QStringList{"a:New document", "b:Retrieve a document", "c:Save document", "|",
                                        "d:Print document wihout configuration", "e:Full - screen mode", "|",
                                        "f:Cut", "g:Copy", "h:Paste", "|i", "j:Undo", "|", "k:Font color", "|"}));
        QStringList formatting;
        for (QAction *a : formattingToolbarOf(*f.frame)->actions())
            formatting << (a->isSeparator() ? "|" : a->objectName() + ":" + a->toolTip() + (a->isCheckable() ? "+" : ""));
        QCOMPARE(formatting, (QStringList{"a:Bold+", "b:Italic+", "c:Underline+", "d:Strike through+", "|",
                                          "e:Left Alignment+", "f:Center+", "g:Right Alignment+", "|", "h:Bullet Style"}));
        for (QAction *a : standardToolbarOf(*f.frame)->actions())
            QVERIFY(a->isSeparator() || !a->icon().isNull());
        // Every button shows a picture: the theme's, or the one the program ships.
        for (KeyedToolbar *bar : {standardToolbarOf(*f.frame), formattingToolbarOf(*f.frame)})
            for (QAction *a : bar->actions())
                QVERIFY2(a->isSeparator() || !a->icon().pixmap(16).isNull(), qPrintable(a->toolTip()));
        // A fresh window leaves left alignment pressed and the other buttons released.
        QCOMPARE(formattingToolbarOf(*f.frame)->state("e"), 1);
        for (const char *key : {"a", "b", "c", "d", "f", "g"})
            QCOMPARE(formattingToolbarOf(*f.frame)->state(key), 0);
    }
};

QTEST_MAIN(MenusTest)
#include "tst_menus.moc"
