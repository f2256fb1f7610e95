// What we write, another word processor reads back to the same text, and what it wrote we keep.
// Needs soffice (and abiword and pandoc for their files); skipped where they are not installed.
#include "OdfFeatures.h"
#include "RtfFixtures.h"
#include "rtf/TextFormats.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextList>
#include <QtTest>

using namespace RtfFixtures;

namespace {

bool run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool saveOurs(const QString &from, const QString &to)
{
    QTextDocument doc;
    RtfCodec::read(readFile(from), doc);
    QFile out(to);
    return out.open(QIODevice::WriteOnly) && out.write(RtfCodec::write(doc)) > 0;
}

QString htmlText(const QString &path)
{
    QTextDocument doc;
    doc.setHtml(QString::fromUtf8(readFile(path)));
    return doc.toPlainText();
}

QSet<QString> words(const QString &text)
{
    static const QRegularExpression word(QStringLiteral("\\w{2,}"), QRegularExpression::UseUnicodePropertiesOption);
    QSet<QString> set;
    for (auto it = word.globalMatch(text); it.hasNext();) {
        const QString w = it.next().captured();
        if (!w.front().isDigit())
            set.insert(w);
    }
    return set;
}

} // namespace

class TestInterop : public QObject
{
    Q_OBJECT

private slots:
    void sofficeReadsOurText();
    void reportsKeepTheirFeatures();
    void corpusTextSurvivesLibreOffice();
    void corpusTablesKeepTheirShape();
};

// After the class: moc's own reading of the file loses its way in a raw string literal.
namespace {

// A report as a flat ODF text: header and footer with a page number, two footnotes, a numbered
// list with a nested lettered one, a Roman list starting at iv, a table with cell borders and
// shading, a page break, a right-to-left paragraph, a bookmark, 1.25 in side margins.
const char kReport[] = R"odf(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"
 xmlns:dc="http://purl.org/dc/elements/1.1/"
 xmlns:meta="urn:oasis:names:tc:opendocument:xmlns:meta:1.0"
 office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.text">
 <office:meta><dc:title>Quarterly report</dc:title><dc:subject>Numbers</dc:subject><meta:initial-creator>Ada Writer</meta:initial-creator></office:meta>
 <office:styles>
  <style:style style:name="Standard" style:family="paragraph"/>
  <style:style style:name="Heading_20_1" style:display-name="Heading 1" style:family="paragraph" style:parent-style-name="Standard">
   <style:text-properties fo:font-size="16pt" fo:font-weight="bold"/>
  </style:style>
 </office:styles>
 <office:automatic-styles>
  <style:style style:name="T1" style:family="text"><style:text-properties style:text-position="super 58%"/></style:style>
  <style:page-layout style:name="pm1">
   <style:page-layout-properties fo:page-width="8.5in" fo:page-height="11in" fo:margin-left="1.25in" fo:margin-right="1.25in" fo:margin-top="1in" fo:margin-bottom="1in"/>
  </style:page-layout>
  <style:style style:name="P1" style:family="paragraph" style:parent-style-name="Standard"><style:paragraph-properties fo:break-before="page"/></style:style>
  <style:style style:name="P2" style:family="paragraph" style:parent-style-name="Standard"><style:paragraph-properties style:writing-mode="rl-tb" fo:text-align="end"/></style:style>
  <style:style style:name="Tbl" style:family="table"><style:table-properties style:width="5in" table:align="left"/></style:style>
  <style:style style:name="Tbl.A1" style:family="table-cell"><style:table-cell-properties fo:background-color="#ffcc00" fo:border="0.5pt solid #ff0000"/></style:style>
  <style:style style:name="Tbl.B1" style:family="table-cell"><style:table-cell-properties fo:border-bottom="1.5pt solid #0000ff" fo:border-left="none" fo:border-right="none" fo:border-top="none"/></style:style>
  <text:list-style style:name="L1">
   <text:list-level-style-number text:level="1" style:num-suffix="." style:num-format="1"><style:list-level-properties text:space-before="0.25in" text:min-label-width="0.25in"/></text:list-level-style-number>
   <text:list-level-style-number text:level="2" style:num-suffix=")" style:num-format="a"><style:list-level-properties text:space-before="0.5in" text:min-label-width="0.25in"/></text:list-level-style-number>
  </text:list-style>
  <text:list-style style:name="L2">
   <text:list-level-style-number text:level="1" style:num-suffix="." style:num-format="i" text:start-value="4"><style:list-level-properties text:space-before="0.25in" text:min-label-width="0.25in"/></text:list-level-style-number>
  </text:list-style>
 </office:automatic-styles>
 <office:master-styles>
  <style:master-page style:name="Standard" style:page-layout-name="pm1">
   <style:header><text:p>Header text <text:page-number>1</text:page-number></text:p></style:header>
   <style:footer><text:p>Footer text</text:p></style:footer>
  </style:master-page>
 </office:master-styles>
 <office:body><office:text>
  <text:h text:style-name="Heading_20_1" text:outline-level="1">Report title</text:h>
  <text:p>First paragraph with a note<text:note text:id="n1" text:note-class="footnote"><text:note-citation>1</text:note-citation><text:note-body><text:p>Note one text.</text:p></text:note-body></text:note> and another<text:note text:id="n2" text:note-class="footnote"><text:note-citation>2</text:note-citation><text:note-body><text:p>Note two text.</text:p></text:note-body></text:note>.</text:p>
  <text:p>E = mc<text:span text:style-name="T1">2</text:span>.</text:p>
  <text:list text:style-name="L1">
   <text:list-item><text:p>One</text:p></text:list-item>
   <text:list-item><text:p>Two</text:p>
    <text:list><text:list-item><text:p>Two a</text:p></text:list-item><text:list-item><text:p>Two b</text:p></text:list-item></text:list>
   </text:list-item>
   <text:list-item><text:p>Three</text:p></text:list-item>
  </text:list>
  <text:list text:style-name="L2">
   <text:list-item><text:p>Roman four</text:p></text:list-item>
   <text:list-item><text:p>Roman five</text:p></text:list-item>
  </text:list>
  <table:table table:name="Tbl" table:style-name="Tbl">
   <table:table-column table:number-columns-repeated="2"/>
   <table:table-row><table:table-cell table:style-name="Tbl.A1"><text:p>Cell A1</text:p></table:table-cell><table:table-cell table:style-name="Tbl.B1"><text:p>Cell B1</text:p></table:table-cell></table:table-row>
   <table:table-row><table:table-cell><text:p>Cell A2</text:p></table:table-cell><table:table-cell><text:p>Cell B2</text:p></table:table-cell></table:table-row>
  </table:table>
  <text:p text:style-name="P1">After the page break.</text:p>
  <text:p text:style-name="P2">שלום עולם, זה טקסט בעברית.</text:p>
  <text:p>Last <text:bookmark-start text:name="mark1"/>marked<text:bookmark-end text:name="mark1"/> text.</text:p>
 </office:text></office:body>
</office:document>
)odf";

} // namespace

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

