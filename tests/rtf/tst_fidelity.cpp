// What a document carries beyond text and simple formatting is read, kept in the QTextDocument,
// written back, and read again the same: one fixture per feature. Also the helpers that printing
// and editing use (headers for a page, notes).
#include "RtfFixtures.h"
#include "rtf/DocumentExtras.h"
#include "rtf/HeaderFooter.h"
#include "rtf/KeptRtf.h"
#include "rtf/ListMarkers.h"
#include "rtf/Notes.h"
#include "rtf/TextFormats.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QtTest>
#include <cmath>

using namespace RtfFixtures;

namespace {

QByteArray doc(const QByteArray &body)
{
    return "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset128 MS Mincho;}}{\\colortbl;\\red255\\green0\\blue0;"
           "\\red0\\green0\\blue255;}" + body + "}";
}

// Kept RTF without its id, which differs from reading to reading.
QString keptText(const QString &kept)
{
    QStringList parts;
    for (const QString &part : KeptRtf::split(kept)) {
        const KeptRtf::Parts p = KeptRtf::parse(part);
        QStringList fonts;
        for (const KeptRtf::Font &f : p.fonts)
            fonts << QStringLiteral("%1/%2").arg(f.name).arg(f.charset) + (f.codePage > 0 ? QStringLiteral("/%1").arg(f.codePage) : QString());
        QStringList colors;
        for (const QColor &c : p.colors)
            colors << (c.isValid() ? c.name() : QStringLiteral("auto"));
        parts << QString::fromLatin1(p.content) + u'[' + fonts.join(u',') + u'|' + colors.join(u',') + u']';
    }
    return parts.join(u' ');
}

QString describeCell(const QTextTableCell &cell)
{
    const QTextTableCellFormat f = cell.format().toTableCellFormat();
    QString d = QStringLiteral("cell %1,%2").arg(cell.row()).arg(cell.column());
    if (f.hasProperty(QTextFormat::TableCellTopBorderStyle))
        d += QStringLiteral(" borders %1/%2 %3/%4 %5/%6 %7/%8")
                 .arg(f.topBorderStyle()).arg(std::lround(TextFormats::pixelsToTwips(f.topBorder())))
                 .arg(f.leftBorderStyle()).arg(std::lround(TextFormats::pixelsToTwips(f.leftBorder())))
                 .arg(f.bottomBorderStyle()).arg(std::lround(TextFormats::pixelsToTwips(f.bottomBorder())))
                 .arg(f.rightBorderStyle()).arg(std::lround(TextFormats::pixelsToTwips(f.rightBorder())));
    if (f.hasProperty(QTextFormat::TableCellBottomBorderBrush))
        d += QStringLiteral(" bottom ") + f.bottomBorderBrush().color().name();
    if (f.hasProperty(QTextFormat::BackgroundBrush))
        d += QStringLiteral(" fill ") + f.background().color().name();
    if (f.hasProperty(QTextFormat::TextVerticalAlignment))
        d += QStringLiteral(" valign %1").arg(int(f.verticalAlignment()));
    if (f.hasProperty(QTextFormat::TableCellLeftPadding))
        d += QStringLiteral(" padl %1").arg(std::lround(TextFormats::pixelsToTwips(f.leftPadding())));
    if (f.hasProperty(TextFormats::kRowHeightProperty))
        d += QStringLiteral(" height %1").arg(f.intProperty(TextFormats::kRowHeightProperty));
    if (cell.rowSpan() > 1 || cell.columnSpan() > 1)
        d += QStringLiteral(" span %1x%2").arg(cell.rowSpan()).arg(cell.columnSpan());
    if (f.boolProperty(TextFormats::kGridFillerProperty))
        d += QStringLiteral(" filler");
    if (f.hasProperty(TextFormats::kCellHorizontalMergeProperty))
        d += QStringLiteral(" merged");
    return d;
}

// One line per thing the document keeps beyond plain text, in document order.
QStringList describe(const QTextDocument &d)
{
    QStringList lines;
    if (const DocumentExtras *x = DocumentExtras::find(d)) {
        if (const auto &p = x->pageSetup())
            lines << QStringLiteral("page %1x%2 margins %3 %4 %5 %6 landscape %7")
                         .arg(p->paperWidth).arg(p->paperHeight).arg(p->marginLeft).arg(p->marginRight)
                         .arg(p->marginTop).arg(p->marginBottom).arg(p->landscape);
        for (int k = 0; k < HeaderFooter::kKinds; ++k)
            if (const auto part = HeaderFooter::document(d, HeaderFooter::Kind(k)))
                lines << QStringLiteral("%1: %2").arg(QLatin1String(HeaderFooter::word(HeaderFooter::Kind(k))),
                                                      part->toPlainText());
        if (x->titlePage() || x->facingPages())
            lines << QStringLiteral("titlepg %1 facingp %2").arg(x->titlePage()).arg(x->facingPages());
        if (const auto &n = x->noteSettings())
            lines << QStringLiteral("notes %1 %2 from %3").arg(n->footnoteFormat).arg(n->endnoteFormat).arg(n->footnoteStart);
        for (const DocumentStyle &s : x->styles())
            lines << QStringLiteral("style %1 %2 '%3' based %4 bold %5 size %6")
                         .arg(s.kind).arg(s.number).arg(s.name).arg(s.basedOn).arg(TextFormats::isBold(s.charFormat))
                         .arg(s.charFormat.fontPointSize());
        for (auto it = x->info().texts.cbegin(); it != x->info().texts.cend(); ++it)
            lines << QStringLiteral("info %1: %2").arg(it.key(), it.value());
        for (auto it = x->info().dates.cbegin(); it != x->info().dates.cend(); ++it)
            lines << QStringLiteral("info %1: %2").arg(it.key(), it.value().toString(Qt::ISODate));
        if (!x->keptHead().isEmpty())
            lines << QStringLiteral("head ") + keptText(x->keptHead());
    }
    for (QTextBlock b = d.begin(); b.isValid(); b = b.next()) {
        const QTextBlockFormat bf = b.blockFormat();
        QString p = QStringLiteral("P");
        if (bf.hasProperty(TextFormats::kParagraphStyleProperty))
            p += QStringLiteral(" style '%1'").arg(bf.stringProperty(TextFormats::kParagraphStyleProperty));
        if (bf.layoutDirection() == Qt::RightToLeft)
            p += QStringLiteral(" rtl");
        if (bf.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            p += QStringLiteral(" break");
        if (const QTextList *list = b.textList()) {
            const QTextListFormat lf = list->format();
            p += QStringLiteral(" list %1 level %2 '%3'#'%4' start %5")
                     .arg(lf.style()).arg(lf.indent()).arg(lf.numberPrefix(), lf.numberSuffix())
                     .arg(lf.hasProperty(TextFormats::kListStartProperty) ? lf.intProperty(TextFormats::kListStartProperty) : 1);
        }
        if (QTextFrame *frame = d.frameAt(b.position()); frame && frame->frameFormat().hasProperty(TextFormats::kShapeProperty))
            p += QStringLiteral(" float %1").arg(frame->frameFormat().position());
        if (QTextTable *table = qobject_cast<QTextTable *>(d.frameAt(b.position()))) {
            const QTextTableCell cell = table->cellAt(b.position());
            if (cell.firstPosition() == b.position())
                p += u' ' + describeCell(cell) + QStringLiteral(" header rows %1").arg(table->format().headerRowCount());
            if (cell.row() == 0 && cell.column() == 0 && cell.firstPosition() == b.position()) {
                QStringList widths;
                for (const QTextLength &w : table->format().columnWidthConstraints())
                    widths << QString::number(std::lround(TextFormats::pixelsToTwips(w.rawValue())));
                p += QStringLiteral(" table %1x%2 widths %3").arg(table->rows()).arg(table->columns()).arg(widths.join(u','));
            }
        }
        if (bf.hasProperty(TextFormats::kKeptRtfProperty) || b.charFormat().hasProperty(TextFormats::kKeptRtfProperty))
            p += QStringLiteral(" ends with ") + keptText(b.charFormat().stringProperty(TextFormats::kKeptRtfProperty));
        lines << p;
        for (QTextBlock::iterator it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            QString r = QStringLiteral("  [%1]").arg(it.fragment().text());
            if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
                r += QStringLiteral(" super");
            if (f.hasProperty(TextFormats::kNoteProperty))
                r += QStringLiteral(" note%1 '%2'").arg(f.intProperty(TextFormats::kNoteKindProperty)).arg(Notes::plainText(f, it.fragment().text()));
            if (f.hasProperty(TextFormats::kAutoTextProperty))
                r += QStringLiteral(" auto ") + f.stringProperty(TextFormats::kAutoTextProperty);
            if (f.hasProperty(TextFormats::kFieldsProperty))
                for (const QString &field : KeptRtf::split(f.stringProperty(TextFormats::kFieldsProperty)))
                    r += QStringLiteral(" field '%1'").arg(KeptRtf::fieldInstruction(field));
            if (f.hasProperty(TextFormats::kKeptRtfProperty))
                r += QStringLiteral(" after ") + keptText(f.stringProperty(TextFormats::kKeptRtfProperty));
            if (f.hasProperty(TextFormats::kShownOnlyProperty))
                r += QStringLiteral(" shows ") + keptText(f.stringProperty(TextFormats::kShownOnlyProperty));
            if (f.hasProperty(TextFormats::kCharacterStyleProperty))
                r += QStringLiteral(" cstyle '%1'").arg(f.stringProperty(TextFormats::kCharacterStyleProperty));
            if (f.isAnchor())
                r += QStringLiteral(" link ") + f.anchorHref();
            lines << r;
        }
    }
    return lines;
}

QString lines(const QStringList &l) { return l.join(u'\n'); }

// A table whose rows have cells of their own: four header cells over nine body cells, a group
// row merged across, rows that start inside the grid with a cell merged down, a cell of no width.
const QByteArray kShapedRows =
    "\\trowd\\trgaph108\\cellx2000\\cellx4000\\cellx6000\\cellx8000\\pard\\intbl H1\\cell H2\\cell H3\\cell H4\\cell\\row"
    "\\trowd\\trgaph108\\cellx1000\\cellx2000\\cellx3000\\cellx4000\\cellx5000\\cellx6000\\cellx7000\\cellx8000\\cellx9000"
    "\\pard\\intbl 1\\cell 2\\cell 3\\cell 4\\cell 5\\cell 6\\cell 7\\cell 8\\cell 9\\cell\\row"
    "\\trowd\\trgaph108\\clmgf\\cellx3000\\clmrg\\cellx6000\\clmrg\\cellx9000\\pard\\intbl Placebo\\cell\\cell\\cell\\row"
    "\\trowd\\trgaph108\\trleft2000\\clvmgf\\cellx5000\\cellx9000\\pard\\intbl V\\cell x\\cell\\row"
    "\\trowd\\trgaph108\\trleft2000\\clvmrg\\cellx5000\\cellx9000\\pard\\intbl\\cell y\\cell\\row"
    "\\trowd\\trgaph108\\cellx1000\\cellx1000\\cellx9000\\pard\\intbl a\\cell\\cell b\\cell\\row\\pard after\\par";

// Each row's definition as RTF words: its left edge and its cells' merges and right edges.
QStringList rowDefinitions(const QByteArray &rtf)
{
    static const QRegularExpression word(QStringLiteral("\\\\(trowd|trleft|clmgf|clmrg|clvmgf|clvmrg|cellx)(-?\\d*)"));
    QStringList rows;
    for (auto it = word.globalMatch(QString::fromLatin1(rtf)); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(1) == u"trowd")
            rows << QString();
        else if (!rows.isEmpty())
            rows.last() += m.captured(1) + m.captured(2) + u' ';
    }
    return rows;
}

} // namespace

