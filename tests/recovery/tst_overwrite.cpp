// Save asks before it writes over a file that another program changed after the window read or
// last wrote it: No saves nothing and keeps the window as it is, Yes writes. A file nobody else
// touched is saved without a question.
#include "support/FrameFixture.h"

#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "rtf/RtfCodec.h"

#include <QDateTime>
#include <QFile>
#include <QTest>
#include <QTextDocument>

namespace {

QString textOf(const QByteArray &rtf)
{
    QTextDocument doc;
    RtfCodec::read(rtf, doc);
    return doc.toPlainText();
}

// Another program writes the file; its time moves on even where the clock has not.
void changeBehindTheWindow(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    QVERIFY(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(60), QFileDevice::FileModificationTime));
}

} // namespace

class OverwriteTest : public QObject
{
    Q_OBJECT

private slots:
    void saveAsksBeforeWritingOverAnotherProgramsChange()
    {
        FrameFixture probe;
        const QString letter = probe.writeFile("letter.rtf", "{\\rtf1 mine}");
        FrameFixture::Options options;
        options.commandLineFile = letter;
        FrameFixture f(options);
        f.start();
        QTest::keyClicks(&f.surface(), "typed ");
        changeBehindTheWindow(letter, "{\\rtf1 theirs, and longer}");

        f.dialogs.answerMessage(Dialogs::Answer::No);
        f.trigger("save");
        const Dialogs::Message asked = f.dialogs.messages().value(0);
        QCOMPARE(asked.text, QStringLiteral("\"%1\" has been changed by another program. Save anyway?").arg(letter));
        QCOMPARE(asked.title, QStringLiteral("Scrivlo"));
        QCOMPARE(asked.buttons, Dialogs::Buttons::YesNo);
        QCOMPARE(textOf(FrameFixture::readFile(letter)), QStringLiteral("theirs, and longer"));
        QCOMPARE(f.active()->doc, qint16(-1));

        f.dialogs.answerMessage(Dialogs::Answer::Yes);
        f.trigger("save");
        QCOMPARE(textOf(FrameFixture::readFile(letter)), QStringLiteral("typed mine"));
        QCOMPARE(f.active()->doc, qint16(0));

        // Written by this window itself: the next save asks nothing (an unscripted ask fails).
        QTest::keyClicks(&f.surface(), "more ");
        f.trigger("save");
        QCOMPARE(textOf(FrameFixture::readFile(letter)), QStringLiteral("typed more mine"));
        QCOMPARE(f.dialogs.messages().size(), 2);
    }

    void aFileThatIsGoneIsWrittenWithoutAQuestion()
    {
        FrameFixture probe;
        const QString letter = probe.writeFile("letter.rtf", "{\\rtf1 mine}");
        FrameFixture::Options options;
        options.commandLineFile = letter;
        FrameFixture f(options);
        f.start();
        QTest::keyClicks(&f.surface(), "typed ");
        QVERIFY(QFile::remove(letter));
        f.trigger("save");
        QCOMPARE(textOf(FrameFixture::readFile(letter)), QStringLiteral("typed mine"));
    }
};

QTEST_MAIN(OverwriteTest)
#include "tst_overwrite.moc"