// A report made by LibreOffice (and by AbiWord and pandoc from it), saved by us and read back by
// LibreOffice, shows everything LibreOffice shows of the original.
void TestInterop::reportsKeepTheirFeatures()
{
    if (soffice().isEmpty())
        QSKIP("soffice is not installed");
    QTemporaryDir dir;
    QFile fodt(dir.filePath(QStringLiteral("report.fodt")));
    QVERIFY(fodt.open(QIODevice::WriteOnly));
    fodt.write(kReport);
    fodt.close();
    QVERIFY(convert(dir, QStringLiteral("rtf"), dir.path(), {fodt.fileName()}));
    QStringList producers{QStringLiteral("libreoffice")};
    QVERIFY(QFile::rename(dir.filePath(QStringLiteral("report.rtf")), dir.filePath(QStringLiteral("libreoffice.rtf"))));
    const QString abiword = QStandardPaths::findExecutable(QStringLiteral("abiword"));
    const QString pandoc = QStandardPaths::findExecutable(QStringLiteral("pandoc"));
    if (!abiword.isEmpty() || !pandoc.isEmpty()) {
        QVERIFY(convert(dir, QStringLiteral("odt"), dir.path(), {fodt.fileName()}));
        const QString odt = dir.filePath(QStringLiteral("report.odt"));
        if (!abiword.isEmpty() && run(abiword, {QStringLiteral("--to=rtf"), QStringLiteral("-o"), dir.filePath(QStringLiteral("abiword.rtf")), odt}))
            producers << QStringLiteral("abiword");
        if (!pandoc.isEmpty() && run(pandoc, {QStringLiteral("-s"), odt, QStringLiteral("-t"), QStringLiteral("rtf"), QStringLiteral("-o"), dir.filePath(QStringLiteral("pandoc.rtf"))}))
            producers << QStringLiteral("pandoc");
    }
    qInfo("files made by %s", qPrintable(producers.join(QStringLiteral(", "))));
    QStringList files;
    for (const QString &p : std::as_const(producers)) {
        QVERIFY(saveOurs(dir.filePath(p + QStringLiteral(".rtf")), dir.filePath(p + QStringLiteral("-ours.rtf"))));
        files << dir.filePath(p + QStringLiteral(".rtf")) << dir.filePath(p + QStringLiteral("-ours.rtf"));
    }
    QVERIFY(convert(dir, QStringLiteral("fodt"), dir.filePath(QStringLiteral("back")), files));
    for (const QString &p : std::as_const(producers)) {
        const QStringList theirs = OdfFeatures::read(dir.filePath(QStringLiteral("back/") + p + QStringLiteral(".fodt")));
        const QStringList ours = OdfFeatures::read(dir.filePath(QStringLiteral("back/") + p + QStringLiteral("-ours.fodt")));
        for (const QString &line : theirs)
            QVERIFY2(ours.contains(line), qPrintable(p + QStringLiteral(" lost: ") + line + QStringLiteral("\n") + ours.join(u'\n')));
        if (p == u"libreoffice") { // what LibreOffice shows of its own file, so the comparison means something
            for (const char *expected : {"header: Header text", "footer: Footer text", "note footnote: 1 Note one text.",
                                         "note footnote: 2 Note two text.", "list Roman four: i . 4", "list Two a: a ) ",
                                         "break before: After the page break.", "margins: 1.25in 1.25in 1in 1in"})
                QVERIFY2(std::any_of(ours.cbegin(), ours.cend(), [&](const QString &l) { return l.startsWith(QLatin1String(expected)); }),
                         expected);
            QVERIFY(ours.contains(QStringLiteral("cell Cell A1: fo:background-color=#ffcc00 fo:border=0.5pt solid #ff0000")));
            QVERIFY(std::any_of(ours.cbegin(), ours.cend(), [](const QString &l) { return l.startsWith(u"right to left:"); }));
        } else {
            QVERIFY2(ours.contains(QStringLiteral("note footnote: 1 Note one text.")) || ours.contains(QStringLiteral("note footnote: 1Note one text.")),
                     qPrintable(ours.join(u'\n')));
        }
    }
}

