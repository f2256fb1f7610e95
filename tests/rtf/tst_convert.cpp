// The headless conversion mode of the program: scrivlo --convert-to txt|rtf|pdf|docx|odt [--outdir DIR] FILE...
// Runs the built program; skipped when it is not built.
#include "RtfFixtures.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace RtfFixtures;

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

QString program() { return QStringLiteral(SCRIVLO_BIN_DIR "/scrivlo"); }

Run scrivlo(const QStringList &args, const QString &home)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    p.setProcessEnvironment(env);
    p.start(program(), args);
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class TestConvert : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void rtfToText();
    void plainTextToRtf();
    void throughWordAndOpenDocument();
    void failuresAreReportedAndOthersGoOn();
    void refusals();
    void contentDecidesAndNoOutputOfTheRunIsReplaced();
    void rtfToPdfPrintsTheWholeDocument();

private:
    QTemporaryDir dir_;
};

void TestConvert::init()
{
    if (!QFileInfo(program()).isExecutable())
        QSKIP("the program is not built");
}

void TestConvert::rtfToText()
{
    const QString in = dir_.filePath(QStringLiteral("letter.rtf"));
    writeFile(in, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Caf\\'e9\\par {\\b second}\\line line{\\pict\\pngblip 00}\\par}");
    const QString out = dir_.filePath(QStringLiteral("out"));
    const Run r = scrivlo({QStringLiteral("--convert-to"), QStringLiteral("txt"), QStringLiteral("--outdir"), out, in},
                          dir_.path());
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QStringLiteral("convert %1 -> %2/letter.txt\n").arg(in, out));
    QCOMPARE(readFile(out + QStringLiteral("/letter.txt")), QByteArray("Caf\xc3\xa9\r\nsecond\r\nline\r\n"));
    QVERIFY(!QDir(dir_.filePath(QStringLiteral(".config"))).exists()); // no settings written
    // List items after their markers, as the screen and print show them.
    writeFile(in, "{\\rtf1\\ansi{\\*\\listtable{\\list{\\listlevel\\levelnfc0\\levelstartat3{\\leveltext\\'0aChapter \\'00.;}}\\listid1}"
                  "{\\list{\\listlevel\\levelnfc23{\\leveltext\\'01\\u8226 ?;}}\\listid2}}"
                  "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}{\\listoverride\\listid2\\ls2}}"
                  "\\pard\\ls1{\\listtext Chapter 3.\\tab}one\\par\\pard\\ls1 two\\par\\pard\\ls2 dot\\par\\pard end\\par}");
    QCOMPARE(scrivlo({QStringLiteral("--convert-to"), QStringLiteral("txt"), QStringLiteral("--outdir"), out, in}, dir_.path()).exitCode, 0);
    QCOMPARE(readFile(out + QStringLiteral("/letter.txt")),
             QByteArray("Chapter 3.\tone\r\nChapter 4.\ttwo\r\n\xe2\x80\xa2\tdot\r\nend\r\n"));
}

void TestConvert::plainTextToRtf()
{
    const QString in = dir_.filePath(QStringLiteral("notes.txt"));
    writeFile(in, "first line\r\nsecond \xe9t\xe9\r\n");
    const Run r = scrivlo({QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("rtf"),
                           QStringLiteral("--outdir"), dir_.filePath(QStringLiteral("rtf")), in}, dir_.path());
    QCOMPARE(r.exitCode, 0);
    const QByteArray rtf = readFile(dir_.filePath(QStringLiteral("rtf/notes.rtf")));
    QVERIFY(RtfCodec::looksLikeRtf(rtf));
    QCOMPARE(read(rtf)->toPlainText(), QStringLiteral("first line\nsecond été\n"));
}

// RTF to Word, Word to OpenDocument, OpenDocument back to RTF, to text and to PDF: the words, the
// bold and the list's start come through every step.
void TestConvert::throughWordAndOpenDocument()
{
    QDir(dir_.path()).mkpath(QStringLiteral("docx"));
    const QString in = dir_.filePath(QStringLiteral("docx/letter.rtf"));
    writeFile(in, "{\\rtf1\\ansi{\\*\\listtable{\\list{\\listlevel\\levelnfc0\\levelstartat3{\\leveltext\\'02\\'00.;}}\\listid1}}"
                  "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}"
                  "{\\b Bold} plain\\par\\pard\\ls1 third\\par\\pard\\ls1 fourth\\par\\pard end\\par}");
    const auto convert = [&](const char *to, const QString &from, const QString &outDir) {
        return scrivlo({QStringLiteral("--convert-to"), QString::fromLatin1(to), QStringLiteral("--outdir"),
                        dir_.filePath(outDir), from}, dir_.path()).exitCode;
    };
    QCOMPARE(convert("docx", in, QStringLiteral("docx")), 0);
    QCOMPARE(convert("odt", dir_.filePath(QStringLiteral("docx/letter.docx")), QStringLiteral("odt")), 0);
    QCOMPARE(convert("rtf", dir_.filePath(QStringLiteral("odt/letter.odt")), QStringLiteral("rtf")), 0);
    QCOMPARE(convert("txt", dir_.filePath(QStringLiteral("odt/letter.odt")), QStringLiteral("txt")), 0);
    QVERIFY(readFile(dir_.filePath(QStringLiteral("docx/letter.docx"))).startsWith("PK\3\4"));
    QCOMPARE(readFile(dir_.filePath(QStringLiteral("txt/letter.txt"))), QByteArray("Bold plain\r\n3.\tthird\r\n4.\tfourth\r\nend\r\n"));
    const auto doc = read(readFile(dir_.filePath(QStringLiteral("rtf/letter.rtf"))));
    QTextCursor cursor(doc.get());
    cursor.setPosition(1);
    QVERIFY(cursor.charFormat().fontWeight() >= QFont::Bold);
    cursor.setPosition(7);
    QVERIFY(cursor.charFormat().fontWeight() < QFont::Bold);
    // Printed from OpenDocument, the list still numbers from 3.
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        return;
    QCOMPARE(convert("pdf", dir_.filePath(QStringLiteral("odt/letter.odt")), QStringLiteral("pdf")), 0);
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {dir_.filePath(QStringLiteral("pdf/letter.pdf")), QStringLiteral("-")});
    QVERIFY(text.waitForFinished(60000));
    const QString pages = QString::fromUtf8(text.readAllStandardOutput()).simplified();
    QVERIFY2(pages.contains(QStringLiteral("3. third 4. fourth")), qPrintable(pages));
}

