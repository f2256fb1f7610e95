// Writes cut short: a program killed in the middle of a write, and a disk that fills up. The file
// that was there before stays byte for byte as it was.
#include "support/FrameFixture.h"

#include "content/WholeFile.h"
#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTest>
#include <csignal>
#include <cstring>
#include <sys/resource.h>

namespace {

const char *childSwitch = "--write-and-be-killed";
constexpr rlim_t fileSizeLimit = 64 * 1024;

// Files may grow no larger than the limit; writing past it raises SIGXFSZ, which kills the
// process unless it is ignored, in which case the write fails with "File too large".
void limitFileSize(rlim_t limit)
{
    const rlimit value{limit, RLIM_INFINITY};
    setrlimit(RLIMIT_FSIZE, &value);
}

const QByteArray oldContent = "{\\rtf1 the letter as it was before}";

} // namespace

class InterruptedWriteTest : public QObject
{
    Q_OBJECT

private slots:
    void killedInTheMiddleOfAWrite()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath("letter.rtf");
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(oldContent);
        old.close();

        QProcess child;
        child.setProgram(QCoreApplication::applicationFilePath());
        child.setArguments({QString::fromLatin1(childSwitch), target});
        child.setChildProcessModifier([] {
            const rlimit noCore{0, 0};
            setrlimit(RLIMIT_CORE, &noCore);
            std::signal(SIGXFSZ, SIG_DFL);
            limitFileSize(fileSizeLimit);
        });
        child.start();
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        QCOMPARE(FrameFixture::readFile(target), oldContent);
    }

    void aDiskThatFillsUpIsReported()
    {
        FrameFixture f;
        const QString target = f.writeFile("letter.rtf", oldContent);
        f.start();
        f.surface().setSelectionText(QString(200 * 1024, QLatin1Char('x')));
        f.surface().setFileName(target);
        f.dialogs.answerMessage(Dialogs::Answer::OK);
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        limitFileSize(fileSizeLimit);
        f.trigger("save");
        limitFileSize(RLIM_INFINITY);
        std::signal(SIGXFSZ, previous);

        QCOMPARE(f.dialogs.messages().value(0).text, QStringLiteral("Cannot save \"%1\": File too large").arg(target));
        QCOMPARE(f.active()->doc, -1);
        QCOMPARE(FrameFixture::readFile(target), oldContent);
        QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files), QStringList{"letter.rtf"}); // nothing left behind
    }
};

int main(int argc, char **argv)
{
    if (argc == 3 && std::strcmp(argv[1], childSwitch) == 0) {
        // Far more than the file-size limit lets through: the process dies in the middle.
        WholeFile::write(QString::fromLocal8Bit(argv[2]), QByteArray(4 * 1024 * 1024, 'x'));
        return 0;
    }
    QApplication app(argc, argv);
    InterruptedWriteTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_interrupted.moc"
