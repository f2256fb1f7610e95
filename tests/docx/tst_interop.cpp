// What LibreOffice reads from the Word files of the shared corpus, the program reads too; what the
// program writes (as Word, and as Word after RTF), LibreOffice reads back with the same text and
// structure as the original. Needs soffice; skipped where it is not installed.
#include "DocxFixtures.h"
#include "odt/OdtCodec.h"
#include "rtf/NumberText.h"
#include "rtf/RtfCodec.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

using namespace DocxFixtures;

namespace {

QString number(int n, QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListLowerAlpha: return NumberText::letters(n);
    case QTextListFormat::ListUpperAlpha: return NumberText::letters(n).toUpper();
    case QTextListFormat::ListLowerRoman: return NumberText::roman(n);
    case QTextListFormat::ListUpperRoman: return NumberText::roman(n).toUpper();
    default: return QString::number(n);
    }
}

// The text as the program shows it: each list item with its marker, made from the list's
// template ("%1.%2.") and the numbers of the levels of its list.
QString shownText(const QTextDocument &doc)
{
    struct Group
    {
        int numbers[9] = {};
        QTextListFormat::Style styles[9] = {};
    };
    QHash<QString, Group> groups;
    QStringList lines;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextList *list = b.textList();
        if (!list) {
            lines << b.text();
            continue;
        }
        const QTextListFormat f = list->format();
        const int level = qBound(0, f.indent() - 1, 8);
        QString key = f.stringProperty(TextFormats::kListGroupProperty);
        if (key.isEmpty())
            key = QString::number(quintptr(list));
        Group &g = groups[key];
        const int start = f.hasProperty(TextFormats::kListStartProperty) ? f.intProperty(TextFormats::kListStartProperty) : 1;
        g.numbers[level] = start + list->itemNumber(b);
        g.styles[level] = f.style();
        QString marker = f.hasProperty(TextFormats::kListNumberTemplateProperty)
                             ? f.stringProperty(TextFormats::kListNumberTemplateProperty)
                             : f.numberPrefix() + QStringLiteral("%") + QString::number(level + 1) + f.numberSuffix();
        for (int k = 8; k >= 0; --k)
            marker.replace(QStringLiteral("%") + QString::number(k + 1), number(qMax(1, g.numbers[k]), g.styles[k]));
        lines << marker + u' ' + b.text();
    }
    return lines.join(u'\n');
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

// The share of the words of `theirs` that `ours` has (as words, or run together where markup
// splits a word in one reading only).
double similarity(const QString &theirs, const QString &ours, QStringList *missing = nullptr)
{
    const QSet<QString> expected = words(theirs);
    if (expected.isEmpty())
        return 1.0;
    const QSet<QString> found = words(ours);
    QString squashed;
    for (const QChar c : ours)
        if (c.isLetterOrNumber())
            squashed += c;
    int have = 0;
    for (const QString &w : expected) {
        if (found.contains(w) || squashed.contains(w))
            ++have;
        else if (missing)
            *missing << w;
    }
    return double(have) / double(expected.size());
}

QString textFile(const QString &path)
{
    QString text = QString::fromUtf8(readFile(path));
    text.remove(QChar(0xFEFF));
    return text;
}

