// LibreOffice reads the same text from OpenDocument files as we do, and reads back from what we
// save (as OpenDocument, and through RTF or Word) the same text and structure as from the original.
// Needs soffice; skipped where it is not installed.
#include "../rtf/OdfFeatures.h"
#include "OdtFixtures.h"
#include "docx/DocxCodec.h"
#include "rtf/RtfCodec.h"
#include "zip/PackageError.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace OdtFixtures;

namespace {

bool save(const QString &path, const QByteArray &bytes)
{
    QFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size();
}

// Whether a flat file holds embedded objects (charts, formulas), whose tables go back only in
// OpenDocument.
bool hasObjects(const QString &fodt)
{
    return readFile(fodt).contains("<draw:object");
}

// What LibreOffice shows of merged table cells, beside OdfFeatures' lines.
QStringList spans(const QString &fodt)
{
    QFile file(fodt);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader xml(&file);
    QStringList lines;
    QString span, text;
    int depth = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.qualifiedName() == u"table:table-cell") {
            const QString columns = xml.attributes().value(QLatin1String("table:number-columns-spanned")).toString();
            const QString rows = xml.attributes().value(QLatin1String("table:number-rows-spanned")).toString();
            span = columns.isEmpty() && rows.isEmpty() ? QString() : (columns.isEmpty() ? QStringLiteral("1") : columns) + u'x'
                                                                         + (rows.isEmpty() ? QStringLiteral("1") : rows);
            text.clear();
            ++depth;
        } else if (xml.isCharacters() && depth > 0) {
            text += xml.text();
        } else if (xml.isEndElement() && xml.qualifiedName() == u"table:table-cell") {
            --depth;
            if (!span.isEmpty())
                lines << QStringLiteral("span %1: %2").arg(text.simplified(), span);
        } else if (xml.isStartElement() && xml.qualifiedName() == u"table:table-header-rows") {
            lines << QStringLiteral("header rows");
        }
    }
    return lines;
}

QStringList features(const QString &fodt)
{
    return OdfFeatures::read(fodt) + spans(fodt);
}

// Margins alike to a thousandth of an inch: what goes through RTF is whole twips. Through RTF an
// empty header or footer is not kept: its room becomes top or bottom margin, the text where it was.
bool sameMargins(const QString &theirs, const QString &ours, bool throughRtf)
{
    const QStringList a = theirs.mid(9).split(u' ', Qt::SkipEmptyParts), b = ours.mid(9).split(u' ', Qt::SkipEmptyParts);
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        QString x = a[i], y = b[i];
        if (!x.endsWith(QLatin1String("in")) || !y.endsWith(QLatin1String("in")))
            return x == y;
        const double difference = y.chopped(2).toDouble() - x.chopped(2).toDouble();
        const bool vertical = i >= 2;
        if (std::abs(difference) > 0.002 && !(throughRtf && vertical && difference > 0))
            return false;
    }
    return true;
}

// A cell's look as it shows: a transparent background is no background, and borders set to none
// are no borders (LibreOffice spells them out only for cells that have a style). Through Word no
// border is thinner than a quarter point, its thinnest.
QString cellLook(QString line, bool throughWord)
{
    line.remove(QStringLiteral(" fo:background-color=transparent")).remove(QStringLiteral("fo:background-color=transparent "));
    if (line.endsWith(QLatin1String(": fo:border=none")))
        line.chop(int(QStringLiteral("fo:border=none").size()));
    if (throughWord) {
        static const QRegularExpression hairline(QStringLiteral("=0\\.(0\\d*|1\\d*|2[0-4]\\d*)pt "));
        line.replace(hairline, QStringLiteral("=0.25pt "));
    }
    return line;
}

// How a file came back: saved as OpenDocument again, or through RTF or Word and back.
enum class Way { Same, ThroughRtf, ThroughWord };

