// The real program under a virtual X server, driven by real keystrokes: a rich-text, Word or
// OpenDocument file named on the command line, a word typed, Ctrl+S, the program closed from its
// File menu. The file on disk is still of its format, with the word and the formatting it had, and
// LibreOffice (where installed) reads the word from it.
#include "content/DocumentFile.h"
#include "support/VirtualDisplay.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
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

// The text of a document file in any format; empty while it cannot be read.
QString textOf(const QString &path)
{
    try {
        QTextDocument doc;
        DocumentFile::read(path).readInto(doc);
        return doc.toPlainText();
    } catch (...) {
        return QString();
    }
}

} // namespace

class EndToEndTest : public QObject
{
    Q_OBJECT

    VirtualDisplay m_display{1288, 808};

    QString xdotool(const QStringList &arguments) const { return m_display.xdotool(arguments); }

private slots:
    void initTestCase()
    {
        if (!VirtualDisplay::toolsInstalled())
            QSKIP("Xvfb or xdotool is not installed");
        if (!m_display.start())
            QSKIP("no X server could be started");
    }

    void typeSaveAndCloseKeepsTheFileOfItsFormat_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<int>("format");
        QTest::newRow("rtf") << "rtf" << int(DocumentFile::Format::RichText);
        QTest::newRow("docx") << "docx" << int(DocumentFile::Format::Word);
        QTest::newRow("odt") << "odt" << int(DocumentFile::Format::OpenDocument);
    }

    void typeSaveAndCloseKeepsTheFileOfItsFormat()
    {
        QFETCH(QString, suffix);
        QFETCH(int, format);
        QTemporaryDir dir;
        const QString rtf = dir.filePath("letter.rtf");
        QFile file(rtf);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\\rtf1\\ansi{\\fonttbl{\\f0 Liberation Serif;}}\\f0\\fs24 {\\b Bold} words\\par}");
        file.close();

        const QString program = QStringLiteral(SCRIVLO_BIN_DIR "/scrivlo");
        QVERIFY2(QFile::exists(program), "build the program first");
        const QString path = dir.filePath("letter." + suffix);
        if (suffix != u"rtf") // the file of the other format is made by the program's own conversion
            QCOMPARE(QProcess::execute(program, {"--convert-to", suffix, "--outdir", dir.path(), rtf}), 0);
        QProcess app;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", m_display.name());
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
        QTRY_VERIFY_WITH_TIMEOUT(textOf(path).contains("Hello"), 10000);

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

        const DocumentFile saved = DocumentFile::read(path);
        QCOMPARE(int(saved.format()), format);
        QTextDocument doc;
        saved.readInto(doc);
        QCOMPARE(doc.toPlainText(), QStringLiteral("Hello Bold words"));
        QTextCursor cursor(&doc);
        cursor.setPosition(8); // inside "Bold"
        QVERIFY(cursor.charFormat().fontWeight() >= QFont::Bold);
        cursor.setPosition(13); // inside "words"
        QVERIFY(cursor.charFormat().fontWeight() < QFont::Bold);

        const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (soffice.isEmpty() || suffix == u"rtf")
            return;
        const QString out = dir.filePath(QStringLiteral("lo"));
        QProcess lo;
        lo.start(soffice, {"-env:UserInstallation=file://" + dir.filePath("lo-profile"), "--headless", "--convert-to",
                           "txt:Text (encoded):UTF8", "--outdir", out, path});
        QVERIFY(lo.waitForFinished(120000));
        QVERIFY2(readAll(out + "/letter.txt").contains("Hello Bold words"), "LibreOffice reads the typed word");
    }
};

QTEST_GUILESS_MAIN(EndToEndTest)
#include "tst_endtoend.moc"