class TestFidelity : public QObject
{
    Q_OBJECT

private slots:
    void featureSurvivesRoundTrip_data();
    void featureSurvivesRoundTrip();
    void footnoteMarkStaysInTheText();
    void headerAndFooterForEachPage();
    void footerInsideHeaderIsWrittenBack();
    void notesInOrderOfTheirMarks();
    void levelWithoutNumberShowsNoMarker();
    void floatingPictureStandsBesideTheText_data();
    void floatingPictureStandsBesideTheText();
    void raisedTextIsClosedForOtherReaders();
    void pageBreaksEndListsAndTables();
    void editedStylesAndFieldsAreWritten();
    void rowsAreWrittenWithTheirOwnCells();
    void listsNumberAsTheFileSays();
    void markerTakesTheLookOfItsText();
};

void TestFidelity::featureSurvivesRoundTrip_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QStringList>("expected"); // lines the reading must show

    QTest::newRow("headers and footers")
        << doc("\\facingp\\titlepg{\\header\\pard all {\\b bold}\\par}{\\headerl\\pard left\\par}{\\headerr\\pard right\\par}"
               "{\\headerf\\pard first\\par}{\\footer\\pard Page {\\field{\\*\\fldinst PAGE}{\\fldrslt 1}} of "
               "{\\field{\\*\\fldinst NUMPAGES}{\\fldrslt 9}}\\par}\\pard body\\par")
        << QStringList{"header: all bold", "headerl: left", "headerr: right", "headerf: first", "footer: Page 1 of 9",
                       "titlepg 1 facingp 1"};
    QTest::newRow("footnotes and endnotes")
        << doc("\\aftnnrlc\\ftnstart3\\pard Text{\\super\\chftn}{\\*\\footnote\\pard{\\super\\chftn} Note {\\b one}.} and"
               "{\\super\\chftn}{\\*\\footnote\\ftnalt\\pard End note.}.\\par")
        << QStringList{"notes 0 3 from 3", "  [3] super note0 '3 Note one.' auto chftn",
                       "  [i] super note1 'End note.' auto chftn"};
    QTest::newRow("styles")
        << doc("{\\stylesheet{\\s0 Normal;}{\\s1\\sbasedon0\\snext0\\b\\fs32 heading 1;}{\\s2\\sbasedon1\\i Sub;}"
               "{\\*\\cs10\\ul Emphasis;}{\\s5\\sbasedon6 Loop A;}{\\s6\\sbasedon5 Loop B;}{\\s7\\sbasedon7 Self;}}"
               "\\pard\\s2 Title\\par\\pard\\s1 {\\cs10 stressed} plain\\par\\pard\\s5 looped\\par\\pard\\s9 missing\\par")
        << QStringList{"style 0 1 'heading 1' based 0 bold 1 size 16", "style 0 2 'Sub' based 1 bold 1 size 16",
                       "P style 'Sub'", "  [stressed] cstyle 'Emphasis'", "P style 'Loop A'", "P"};
    QTest::newRow("numbered lists")
        << doc("{\\*\\listtable{\\list{\\listlevel\\levelnfc0\\levelstartat4{\\leveltext\\'03(\\'00);}{\\levelnumbers\\'02;}}"
               "{\\listlevel\\levelnfc4{\\leveltext\\'02\\'01);}}{\\listlevel\\levelnfc2{\\leveltext\\'04\\'00.\\'02.;}}"
               "\\listid7}}{\\*\\listoverridetable{\\listoverride\\listid7\\ls1}}"
               "\\pard\\ls1 four\\par\\pard\\ls1\\ilvl1 sub\\par\\pard\\ls1\\ilvl2 deep\\par\\pard\\ls1 five\\par")
        << QStringList{"P list -4 level 1 '('#')' start 4", "P list -5 level 2 ''#')' start 1",
                       "P list -7 level 3 ''#'.' start 1"};
    QTest::newRow("older list form")
        << doc("\\pard{\\*\\pn\\pnlvlbody\\pnucrm\\pnstart5{\\pntxta .}}five\\par\\pard{\\*\\pn\\pnlvlbody\\pnucrm\\pnstart5"
               "{\\pntxta .}}six\\par")
        << QStringList{"P list -8 level 1 ''#'.' start 5"};
    QTest::newRow("older list items in groups of their own")
        << doc("{{\\*\\pn\\pnlvlbody\\pndec\\pnstart1\\pnindent360{\\pntxta.}}\\li360\\fi-360{\\pntext 1.\\tab}First item}\\par"
               "{{\\*\\pn\\pnlvlbody\\pndec\\pnstart1\\pnindent360{\\pntxta.}}\\li360\\fi-360{\\pntext 2.\\tab}Second item}\\par"
               "\\pard After\\par")
        << QStringList{"P list -4 level 1 ''#'.' start 1\n  [First item]", "P list -4 level 1 ''#'.' start 1\n  [Second item]",
                       "P\n  [After]"};
    QTest::newRow("table borders, shading and rows")
        << doc("\\trowd\\trgaph108\\trhdr\\trrh-400\\clvertalc\\clbrdrt\\brdrs\\brdrw20\\brdrcf1\\clbrdrb\\brdrdb\\brdrw30"
               "\\brdrcf2\\clcbpat2\\clpadl100\\clpadfl3\\cellx2000\\clcbpat1\\clcfpat2\\clshdng5000\\cellx4000"
               "\\pard\\intbl head\\cell two\\cell\\row\\trowd\\cellx2000\\cellx4000\\pard\\intbl a\\cell b\\cell\\row")
        << QStringList{"P cell 0,0 borders 3/20 0/0 4/30 0/0 bottom #0000ff fill #0000ff valign 3 padl 100 height -400 header rows 1",
                       "P cell 0,1 fill #800080 height -400 header rows 1"};
    QTest::newRow("rows of different shapes")
        << doc(kShapedRows)
        << QStringList{"P cell 0,0 span 1x3 header rows 0 table 6x10 widths 1000,0,1000,1000,1000,1000,1000,1000,1000,1000",
                       "P cell 0,7 span 1x2 header rows 0", "P cell 0,9 borders 0/0 0/0 0/0 0/0 filler", // ends before the others
                       "P cell 2,0 span 1x10 merged", "P cell 3,0 borders 0/0 0/0 0/0 0/0 span 1x3 filler",
                       "P cell 3,3 span 2x3", "P cell 5,1 header rows 0"}; // a cell of no width
    QTest::newRow("nested tables")
        << doc("\\trowd\\cellx3000\\cellx6000\\pard\\intbl outer\\cell"
               "\\pard\\intbl\\itap2 n1\\nestcell n2\\nestcell{\\*\\nesttableprops\\trowd\\cellx1000\\cellx2500\\nestrow}{\\nonesttables\\par}"
               "\\pard\\intbl\\itap2 n3\\nestcell{\\*\\nesttableprops\\trowd\\cellx2500\\nestrow}{\\nonesttables\\par}"
               "\\pard\\intbl\\itap1 below\\cell\\row"
               "\\trowd\\cellx3000\\cellx6000\\pard\\intbl c\\cell d\\cell\\row\\pard after\\par")
        << QStringList{"P cell 0,0 header rows 0 table 2x2 widths 3000,3000", "P cell 0,0 header rows 0 table 2x2 widths 1000,1500",
                       "  [n3]", "P cell 1,0 span 1x2 header rows 0"};
    QTest::newRow("page set-up")
        << doc("\\paperw15840\\paperh12240\\margl1800\\margr1700\\margt1000\\margb900\\landscape\\pard x\\par")
        << QStringList{"page 15840x12240 margins 1800 1700 1000 900 landscape 1"};
    QTest::newRow("page breaks")
        << doc("\\pard one\\par\\page\\pard two\\par\\pard\\pagebb three\\par")
        << QStringList{"P break\n  [two]", "P break\n  [three]"};
    QTest::newRow("right to left")
        << doc("\\pard\\rtlpar\\qr \\u1513?\\u1500?\\par\\pard\\ltrpar left\\par")
        << QStringList{"P rtl\n  [\u05e9\u05dc]", "P\n  [left]"};
    QTest::newRow("document information")
        << doc("{\\info{\\title Report}{\\author A. Writer}{\\company Firm}{\\creatim\\yr2021\\mo3\\dy4\\hr5\\min6}}\\pard x\\par")
        << QStringList{"info title: Report", "info author: A. Writer", "info company: Firm", "info creatim: 2021-03-04T05:06:00"};
    QTest::newRow("fields and bookmarks")
        << doc("\\pard {\\*\\bkmkstart mark}Seen{\\*\\bkmkend mark} on page {\\field\\flddirty{\\*\\fldinst PAGEREF mark}"
               "{\\fldrslt 2}}, see {\\field{\\*\\fldinst REF mark \\\\h}}.\\par"
               "\\pard{\\field{\\*\\fldinst TOC \\\\o}{\\fldrslt first\\par\\pard second}}\\par")
        << QStringList{"  [Seen] after {\\*\\bkmkstart mark}[|]", "  [2] field 'PAGEREF mark'",
                       "  [.] after {\\field{\\*\\fldinst REF mark \\\\h}}[|]", "  [first] field 'TOC \\o'",
                       "  [second] field 'TOC \\o'"};
    QTest::newRow("fields that show their value")
        << doc("\\pard {\\field{\\*\\fldinst SYMBOL 65 \\\\f \"Symbol\" \\\\s 12}{\\fldrslt}}"
               "{\\field{\\*\\fldinst SYMBOL 0xB7 \\\\f Symbol}} {\\field{\\*\\fldinst DATE \\\\@ \"'year' yyyy\"}}"
               " p{\\field{\\*\\fldinst PAGE}{\\fldrslt }}\\par")
        << QStringList{QStringLiteral("  [\u0391] field 'SYMBOL 65 \\f \"Symbol\" \\s 12'"),
                       QStringLiteral("  [\u2022] field 'SYMBOL 0xB7 \\f Symbol'"),
                       QStringLiteral("  [year %1] field 'DATE \\@ \"'year' yyyy\"'").arg(QDate::currentDate().year()),
                       QStringLiteral("  [1] field 'PAGE'")};
    QTest::newRow("kept groups keep their fonts and colours")
        << doc("\\pard a{\\*\\unknown {\\f1\\cf2 \\'82\\'a0}}b\\par{\\*\\other x}")
        << QStringList{"  [b] after {\\*\\unknown{\\f0\\cf1\\'82\\'a0}}[MS Mincho/128|auto,#0000ff]",
                       "ends with {\\*\\other x}[|]"};
    // Kept text stays in the code page it was read in: the document's is not the one written.
    QTest::newRow("kept text in the document's code page")
        << doc("\\ansicpg1251\\pard a{\\*\\bkmkstart \\'c0\\'c1}b\\par")
        << QStringList{"  [b] after {\\*\\bkmkstart\\f0\\'c0\\'c1}[Arial/0/1251|]"};
    QTest::newRow("hidden text")
        << doc("\\pard shown {\\v secret} more\\par")
        << QStringList{"  [ more] after {\\plain\\v\\f0\\fs24 secret}[Arial/0|]"};
    QTest::newRow("field and picture in hidden text stay hidden")
        << doc("\\pard a{\\v {\\field{\\*\\fldinst PAGE}{\\fldrslt 3}}{\\pict\\pngblip 89504e47}}b\\par")
        << QStringList{"  [b] after {\\v{\\field{\\*\\fldinst PAGE}{\\fldrslt 3}}}{\\v{\\pict\\pngblip 89504e47}}[|]"};
    QTest::newRow("text box and drawing")
        << doc("\\pard before {\\shp{\\*\\shpinst\\shpleft0\\shpright900{\\sp{\\sn shapeType}{\\sv 202}}"
               "{\\shptxt\\pard boxed {\\b text}\\par}}} after\\par")
        << QStringList{"  [boxed ] shows {\\shp{\\*\\shpinst\\shpleft0\\shpright900{\\sp{\\sn shapeType}{\\sv 202}}"
                       "{\\shptxt\\pard boxed {\\b text}\\par}}}[|]"};
    QTest::newRow("object with a result")
        << doc("\\pard {\\object\\objemb\\objw100{\\*\\objclass Paint}{\\*\\objdata 0102}{\\result shown}}\\par")
        << QStringList{"  [shown] field ''"};
}