// Through another format, list lines compare their number format and suffix, not where the list
// style starts (a list that continues another starts there in its style, with the same numbers),
// and only the headers and footers of the first section are kept.
QStringList lost(QStringList theirs, QStringList ours, Way way)
{
    const bool throughRtf = way == Way::ThroughRtf, across = way != Way::Same;
    for (QStringList *lines : {&theirs, &ours})
        for (QString &line : *lines) {
            if (line.startsWith(QLatin1String("cell ")))
                line = cellLook(line, way == Way::ThroughWord);
            else if (across && line.startsWith(QLatin1String("list ")))
                line = line.left(line.lastIndexOf(u' '));
        }
    QStringList missing;
    for (const QString &line : std::as_const(theirs)) {
        if (line.startsWith(QLatin1String("margins: "))) {
            const auto match = std::find_if(ours.cbegin(), ours.cend(), [](const QString &l) { return l.startsWith(QLatin1String("margins: ")); });
            if (match == ours.cend() || !sameMargins(line, *match, throughRtf))
                missing << line + QStringLiteral(" (ours: ") + (match == ours.cend() ? QString() : *match) + u')';
        } else if (across && (line.startsWith(QLatin1String("header: ")) || line.startsWith(QLatin1String("footer: ")))) {
            // The headers and footers of the first section: some of theirs (the report checks
            // they are there), and no other.
            const QString kind = line.left(8);
            const auto match = std::find_if(ours.cbegin(), ours.cend(), [&](const QString &l) { return l.startsWith(kind); });
            const QStringList parts = line.mid(8).split(QStringLiteral(" / "), Qt::SkipEmptyParts);
            const QStringList mine = match == ours.cend() ? QStringList() : match->mid(8).split(QStringLiteral(" / "), Qt::SkipEmptyParts);
            if (std::any_of(mine.cbegin(), mine.cend(), [&](const QString &p) { return !parts.contains(p); }))
                missing << line;
        } else if (line.startsWith(QLatin1String("list ")) && line.section(u':', -1).startsWith(QLatin1String("  "))) {
            // A bullet (no number format): what stands beside its number is shown by no one.
            const QString item = line.left(line.lastIndexOf(u':') + 1) + QStringLiteral("  ");
            if (!std::any_of(ours.cbegin(), ours.cend(), [&](const QString &l) { return l.startsWith(item); }))
                missing << line;
        } else if (!ours.contains(line)) {
            missing << line;
        }
    }
    return missing;
}

} // namespace

class TestInterop : public QObject
{
    Q_OBJECT

private slots:
    void corpusTextMatchesLibreOffice();
    void savedFilesKeepTheirFeatures();
};