// Every file of the corpus: the text LibreOffice reads from our copy holds all the text it reads
// from the original, headers, footers and notes included (its HTML export has them all).
void TestInterop::corpusTextSurvivesLibreOffice()
{
    if (soffice().isEmpty())
        QSKIP("soffice is not installed");
    const QStringList corpus = corpusFiles();
    if (corpus.isEmpty())
        QSKIP("the shared RTF corpus is not there");
    // Both sides in folders of the same name (a/in, b/in): a FILENAME field shows the path.
    QTemporaryDir dir;
    const QString theirDir = dir.filePath(QStringLiteral("a/in/")), ourDir = dir.filePath(QStringLiteral("b/in/"));
    QDir().mkpath(theirDir);
    QDir().mkpath(ourDir);
    QStringList theirs, ours;
    QHash<QString, QString> names;
    for (qsizetype i = 0; i < corpus.size(); ++i) {
        const QByteArray bytes = readFile(corpusDir() + u'/' + corpus[i]);
        if (!RtfCodec::looksLikeRtf(bytes))
            continue; // LibreOffice takes it for plain text, as the program does
        const QString name = QStringLiteral("%1.rtf").arg(i, 3, 10, QLatin1Char('0'));
        names.insert(name, corpus[i]);
        QVERIFY(QFile::copy(corpusDir() + u'/' + corpus[i], theirDir + name));
        QVERIFY(saveOurs(theirDir + name, ourDir + name));
        theirs << theirDir + name;
        ours << ourDir + name;
    }
    QVERIFY(convert(dir, QStringLiteral("html"), dir.filePath(QStringLiteral("theirs-html")), theirs));
    QVERIFY(convert(dir, QStringLiteral("html"), dir.filePath(QStringLiteral("ours-html")), ours));
    QStringList lost;
    int compared = 0;
    for (auto it = names.cbegin(); it != names.cend(); ++it) {
        const QString html = QFileInfo(it.key()).completeBaseName() + QStringLiteral(".html");
        if (!QFile::exists(dir.filePath(QStringLiteral("theirs-html/") + html)))
            continue; // LibreOffice could not read the original either
        ++compared;
        const QString ourText = htmlText(dir.filePath(QStringLiteral("ours-html/") + html));
        QString squashed; // for words that markup or an object splits in one reading only
        for (const QChar c : ourText)
            if (c.isLetterOrNumber())
                squashed += c;
        const QSet<QString> ourWords = words(ourText);
        QStringList missing;
        for (const QString &w : words(htmlText(dir.filePath(QStringLiteral("theirs-html/") + html))))
            if (!ourWords.contains(w) && !squashed.contains(w))
                missing << w;
        if (!missing.isEmpty())
            lost << it.value() + QStringLiteral(": ") + missing.mid(0, 8).join(u' ');
    }
    qInfo("%d files compared", compared);
    QVERIFY(compared > 100);
    QVERIFY2(lost.isEmpty(), qPrintable(lost.join(u'\n')));
}

