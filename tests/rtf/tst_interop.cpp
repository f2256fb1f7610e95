// What we write, another word processor reads back to the same text. Needs soffice; skipped
// when it is not installed.
#include "RtfFixtures.h"
#include "rtf/TextFormats.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextList>
#include <QtTest>

using namespace RtfFixtures;

class TestInterop : public QObject
{
    Q_OBJECT

private slots:
    void sofficeReadsOurText();
};

void TestInterop::sofficeReadsOurText()
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        QSKIP("soffice is not installed");
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextCharFormat f;
    TextFormats::setFamily(f, QStringLiteral("Liberation Serif"));
    f.setFontPointSize(12);
    c.insertText(QStringLiteral("Plain and "), f);
    QTextCharFormat bold = f;
    bold.setFontWeight(QFont::Bold);
    bold.setForeground(QColor(200, 0, 0));
    c.insertText(QStringLiteral("bold red"), bold);
    c.insertBlock();
    c.insertText(QStringLiteral("Unicode: café, Straße, привет, 日本語, € — “quotes”"), f);
    c.insertBlock();
    QTextCharFormat link = f;
    link.setAnchor(true);
    link.setAnchorHref(QStringLiteral("https://example.org/"));
    c.insertText(QStringLiteral("a link"), link);
    c.insertText(QStringLiteral(" and {braces} \\ backslash"), f);

    QTemporaryDir dir;
    const QString rtf = dir.filePath(QStringLiteral("ours.rtf"));
    QFile out(rtf);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(RtfCodec::write(doc));
    out.close();
    QProcess p;
    p.start(soffice, {QStringLiteral("-env:UserInstallation=file://") + dir.filePath(QStringLiteral("profile")),
                      QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                      QStringLiteral("txt:Text (encoded):UTF8"), QStringLiteral("--outdir"), dir.path(), rtf});
    QVERIFY(p.waitForFinished(300000));
    QString text = QString::fromUtf8(readFile(dir.filePath(QStringLiteral("ours.txt"))));
    text.remove(QChar(0xFEFF));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QCOMPARE(text.trimmed(), doc.toPlainText());
}

QTEST_MAIN(TestInterop)
#include "tst_interop.moc"
