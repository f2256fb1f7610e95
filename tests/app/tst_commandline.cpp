// The command line: files to open (several at once), --help, --version and wrong options.
#include "support/FrameFixture.h"

#include "app/CommandLine.h"
#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "files/RecentFilesMenu.h"

#include <QProcess>
#include <QTest>

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

// The program itself, without a display: what it prints must not need one.
Run scrivlo(const QStringList &args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(SCRIVLO_BIN_DIR "/scrivlo"), args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

class CommandLineTest : public QObject
{
    Q_OBJECT

private slots:
    void parse()
    {
        using A = CommandLine::Action;
        const auto parse = [](const QStringList &arguments, bool qtOptionsPossible = true) {
            return CommandLine::parse(QStringList{"scrivlo"} + arguments, qtOptionsPossible);
        };
        QCOMPARE(parse({"a.rtf", "b c.txt"}).files, (QStringList{"a.rtf", "b c.txt"}));
        QCOMPARE(parse({"--version", "a.rtf", "--help"}).action, A::Help);
        QCOMPARE(parse({"--version"}).action, A::Version);
        QCOMPARE(parse({"--convert-to=txt", "--outdir", "o", "a.rtf"}).action, A::Convert);
        QCOMPARE(parse({"--outdir", "o"}).action, A::Error);
        const CommandLine unknown = parse({"a.rtf", "--bogus"});
        QCOMPARE(unknown.action, A::Error);
        QVERIFY(unknown.error.contains("--bogus"));
        // One dash: the windowing system's options ("-style fusion") until it has taken them.
        QCOMPARE(parse({"-style", "fusion"}).action, A::Open);
        QCOMPARE(parse({"-x", "a.rtf"}, false).action, A::Error);
        const CommandLine ended = parse({"--", "--help", "-x"}, false);
        QCOMPARE(ended.action, A::Open);
        QCOMPARE(ended.files, (QStringList{"--help", "-x"}));
    }

    void helpVersionAndWrongOptionsNeedNoDisplay()
    {
        const Run help = scrivlo({"--help"});
        QCOMPARE(help.exitCode, 0);
        QCOMPARE(help.out, CommandLine::usage());

        const Run version = scrivlo({"--version"});
        QCOMPARE(version.exitCode, 0);
        QCOMPARE(version.out, QStringLiteral("Scrivlo 1.0.0\n"));

        const Run wrong = scrivlo({"letter.rtf", "--frobnicate"});
        QCOMPARE(wrong.exitCode, 2);
        QCOMPARE(wrong.out, QString());
        QVERIFY(wrong.err.contains("--frobnicate"));
    }

    void everyFileOpensInItsOwnWindow()
    {
        QTemporaryDir files;
        const auto write = [&](const char *name, const QByteArray &bytes) {
            QFile file(files.filePath(name));
            file.open(QIODevice::WriteOnly);
            file.write(bytes);
            return file.fileName();
        };
        const QString rtf = write("a letter.rtf", "{\\rtf1\\ansi {\\b bold} text\\par}");
        const QString txt = write("notes.txt", "plain notes");
        const QString missing = files.filePath("gone.txt");

        FrameFixture f({QString(), true, 12345, {rtf, '"' + txt + '"', missing}});
        f.dialogs.answerMessage(Dialogs::Answer::OK);
        f.start();
        QCOMPARE(f.dialogs.messages().size(), 1);
        QCOMPARE(f.dialogs.messages()[0].text, QStringLiteral("Cannot open \"%1\": No such file or directory").arg(missing));
        const QList<DocumentWindow *> forms = f.frame->documents();
        QCOMPARE(forms.size(), 3);
        QStringList shown;
        for (DocumentWindow *form : forms)
            shown << form->windowTitle() + ":" + form->surface->fileName() + ":" + form->surface->text();
        QCOMPARE(shown, (QStringList{rtf + ":" + rtf + ":bold text", txt + ":" + txt + ":plain notes", missing + ":" + missing + ":"}));
        QCOMPARE(f.frame->recentFiles().paths(), (QStringList{txt, rtf}));
        f.trigger("new");
        QCOMPARE(f.active()->windowTitle(), QStringLiteral("Document 3"));
    }
};

QTEST_MAIN(CommandLineTest)
#include "tst_commandline.moc"
