// Recovery copies inside the program: a changed window gets a copy that follows its changes and
// goes when it is saved or closed; copies written at once stay for the next start, which offers
// them back; a damaged copy is reported and kept; Discard deletes them, closing the box keeps them.
// (The copies of a program that is still running, and a normal end: see tst_program.)
#include "support/FrameFixture.h"

#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "recovery/DocumentRecovery.h"
#include "recovery/RecoveryEntry.h"
#include "recovery/RecoveryFolder.h"
#include "recovery/RecoveryOffer.h"
#include "rtf/RtfCodec.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

namespace {

QStringList copiesOf(const FrameFixture &f) { return RecoveryFolder::copiesIn(f.frame->recovery().folder()); }

// The copy's index, once both its document and its index have been written.
std::optional<RecoveryEntry> entryOf(const FrameFixture &f, const QString &copy)
{
    return RecoveryEntry::fromJson(FrameFixture::readFile(RecoveryFolder::indexPath(f.frame->recovery().folder(), copy)));
}

QString textOf(const QByteArray &rtf)
{
    QTextDocument doc;
    RtfCodec::read(rtf, doc);
    return doc.toPlainText();
}

// A copy left behind by a program that is gone: written, kept, and its lock released.
QString leaveCopy(const QString &root, const RecoveryEntry &entry, const QByteArray &document)
{
    RecoveryFolder folder(root);
    folder.write(folder.newCopyName(), entry, document);
    folder.keep();
    return folder.path();
}

RecoveryEntry entryFor(const QString &caption, const QString &fileName = QString())
{
    RecoveryEntry entry;
    entry.caption = caption;
    entry.fileName = fileName;
    entry.time = QDateTime::currentDateTimeUtc();
    return entry;
}

QStringList foldersIn(const QString &root) { return QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot); }

} // namespace

class RecoveryTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString root() const { return m_dir.filePath(QStringLiteral("recovery")); }

    std::unique_ptr<FrameFixture> frame(const QString &commandLineFile = QString())
    {
        FrameFixture::Options options;
        options.recoveryFolder = root();
        options.commandLineFile = commandLineFile;
        auto f = std::make_unique<FrameFixture>(options);
        f->frame->recovery().setDelays({20, 60000});
        return f;
    }

