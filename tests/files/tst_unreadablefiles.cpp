// The real program under a virtual X server, started on a file it must not take for a document: a
// picture named .rtf, and a file the user may not read. It says so, and the window it leaves is
// bound to no file: typing and Ctrl+S ask for a name, and the file on disk keeps its bytes.
#include "support/FrameFixture.h"
#include "support/VirtualDisplay.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <pwd.h>
#include <unistd.h>


class UnreadableFilesTest : public QObject
{
    Q_OBJECT

    VirtualDisplay m_display{1296, 816};

    QString xdotool(const QStringList &arguments) const { return m_display.xdotool(arguments); }

    // Starts the program on `path` (as `user` when given), answers the box that refuses the file,
    // types and presses Ctrl+S, and returns once the program asks where to save.
    void typeAndSave(const QString &path, const QString &home, const QString &user = QString())
    {
        QProcess app;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", m_display.name());
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("HOME", home);
        env.insert("XDG_DATA_HOME", home + "/data");
        env.insert("XDG_CONFIG_HOME", home + "/config");
        app.setProcessEnvironment(env);
        app.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const QString program = QStringLiteral(SCRIVLO_BIN_DIR "/scrivlo");
        if (user.isEmpty())
            app.start(program, {path});
        else
        {
            const passwd *account = getpwnam(qPrintable(user));
            QVERIFY(account);
            app.start("setpriv", {QStringLiteral("--reuid=%1").arg(account->pw_uid), QStringLiteral("--regid=%1").arg(account->pw_gid),
                                  "--clear-groups", "--", program, path});
        }
        QVERIFY(app.waitForStarted(10000));

        const QString box = m_display.waitForWindow(app, "^Scrivlo$");
        QVERIFY2(!box.isEmpty(), "the program did not say it cannot open the file");
        xdotool({"windowfocus", "--sync", box});
        xdotool({"key", "Return"});
        const QString frame = m_display.waitForWindow(app, "^Scrivlo - ");
        QVERIFY(!frame.isEmpty());
        QVERIFY2(!xdotool({"getwindowname", frame}).contains(QStringLiteral("unreadable")), "the window took the file's name");
        xdotool({"windowfocus", "--sync", frame});
        xdotool({"type", "--delay", "30", "typed over"});
        xdotool({"key", "ctrl+s"});
        QVERIFY2(!m_display.waitForWindow(app, "^Save").isEmpty(), "Ctrl+S did not ask for a file name");
        app.kill();
        app.waitForFinished(5000);
    }

private slots:
    void initTestCase()
    {
        if (!VirtualDisplay::toolsInstalled())
            QSKIP("Xvfb or xdotool is not installed");
        if (!m_display.start())
            QSKIP("no X server could be started");
    }

    void aRefusedFileIsNotWrittenOver()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("unreadable.rtf");
        const QByteArray picture("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\0\x01", 20);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(picture);
        file.close();
        typeAndSave(path, dir.path());
        QCOMPARE(FrameFixture::readFile(path), picture);
    }

    // Needs a second user: the test runs as root and starts the program as "nobody", in a folder
    // that user may write to.
    void aFileTheUserMayNotReadIsNotWrittenOver()
    {
        if (geteuid() != 0 || QStandardPaths::findExecutable("setpriv").isEmpty() || !getpwnam("nobody"))
            QSKIP("needs root, setpriv and the user nobody");
        QTemporaryDir dir;
        QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777));
        const QString path = dir.filePath("unreadable.txt");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("the user's own words\n");
        file.close();
        QVERIFY(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)); // root's alone
        typeAndSave(path, dir.path(), QStringLiteral("nobody"));
        QCOMPARE(FrameFixture::readFile(path), QByteArray("the user's own words\n"));
    }
};

QTEST_GUILESS_MAIN(UnreadableFilesTest)
#include "tst_unreadablefiles.moc"