void TestFidelity::featureSurvivesRoundTrip()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QStringList, expected);
    const auto first = read(rtf);
    const QString described = lines(describe(*first));
    for (const QString &line : expected)
        QVERIFY2(described.contains(line), qPrintable(line + QStringLiteral("\n--- in ---\n") + described));
    const QByteArray written = RtfCodec::write(*first);
    const auto second = read(written);
    QCOMPARE(lines(describe(*second)), described);
    QCOMPARE(RtfCodec::write(*second), written);
}

void TestFidelity::footnoteMarkStaysInTheText()
{
    // The note's text is not in the body; its mark is, as the note's number.
    const auto d = read(doc("a{\\super\\chftn}{\\footnote\\pard note}b"));
    QCOMPARE(d->toPlainText(), QStringLiteral("a1b"));
    QCOMPARE(Notes::plainText(formatOf(*d, QStringLiteral("1"))), QStringLiteral("note"));
}

void TestFidelity::headerAndFooterForEachPage()
{
    const auto d = read(doc("\\titlepg\\facingp{\\headerf\\pard cover\\par}{\\headerl\\pard left \\chpgn\\par}"
                            "{\\headerr\\pard right {\\field{\\*\\fldinst PAGE}{\\fldrslt 1}} of "
                            "{\\field{\\*\\fldinst NUMPAGES}{\\fldrslt 1}}\\par}{\\footer\\pard foot\\par}\\pard x\\par"));
    auto text = [&](bool header, int page) {
        const auto part = HeaderFooter::documentForPage(*d, header, page, 12);
        return part ? part->toPlainText() : QStringLiteral("(none)");
    };
    QCOMPARE(text(true, 1), QStringLiteral("cover"));
    QCOMPARE(text(true, 2), QStringLiteral("left 2"));
    QCOMPARE(text(true, 11), QStringLiteral("right 11 of 12"));
    QCOMPARE(text(false, 1), QStringLiteral("(none)")); // a first page of its own, without a footer
    QCOMPARE(text(false, 3), QStringLiteral("foot"));
    // An edited header is stored back and written with the document.
    QTextDocument edited;
    QTextCursor(&edited).insertText(QStringLiteral("new cover"));
    DocumentExtras::of(*d).setHeaderFooter(HeaderFooter::HeaderFirst, edited);
    QCOMPARE(text(true, 1), QStringLiteral("new cover"));
    const auto back = read(RtfCodec::write(*d));
    QCOMPARE(HeaderFooter::documentForPage(*back, true, 1, 1)->toPlainText(), QStringLiteral("new cover"));
}