private slots:
    void init()
    {
        QDir(root()).removeRecursively();
        QTest::failOnWarning(QRegularExpression(QStringLiteral("thread")));
    }

    void aChangedWindowHasACopyUntilItIsSavedOrClosed()
    {
        auto f = frame();
        f->start();
        QVERIFY(copiesOf(*f).isEmpty()); // an unchanged window has none
        QTest::keyClicks(&f->surface(), "Hello");
        QTRY_VERIFY(entryOf(*f, copiesOf(*f).value(0)));
        const QString copy = copiesOf(*f).value(0);
        QCOMPARE(entryOf(*f, copy)->caption, QStringLiteral("Document 1"));
        QCOMPARE(entryOf(*f, copy)->format, DocumentFormat::RichText);
        QCOMPARE(textOf(FrameFixture::readFile(RecoveryFolder::documentPath(f->frame->recovery().folder(), copy, "rtf"))),
                 QStringLiteral("Hello"));

        const QString letter = f->path("letter.rtf");
        f->dialogs.answerFile(letter);
        f->trigger("save");
        QTRY_VERIFY(copiesOf(*f).isEmpty());

        QTest::keyClicks(&f->surface(), " again");
        QTRY_VERIFY(entryOf(*f, copiesOf(*f).value(0)));
        QCOMPARE(entryOf(*f, copiesOf(*f).value(0))->fileName, letter);
        QCOMPARE(entryOf(*f, copiesOf(*f).value(0))->caption, QStringLiteral("letter.rtf"));

        f->dialogs.answerMessage(Dialogs::Answer::No);
        f->trigger("closea");
        QTRY_VERIFY(copiesOf(*f).isEmpty());

        // A window whose file is plain text has a plain-text copy.
        f->frame->newWindow();
        f->surface().setFileName(f->path("notes.txt"));
        QTest::keyClicks(&f->surface(), "Plain");
        QTRY_VERIFY(entryOf(*f, copiesOf(*f).value(0)));
        QCOMPARE(entryOf(*f, copiesOf(*f).value(0))->format, DocumentFormat::PlainText);
        QCOMPARE(FrameFixture::readFile(RecoveryFolder::documentPath(f->frame->recovery().folder(), copiesOf(*f).value(0), "txt")),
                 QByteArray("Plain\r\n"));
    }

    void aCopyComesWhileTheUserKeepsTyping()
    {
        auto f = frame();
        f->frame->recovery().setDelays({60 * 60 * 1000, 50}); // the pause after the last change never comes
        f->start();
        for (int i = 0; i < 5; ++i) {
            QTest::keyClicks(&f->surface(), "typing ");
            QTest::qWait(20);
        }
        QTRY_VERIFY(entryOf(*f, copiesOf(*f).value(0)));
    }

    void copiesWrittenAtOnceAreOfferedBackAtTheNextStart()
    {
        const QString letter = m_dir.filePath(QStringLiteral("letter.rtf"));
        {
            QFile file(letter);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("{\\rtf1 words}");
        }
        {
            auto first = frame(letter);
            first->start();
            QTest::keyClicks(&first->surface(), "Hello ");
            first->frame->newFile();
            QTest::keyClicks(&first->surface(), "second");
            first->frame->recovery().writeAllNow(); // ended by the system: no delay
            first->frame.reset();
        }
        auto next = frame();
        next->dialogs.answerChoice(0);
        next->start();
        QTRY_COMPARE(next->frame->documents().size(), 3);
        const Dialogs::Choice asked = next->dialogs.asks().value(0).choice;
        QCOMPARE(asked.text, QStringLiteral("Scrivlo closed without saving 2 document(s). Recover them?"));
        QCOMPARE(asked.title, QStringLiteral("Scrivlo"));
        QCOMPARE(asked.buttons, (QStringList{"Recover", "Discard"}));

        DocumentWindow &recovered = *next->frame->documents().value(1);
        QCOMPARE(recovered.windowTitle(), letter);
        QCOMPARE(recovered.surface->fileName(), letter);
        QCOMPARE(recovered.doc, qint16(-1));
        QCOMPARE(recovered.surface->text(), QStringLiteral("Hello words"));
        QCOMPARE(next->frame->documents().value(2)->surface->text(), QStringLiteral("second"));
        QCOMPARE(next->frame->documents().value(2)->surface->fileName(), QString());

        // The copies are this program's own now: the old folder is gone.
        QCOMPARE(foldersIn(root()), QStringList{QFileInfo(next->frame->recovery().folder()).fileName()});
        QCOMPARE(copiesOf(*next).size(), 2);

        // Save writes to the original file, without asking (nobody else changed it).
        next->frame->documentWindows().value(1)->mdiArea()->setActiveSubWindow(next->frame->documentWindows().value(1));
        next->trigger("save");
        QCOMPARE(textOf(FrameFixture::readFile(letter)), QStringLiteral("Hello words"));
        QTRY_COMPARE(copiesOf(*next).size(), 1);
    }

    void aCopyThatCannotBeReadIsReportedAndKept()
    {
        leaveCopy(root(), entryFor("Good"), "{\\rtf1 good words}");
        const QString damaged = leaveCopy(root(), entryFor("Bad"), "{\\rtf1 bad}");
        QFile::remove(RecoveryFolder::documentPath(damaged, "1", "rtf"));
        const QString garbled = leaveCopy(root(), entryFor("Ugly"), "{\\rtf1 ugly}");
        QFile index(RecoveryFolder::indexPath(garbled, "1"));
        QVERIFY(index.open(QIODevice::WriteOnly));
        index.write("not an index");
        index.close();

        auto f = frame();
        f->dialogs.answerChoice(0);
        f->dialogs.answerMessage(Dialogs::Answer::OK);
        f->dialogs.answerMessage(Dialogs::Answer::OK);
        f->start();
        QTRY_COMPARE(f->frame->documents().size(), 2);
        QCOMPARE(f->frame->documents().value(1)->windowTitle(), QStringLiteral("Good"));
        QCOMPARE(f->frame->documents().value(1)->surface->text(), QStringLiteral("good words"));
        const QList<Dialogs::Message> reports = f->dialogs.messages();
        QCOMPARE(reports.size(), 2);
        QVERIFY(reports[0].text.contains(QStringLiteral("\"Bad\"")) != reports[1].text.contains(QStringLiteral("\"Bad\"")));
        QVERIFY(reports[0].text.contains(QStringLiteral("\"1.rtf\"")) || reports[1].text.contains(QStringLiteral("\"1.rtf\"")));

        // Both are still there, and the next start offers them again.
        QVERIFY(QFileInfo::exists(RecoveryFolder::indexPath(damaged, "1")));
        QVERIFY(QFileInfo::exists(RecoveryFolder::documentPath(garbled, "1", "rtf")));
        auto again = frame();
        again->dialogs.answerChoice(std::nullopt);
        again->start();
        QTRY_VERIFY(!again->dialogs.asks().isEmpty());
        QCOMPARE(again->dialogs.asks().value(0).choice.text, RecoveryOffer::question(2));
    }

    void discardDeletesAndNoAnswerKeeps()
    {
        const QString left = leaveCopy(root(), entryFor("Old"), "{\\rtf1 old}");
        {
            auto f = frame();
            f->dialogs.answerChoice(std::nullopt);
            f->start();
            QTRY_VERIFY(!f->dialogs.asks().isEmpty());
            QCOMPARE(f->frame->documents().size(), 1);
        }
        QCOMPARE(RecoveryFolder::copiesIn(left), QStringList{"1"});
        {
            auto f = frame();
            f->dialogs.answerChoice(1);
            f->start();
            QTRY_VERIFY(!f->dialogs.asks().isEmpty());
            QCOMPARE(f->frame->documents().size(), 1);
        }
        QVERIFY(!QFileInfo::exists(left));
    }

    void theSessionEnding()
    {
        auto f = frame();
        f->start();
        QTest::keyClicks(&f->surface(), "Hello");
        // Without leave to ask: the copy is written at once.
        QVERIFY(f->frame->saveSession(false));
        QCOMPARE(copiesOf(*f).size(), 1);
        // With it: the windows are asked, and a Cancel keeps the session going.
        f->dialogs.answerMessage(Dialogs::Answer::Cancel);
        QVERIFY(!f->frame->saveSession(true));
        QCOMPARE(f->frame->documents().size(), 1);
        // Answered No, the window closes, and its copy goes with it.
        f->dialogs.answerMessage(Dialogs::Answer::No);
        QVERIFY(f->frame->saveSession(true));
        QTRY_VERIFY(f->frame->documents().isEmpty());
        QTRY_VERIFY(copiesOf(*f).isEmpty());
    }
};

QTEST_MAIN(RecoveryTest)
#include "tst_recovery.moc"
