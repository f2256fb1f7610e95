// The save prompt of a changed window: Yes closes it only once the document is on disk; every way
// the save can end without a written file keeps the window, its content and its flag.
#include "support/FrameFixture.h"

#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"

#include <QDir>
#include <QMdiSubWindow>
#include <QTest>

namespace {

DocumentWindow *changedWindow(FrameFixture &f, const QString &text = QStringLiteral("unsaved work"))
{
    f.surface().setSelectionText(text);
    return f.active();
}

bool closes(DocumentWindow *form) { return form->parentWidget()->close(); }

} // namespace

class SavePromptTest : public QObject
{
    Q_OBJECT

private slots:
    void yesSavesThenCloses()
    {
        FrameFixture f;
        f.start();
        // A window without a file asks for one with its own dialog, empty at first.
        DocumentWindow *form = changedWindow(f);
        f.dialogs.answerMessage(Dialogs::Answer::Yes);
        f.dialogs.answerFile(f.path("work.txt"));
        QVERIFY(closes(form));
        QCOMPARE(f.dialogs.asks()[1].file.title, QStringLiteral("Save as"));
        QCOMPARE(f.dialogs.asks()[1].file.fileName, QString());
        QCOMPARE(FrameFixture::readFile(f.path("work.txt")), QByteArray("unsaved work\r\n"));

        // A window with a file writes to it without asking.
        f.trigger("new");
        form = changedWindow(f, QStringLiteral("more"));
        form->surface->setFileName(f.path("more.txt"));
        f.dialogs.answerMessage(Dialogs::Answer::Yes);
        f.trigger("closea");
        QVERIFY(f.frame->documents().isEmpty());
        QCOMPARE(FrameFixture::readFile(f.path("more.txt")), QByteArray("more\r\n"));
    }

    void noClosesWithoutWritingAndCancelKeepsTheWindow()
    {
        FrameFixture f;
        const QByteArray old = "old text\r\n";
        f.writeFile("letter.txt", old);
        f.start();
        DocumentWindow *form = changedWindow(f);
        form->surface->setFileName(f.path("letter.txt"));
        f.dialogs.answerMessage(Dialogs::Answer::Cancel);
        QVERIFY(!closes(form));
        QCOMPARE(form->doc, -1);
        f.dialogs.answerMessage(Dialogs::Answer::No);
        QVERIFY(closes(form));
        QCOMPARE(FrameFixture::readFile(f.path("letter.txt")), old);
    }

    void yesThatWritesNothingKeepsTheWindowAndItsWork_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("Save As cancelled") << "cancel";
        QTest::newRow("Abort at the unknown-type warning") << "abort";
        QTest::newRow("Save As to a path that cannot be written") << "saveas fails";
        QTest::newRow("Save to the window's file fails") << "save fails";
    }

    void yesThatWritesNothingKeepsTheWindowAndItsWork()
    {
        QFETCH(QString, way);
        FrameFixture f;
        QDir(f.dir.path()).mkpath("folder.txt");
        f.start();
        DocumentWindow *form = changedWindow(f);
        f.dialogs.answerMessage(Dialogs::Answer::Yes);
        if (way == "cancel") {
            f.dialogs.answerFile(std::nullopt);
        } else if (way == "abort") {
            f.dialogs.answerFile(f.path("notes.text"));
            f.dialogs.answerMessage(Dialogs::Answer::Abort);
        } else if (way == "saveas fails") {
            f.dialogs.answerFile(f.path("folder.txt"));
            f.dialogs.answerMessage(Dialogs::Answer::OK);
        } else {
            form->surface->setFileName(f.path("folder.txt"));
            f.dialogs.answerMessage(Dialogs::Answer::OK);
        }
        QVERIFY(!closes(form));
        QCOMPARE(f.frame->documents(), QList<DocumentWindow *>{form});
        QCOMPARE(form->surface->text(), QStringLiteral("unsaved work"));
        QCOMPARE(form->doc, -1);
        QCOMPARE(form->windowTitle(), QStringLiteral("Document 1"));
        QCOMPARE(f.dialogs.unusedAnswers(), 0);
        QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files), QStringList());
    }

    void aFrameClosingStopsAtAWindowWhoseSaveFailed()
    {
        FrameFixture f;
        QDir(f.dir.path()).mkpath("folder.rtf");
        f.start();
        DocumentWindow *first = changedWindow(f, QStringLiteral("first"));
        first->surface->setFileName(f.path("folder.rtf"));
        f.trigger("new");
        DocumentWindow *second = changedWindow(f, QStringLiteral("second"));
        f.dialogs.answerMessage(Dialogs::Answer::Yes);
        f.dialogs.answerMessage(Dialogs::Answer::OK); // the report of the failed write
        QVERIFY(!f.frame->close());
        // The second window was not asked, and the settings of a shut-down were not written.
        QCOMPARE(f.dialogs.messages().size(), 2);
        QCOMPARE(f.frame->documents(), (QList<DocumentWindow *>{first, second}));
        QCOMPARE(first->doc, -1);
        QCOMPARE(f.settings->setting("fonte", "size", "unset"), QStringLiteral("unset"));
    }
};

QTEST_MAIN(SavePromptTest)
#include "tst_saveprompt.moc"
