// An exception that escapes a command does not end the program: a menu command and a toolbar
// button whose library throws show a critical box naming what failed, and every window stays open
// with its content.
#include "support/FrameFixture.h"

#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "platform/CommandGuard.h"
#include "platform/Failure.h"
#include "platform/KeyedToolbar.h"

#include <QTest>
#include <new>
#include <stdexcept>

class GuardTest : public QObject
{
    Q_OBJECT

private slots:
    void anExceptionFromACommandIsShownAndTheWindowsStay_data()
    {
        QTest::addColumn<bool>("fromToolbar");
        QTest::addColumn<QString>("named");
        QTest::newRow("menu item") << false << "Open";
        QTest::newRow("toolbar button") << true << "Retrieve a document";
    }

    void anExceptionFromACommandIsShownAndTheWindowsStay()
    {
        QFETCH(bool, fromToolbar);
        QFETCH(QString, named);
        FrameFixture f;
        f.start();
        QTest::keyClicks(&f.surface(), "keep me");
        f.frame->newWindow();
        QTest::keyClicks(&f.surface(), "and me");

        // The open dialog's library fails in the middle of the command.
        f.dialogs.throwAtNextAsk(std::make_exception_ptr(std::runtime_error("the file system went away")));
        f.dialogs.answerMessage(Dialogs::Answer::OK);
        if (fromToolbar)
            f.frame->findChild<KeyedToolbar *>(QStringLiteral("Toolbar1"))->button(QStringLiteral("b"))->trigger();
        else
            f.trigger("open");

        const Dialogs::Message box = f.dialogs.messages().value(0);
        QCOMPARE(box.text, CommandGuard::message(named, QStringLiteral("the file system went away")));
        QVERIFY(box.text.startsWith(QStringLiteral("\"%1\"").arg(named)));
        QCOMPARE(box.title, QStringLiteral("Scrivlo"));
        QCOMPARE(box.icon, Dialogs::Icon::Critical);
        const QList<DocumentWindow *> windows = f.frame->documents();
        QCOMPARE(windows.size(), 2);
        QCOMPARE(windows[0]->surface->text(), QStringLiteral("keep me"));
        QCOMPARE(windows[1]->surface->text(), QStringLiteral("and me"));
        QVERIFY(f.frame->isVisible());
    }

    void anythingThrownIsCaught()
    {
        FrameFixture f;
        f.start();
        QTest::keyClicks(&f.surface(), "still here");
        f.dialogs.throwAtNextAsk(std::make_exception_ptr(42)); // not even an exception class
        f.dialogs.answerMessage(Dialogs::Answer::OK);
        f.trigger("fc");
        QCOMPARE(f.dialogs.messages().value(0).text, CommandGuard::message(QStringLiteral("Font Color..."), QString()));
        QCOMPARE(f.surface().text(), QStringLiteral("still here"));

        // The next command runs as usual.
        f.dialogs.answerColor(std::nullopt);
        f.trigger("fc");
        QCOMPARE(f.dialogs.unusedAnswers(), 0);
    }
};

QTEST_MAIN(GuardTest)
#include "tst_guard.moc"