// Every table of the corpus, as LibreOffice reads our copy, has the cells and the width it reads
// from the original: rows of different shapes, merged and nested cells included.
void TestInterop::corpusTablesKeepTheirShape()
{
    if (soffice().isEmpty())
        QSKIP("soffice is not installed");
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("a/in")));
    QDir().mkpath(dir.filePath(QStringLiteral("b/in")));
    // Where LibreOffice reads the original by a rule of its own: it drops the cells past a row's
    // last \cellx, text and all (we keep them), and reads no table of a malformed nesting.
    const QStringList theirRule{QStringLiteral("pandoc/table_simple.rtf"), QStringLiteral("pandoc/table_nested_malformed_itap.rtf")};
    QStringList theirs, ours, names;
    for (const QString &file : corpusFiles()) {
        const QByteArray bytes = readFile(corpusDir() + u'/' + file);
        if (!RtfCodec::looksLikeRtf(bytes) || !bytes.contains("\\cell") || theirRule.contains(file))
            continue;
        const QString name = QString(file).replace(u'/', u'-');
        QVERIFY(QFile::copy(corpusDir() + u'/' + file, dir.filePath(QStringLiteral("a/in/") + name)));
        QVERIFY(saveOurs(dir.filePath(QStringLiteral("a/in/") + name), dir.filePath(QStringLiteral("b/in/") + name)));
        theirs << dir.filePath(QStringLiteral("a/in/") + name);
        ours << dir.filePath(QStringLiteral("b/in/") + name);
        names << name;
    }
    QVERIFY(convert(dir, QStringLiteral("fodt"), dir.filePath(QStringLiteral("a/out")), theirs));
    QVERIFY(convert(dir, QStringLiteral("fodt"), dir.filePath(QStringLiteral("b/out")), ours));
    QStringList changed;
    int tables = 0;
    for (const QString &name : std::as_const(names)) {
        const QString fodt = QFileInfo(name).completeBaseName() + QStringLiteral(".fodt");
        const QList<OdfFeatures::Table> before = OdfFeatures::tables(dir.filePath(QStringLiteral("a/out/") + fodt));
        const QList<OdfFeatures::Table> after = OdfFeatures::tables(dir.filePath(QStringLiteral("b/out/") + fodt));
        tables += int(before.size());
        QStringList differences;
        if (before.size() != after.size())
            differences << QStringLiteral("%1 tables, then %2").arg(before.size()).arg(after.size());
        for (qsizetype i = 0; i < qMin(before.size(), after.size()); ++i) {
            if (before[i].cells != after[i].cells)
                differences << QStringLiteral("table %1: %2 cells, then %3").arg(i).arg(before[i].cells).arg(after[i].cells);
            if (std::abs(before[i].widthInches - after[i].widthInches) > 0.02)
                differences << QStringLiteral("table %1: %2 in wide, then %3").arg(i).arg(before[i].widthInches).arg(after[i].widthInches);
        }
        if (!differences.isEmpty())
            changed << name + QStringLiteral(": ") + differences.mid(0, 4).join(QStringLiteral("; "));
    }
    qInfo("%d tables in %d files compared", tables, int(names.size()));
    QVERIFY(tables > 20);
    QVERIFY2(changed.isEmpty(), qPrintable(changed.join(u'\n')));
}

QTEST_MAIN(TestInterop)
#include "tst_interop.moc"
