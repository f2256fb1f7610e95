// Save and Save As: the format chosen by the name, the unknown-type warning, what lands on disk,
// and every way a write can fail leaving the old file, the flag, the caption and the name alone.
#include "content/DocumentFile.h"
#include "support/FrameFixture.h"
#include "PermissionsApply.h"

#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "platform/DialogFlags.h"
#include "rtf/RtfCodec.h"

#include <QDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// A folder made read-only for as long as this lives; its files can be read but none created.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString &path) : m_path(path)
    {
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                                        | QFile::ReadOther | QFile::ExeOther);
    }
    ~ReadOnlyFolder()
    {
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                          | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    }

private:
    QString m_path;
    PermissionsApply m_permissions;
};

// "Hello world" with "Hello" in bold, marked changed.
void writeSomething(FrameFixture &f)
{
    RichTextBox &box = f.surface();
    box.setSelectionText(QStringLiteral("Hello world"));
    box.setSelectionStart(0);
    box.setSelectionLength(5);
    box.setSelectionBold(true);
    box.setSelectionStart(11);
    QCOMPARE(f.active()->doc, -1);
}

bool boldAt(const QByteArray &rtf, int position)
{
    QTextDocument doc;
    RtfCodec::read(rtf, doc);
    QTextCursor cursor(&doc);
    cursor.setPosition(position + 1);
    return cursor.charFormat().fontWeight() >= QFont::Bold;
}

const QString unknownTypeWarning = QStringLiteral(
    "You are saving an unknown type of file which may causes errors to your computer. It is recommended that you "
    "don't use any other type of extension.");

} // namespace