// What LibreOffice shows of a document, from the flat ODF it writes: page margins, headers,
// footers, notes, table cells (spans, borders, shading; not those of charts and other objects)
// and page breaks, one line each.
QStringList features(const QString &fodt)
{
    QFile file(fodt);
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("unreadable")};
    QXmlStreamReader xml(&file);
    QHash<QString, QStringList> styles; // paragraph and cell styles: their properties, sorted
    QHash<QString, QString> layouts;
    QString masterLayout, style, text, noteText, noteClass, partName, part;
    QStringList lines, cells;
    QList<QPair<QString, QString>> cellStack; // style, spans
    int inFrame = 0, inNote = 0, inPart = 0, inBody = 0, masterPages = 0;
    QList<QString> cellText;
    auto attr = [&](const char *name) { return xml.attributes().value(QLatin1String(name)).toString(); };
    while (!xml.atEnd()) {
        xml.readNext();
        const QString name = xml.qualifiedName().toString();
        if (xml.isStartElement()) {
            if (name == u"style:style" || name == u"style:page-layout") {
                style = attr("style:name");
            } else if (name == u"style:paragraph-properties" || name == u"style:table-cell-properties") {
                for (const QXmlStreamAttribute &a : xml.attributes()) {
                    const QString key = a.qualifiedName().toString(), value = a.value().toString();
                    if (key == u"fo:break-before" || key.startsWith(u"fo:border")
                        || (key == u"fo:background-color" && value != u"transparent"))
                        styles[style] << key + u'=' + value;
                }
            } else if (name == u"style:page-layout-properties") {
                layouts[style] = attr("fo:margin-left") + u' ' + attr("fo:margin-right") + u' ' + attr("fo:margin-top") + u' '
                               + attr("fo:margin-bottom") + u' ' + attr("fo:page-width") + u' ' + attr("fo:page-height");
            } else if (name == u"style:master-page") {
                if (masterLayout.isEmpty())
                    masterLayout = attr("style:page-layout-name");
                ++masterPages;
            } else if ((name.startsWith(u"style:header") || name.startsWith(u"style:footer")) && !name.endsWith(u"-style")) {
                ++inPart;
                partName = name.mid(6);
                part.clear();
            } else if (name == u"office:text") {
                ++inBody;
            } else if (name == u"draw:frame") {
                ++inFrame;
            } else if (name == u"text:note") {
                ++inNote;
                noteClass = attr("text:note-class");
                noteText.clear();
            } else if (name == u"table:table-cell" && !inFrame && inBody) {
                cellStack.append({attr("table:style-name"), attr("table:number-columns-spanned") + u'x'
                                                                 + attr("table:number-rows-spanned")});
                cellText.append(QString());
            } else if ((name == u"text:p" || name == u"text:h") && inBody && !inNote && !inFrame) {
                const QStringList props = styles.value(attr("text:style-name"));
                text.clear();
                if (props.contains(QStringLiteral("fo:break-before=page")))
                    style = QStringLiteral("#break");
                else
                    style.clear();
            } else if (name == u"text:s" || name == u"text:tab") {
                text += u' ';
            }
        } else if (xml.isCharacters()) {
            const QString chars = xml.text().toString();
            if (inPart)
                part += chars;
            else if (inNote)
                noteText += chars;
            else
                text += chars;
            if (!cellText.isEmpty() && !inNote)
                cellText.last() += chars;
        } else if (xml.isEndElement()) {
            if ((name.startsWith(u"style:header") || name.startsWith(u"style:footer")) && !name.endsWith(u"-style")) {
                --inPart;
                const QString said = part.remove(QRegularExpression(QStringLiteral("\\d"))).simplified();
                // Later sections' headers (other page styles) are kept for Word only.
                const QString line = (masterPages > 1 ? QStringLiteral("later ") : QString()) + partName + QStringLiteral(": ") + said;
                if (!said.isEmpty() && !lines.contains(line))
                    lines << line;
            } else if (name == u"office:text") {
                --inBody;
            } else if (name == u"draw:frame") {
                --inFrame;
            } else if (name == u"text:note") {
                --inNote;
                lines << QStringLiteral("note %1: %2").arg(noteClass, noteText.simplified());
            } else if (name == u"table:table-cell" && !cellStack.isEmpty() && !inFrame && inBody) {
                const auto [cellStyle, spans] = cellStack.takeLast();
                QStringList look = styles.value(cellStyle);
                look.sort();
                // Borders set to none are no borders (LibreOffice spells them out only for cells
                // that have a style).
                if (look == QStringList{QStringLiteral("fo:border=none")})
                    look.clear();
                lines << QStringLiteral("cell %1: %2 %3").arg(cellText.takeLast().simplified().left(40), spans, look.join(u' '));
            } else if ((name == u"text:p" || name == u"text:h") && style == u"#break") {
                lines << QStringLiteral("break before: ") + text.simplified().left(40);
                style.clear();
            }
        }
    }
    lines.prepend(QStringLiteral("margins: ") + layouts.value(masterLayout));
    return lines;
}

} // namespace