void TestConvert::failuresAreReportedAndOthersGoOn()
{
    const QString good = dir_.filePath(QStringLiteral("good.rtf"));
    writeFile(good, "{\\rtf1 ok}");
    const QString missing = dir_.filePath(QStringLiteral("missing.rtf"));
    const Run r = scrivlo({QStringLiteral("--convert-to"), QStringLiteral("txt"), QStringLiteral("--outdir"),
                           dir_.filePath(QStringLiteral("mixed")), missing, good}, dir_.path());
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(QStringLiteral("cannot convert \"%1\"").arg(missing)), qPrintable(r.err));
    QCOMPARE(readFile(dir_.filePath(QStringLiteral("mixed/good.txt"))), QByteArray("ok\r\n"));
}

void TestConvert::refusals()
{
    const QString in = dir_.filePath(QStringLiteral("same.rtf"));
    writeFile(in, "{\\rtf1 keep me}");
    const Run odd = scrivlo({QStringLiteral("--convert-to"), QStringLiteral("wpd"), in}, dir_.path());
    QCOMPARE(odd.exitCode, 2);
    // Converting a file onto itself would lose the original.
    const Run self = scrivlo({QStringLiteral("--convert-to"), QStringLiteral("rtf"), QStringLiteral("--outdir"),
                              dir_.path(), in}, dir_.path());
    QCOMPARE(self.exitCode, 1);
    QCOMPARE(readFile(in), QByteArray("{\\rtf1 keep me}"));
}

void TestConvert::contentDecidesAndNoOutputOfTheRunIsReplaced()
{
    QDir(dir_.path()).mkpath(QStringLiteral("a"));
    QDir(dir_.path()).mkpath(QStringLiteral("b"));
    const QString first = dir_.filePath(QStringLiteral("a/report.rtf"));
    const QString second = dir_.filePath(QStringLiteral("b/report.rtf"));
    const QString picture = dir_.filePath(QStringLiteral("photo.rtf"));
    writeFile(first, "{\\rtf1 first}");
    writeFile(second, "{\\rtf1 second}");
    writeFile(picture, QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16));
    const QString out = dir_.filePath(QStringLiteral("run"));
    const Run r = scrivlo({QStringLiteral("--convert-to"), QStringLiteral("txt"), QStringLiteral("--outdir"), out, first,
                           picture, second}, dir_.path());
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(readFile(out + QStringLiteral("/report.txt")), QByteArray("first\r\n"));
    QVERIFY(!QFile::exists(out + QStringLiteral("/photo.txt")));
    QVERIFY2(r.err.contains(QStringLiteral("scrivlo: cannot convert \"%1\": it is a picture (PNG)").arg(picture)), qPrintable(r.err));
    QVERIFY2(r.err.contains(QStringLiteral("scrivlo: cannot convert \"%1\": \"%2/report.txt\" was already written from")
                                .arg(second, out)),
             qPrintable(r.err));
}

void TestConvert::rtfToPdfPrintsTheWholeDocument()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext is not installed");
    const QString in = dir_.filePath(QStringLiteral("report.rtf"));
    // A list that starts at 3, and the page's number in the text.
    writeFile(in, "{\\rtf1\\ansi First page text\\par{\\*\\listtable{\\list{\\listlevel\\levelnfc0\\levelstartat3"
                  "{\\leveltext\\'02\\'00.;}}\\listid1}}{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}"
                  "\\pard\\ls1 Item three\\par\\pard\\ls1 Item four\\par\\pard\\ls1 Item five\\par"
                  "\\page\\pard Second page text on page {\\field{\\*\\fldinst PAGE}{\\fldrslt 1}}\\par}");
    const Run r = scrivlo({QStringLiteral("--convert-to=pdf"), QStringLiteral("--outdir"), dir_.filePath(QStringLiteral("pdf")), in},
                          dir_.path());
    QCOMPARE(r.exitCode, 0);
    const QString pdf = dir_.filePath(QStringLiteral("pdf/report.pdf"));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    QVERIFY(text.waitForFinished(60000));
    const QString pages = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY2(pages.contains(QStringLiteral("First page text")) && pages.contains(QStringLiteral("Second page text on page 2")),
             qPrintable(pages));
    for (const char *item : {"3. Item three", "4. Item four", "5. Item five"})
        QVERIFY2(pages.simplified().contains(QLatin1String(item)), qPrintable(pages));
    QCOMPARE(pages.count(QChar(0x0C)), 2); // two pages, each ending in a form feed
}

QTEST_MAIN(TestConvert)
#include "tst_convert.moc"
