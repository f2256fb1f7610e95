// The real program under a virtual X server, driven by real keystrokes: a rich-text file named on
// the command line, a word typed, Ctrl+S, the program closed from its File menu. The file on disk is
// still rich text, with the word and the formatting it had.
#include "rtf/RtfCodec.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class EndToEndTest : public QObject
{
    Q_OBJECT

    QProcess m_server;
    QString m_display;

    // Runs xdotool on the virtual display; its output, trimmed.
    QString xdotool(const QStringList &arguments)
    {
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", m_display);
        tool.setProcessEnvironment(env);
        tool.start(QStringLiteral("xdotool"), arguments);
        tool.waitForFinished(10000);
        return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
    }

    // Starts a server on the display number; false when that display is taken or cannot be
    // reached. The server writes the number to standard output once it accepts connections; the
    // display is then probed, and only ours has this unusual screen size. Without -noreset the
    // server resets whenever its last client leaves, and a program connecting during that reset
    // is turned away: each xdotool call is such a client.
    bool startServer(int number)
    {
        m_server.start("Xvfb", {QStringLiteral(":%1").arg(number), "-displayfd", "1", "-screen", "0",
                                QStringLiteral("%1x%2x24").arg(ScreenWidth).arg(ScreenHeight), "-nolisten", "tcp", "-noreset"});
        if (!m_server.waitForStarted(10000))
            return false;
        QDeadlineTimer deadline(15000);
        while (!m_server.canReadLine() && !deadline.hasExpired() && m_server.state() == QProcess::Running)
            m_server.waitForReadyRead(200);
        if (m_server.readLine().trimmed().toInt() == number && m_server.state() == QProcess::Running) {
            m_display = QStringLiteral(":%1").arg(number);
            if (xdotool({"getdisplaygeometry"}) == QStringLiteral("%1 %2").arg(ScreenWidth).arg(ScreenHeight))
                return true;
            qWarning("display %d is not the server just started; trying another", number);
        }
        m_display.clear();
        m_server.kill();
        m_server.waitForFinished(5000);
        return false;
    }

    static constexpr int ScreenWidth = 1288;
    static constexpr int ScreenHeight = 808;

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable("Xvfb").isEmpty() || QStandardPaths::findExecutable("xdotool").isEmpty())
            QSKIP("Xvfb or xdotool is not installed");
        // A display of our own: the server's lock refuses a number another test run already holds.
        // Drawn at random, since process ids repeat from one sandbox to the next.
        for (int attempt = 0; attempt < 20; ++attempt)
            if (startServer(QRandomGenerator::system()->bounded(200, 30000)))
                return;
        QSKIP("no X server could be started");
    }

    void typeSaveAndCloseKeepsTheFileRichText()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("letter.rtf");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\\rtf1\\ansi{\\fonttbl{\\f0 Liberation Serif;}}\\f0\\fs24 {\\b Bold} words\\par}");
        file.close();

        const QString program = QStringLiteral(SCRIVLO_BIN_DIR "/scrivlo");
        QVERIFY2(QFile::exists(program), "build the program first");
        QProcess app;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", m_display);
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
        app.setProcessEnvironment(env);
        app.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        app.start(program, {path});
        QVERIFY(app.waitForStarted(10000));

        // The frame comes after the splash window, captioned after the maximised document.
        QString window;
        const QString pid = QString::number(app.processId());
        QTRY_VERIFY_WITH_TIMEOUT(app.state() != QProcess::Running
                                     || !(window = xdotool({"search", "--all", "--onlyvisible", "--pid", pid, "--name",
                                                            "^Scrivlo - "}))
                                             .isEmpty(),
                                 20000);
        QVERIFY2(app.state() == QProcess::Running, "the program ended before its frame was shown");
        xdotool({"windowfocus", "--sync", window});
        xdotool({"type", "--delay", "40", "Hello "});
        xdotool({"key", "ctrl+s"});
        QTRY_VERIFY_WITH_TIMEOUT(readAll(path).contains("Hello"), 10000);

        // File menu, then its last item, Exit.
        const auto shownWindows = [&] { return xdotool({"search", "--onlyvisible", "--pid", pid}).split('\n').size(); };
        const qsizetype before = shownWindows();
        xdotool({"mousemove", "--window", window, "30", "10", "click", "1"});
        QTRY_VERIFY_WITH_TIMEOUT(shownWindows() > before, 10000);
        xdotool({"key", "Up", "Return"});
        if (!app.waitForFinished(20000)) {
            app.kill();
            QFAIL("the program did not close");
        }
        QCOMPARE(app.exitStatus(), QProcess::NormalExit);
        QCOMPARE(app.exitCode(), 0);

        const QByteArray saved = readAll(path);
        QVERIFY(RtfCodec::looksLikeRtf(saved));
        QTextDocument doc;
        RtfCodec::read(saved, doc);
        QCOMPARE(doc.toPlainText(), QStringLiteral("Hello Bold words"));
        QTextCursor cursor(&doc);
        cursor.setPosition(8); // inside "Bold"
        QVERIFY(cursor.charFormat().fontWeight() >= QFont::Bold);
        cursor.setPosition(13); // inside "words"
        QVERIFY(cursor.charFormat().fontWeight() < QFont::Bold);
    }

    void cleanupTestCase()
    {
        if (m_server.state() == QProcess::Running) {
            m_server.terminate();
            if (!m_server.waitForFinished(5000))
                m_server.kill();
        }
    }
};

QTEST_GUILESS_MAIN(EndToEndTest)
#include "tst_endtoend.moc"