class SaveTest : public QObject
{
    Q_OBJECT

private slots:
    void saveAsWritesTheFormatTheNameCallsFor_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind"); // rtf, text, docx or odt
        QTest::addColumn<int>("warningAnswer"); // -1: no warning
        const int none = -1;
        QTest::newRow("upper-case DOC") << "Letter.DOC" << "rtf" << none;
        QTest::newRow("rtf") << "letter.rtf" << "rtf" << none;
        QTest::newRow("txt") << "notes.txt" << "text" << none;
        QTest::newRow("ini") << "setup.ini" << "text" << none;
        QTest::newRow("bat") << "run.bat" << "text" << none;
        QTest::newRow("log") << "day.log" << "text" << none;
        QTest::newRow("text, Ignore") << "notes.text" << "text" << int(Dialogs::Answer::Ignore);
        QTest::newRow("no extension, Retry") << "readme" << "text" << int(Dialogs::Answer::Retry);
        QTest::newRow("no dot but ends in doc") << "mydoc" << "rtf" << none;
        QTest::newRow("docx") << "letter.docx" << "docx" << none;
        QTest::newRow("upper-case ODT") << "Letter.ODT" << "odt" << none;
    }

    void saveAsWritesTheFormatTheNameCallsFor()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(int, warningAnswer);
        FrameFixture f;
        f.start();
        writeSomething(f);
        const QString path = f.path(name);
        f.dialogs.answerFile(path);
        if (warningAnswer >= 0)
            f.dialogs.answerMessage(Dialogs::Answer(warningAnswer));
        f.trigger("saveas");

        const ScriptedDialogs::Ask ask = f.dialogs.asks().first();
        QCOMPARE(ask.file.mode, Dialogs::FileMode::Save);
        QCOMPARE(ask.file.title, QStringLiteral("Save as"));
        QCOMPARE(ask.file.filter, QStringLiteral("Text File (*.txt)|*.txt|Text Document (*.doc)|*.doc|Rich Text Format "
                                                 "(*.rtf)|*.rtf|Configuration Settings (*.ini)|*.ini|BAT (*.bat)|*.bat|"
                                                 "Word Document (*.docx)|*.docx|OpenDocument Text (*.odt)|*.odt|All files|*.*"));
        QCOMPARE(ask.file.flags, DialogFlags::OverwritePrompt);
        QCOMPARE(f.dialogs.messages().size(), warningAnswer >= 0 ? 1 : 0);
        if (warningAnswer >= 0) {
            const Dialogs::Message warning = f.dialogs.messages().first();
            QCOMPARE(warning.text, unknownTypeWarning);
            QCOMPARE(warning.title, QStringLiteral("Warning :"));
            QCOMPARE(warning.buttons, Dialogs::Buttons::AbortRetryIgnore);
            QCOMPARE(warning.icon, Dialogs::Icon::Exclamation);
        }

        const QByteArray written = FrameFixture::readFile(path);
        if (kind == u"docx" || kind == u"odt") {
            const DocumentFile file = DocumentFile::fromBytes(path, written);
            QCOMPARE(file.format(), kind == u"docx" ? DocumentFile::Format::Word : DocumentFile::Format::OpenDocument);
            QTextDocument doc;
            file.readInto(doc);
            QCOMPARE(doc.toPlainText(), QStringLiteral("Hello world"));
            QTextCursor cursor(&doc);
            cursor.setPosition(1);
            QVERIFY(cursor.charFormat().fontWeight() >= QFont::Bold);
            cursor.setPosition(8);
            QVERIFY(cursor.charFormat().fontWeight() < QFont::Bold);
        } else if (kind == u"rtf") {
            QVERIFY(RtfCodec::looksLikeRtf(written));
            QVERIFY(written.contains("Hello"));
            QVERIFY(boldAt(written, 0));
            QVERIFY(!boldAt(written, 7));
        } else {
            QCOMPARE(written, QByteArray("Hello world\r\n"));
        }
        QCOMPARE(f.active()->windowTitle(), name);
        QCOMPARE(f.surface().fileName(), path);
        QCOMPARE(f.active()->doc, 0);
    }

    void abortAtTheUnknownTypeWarningWritesNothing()
    {
        FrameFixture f;
        f.start();
        writeSomething(f);
        f.dialogs.answerFile(f.path("page.htm"));
        f.dialogs.answerMessage(Dialogs::Answer::Abort);
        f.trigger("saveas");
        QVERIFY(!QFile::exists(f.path("page.htm")));
        QCOMPARE(f.active()->windowTitle(), QStringLiteral("Document 1"));
        QCOMPARE(f.surface().fileName(), QString());
        QCOMPARE(f.active()->doc, -1);
    }

    void plainTextIsUtf8WithCrLfAndTheEmptyDocumentIsTwoBytes()
    {
        FrameFixture f;
        f.start();
        f.dialogs.answerFile(f.path("empty.txt"));
        f.trigger("saveas");
        QCOMPARE(FrameFixture::readFile(f.path("empty.txt")), QByteArray("\r\n"));

        f.surface().setSelectionText(QStringLiteral("caf\u00e9\r\n\u20ac 5\r\n"));
        f.dialogs.answerFile(f.path("lines.txt"));
        f.trigger("saveas");
        QCOMPARE(FrameFixture::readFile(f.path("lines.txt")), QByteArray("caf\xC3\xA9\r\n\xE2\x82\xAC 5\r\n\r\n"));
    }

    void saveWritesSilentlyToTheWindowsFileWhateverItsName()
    {
        FrameFixture f;
        f.start();
        // A document opened from prog.c is saved as plain text without the warning.
        const QString prog = f.writeFile("prog.c", "int main;\n");
        f.dialogs.answerFile(prog);
        f.trigger("open");
        f.surface().setSelectionText(QStringLiteral("// "));
        f.trigger("save");
        QVERIFY(f.dialogs.messages().isEmpty());
        QCOMPARE(FrameFixture::readFile(prog), QByteArray("// int main;\r\n\r\n"));
        QCOMPARE(f.active()->windowTitle(), QStringLiteral("prog.c"));
        QCOMPARE(f.active()->doc, 0);

        // The frame's Save As dialog starts from the name last chosen in Open.
        f.dialogs.answerFile(std::nullopt);
        f.trigger("saveas");
        QCOMPARE(f.dialogs.lastAsk().file.fileName, prog);

        // A window without a file runs Save As, then saves to that file without asking.
        f.trigger("new");
        writeSomething(f);
        f.dialogs.answerFile(f.path("kept.rtf"));
        f.trigger("save");
        f.surface().setSelectionText(QStringLiteral("!"));
        const int asked = int(f.dialogs.asks().size());
        f.trigger("save");
        QCOMPARE(int(f.dialogs.asks().size()), asked);
        const QByteArray rtf = FrameFixture::readFile(f.path("kept.rtf"));
        QTextDocument reread;
        RtfCodec::read(rtf, reread);
        QCOMPARE(reread.toPlainText(), QStringLiteral("Hello world!"));
        QVERIFY(boldAt(rtf, 0));
    }

    void saveWithNoWindowOpenDoesNothing()
    {
        FrameFixture f;
        f.start();
        QVERIFY(f.active()->parentWidget()->close());
        f.trigger("save");
        f.trigger("saveas");
        f.trigger("closea");
        QVERIFY(f.dialogs.asks().isEmpty());
    }

    void aFailedWriteIsReportedAndChangesNothing_data()
    {
        QTest::addColumn<QString>("target"); // relative to the test folder
        QTest::addColumn<QString>("reason");
        QTest::addColumn<bool>("readOnlyFolder");
        QTest::newRow("folder missing") << "missing/letter.rtf" << "No such file or directory" << false;
        QTest::newRow("parent is a file") << "plain.txt/letter.txt" << "Not a directory" << false;
        QTest::newRow("a folder in place of the file") << "folder.rtf" << "Filename refers to a directory" << false;
        QTest::newRow("read-only folder") << "locked/letter.rtf" << "Permission denied" << true;
    }

    void aFailedWriteIsReportedAndChangesNothing()
    {
        QFETCH(QString, target);
        QFETCH(QString, reason);
        QFETCH(bool, readOnlyFolder);
        FrameFixture f;
        f.writeFile("plain.txt", "not a folder");
        QDir(f.dir.path()).mkpath("folder.rtf");
        QDir(f.dir.path()).mkpath("locked");
        const QByteArray old = "{\\rtf1 the letter as it was}";
        f.writeFile("locked/letter.rtf", old);
        const QString path = f.path(target);
        f.start();
        writeSomething(f);
        const QString expected = QStringLiteral("Cannot save \"%1\": %2").arg(path, reason);

        // Save As to the path, then Save of a window that already has it as its file.
        {
            std::unique_ptr<ReadOnlyFolder> locked;
            if (readOnlyFolder)
                locked = std::make_unique<ReadOnlyFolder>(f.path("locked"));
            f.dialogs.answerFile(path);
            f.dialogs.answerMessage(Dialogs::Answer::OK);
            f.trigger("saveas");
            f.surface().setFileName(path);
            f.dialogs.answerMessage(Dialogs::Answer::OK);
            f.trigger("save");
        }
        const QList<Dialogs::Message> reports = f.dialogs.messages();
        QCOMPARE(reports.size(), 2);
        for (const Dialogs::Message &report : reports) {
            QCOMPARE(report.text, expected);
            QCOMPARE(report.title, QStringLiteral("Scrivlo"));
            QCOMPARE(report.icon, Dialogs::Icon::Critical);
            QCOMPARE(report.buttons, Dialogs::Buttons::OK);
        }
        QCOMPARE(f.active()->windowTitle(), QStringLiteral("Document 1"));
        QCOMPARE(f.active()->doc, -1);
        QCOMPARE(FrameFixture::readFile(f.path("locked/letter.rtf")), old);
        QCOMPARE(FrameFixture::readFile(f.path("plain.txt")), QByteArray("not a folder"));
        QCOMPARE(QDir(f.path("locked")).entryList(QDir::Files), QStringList{"letter.rtf"});
    }
};

QTEST_MAIN(SaveTest)
#include "tst_save.moc"
