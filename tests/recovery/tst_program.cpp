// The real program under a virtual X server, typed into for real: killed outright after its copy
// was made, it offers the text back at the next start with the window's caption, file and changed
// flag; ended by SIGTERM right after typing, it writes the copy at once; and two programs running
// at once never take each other's copies.
#include "recovery/OrphanCopies.h"
#include "recovery/RecoveryFolder.h"
#include "rtf/RtfCodec.h"
#include "support/VirtualDisplay.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <memory>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString textOf(const QByteArray &rtf)
{
    QTextDocument doc;
    RtfCodec::read(rtf, doc);
    return doc.toPlainText();
}

} // namespace

class ProgramTest : public QObject
{
    Q_OBJECT

    VirtualDisplay m_display{1292, 812};
    std::unique_ptr<QTemporaryDir> m_home; // the programs' data and configuration folders

    QString xdotool(const QStringList &arguments) const { return m_display.xdotool(arguments); }

    QString root() const { return m_home->filePath(QStringLiteral("data/Scrivlo/recovery")); }

    std::unique_ptr<QProcess> start(const QStringList &arguments)
    {
        auto app = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", m_display.name());
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("XDG_DATA_HOME", m_home->filePath("data"));
        env.insert("XDG_CONFIG_HOME", m_home->filePath("config"));
        app->setProcessEnvironment(env);
        app->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        app->start(QStringLiteral(SCRIVLO_BIN_DIR "/scrivlo"), arguments);
        app->waitForStarted(10000);
        return app;
    }

    // A visible window of the program whose name matches (other than `besides`), once there is one.
    QString waitForWindow(const QProcess &app, const QString &name, const QString &besides = QString())
    {
        const QString pid = QString::number(app.processId());
        QDeadlineTimer deadline(20000);
        while (!deadline.hasExpired() && app.state() == QProcess::Running) {
            QStringList found = xdotool({"search", "--all", "--onlyvisible", "--pid", pid, "--name", name}).split('\n');
            found.removeAll(QString());
            found.removeAll(besides);
            if (!found.isEmpty())
                return found.first();
            QTest::qWait(200);
        }
        return QString();
    }