// After the class: moc's own reading of the file loses its way in a raw string literal.
namespace {

// A report as a flat file: a first page of its own, header and footer with page figures, notes of
// both kinds, lists (nested, lettered, Roman from iv, one continued after a paragraph), a table with
// merged cells, borders, shading and a header row, a page break, a right-to-left paragraph, a
// bookmark, and its own margins.
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
  <style:style style:name="Heading_20_1" style:display-name="Heading 1" style:family="paragraph" style:parent-style-name="Standard" style:default-outline-level="1">
   <style:text-properties fo:font-size="16pt" fo:font-weight="bold"/>
  </style:style>
 </office:styles>
 <office:automatic-styles>
  <style:page-layout style:name="pm1">
   <style:page-layout-properties fo:page-width="8.5in" fo:page-height="11in" fo:margin-left="1.25in" fo:margin-right="1.25in" fo:margin-top="0.5in" fo:margin-bottom="0.5in"/>
   <style:header-style><style:header-footer-properties fo:min-height="0.5in" fo:margin-bottom="0.2in"/></style:header-style>
   <style:footer-style><style:header-footer-properties fo:min-height="0.5in" fo:margin-top="0.2in"/></style:footer-style>
  </style:page-layout>
  <style:style style:name="P0" style:family="paragraph" style:parent-style-name="Heading_20_1" style:master-page-name="First_20_Page"/>
  <style:style style:name="P1" style:family="paragraph" style:parent-style-name="Standard"><style:paragraph-properties fo:break-before="page"/></style:style>
  <style:style style:name="P2" style:family="paragraph" style:parent-style-name="Standard"><style:paragraph-properties style:writing-mode="rl-tb" fo:text-align="end"/></style:style>
  <style:style style:name="Tbl" style:family="table"><style:table-properties style:width="5in" table:align="left"/></style:style>
  <style:style style:name="Tbl.A" style:family="table-column"><style:table-column-properties style:column-width="1.6667in"/></style:style>
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
   <style:header><text:p>Header text <text:page-number>2</text:page-number> of <text:page-count>3</text:page-count></text:p></style:header>
   <style:footer><text:p>Footer text</text:p></style:footer>
  </style:master-page>
  <style:master-page style:name="First_20_Page" style:display-name="First Page" style:page-layout-name="pm1" style:next-style-name="Standard">
   <style:header><text:p>First page header</text:p></style:header>
  </style:master-page>
 </office:master-styles>
 <office:body><office:text>
  <text:h text:style-name="P0" text:outline-level="1">Report title</text:h>
  <text:p>First paragraph with a note<text:note text:id="n1" text:note-class="footnote"><text:note-citation>1</text:note-citation><text:note-body><text:p>Note one text.</text:p></text:note-body></text:note> and an endnote<text:note text:id="n2" text:note-class="endnote"><text:note-citation>i</text:note-citation><text:note-body><text:p>Endnote text.</text:p></text:note-body></text:note>.</text:p>
  <text:list xml:id="list1" text:style-name="L1">
   <text:list-item><text:p>One</text:p></text:list-item>
   <text:list-item><text:p>Two</text:p>
    <text:list><text:list-item><text:p>Two a</text:p></text:list-item><text:list-item><text:p>Two b</text:p></text:list-item></text:list>
   </text:list-item>
  </text:list>
  <text:p>Between the items.</text:p>
  <text:list text:continue-list="list1" text:style-name="L1">
   <text:list-item><text:p>Three</text:p></text:list-item>
  </text:list>
  <text:list text:style-name="L2">
   <text:list-item><text:p>Roman four</text:p></text:list-item>
   <text:list-item><text:p>Roman five</text:p></text:list-item>
  </text:list>
  <table:table table:name="Tbl" table:style-name="Tbl">
   <table:table-column table:style-name="Tbl.A" table:number-columns-repeated="3"/>
   <table:table-header-rows><table:table-row>
    <table:table-cell table:style-name="Tbl.A1"><text:p>Cell A1</text:p></table:table-cell>
    <table:table-cell table:style-name="Tbl.B1" table:number-columns-spanned="2"><text:p>Cell B1 wide</text:p></table:table-cell><table:covered-table-cell/>
   </table:table-row></table:table-header-rows>
   <table:table-row>
    <table:table-cell table:number-rows-spanned="2"><text:p>Cell A2 tall</text:p></table:table-cell>
    <table:table-cell><text:p>Cell B2</text:p></table:table-cell><table:table-cell><text:p>Cell C2</text:p></table:table-cell>
   </table:table-row>
   <table:table-row>
    <table:covered-table-cell/><table:table-cell><text:p>Cell B3</text:p></table:table-cell><table:table-cell><text:p>Cell C3</text:p></table:table-cell>
   </table:table-row>
  </table:table>
  <text:p text:style-name="P1">After the page break.</text:p>
  <text:p text:style-name="P2">שלום עולם, זה טקסט בעברית.</text:p>
  <text:p>Last <text:bookmark-start text:name="mark1"/>marked<text:bookmark-end text:name="mark1"/> text.</text:p>
 </office:text></office:body>
</office:document>
)odf";

} // namespace

// The text we read from each corpus file is at least 0.99 similar to LibreOffice's text export of
// it (list markers included, text of frames and drawings left out, as LibreOffice leaves it out),
// for at least 95% of the files.
void TestInterop::corpusTextMatchesLibreOffice()
{
    if (soffice().isEmpty())
        QSKIP("soffice is not installed");
    const QStringList corpus = corpusFiles();
    if (corpus.isEmpty())
        QSKIP("the shared document corpus is not there");
    QTemporaryDir dir;
    QStringList files;
    for (const QString &f : corpus)
        files << corpusDir() + u'/' + f;
    QVERIFY(convert(dir, QStringLiteral("txt:Text (encoded):UTF8"), dir.filePath(QStringLiteral("txt")), files));
    int similar = 0;
    for (const QString &f : corpus) {
        QTextDocument doc;
        try {
            OdtCodec::read(readFile(corpusDir() + u'/' + f), doc);
        } catch (const PackageError &e) {
            qInfo("%s: refused (%s)", qPrintable(f), qPrintable(e.reason()));
            continue;
        }
        const QString theirs = QString::fromUtf8(readFile(dir.filePath(QStringLiteral("txt/") + QFileInfo(f).completeBaseName()
                                                                       + QStringLiteral(".txt"))));
        const double s = similarity(theirs, shownText(doc));
        qInfo("%.4f %s", s, qPrintable(f));
        similar += s >= 0.99;
    }
    qInfo("%d of %d files at least 0.99 similar", similar, int(corpus.size()));
    QVERIFY(similar * 100 >= 95 * corpus.size());
}