void TestFidelity::footerInsideHeaderIsWrittenBack()
{
    // RTF has no place for it, but a file may have one: saving keeps it.
    const auto d = read(doc("{\\header\\pard a{\\footer\\pard inner\\par}c\\par}\\pard x\\par"));
    const QByteArray written = RtfCodec::write(*d);
    const qsizetype footer = written.indexOf("{\\footer");
    QVERIFY(footer > 0 && written.indexOf(" inner", footer) > footer);
}

void TestFidelity::notesInOrderOfTheirMarks()
{
    const auto d = read(doc("\\pard one{\\super\\chftn}{\\*\\footnote\\pard First.}{\\super\\chftn}"
                            "{\\*\\footnote\\ftnalt\\pard Last.} two{\\super *}{\\*\\footnote\\pard Starred.}\\par"));
    const QList<Notes::Reference> notes = Notes::references(*d);
    QCOMPARE(notes.size(), 3);
    QCOMPARE(notes[0].mark, QStringLiteral("1"));
    QCOMPARE(notes[0].kind, NoteSettings::Footnote);
    QCOMPARE(notes[1].mark, QStringLiteral("i"));
    QCOMPARE(notes[1].kind, NoteSettings::Endnote);
    QCOMPARE(notes[2].mark, QStringLiteral("*")); // the file's own mark
    QCOMPARE(Notes::document(notes[2], QFont())->toPlainText(), QStringLiteral("Starred."));
    QCOMPARE(d->toPlainText(), QStringLiteral("one1i two*"));
}