class TestInterop : public QObject
{
    Q_OBJECT

private slots:
    void corpusTextAsLibreOfficeReadsIt();
    void savedFilesKeepTheirStructure();
    void reportKeepsItsFeatures();
};

// (a) The text the program reads from each file of the corpus against LibreOffice's plain text.
void TestInterop::corpusTextAsLibreOfficeReadsIt()
{
    if (soffice().isEmpty())
        QSKIP("soffice is not installed");
    const QStringList corpus = corpusFiles();
    if (corpus.isEmpty())
        QSKIP("the shared Word corpus is not there");
    QTemporaryDir dir;
    QStringList inputs;
    for (qsizetype i = 0; i < corpus.size(); ++i) {
        const QString copy = dir.filePath(QStringLiteral("%1.docx").arg(i, 3, 10, QLatin1Char('0')));
        QVERIFY(QFile::copy(corpusDir() + u'/' + corpus[i], copy));
        inputs << copy;
    }
    QVERIFY(convert(dir, QStringLiteral("txt:Text (encoded):UTF8"), dir.filePath(QStringLiteral("txt")), inputs));
    int good = 0, compared = 0;
    QStringList report;
    for (qsizetype i = 0; i < corpus.size(); ++i) {
        const QString txt = dir.filePath(QStringLiteral("txt/%1.txt").arg(i, 3, 10, QLatin1Char('0')));
        if (!QFile::exists(txt))
            continue; // LibreOffice could not read it either
        ++compared;
        QTextDocument doc;
        try {
            DocxCodec::read(readFile(inputs[i]), doc);
        } catch (const PackageError &e) {
            report << QStringLiteral("0.000 %1 refused: %2").arg(corpus[i], e.reason());
            continue;
        }
        QStringList missing;
        const double s = similarity(textFile(txt), shownText(doc), &missing);
        good += s >= 0.99;
        report << QStringLiteral("%1 %2%3").arg(s, 0, 'f', 3).arg(corpus[i],
                                                                  missing.isEmpty() ? QString() : QStringLiteral(" missing: ") + missing.mid(0, 6).join(u' '));
    }
    qInfo("%s", qPrintable(report.join(u'\n')));
    qInfo("%d of %d files at 0.99 or more", good, compared);
    QVERIFY(compared >= 60);
    QVERIFY2(good >= 0.95 * compared, qPrintable(QStringLiteral("%1 of %2").arg(good).arg(compared)));
}

