// Start-up, the status strips, the font boxes and shut-down of the main frame.
#include "support/FrameFixture.h"

#include "app/FrameStatusBar.h"
#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "formatting/FormatMenu.h"
#include "formatting/FontDialog.h"
#include "platform/DropDownList.h"

#include <QAction>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFrame>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QTest>

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void firstStartWithEmptySettings()
    {
        FrameFixture f;
        f.start();
        QVERIFY(f.dialogs.asks().isEmpty());
        QCOMPARE(f.frame->documents().size(), 1);
        QCOMPARE(f.active()->windowTitle(), QStringLiteral("Document 1"));
        QCOMPARE(f.active()->doc, 0);
        QCOMPARE(f.frame->documentCounter(), 2);
        QVERIFY(f.frame->menuItem("Statusbar")->isChecked());
        QVERIFY(!lowerRebarOf(*f.frame)->isHidden());
        QVERIFY(!statusBarOf(*f.frame)->isHidden());

        QCOMPARE(fontSizeBoxOf(*f.frame)->count(), 63);
        QCOMPARE(fontSizeBoxOf(*f.frame)->itemText(0), QStringLiteral("10"));
        QCOMPARE(fontSizeBoxOf(*f.frame)->itemText(62), QStringLiteral("72"));
        QCOMPARE(fontSizeBoxOf(*f.frame)->text(), QStringLiteral("12"));
        // The font box holds the screen fonts, sorted, and shows Times New Roman where it exists,
        // else the family the system draws in its place (Liberation Serif on a Linux desktop).
        const QStringList families = QFontDatabase::families();
        QVERIFY(fontNameBoxOf(*f.frame)->count() > 0);
        for (int i = 1; i < fontNameBoxOf(*f.frame)->count(); ++i)
            QVERIFY(QString::compare(fontNameBoxOf(*f.frame)->itemText(i - 1), fontNameBoxOf(*f.frame)->itemText(i), Qt::CaseInsensitive) <= 0);
        if (families.contains(QStringLiteral("Times New Roman")))
            QCOMPARE(fontNameBoxOf(*f.frame)->text(), QStringLiteral("Times New Roman"));
        else
            QCOMPARE(fontNameBoxOf(*f.frame)->text(), QFontInfo(QFont(QStringLiteral("Times New Roman"))).family());
        QVERIFY(!fontNameBoxOf(*f.frame)->text().isEmpty());
        // A new window takes the keyboard focus in its text.
        QCOMPARE(mdiAreaOf(*f.frame)->currentSubWindow()->widget()->focusProxy(), f.active()->surface);
    }

    void fontListsNameEachFamilyOnce()
    {
        FrameFixture f;
        f.start();
        f.trigger("font");
        QListWidget &dialogList = *f.frame->formatMenu().fontDialog()->fontList;
        QSet<QString> names;
        for (int i = 0; i < fontNameBoxOf(*f.frame)->count(); ++i) {
            const QString name = fontNameBoxOf(*f.frame)->itemText(i);
            QVERIFY2(!name.contains(QLatin1Char('[')) && !names.contains(name.toCaseFolded()), qPrintable(name));
            QVERIFY2(!dialogList.findItems(name, Qt::MatchExactly).isEmpty(), qPrintable(name));
            names.insert(name.toCaseFolded());
        }
        QCOMPARE(dialogList.count(), names.size());
        // Every family of the screen is there, under its plain name; text in one that several
        // foundries supply shows in the box.
        QString plain;
        for (const QString &family : QFontDatabase::families()) {
            const QString name = family.section(QStringLiteral(" ["), 0, 0);
            QVERIFY2(QFontDatabase::isPrivateFamily(family) || names.contains(name.toCaseFolded()), qPrintable(family));
            if (name != family)
                plain = name;
        }
        if (plain.isEmpty())
            QSKIP("no font family here comes from more than one foundry");
        f.frame->formatMenu().fontDialog()->close();
        f.surface().setSelectionFontName(plain);
        f.active()->doc = 0;
        emit f.surface().clicked();
        QCOMPARE(fontNameBoxOf(*f.frame)->text(), plain);
        QCOMPARE(f.active()->doc, 0);
    }

    void statusStripsFollowTheSetting_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("shown");
        QTest::newRow("False") << "False" << false;
        QTest::newRow("True") << "True" << true;
        QTest::newRow("false is not False") << "false" << true;
        QTest::newRow("0") << "0" << true;
    }

    void statusStripsFollowTheSetting()
    {
        QFETCH(QString, stored);
        QFETCH(bool, shown);
        FrameFixture f;
        f.settings->saveSetting("sb", "ch", stored);
        f.start();
        QCOMPARE(!lowerRebarOf(*f.frame)->isHidden(), shown);
        QCOMPARE(!statusBarOf(*f.frame)->isHidden(), shown);
        QCOMPARE(f.frame->menuItem("Statusbar")->isChecked(), shown);
    }

    void statusBarToggleIsStoredAtShutDown()
    {
        FrameFixture f;
        f.settings->saveSetting("sb", "ch", "False");
        f.start();
        f.trigger("Statusbar");
        QVERIFY(f.frame->menuItem("Statusbar")->isChecked());
        QVERIFY(!lowerRebarOf(*f.frame)->isHidden() && !statusBarOf(*f.frame)->isHidden());
        QVERIFY(f.frame->close());
        QCOMPARE(f.settings->setting("sb", "ch", "?"), QStringLiteral("True"));

        FrameFixture g;
        g.start();
        g.trigger("Statusbar");
        QVERIFY(lowerRebarOf(*g.frame)->isHidden() && statusBarOf(*g.frame)->isHidden());
        QVERIFY(!g.frame->menuItem("Statusbar")->isChecked());
    }

    void shutDownWritesTheBoxesTexts()
    {
        FrameFixture f;
        f.start();
        fontSizeBoxOf(*f.frame)->setText("14");
        QVERIFY(f.frame->close());
        QCOMPARE(f.settings->setting("fonte", "size", "?"), QStringLiteral("14"));
        QCOMPARE(f.settings->setting("font", "name", "?"), fontNameBoxOf(*f.frame)->text());
        QCOMPARE(f.settings->setting("sb", "ch", "?"), QStringLiteral("True"));
    }

    void cancelAtShutDownKeepsTheFrameAndWritesNothing()
    {
        FrameFixture f;
        f.start();
        f.trigger("new");
        f.trigger("new");
        const QList<DocumentWindow *> forms = f.frame->documents();
        QCOMPARE(forms.size(), 3);
        forms[0]->doc = -1; // asked first: answers No and closes
        forms[1]->doc = -1; // answers Cancel: it and the frame stay
        forms[2]->doc = -1; // never asked
        f.dialogs.answerMessage(Dialogs::Answer::No);
        f.dialogs.answerMessage(Dialogs::Answer::Cancel);
        QVERIFY(!f.frame->close());
        QCOMPARE(f.dialogs.messages().size(), 2);
        QCOMPARE(f.dialogs.messages()[1].text, QStringLiteral("Do you want to save changes to Document 2"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(f.frame->documents().size(), 2);
        QCOMPARE(f.settings->setting("sb", "ch", "none"), QStringLiteral("none"));

        // A later close that is not cancelled writes the settings.
        f.dialogs.answerMessage(Dialogs::Answer::No);
        f.dialogs.answerMessage(Dialogs::Answer::No);
        QVERIFY(f.frame->close());
        QCOMPARE(f.settings->setting("sb", "ch", "none"), QStringLiteral("True"));
    }

    void missingTipsFileIsReportedAtStart()
    {
        FrameFixture f({QString(), false});
        f.dialogs.answerMessage(Dialogs::Answer::OK);
        f.start();
        QCOMPARE(f.dialogs.messages().size(), 1);
        const Dialogs::Message m = f.dialogs.messages().first();
        QCOMPARE(m.text, QStringLiteral("Unable to find tips of the day text document !"));
        QCOMPARE(m.title, QStringLiteral("Scrivlo"));
        QCOMPARE(m.icon, Dialogs::Icon::Exclamation);
        QCOMPARE(m.buttons, Dialogs::Buttons::OK);
        // The run goes on normally.
        QCOMPARE(f.frame->documents().size(), 1);
    }

    void fileMenuEnablingFollowsTheActiveWindow()
    {
        FrameFixture f;
        f.start();
        emit f.frame->menu("file")->aboutToShow();
        QVERIFY(f.frame->menuItem("save")->isEnabled());
        mdiAreaOf(*f.frame)->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // Until the menu opens again, the items keep their state.
        QVERIFY(f.frame->menuItem("saveas")->isEnabled());
        emit f.frame->menu("file")->aboutToShow();
        for (const char *name : {"save", "saveas", "closea"})
            QVERIFY(!f.frame->menuItem(name)->isEnabled());
        QVERIFY(f.frame->menuItem("open")->isEnabled());
    }

    void timersTickOnceAndTimer2EmptiesTheSelection()
    {
        FrameFixture f;
        f.start();
        RichTextBox &box = f.surface();
        box.setSelectionText("hello world");
        box.setSelectionStart(0);
        box.setSelectionLength(6);
        f.frame->pictureStartTimer().start();
        f.frame->pictureEndTimer().start();
        QTRY_VERIFY(!f.frame->pictureStartTimer().isActive() && !f.frame->pictureEndTimer().isActive());
        QCOMPARE(box.text(), QStringLiteral("world"));
        // With no document window, only the disabling happens.
        f.active()->doc = 0;
        mdiAreaOf(*f.frame)->closeAllSubWindows();
        f.frame->pictureEndTimer().start();
        QTRY_VERIFY(!f.frame->pictureEndTimer().isActive());
    }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