void TestFidelity::levelWithoutNumberShowsNoMarker()
{
    // Headings of a real file sit in a list whose levels have no number.
    const auto d = read(doc("{\\*\\listtable{\\list{\\listlevel\\levelnfc255\\levelnfcn255{\\leveltext\\'00;}}\\listid1}}"
                            "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}\\pard\\ls1 Heading\\par"));
    const QTextList *list = blockOf(*d, QStringLiteral("Heading")).textList();
    QVERIFY(list);
    QCOMPARE(list->format().style(), QTextListFormat::ListStyleUndefined); // Qt draws no marker for it
    // Without a marker it stands where its own indents say, not at its level's indent.
    QCOMPARE(TextFormats::leftIndentPixels(blockOf(*d, QStringLiteral("Heading"))), 0.0);
    const QByteArray written = RtfCodec::write(*d);
    QVERIFY(written.contains("\\levelnfc255"));
    QVERIFY(written.contains("\\fi0\\li0}"));
    QVERIFY(!written.contains("\\pntext")); // no number for older readers either
    QCOMPARE(TextFormats::leftIndentPixels(blockOf(*read(written), QStringLiteral("Heading"))), 0.0);
}

void TestFidelity::floatingPictureStandsBesideTheText_data()
{
    QTest::addColumn<QByteArray>("words");
    QTest::addColumn<int>("position");
    QTest::addColumn<QByteArray>("before"); // kept RTF right before the shape
    QTest::newRow("square, on the right") << QByteArray("\\shpleft6000\\shpright7000\\shpwr2\\shpwrk0") << int(QTextFrameFormat::FloatRight) << QByteArray();
    QTest::newRow("tight, on the left") << QByteArray("\\shpleft0\\shpright1000\\shpwr4") << int(QTextFrameFormat::FloatLeft) << QByteArray();
    QTest::newRow("placed right") << QByteArray("\\shpwr2{\\sp{\\sn posh}{\\sv 3}}") << int(QTextFrameFormat::FloatRight) << QByteArray();
    QTest::newRow("above and below") << QByteArray("\\shpleft0\\shpright1000\\shpwr1") << int(QTextFrameFormat::InFlow) << QByteArray();
    QTest::newRow("in front of the text") << QByteArray("\\shpwr3") << int(QTextFrameFormat::InFlow) << QByteArray();
    QTest::newRow("after a bookmark") << QByteArray("\\shpwr2") << int(QTextFrameFormat::FloatLeft) << QByteArray("{\\*\\bkmkstart fig}");
}