    // The copies of every program's folder, running or not.
    int copiesOnDisk() const
    {
        int count = 0;
        for (const QString &folder : QDir(root()).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            count += int(RecoveryFolder::copiesIn(QDir(root()).filePath(folder)).size());
        return count;
    }

    QString writeLetter()
    {
        const QString path = m_home->filePath(QStringLiteral("letter.rtf"));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write("{\\rtf1\\ansi words}");
        return path;
    }

    static void end(QProcess &app)
    {
        if (app.state() == QProcess::Running) {
            app.kill();
            app.waitForFinished(10000);
        }
    }

private slots:
    void initTestCase()
    {
        if (!VirtualDisplay::toolsInstalled())
            QSKIP("Xvfb or xdotool is not installed");
        QVERIFY2(QFile::exists(QStringLiteral(SCRIVLO_BIN_DIR "/scrivlo")), "build the program first");
        if (!m_display.start())
            QSKIP("no X server could be started");
    }

    void init() { m_home = std::make_unique<QTemporaryDir>(); }

    void killedAfterItsCopyAndRecoveredAtTheNextStart()
    {
        const QString letter = writeLetter();
        const auto first = start({letter});
        const QString frame = waitForWindow(*first, "^Scrivlo - ");
        QVERIFY2(!frame.isEmpty(), "the program showed no frame");
        xdotool({"windowfocus", "--sync", frame});
        xdotool({"type", "--delay", "40", "Hello "});
        QTRY_VERIFY_WITH_TIMEOUT(copiesOnDisk() == 1, 20000); // about five seconds after typing
        first->kill();
        QVERIFY(first->waitForFinished(10000));

        const auto next = start({});
        const QString nextFrame = waitForWindow(*next, "^Scrivlo - ");
        QVERIFY(!nextFrame.isEmpty());
        const QString question = waitForWindow(*next, "^Scrivlo$", nextFrame);
        QVERIFY2(!question.isEmpty(), "no question about the copy");
        xdotool({"windowfocus", "--sync", question});
        xdotool({"key", "Return"}); // Recover, the default
        // The recovered window is active, maximised, with its old caption.
        QVERIFY(!waitForWindow(*next, QStringLiteral("^Scrivlo - .*letter\\.rtf")).isEmpty());

        // Changed: closing the frame asks; Escape cancels.
        xdotool({"windowfocus", "--sync", nextFrame});
        xdotool({"mousemove", "--window", nextFrame, "30", "10", "click", "1"});
        QTest::qWait(1500); // the menu opens, also on a busy machine
        xdotool({"key", "Up", "Return"});
        const QString prompt = waitForWindow(*next, "^Scrivlo$", nextFrame);
        QVERIFY2(!prompt.isEmpty(), "closing the recovered window did not ask to save it");
        xdotool({"windowfocus", "--sync", prompt});
        xdotool({"key", "Escape"});

        // Save writes the text to the original file.
        xdotool({"windowfocus", "--sync", nextFrame});
        xdotool({"key", "ctrl+s"});
        QTRY_COMPARE_WITH_TIMEOUT(textOf(readAll(letter)), QStringLiteral("Hello words"), 10000);

        // A normal end now leaves no copies.
        xdotool({"mousemove", "--window", nextFrame, "30", "10", "click", "1"});
        QTest::qWait(1500); // the menu opens, also on a busy machine
        xdotool({"key", "Up", "Return"});
        QVERIFY(next->waitForFinished(20000));
        QCOMPARE(next->exitCode(), 0);
        QCOMPARE(copiesOnDisk(), 0);
    }

    void endedBySigtermItWritesTheCopyAtOnce()
    {
        const QString letter = writeLetter();
        const auto app = start({letter});
        const QString frame = waitForWindow(*app, "^Scrivlo - ");
        QVERIFY(!frame.isEmpty());
        xdotool({"windowfocus", "--sync", frame});
        xdotool({"type", "--delay", "40", "Hi "});
        QTest::qWait(300); // the keys reach the program; the copy is five seconds away
        QCOMPARE(copiesOnDisk(), 0);
        app->terminate();
        QVERIFY(app->waitForFinished(10000));
        QCOMPARE(app->exitStatus(), QProcess::NormalExit);
        QCOMPARE(app->exitCode(), 0);

        // Left for the next start: no program holds it any more.
        OrphanCopies left(root(), QString());
        QCOMPARE(left.copies().size(), 1);
        const OrphanCopies::Copy copy = left.copies().value(0);
        QVERIFY(copy.entry);
        QCOMPARE(copy.entry->caption, letter);
        QCOMPARE(copy.entry->fileName, letter);
        QCOMPARE(textOf(OrphanCopies::read(copy)), QStringLiteral("Hi words"));
    }

    void twoProgramsLeaveEachOthersCopiesAlone()
    {
        const QString letter = writeLetter();
        const auto first = start({letter});
        const QString frame = waitForWindow(*first, "^Scrivlo - ");
        QVERIFY(!frame.isEmpty());
        xdotool({"windowfocus", "--sync", frame});
        xdotool({"type", "--delay", "40", "First "});
        QTRY_VERIFY_WITH_TIMEOUT(copiesOnDisk() == 1, 20000);

        // A second program starts while the first runs: it asks nothing about the first's copy.
        const auto second = start({});
        const QString secondFrame = waitForWindow(*second, "^Scrivlo - ");
        QVERIFY(!secondFrame.isEmpty());
        QTest::qWait(1000);
        QCOMPARE(xdotool({"search", "--all", "--onlyvisible", "--pid", QString::number(second->processId()), "--name",
                          "^Scrivlo$"}),
                 QString());
        // Nor does anyone else take it while its program lives.
        QVERIFY(OrphanCopies(root(), QString()).copies().isEmpty());

        end(*first);
        end(*second);
        QCOMPARE(OrphanCopies(root(), QString()).copies().size(), 1); // now it is left behind
    }
};

QTEST_GUILESS_MAIN(ProgramTest)
#include "tst_program.moc"