// (b) Each file of the corpus, saved as Word, and saved as Word after RTF, after OpenDocument and
// after both in turn: LibreOffice reads the same text and structure from it as from the original.
// (The document keeps the first section's headers and footers; those of later sections are kept
// for a save as Word only.)
void TestInterop::savedFilesKeepTheirStructure()
{
    if (soffice().isEmpty())
        QSKIP("soffice is not installed");
    const QStringList corpus = corpusFiles();
    if (corpus.isEmpty())
        QSKIP("the shared Word corpus is not there");
    QTemporaryDir dir;
    // Each reading in a folder of its own, under the same name.
    // Saved by the program as Word; as Word after RTF; as Word after OpenDocument; and along the
    // chain Word, OpenDocument, RTF, OpenDocument, Word.
    const QStringList kinds{QStringLiteral("original"), QStringLiteral("ours"), QStringLiteral("rtf"), QStringLiteral("odt"),
                            QStringLiteral("chain")};
    QHash<QString, QStringList> files;
    for (const QString &kind : kinds)
        QDir().mkpath(dir.filePath(kind));
    for (qsizetype i = 0; i < corpus.size(); ++i) {
        const QString name = QStringLiteral("%1.docx").arg(i, 3, 10, QLatin1Char('0'));
        const QByteArray bytes = readFile(corpusDir() + u'/' + corpus[i]);
        QTextDocument doc;
        DocxCodec::read(bytes, doc);
        QTextDocument viaRtf;
        RtfCodec::read(RtfCodec::write(doc), viaRtf);
        QTextDocument viaOdt;
        OdtCodec::read(OdtCodec::write(doc), viaOdt);
        QTextDocument chainRtf, chainOdt;
        RtfCodec::read(RtfCodec::write(viaOdt), chainRtf);
        OdtCodec::read(OdtCodec::write(chainRtf), chainOdt);
        const QByteArray written[] = {bytes, DocxCodec::write(doc), DocxCodec::write(viaRtf), DocxCodec::write(viaOdt),
                                      DocxCodec::write(chainOdt)};
        for (int k = 0; k < 5; ++k) {
            QFile out(dir.filePath(kinds[k] + u'/' + name));
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(written[k]);
            files[kinds[k]] << out.fileName();
        }
    }
    for (const QString &kind : kinds) {
        QVERIFY(convert(dir, QStringLiteral("fodt"), dir.filePath(kind + QStringLiteral("-fodt")), files[kind]));
        QVERIFY(convert(dir, QStringLiteral("txt:Text (encoded):UTF8"), dir.filePath(kind + QStringLiteral("-txt")), files[kind]));
    }
    QStringList lost;
    for (qsizetype i = 0; i < corpus.size(); ++i) {
        const QString base = QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0'));
        const QString originalTxt = dir.filePath(QStringLiteral("original-txt/") + base + QStringLiteral(".txt"));
        if (!QFile::exists(originalTxt))
            continue;
        const QStringList theirs = features(dir.filePath(QStringLiteral("original-fodt/") + base + QStringLiteral(".fodt")));
        for (const QString &kind : {QStringLiteral("ours"), QStringLiteral("rtf"), QStringLiteral("odt"), QStringLiteral("chain")}) {
            const QStringList ours = features(dir.filePath(kind + QStringLiteral("-fodt/") + base + QStringLiteral(".fodt")));
            QStringList missing;
            for (const QString &line : theirs)
                if (!ours.contains(line) && !(kind != u"ours" && line.startsWith(u"later ")))
                    missing << line;
            QStringList words;
            similarity(textFile(originalTxt), textFile(dir.filePath(kind + QStringLiteral("-txt/") + base + QStringLiteral(".txt"))), &words);
            if (!words.isEmpty())
                missing << QStringLiteral("words: ") + words.mid(0, 8).join(u' ');
            if (!missing.isEmpty())
                lost << QStringLiteral("%1 (%2): %3").arg(corpus[i], kind, missing.mid(0, 4).join(QStringLiteral(" | ")));
        }
    }
    QVERIFY2(lost.isEmpty(), qPrintable(lost.join(u'\n')));
}