void TestFidelity::floatingPictureStandsBesideTheText()
{
    QFETCH(QByteArray, words);
    QFETCH(int, position);
    QFETCH(QByteArray, before);
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    const QByteArray rtf = doc("\\pard Before.\\par\\pard " + before + "{\\shp{\\*\\shpinst" + words
                               + "{\\sp{\\sn pib}{\\sv{\\pict\\pngblip " + png.toHex() + "}}}}}Beside the picture.\\par");
    const auto d = read(rtf);
    QCOMPARE(d->rootFrame()->childFrames().size(), 1);
    const QTextFrame *frame = d->rootFrame()->childFrames().first();
    QCOMPARE(int(frame->frameFormat().position()), position);
    // The picture stands before its paragraph, which starts with its text.
    QCOMPARE(blockTexts(*d).last(), QStringLiteral("Beside the picture."));
    QVERIFY(d->toPlainText().contains(QChar::ObjectReplacementCharacter));
    const QByteArray written = RtfCodec::write(*d);
    QVERIFY2(written.contains(before + "{\\shp{\\*\\shpinst" + words), written.constData());
    QVERIFY(written.contains("{\\sp{\\sn pib}{\\sv {\\pict\\pngblip"));
    const auto back = read(written);
    QCOMPARE(int(back->rootFrame()->childFrames().value(0)->frameFormat().position()), position);
}

