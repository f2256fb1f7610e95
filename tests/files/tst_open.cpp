// Reading documents in: Open and the file named on the command line. Rich text is recognised by
// its first bytes on both roads, plain text is UTF-8 or else Windows-1252, and a file that cannot
// be read is reported.
#include "PermissionsApply.h"
#include "support/FrameFixture.h"

#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"

#include <QDir>
#include <QFontInfo>
#include <QTest>

namespace {

const QByteArray formattedRtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}}\\f0\\fs24 plain {\\b bold} end\\par}";

void expectReport(const FrameFixture &f, const QString &text)
{
    QCOMPARE(f.dialogs.messages().size(), 1);
    const Dialogs::Message report = f.dialogs.messages().first();
    QCOMPARE(report.text, text);
    QCOMPARE(report.title, QStringLiteral("Scrivlo"));
    QCOMPARE(report.icon, Dialogs::Icon::Critical);
}

} // namespace

class OpenTest : public QObject
{
    Q_OBJECT

private slots:
    void openReadsPlainTextAsUtf8OrWindows1252_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("Windows-1252") << QByteArray("caf\xE9 na\xEFve \x80 5\r\nline two") << QStringLiteral("caf\u00e9 na\u00efve \u20ac 5\r\nline two");
        QTest::newRow("UTF-8") << QByteArray("caf\xC3\xA9 \xE2\x98\x83\nline two") << QStringLiteral("caf\u00e9 \u2603\r\nline two");
        QTest::newRow("UTF-8 with byte-order mark") << QByteArray("\xEF\xBB\xBFna\xC3\xAFve") << QStringLiteral("na\u00efve");
        QTest::newRow("empty") << QByteArray() << QString();
    }

    void openReadsPlainTextAsUtf8OrWindows1252()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        FrameFixture f;
        f.start();
        const QString path = f.writeFile("Notes.txt", bytes);
        f.dialogs.answerFile(path);
        f.trigger("open");

        const ScriptedDialogs::Ask ask = f.dialogs.asks().first();
        QCOMPARE(ask.file.mode, Dialogs::FileMode::Open);
        QCOMPARE(ask.file.title, QStringLiteral("Open document"));
        QCOMPARE(ask.file.filter, QStringLiteral("All supported text files|*.txt;*.rtf;*.ini;*.doc;*.docx;*.odt|"));
        QCOMPARE(f.frame->documents().size(), 2);
        RichTextBox &box = f.surface();
        QCOMPARE(box.text(), text);
        QCOMPARE(f.active()->windowTitle(), QStringLiteral("Notes.txt"));
        QCOMPARE(box.fileName(), path);
        QCOMPARE(box.selectionStart(), 0);
        QCOMPARE(box.selectionFontSize(), std::optional<double>(12));
        QCOMPARE(box.selectionBold(), std::optional<bool>(false));
        // The font box names the font the text is seen in, Times New Roman or its stand-in.
        QCOMPARE(fontNameBoxOf(*f.frame)->text(), QFontInfo(QFont(QStringLiteral("Times New Roman"))).family());
        QCOMPARE(f.active()->doc, 0);
        QVERIFY(f.active()->parentWidget()->close()); // unchanged: no question
        QCOMPARE(f.dialogs.asks().size(), 1);
    }

    void openReadsRichTextByItsFirstBytesWhateverTheName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("lead");
        QTest::newRow("rtf") << "letter.rtf" << QByteArray();
        QTest::newRow("doc") << "letter.doc" << QByteArray();
        QTest::newRow("txt after a byte-order mark and blanks") << "letter.txt" << QByteArray("\xEF\xBB\xBF \r\n");
    }

    void openReadsRichTextByItsFirstBytesWhateverTheName()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, lead);
        FrameFixture f;
        f.start();
        f.dialogs.answerFile(f.writeFile(name, lead + formattedRtf));
        f.trigger("open");
        RichTextBox &box = f.surface();
        QCOMPARE(box.text(), QStringLiteral("plain bold end"));
        box.setSelectionStart(6);
        box.setSelectionLength(4);
        QCOMPARE(box.selectionBold(), std::optional<bool>(true));
        QCOMPARE(f.active()->doc, 0);
    }

    void cancellingOpenCreatesNothing()
    {
        FrameFixture f;
        f.start();
        f.dialogs.answerFile(std::nullopt);
        f.trigger("open");
        QCOMPARE(f.frame->documents().size(), 1);
        QCOMPARE(f.frame->documentCounter(), 2);
    }

    void aFileThatCannotBeReadIsReported_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << "gone.txt" << "No such file or directory";
        QTest::newRow("no access") << "secret.txt" << "Permission denied";
        QTest::newRow("a folder") << "folder.txt" << "file to open is a directory";
        QTest::newRow("a picture named .rtf") << "photo.rtf" << "it is a picture (PNG), not a text document";
    }

    void aFileThatCannotBeReadIsReported()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        FrameFixture f;
        f.start();
        const QString secret = f.writeFile("secret.txt", "hidden");
        QFile::setPermissions(secret, QFileDevice::WriteOwner);
        QDir(f.dir.path()).mkpath("folder.txt");
        f.writeFile("photo.rtf", QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16));
        const QString path = f.path(name);
        f.dialogs.answerFile(path);
        f.dialogs.answerMessage(Dialogs::Answer::OK);
        {
            PermissionsApply permissions;
            f.trigger("open");
        }
        expectReport(f, QStringLiteral("Cannot open \"%1\": %2").arg(path, reason));
        // The new window stays empty, numbered and without a file.
        QCOMPARE(f.active()->windowTitle(), QStringLiteral("Document 2"));
        QCOMPARE(f.surface().text(), QString());
        QCOMPARE(f.surface().fileName(), QString());
    }

    void commandLineFileIsTakenAsTheSystemHandsItOver_data()
    {
        QTest::addColumn<bool>("quoted");
        QTest::newRow("unquoted") << false;
        QTest::newRow("in double quotes") << true;
    }

    void commandLineFileIsTakenAsTheSystemHandsItOver()
    {
        QFETCH(bool, quoted);
        QTemporaryDir files;
        const QString path = files.filePath("my letter.rtf");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(formattedRtf);
        file.close();

        FrameFixture f({quoted ? QLatin1Char('"') + path + QLatin1Char('"') : path});
        f.start();
        QCOMPARE(f.frame->documents().size(), 1);
        QCOMPARE(f.active()->windowTitle(), path);
        QCOMPARE(f.surface().fileName(), path);
        QCOMPARE(f.surface().text(), QStringLiteral("plain bold end"));
        QCOMPARE(f.active()->doc, 0);
        QVERIFY(f.dialogs.asks().isEmpty());
        f.trigger("new");
        QCOMPARE(f.active()->windowTitle(), QStringLiteral("Document 1"));
    }

    void commandLineFileThatCannotBeReadIsReportedAndNamesTheWindow()
    {
        QTemporaryDir files;
        const QString path = files.filePath("new.txt");
        FrameFixture f({path});
        f.dialogs.answerMessage(Dialogs::Answer::OK);
        f.start();
        expectReport(f, QStringLiteral("Cannot open \"%1\": No such file or directory").arg(path));
        QCOMPARE(f.active()->windowTitle(), path);
        QCOMPARE(f.surface().fileName(), path);
        // Saving then creates the file the user named.
        f.surface().setSelectionText(QStringLiteral("first words"));
        f.trigger("save");
        QCOMPARE(FrameFixture::readFile(path), QByteArray("first words\r\n"));
    }

    // A file that is there but holds no document never becomes what a save writes over.
    void commandLineFileThatIsRefusedLeavesTheWindowUnbound()
    {
        QTemporaryDir files;
        const QString path = files.filePath("report.docx");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(600, '\0'));
        file.close();
        FrameFixture f({path});
        f.dialogs.answerMessage(Dialogs::Answer::OK);
        f.start();
        QVERIFY(f.dialogs.messages().first().text.startsWith(QStringLiteral("Cannot open \"%1\": it is an Office 97-2003 file").arg(path)));
        QCOMPARE(f.active()->windowTitle(), QStringLiteral("Document 1"));
        QCOMPARE(f.surface().fileName(), QString());
    }

    void aFileCutShortOpensAndSaysSo()
    {
        FrameFixture f;
        f.start();
        const QString path = f.writeFile("cut.rtf", "{\\rtf1 {\\b all that is left");
        f.dialogs.answerFile(path);
        f.trigger("open");
        QCOMPARE(f.surface().text(), QStringLiteral("all that is left"));
        QCOMPARE(statusBarOf(*f.frame)->currentMessage(), QStringLiteral("\"cut.rtf\" ends early: part of it may be missing"));
    }
};

QTEST_MAIN(OpenTest)
#include "tst_open.moc"