// A report with what the issue lists (header and footer with a page number, notes, a list that
// starts at IV with a nested lettered one, merged cells with borders and shading, a page break,
// a right-to-left paragraph, 1.25 in side margins), saved by the program as Word and as Word
// after RTF: LibreOffice shows everything it shows of the original.
void TestInterop::reportKeepsItsFeatures()
{
    if (soffice().isEmpty())
        QSKIP("soffice is not installed");
    Package p;
    const QString header = p.add(QStringLiteral("header"), QStringLiteral("word/header1.xml"),
        part("hdr", "<w:p><w:r><w:t xml:space=\"preserve\">Header text </w:t></w:r><w:fldSimple w:instr=\"PAGE\"><w:r><w:t>1</w:t></w:r></w:fldSimple></w:p>"));
    const QString footer = p.add(QStringLiteral("footer"), QStringLiteral("word/footer1.xml"),
        part("ftr", "<w:p><w:r><w:t>Footer text</w:t></w:r></w:p>"));
    p.add(QStringLiteral("footnotes"), QStringLiteral("word/footnotes.xml"), part("footnotes",
        "<w:footnote w:id=\"1\"><w:p><w:r><w:footnoteRef/></w:r><w:r><w:t xml:space=\"preserve\"> Note one text.</w:t></w:r></w:p></w:footnote>"
        "<w:footnote w:id=\"2\"><w:p><w:r><w:footnoteRef/></w:r><w:r><w:t xml:space=\"preserve\"> Note two text.</w:t></w:r></w:p></w:footnote>"));
    p.add(QStringLiteral("numbering"), QStringLiteral("word/numbering.xml"), part("numbering",
        "<w:abstractNum w:abstractNumId=\"0\"><w:lvl w:ilvl=\"0\"><w:start w:val=\"4\"/><w:numFmt w:val=\"upperRoman\"/><w:lvlText w:val=\"%1.\"/>"
        "<w:pPr><w:ind w:left=\"720\" w:hanging=\"360\"/></w:pPr></w:lvl><w:lvl w:ilvl=\"1\"><w:start w:val=\"1\"/><w:numFmt w:val=\"lowerLetter\"/>"
        "<w:lvlText w:val=\"%2)\"/><w:pPr><w:ind w:left=\"1440\" w:hanging=\"360\"/></w:pPr></w:lvl></w:abstractNum>"
        "<w:num w:numId=\"1\"><w:abstractNumId w:val=\"0\"/></w:num>"));
    auto item = [](int level, const char *text) {
        return QByteArray("<w:p><w:pPr><w:numPr><w:ilvl w:val=\"") + QByteArray::number(level)
             + "\"/><w:numId w:val=\"1\"/></w:numPr></w:pPr><w:r><w:t>" + text + "</w:t></w:r></w:p>";
    };
    auto cell = [](const QByteArray &props, const char *text) {
        return "<w:tc><w:tcPr>" + props + "</w:tcPr><w:p><w:r><w:t>" + QByteArray(text) + "</w:t></w:r></w:p></w:tc>";
    };
    const QByteArray border = "<w:tcBorders><w:top w:val=\"single\" w:sz=\"4\" w:color=\"FF0000\"/><w:left w:val=\"single\" w:sz=\"4\" w:color=\"FF0000\"/>"
                              "<w:bottom w:val=\"single\" w:sz=\"12\" w:color=\"0000FF\"/><w:right w:val=\"single\" w:sz=\"4\" w:color=\"FF0000\"/></w:tcBorders>";
    p.body = "<w:p><w:r><w:t>Report title</w:t></w:r></w:p>"
             "<w:p><w:r><w:t>First paragraph with a note</w:t></w:r><w:r><w:rPr><w:vertAlign w:val=\"superscript\"/></w:rPr><w:footnoteReference w:id=\"1\"/></w:r>"
             "<w:r><w:t xml:space=\"preserve\"> and another</w:t></w:r><w:r><w:rPr><w:vertAlign w:val=\"superscript\"/></w:rPr><w:footnoteReference w:id=\"2\"/></w:r></w:p>"
             + item(0, "Roman four") + item(1, "Four a") + item(1, "Four b") + item(0, "Roman five")
             + "<w:tbl><w:tblGrid><w:gridCol w:w=\"2000\"/><w:gridCol w:w=\"2000\"/><w:gridCol w:w=\"2000\"/></w:tblGrid>"
               "<w:tr>" + cell("<w:gridSpan w:val=\"2\"/>" + border + "<w:shd w:val=\"clear\" w:fill=\"FFCC00\"/>", "Wide cell")
             + cell("<w:vMerge w:val=\"restart\"/>" + border, "Tall cell") + "</w:tr>"
               "<w:tr>" + cell(border, "Cell A2") + cell(border, "Cell B2") + cell("<w:vMerge/>" + border, "") + "</w:tr></w:tbl>"
               "<w:p><w:pPr><w:pageBreakBefore/></w:pPr><w:r><w:t>After the page break.</w:t></w:r></w:p>"
               "<w:p><w:pPr><w:bidi/><w:jc w:val=\"right\"/></w:pPr><w:r><w:rPr><w:rtl/></w:rPr><w:t>\xd7\xa9\xd7\x9c\xd7\x95\xd7\x9d \xd7\xa2\xd7\x95\xd7\x9c\xd7\x9d</w:t></w:r></w:p>"
               "<w:sectPr><w:headerReference w:type=\"default\" r:id=\"" + header.toUtf8() + "\"/><w:footerReference w:type=\"default\" r:id=\"" + footer.toUtf8() + "\"/>"
               "<w:pgSz w:w=\"12240\" w:h=\"15840\"/><w:pgMar w:top=\"1440\" w:right=\"1800\" w:bottom=\"1440\" w:left=\"1800\" w:header=\"720\" w:footer=\"720\"/></w:sectPr>";
    const QByteArray original = p.make();
    QTextDocument doc;
    DocxCodec::read(original, doc);
    QTextDocument viaRtf;
    RtfCodec::read(RtfCodec::write(doc), viaRtf);
    QTemporaryDir dir;
    const QStringList kinds{QStringLiteral("original"), QStringLiteral("ours"), QStringLiteral("rtf")};
    const QByteArray written[] = {original, DocxCodec::write(doc), DocxCodec::write(viaRtf)};
    QStringList files;
    for (int k = 0; k < 3; ++k) {
        QFile out(dir.filePath(kinds[k] + QStringLiteral(".docx")));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(written[k]);
        files << out.fileName();
    }
    QVERIFY(convert(dir, QStringLiteral("fodt"), dir.path(), files));
    QVERIFY(convert(dir, QStringLiteral("txt:Text (encoded):UTF8"), dir.path(), files));
    const QStringList theirs = features(dir.filePath(QStringLiteral("original.fodt")));
    // What LibreOffice shows of the original, so that the comparison means something.
    for (const char *expected : {"header: Header text", "footer: Footer text", "note footnote: 1 Note one text.",
                                 "note footnote: 2 Note two text.", "break before: After the page break.",
                                 "margins: 1.25in 1.25in 0.5in 0.5in 8.5in 11in"})
        QVERIFY2(theirs.contains(QLatin1String(expected)), qPrintable(expected + QStringLiteral("\n") + theirs.join(u'\n')));
    QVERIFY(std::any_of(theirs.cbegin(), theirs.cend(), [](const QString &l) { return l.startsWith(u"cell Wide cell: 2x") && l.contains(u"#ffcc00"); }));
    QVERIFY(std::any_of(theirs.cbegin(), theirs.cend(), [](const QString &l) { return l.startsWith(u"cell Tall cell: x2"); }));
    const QString originalText = textFile(dir.filePath(QStringLiteral("original.txt")));
    QVERIFY2(originalText.contains(u"IV. Roman four") && originalText.contains(u"V. Roman five") && originalText.contains(u"b) Four b"),
             qPrintable(originalText));
    for (const QString &kind : {QStringLiteral("ours"), QStringLiteral("rtf")}) {
        const QStringList ours = features(dir.filePath(kind + QStringLiteral(".fodt")));
        for (const QString &line : theirs)
            QVERIFY2(ours.contains(line), qPrintable(kind + QStringLiteral(" lost: ") + line + u'\n' + ours.join(u'\n')));
        const QString text = textFile(dir.filePath(kind + QStringLiteral(".txt")));
        for (const char *line : {"IV. Roman four", "a) Four a", "b) Four b", "V. Roman five"})
            QVERIFY2(text.contains(QLatin1String(line)), qPrintable(kind + QStringLiteral(" lost: ") + QLatin1String(line) + u'\n' + text));
    }
}

QTEST_MAIN(TestInterop)
#include "tst_interop.moc"