void TestFidelity::raisedTextIsClosedForOtherReaders()
{
    // LibreOffice misreads raised text ended by \plain or by the end of the paragraph.
    QTextDocument d;
    QTextCursor c(&d);
    QTextCharFormat plain;
    TextFormats::setFamily(plain, QStringLiteral("Arial"));
    QTextCharFormat raised = plain;
    raised.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    c.insertText(QStringLiteral("E = mc"), plain);
    c.insertText(QStringLiteral("2"), raised);
    c.insertText(QStringLiteral("."), plain);
    c.insertBlock();
    c.insertText(QStringLiteral("x"), plain);
    c.insertText(QStringLiteral("n"), raised);
    const QByteArray written = RtfCodec::write(d);
    QVERIFY2(written.contains("\\super 2\\nosupersub ."), written.constData());
    QVERIFY2(written.contains("\\super n\\nosupersub\\par"), written.constData());
}

void TestFidelity::pageBreaksEndListsAndTables()
{
    // After a table there is no paragraph for \page to end; the break goes with the paragraph.
    const auto d = read(doc("\\trowd\\cellx1000\\pard\\intbl a\\cell\\row\\page\\pard next\\par"));
    QVERIFY(blockOf(*d, QStringLiteral("next")).blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
    const QByteArray written = RtfCodec::write(*d);
    QVERIFY2(written.contains("\\pagebb"), written.constData());
    QVERIFY(!written.contains("\\page\\pard"));
    // After a list, the list's words end before \page: other readers gave them to the next paragraph.
    const auto list = read(doc("\\pard{\\*\\pn\\pnlvlbody\\pndec}one\\par\\page\\pard next\\par"));
    const QByteArray afterList = RtfCodec::write(*list);
    QVERIFY2(afterList.contains("\\par\r\n\\pard\\page\\pard"), afterList.constData());
    QVERIFY(!blockOf(*read(afterList), QStringLiteral("next")).textList());
}

void TestFidelity::editedStylesAndFieldsAreWritten()
{
    // A paragraph that leaves its style's formatting says so, for readers with and without styles.
    const auto d = read(doc("{\\stylesheet{\\s1\\qc\\b\\fs40 Title;}}\\pard\\s1 Big\\par"));
    QTextCursor c = blockOf(*d, QStringLiteral("Big")).isValid() ? QTextCursor(blockOf(*d, QStringLiteral("Big"))) : QTextCursor();
    QTextBlockFormat left = c.blockFormat();
    left.setAlignment(Qt::AlignLeft);
    c.setBlockFormat(left);
    c.select(QTextCursor::BlockUnderCursor);
    QTextCharFormat thin;
    thin.setFontWeight(QFont::Normal);
    c.mergeCharFormat(thin);
    const auto back = read(RtfCodec::write(*d));
    const QTextBlock big = blockOf(*back, QStringLiteral("Big"));
    QCOMPARE(big.blockFormat().stringProperty(TextFormats::kParagraphStyleProperty), QStringLiteral("Title"));
    QVERIFY(!(big.blockFormat().alignment() & Qt::AlignHCenter));
    QVERIFY(!TextFormats::isBold(formatOf(*back, QStringLiteral("Big"))));
    QCOMPARE(formatOf(*back, QStringLiteral("Big")).fontPointSize(), 20.0);
}

void TestFidelity::rowsAreWrittenWithTheirOwnCells()
{
    const QByteArray rtf = doc(kShapedRows);
    QStringList expected = rowDefinitions(rtf);
    QCOMPARE(expected.value(2), QStringLiteral("clmgf cellx3000 clmrg cellx6000 clmrg cellx9000 "));
    QCOMPARE(rowDefinitions(RtfCodec::write(*read(rtf))), expected);
}

void TestFidelity::listsNumberAsTheFileSays()
{
    // Four lists starting at 2 to 5, the second with levels "1.1." that restart below each item,
    // and the older form starting at 7; the markers Qt cannot show are the program's to draw.
    QByteArray lists = "{\\*\\listtable";
    for (int id = 1; id <= 4; ++id)
        lists += "{\\list{\\listlevel\\levelnfc0\\levelstartat" + QByteArray::number(id + 1) + "{\\leveltext\\'02\\'00.;}}"
                 "{\\listlevel\\levelnfc4\\levelstartat1{\\leveltext\\'04\\'00.\\'01.;}}\\listid" + QByteArray::number(id) + "}";
    lists += "}{\\*\\listoverridetable";
    for (int id = 1; id <= 4; ++id)
        lists += "{\\listoverride\\listid" + QByteArray::number(id) + "\\ls" + QByteArray::number(id) + "}";
    lists += "}";
    const QByteArray rtf = doc(lists + "\\pard\\ls1 a\\par\\pard\\ls1 b\\par\\pard\\ls2 c\\par\\pard\\ls2\\ilvl1 c1\\par"
                               "\\pard\\ls2\\ilvl1 c2\\par\\pard\\ls2 d\\par\\pard\\ls2\\ilvl1 d1\\par\\pard\\ls3 e\\par"
                               "\\pard\\ls4 f\\par\\pard{\\*\\pn\\pnlvlbody\\pnlcrm\\pnstart7{\\pntxta )}}g\\par");
    auto markers = [](const QTextDocument &d) {
        QStringList all;
        for (QTextBlock b = d.begin(); b.isValid(); b = b.next())
            all << ListMarkers::text(b);
        return all;
    };
    const QStringList expected{"2.", "3.", "3.", "3.a.", "3.b.", "4.", "4.a.", "4.", "5.", "vii)"};
    const auto first = read(rtf);
    QCOMPARE(markers(*first), expected);
    QVERIFY(ListMarkers::drawnByProgram(blockOf(*first, QStringLiteral("a"))));
    const QByteArray written = RtfCodec::write(*first);
    for (const char *start : {"\\levelstartat2", "\\levelstartat3", "\\levelstartat4", "\\levelstartat5"})
        QVERIFY2(written.contains(start), start);
    QVERIFY(written.contains("{\\pntext vii)\\tab}"));
    QVERIFY(written.contains("{\\pntext 3.b.\\tab}"));
    QCOMPARE(markers(*read(written)), expected);
}

void TestFidelity::markerTakesTheLookOfItsText()
{
    // The marker is drawn in the paragraph mark's format: here italic, as is the label written
    // for older readers, while the item's text is upright and bold.
    const QByteArray rtf = doc("{\\*\\listtable{\\list{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}}\\listid1}}"
                               "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}"
                               "\\pard\\ls1{\\listtext\\pard\\plain\\i 1.\\tab}{\\b Item} text\\i\\par");
    for (const auto &d : {read(rtf), read(RtfCodec::write(*read(rtf)))}) {
        const QTextCharFormat mark = blockOf(*d, QStringLiteral("Item")).charFormat();
        QVERIFY(!mark.fontItalic());
        QVERIFY(TextFormats::isBold(mark));
        QVERIFY(!formatOf(*d, QStringLiteral("text")).fontItalic());
    }
}

QTEST_MAIN(TestFidelity)
#include "tst_fidelity.moc"