// Each corpus file and the report, saved by us as OpenDocument and through RTF back to
// OpenDocument: LibreOffice reads from our copies every header, footer, note, list level with
// its numbering, cell look and span, break, direction and margin it reads from the original.
void TestInterop::savedFilesKeepTheirFeatures()
{
    if (soffice().isEmpty())
        QSKIP("soffice is not installed");
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("theirs")));
    QDir().mkpath(dir.filePath(QStringLiteral("same")));
    QDir().mkpath(dir.filePath(QStringLiteral("through-rtf")));
    QDir().mkpath(dir.filePath(QStringLiteral("through-word")));
    QStringList originals, copies;
    QStringList names;
    QHash<QString, QStringList> unnumbered; // paragraphs of lists without a number of their own
    QStringList renumbered;
    auto add = [&](const QString &name, const QString &original, const QByteArray &bytes) {
        QTextDocument doc;
        OdtCodec::read(bytes, doc);
        auto numbers = [](const QTextDocument &d) {
            QStringList out;
            const QHash<int, QString> m = markers(d);
            for (QTextBlock b = d.begin(); b.isValid(); b = b.next())
                if (m.contains(b.blockNumber()))
                    out << b.text() + u' ' + m.value(b.blockNumber());
            return out;
        };
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
            if (b.blockFormat().hasProperty(OdtFormats::kListContinuationProperty))
                unnumbered[name] << QStringLiteral("list %1:").arg(b.text().simplified());
        QVERIFY(save(dir.filePath(QStringLiteral("same/") + name + QStringLiteral(".odt")), OdtCodec::write(doc)));
        QTextDocument throughRtf;
        RtfCodec::read(RtfCodec::write(doc), throughRtf);
        if (numbers(*again(throughRtf)) != numbers(doc)) // the items' numbers, through RTF and back
            renumbered << name + QStringLiteral(" through RTF");
        QVERIFY(save(dir.filePath(QStringLiteral("through-rtf/") + name + QStringLiteral(".odt")), OdtCodec::write(throughRtf)));
        QTextDocument throughWord;
        DocxCodec::read(DocxCodec::write(doc), throughWord);
        if (numbers(*again(throughWord)) != numbers(doc)) // and through Word
            renumbered << name + QStringLiteral(" through Word");
        QVERIFY(save(dir.filePath(QStringLiteral("through-word/") + name + QStringLiteral(".odt")), OdtCodec::write(throughWord)));
        if (QFileInfo(original).completeBaseName() != name) { // converted under the name it is compared by
            const QString renamed = dir.filePath(QStringLiteral("theirs/") + name + u'.' + QFileInfo(original).suffix());
            QFile::copy(original, renamed);
            originals << renamed;
        } else {
            originals << original;
        }
        copies << dir.filePath(QStringLiteral("same/") + name + QStringLiteral(".odt"))
               << dir.filePath(QStringLiteral("through-rtf/") + name + QStringLiteral(".odt"))
               << dir.filePath(QStringLiteral("through-word/") + name + QStringLiteral(".odt"));
        names << name;
    };
    const QString report = dir.filePath(QStringLiteral("theirs/report.fodt"));
    QVERIFY(save(report, kReport));
    add(QStringLiteral("report"), report, kReport);
    for (const QString &f : corpusFiles())
        add(QFileInfo(f).completeBaseName(), corpusDir() + u'/' + f, readFile(corpusDir() + u'/' + f));
    // And the Word files of the corpus as LibreOffice saves them in OpenDocument: files made by
    // another hand, with tracked changes, comments, fields and sections.
    QStringList words;
    const QDir wordRoot(QStringLiteral(SCRIVLO_SHARED_DIR "/doc-corpus/docx"));
    for (const QString &sub : wordRoot.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        for (const QString &f : QDir(wordRoot.filePath(sub)).entryList({QStringLiteral("*.docx")}, QDir::Files))
            words << wordRoot.filePath(sub + u'/' + f);
    if (!words.isEmpty()) {
        QVERIFY(convert(dir, QStringLiteral("odt"), dir.filePath(QStringLiteral("from-word")), words));
        for (const QString &f : QDir(dir.filePath(QStringLiteral("from-word"))).entryList({QStringLiteral("*.odt")}, QDir::Files)) {
            const QString path = dir.filePath(QStringLiteral("from-word/") + f);
            add(QStringLiteral("word-") + QFileInfo(f).completeBaseName(), path, readFile(path));
        }
    }
    QVERIFY(convert(dir, QStringLiteral("fodt"), dir.filePath(QStringLiteral("fodt/theirs")), originals));
    QVERIFY(convert(dir, QStringLiteral("fodt"), dir.filePath(QStringLiteral("fodt/same")), copies.filter(QStringLiteral("/same/"))));
    QVERIFY(convert(dir, QStringLiteral("fodt"), dir.filePath(QStringLiteral("fodt/through-rtf")),
                    copies.filter(QStringLiteral("/through-rtf/"))));
    QVERIFY(convert(dir, QStringLiteral("fodt"), dir.filePath(QStringLiteral("fodt/through-word")),
                    copies.filter(QStringLiteral("/through-word/"))));
    QStringList failures;
    for (const QString &name : std::as_const(names)) {
        const QStringList theirs = features(dir.filePath(QStringLiteral("fodt/theirs/") + name + QStringLiteral(".fodt")));
        for (const QString &way : {QStringLiteral("same"), QStringLiteral("through-rtf"), QStringLiteral("through-word")}) {
            const QStringList ours = features(dir.filePath(QStringLiteral("fodt/%1/%2.fodt").arg(way, name)));
            const bool across = way != u"same";
            QStringList missing = lost(theirs, ours, !across ? Way::Same : way == u"through-rtf" ? Way::ThroughRtf : Way::ThroughWord);
            // Charts and other objects are kept for OpenDocument only: their tables go.
            if (across && hasObjects(dir.filePath(QStringLiteral("fodt/theirs/") + name + QStringLiteral(".fodt"))))
                missing.removeIf([](const QString &line) { return line.startsWith(QLatin1String("cell ")) || line == u"header rows"; });
            // RTF and Word have no list paragraphs without a number: they come back as indented
            // paragraphs.
            if (across)
                missing.removeIf([&](const QString &line) {
                    return std::any_of(unnumbered[name].cbegin(), unnumbered[name].cend(),
                                       [&](const QString &p) { return line.startsWith(p); });
                });
            if (!missing.isEmpty())
                failures << QStringLiteral("%1 (%2) lost: %3").arg(name, way, missing.join(QStringLiteral(" | ")));
        }
        if (name == u"report") { // what LibreOffice shows of the report, so the comparison means something
            for (const char *expected : {"header: Header text of / First page header", "footer: Footer text",
                                         "note footnote: 1 Note one text.", "note endnote: i Endnote text.", "list Two a: a ) ",
                                         "list Three: 1 . ", "list Roman four: i . 4", "span Cell B1 wide: 2x1",
                                         "span Cell A2 tall: 1x2", "header rows", "break before: After the page break.",
                                         "margins: 1.25in 1.25in 0.5in 0.5in"})
                QVERIFY2(std::any_of(theirs.cbegin(), theirs.cend(), [&](const QString &l) { return l.startsWith(QLatin1String(expected)); }),
                         qPrintable(QString::fromLatin1(expected) + QStringLiteral("\n") + theirs.join(u'\n')));
            const QStringList rtf = features(dir.filePath(QStringLiteral("fodt/through-rtf/report.fodt")));
            QVERIFY(rtf.contains(QStringLiteral("header: Header text of / First page header")));
            QVERIFY(rtf.contains(QStringLiteral("footer: Footer text")));
        }
    }
    for (const QString &name : std::as_const(renumbered))
        failures << name + QStringLiteral(": list items numbered otherwise");
    for (const QString &f : std::as_const(failures))
        qWarning("%s", qPrintable(f));
    QCOMPARE(failures.size(), 0);
}

QTEST_MAIN(TestInterop)
#include "tst_interop.moc"
