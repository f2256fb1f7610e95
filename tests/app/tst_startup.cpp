// Start-up, the status strips, the font boxes and shut-down of the main frame.
#include "support/FrameFixture.h"

#include "app/FrameStatusBar.h"
#include "document/Form3.h"
#include "document/RichTextBox.h"
#include "formatting/FormatMenu.h"
#include "formatting/Form4.h"
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
        QVERIFY(!CoolBar1Of(*f.frame)->isHidden());
        QVERIFY(!StatusBar1Of(*f.frame)->isHidden());

        QCOMPARE(Combo2Of(*f.frame)->count(), 63);
        QCOMPARE(Combo2Of(*f.frame)->itemText(0), QStringLiteral("10"));
        QCOMPARE(Combo2Of(*f.frame)->itemText(62), QStringLiteral("72"));
        QCOMPARE(Combo2Of(*f.frame)->Text(), QStringLiteral("12"));
        // The font box holds the screen fonts, sorted, and shows Times New Roman where it exists,
        // else the family the system draws in its place (Liberation Serif on a Linux desktop).
        const QStringList families = QFontDatabase::families();
        QVERIFY(Combo1Of(*f.frame)->count() > 0);
        for (int i = 1; i < Combo1Of(*f.frame)->count(); ++i)
            QVERIFY(QString::compare(Combo1Of(*f.frame)->itemText(i - 1), Combo1Of(*f.frame)->itemText(i), Qt::CaseInsensitive) <= 0);
        if (families.contains(QStringLiteral("Times New Roman")))
            QCOMPARE(Combo1Of(*f.frame)->Text(), QStringLiteral("Times New Roman"));
        else
            QCOMPARE(Combo1Of(*f.frame)->Text(), QFontInfo(QFont(QStringLiteral("Times New Roman"))).family());
        QVERIFY(!Combo1Of(*f.frame)->Text().isEmpty());
        // A new window takes the keyboard focus in its text.
        QCOMPARE(mdiAreaOf(*f.frame)->currentSubWindow()->widget()->focusProxy(), f.active()->RichTextBox1);
    }

    void fontListsNameEachFamilyOnce()
    {
        FrameFixture f;
        f.start();
        f.trigger("font");
        QListWidget &dialogList = *f.frame->formatMenu().fontDialog()->List1;
        QSet<QString> names;
        for (int i = 0; i < Combo1Of(*f.frame)->count(); ++i) {
            const QString name = Combo1Of(*f.frame)->itemText(i);
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
        f.surface().setSelFontName(plain);
        f.active()->doc = 0;
        emit f.surface().Click();
        QCOMPARE(Combo1Of(*f.frame)->Text(), plain);
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
        f.settings->SaveSetting("sb", "ch", stored);
        f.start();
        QCOMPARE(!CoolBar1Of(*f.frame)->isHidden(), shown);
        QCOMPARE(!StatusBar1Of(*f.frame)->isHidden(), shown);
        QCOMPARE(f.frame->menuItem("Statusbar")->isChecked(), shown);
    }

    void statusBarToggleIsStoredAtShutDown()
    {
        FrameFixture f;
        f.settings->SaveSetting("sb", "ch", "False");
        f.start();
        f.trigger("Statusbar");
        QVERIFY(f.frame->menuItem("Statusbar")->isChecked());
        QVERIFY(!CoolBar1Of(*f.frame)->isHidden() && !StatusBar1Of(*f.frame)->isHidden());
        QVERIFY(f.frame->close());
        QCOMPARE(f.settings->GetSetting("sb", "ch", "?"), QStringLiteral("True"));

        FrameFixture g;
        g.start();
        g.trigger("Statusbar");
        QVERIFY(CoolBar1Of(*g.frame)->isHidden() && StatusBar1Of(*g.frame)->isHidden());
        QVERIFY(!g.frame->menuItem("Statusbar")->isChecked());
    }

    void shutDownWritesTheBoxesTexts()
    {
        FrameFixture f;
        f.start();
        Combo2Of(*f.frame)->setText("14");
        QVERIFY(f.frame->close());
        QCOMPARE(f.settings->GetSetting("fonte", "size", "?"), QStringLiteral("14"));
        QCOMPARE(f.settings->GetSetting("font", "name", "?"), Combo1Of(*f.frame)->Text());
        QCOMPARE(f.settings->GetSetting("sb", "ch", "?"), QStringLiteral("True"));
    }

    void cancelAtShutDownKeepsTheFrameAndWritesNothing()
    {
        FrameFixture f;
        f.start();
        f.trigger("new");
        f.trigger("new");
        const QList<Form3 *> forms = f.frame->documents();
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
        QCOMPARE(f.settings->GetSetting("sb", "ch", "none"), QStringLiteral("none"));

        // A later close that is not cancelled writes the settings.
        f.dialogs.answerMessage(Dialogs::Answer::No);
        f.dialogs.answerMessage(Dialogs::Answer::No);
        QVERIFY(f.frame->close());
        QCOMPARE(f.settings->GetSetting("sb", "ch", "none"), QStringLiteral("True"));
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
        box.setSelText("hello world");
        box.setSelStart(0);
        box.setSelLength(6);
        f.frame->Timer1().start();
        f.frame->Timer2().start();
        QTRY_VERIFY(!f.frame->Timer1().isActive() && !f.frame->Timer2().isActive());
        QCOMPARE(box.Text(), QStringLiteral("world"));
        // With no document window, only the disabling happens.
        f.active()->doc = 0;
        mdiAreaOf(*f.frame)->closeAllSubWindows();
        f.frame->Timer2().start();
        QTRY_VERIFY(!f.frame->Timer2().isActive());
    }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
