// What a Word document carries is read into the document model, written back, and read again the
// same: one fixture per feature, each made in the test as a small package.
#include "DocxFixtures.h"
#include "docx/DocxFormats.h"
#include "odt/OdtCodec.h"
#include "rtf/KeptRtf.h"
#include "rtf/Notes.h"
#include "rtf/RtfCodec.h"
#include "zip/ZipReader.h"

#include <QBuffer>
#include <QImage>
#include <QTextFrame>
#include <QTextTable>
#include <QtTest>
#include <cmath>

using namespace DocxFixtures;

namespace {

int twips(double px) { return int(std::lround(TextFormats::pixelsToTwips(px))); }

QString describeList(const QTextBlock &b)
{
    const QTextList *list = b.textList();
    if (!list)
        return QString();
    const QTextListFormat f = list->format();
    return QStringLiteral(" list(style %1 level %2 start %3 marker %4 item %5)")
        .arg(int(f.style())).arg(f.indent())
        .arg(f.hasProperty(TextFormats::kListStartProperty) ? f.intProperty(TextFormats::kListStartProperty) : 1)
        .arg(f.stringProperty(TextFormats::kListNumberTemplateProperty))
        .arg(list->itemNumber(b));
}

QString describeCell(const QTextTableCell &cell)
{
    const QTextTableCellFormat f = cell.format().toTableCellFormat();
    QString d = QStringLiteral("cell %1,%2 span %3x%4 \"%5\"").arg(cell.row()).arg(cell.column()).arg(cell.rowSpan())
                    .arg(cell.columnSpan()).arg(QTextCursor(cell.firstCursorPosition()).block().text());
    for (int side = 0; side < 4; ++side) {
        const TextFormats::CellBorderSide &s = TextFormats::kCellBorderSides[side];
        if (f.hasProperty(s.style))
            d += QStringLiteral(" b%1=%2/%3/%4").arg(side).arg(f.intProperty(s.style))
                     .arg(std::lround(f.doubleProperty(s.width) * 6))
                     .arg(f.brushProperty(s.brush).color().name());
    }
    if (f.hasProperty(QTextFormat::BackgroundBrush))
        d += QStringLiteral(" fill ") + f.background().color().name();
    if (f.hasProperty(QTextFormat::TextVerticalAlignment))
        d += QStringLiteral(" valign %1").arg(int(f.verticalAlignment()));
    if (f.hasProperty(TextFormats::kRowHeightProperty))
        d += QStringLiteral(" height %1").arg(f.intProperty(TextFormats::kRowHeightProperty));
    if (f.boolProperty(TextFormats::kGridFillerProperty))
        d += QStringLiteral(" filler");
    d += QStringLiteral(" pad %1").arg(twips(f.leftPadding()));
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
            lines << QStringLiteral("title page %1 facing %2").arg(x->titlePage()).arg(x->facingPages());
        for (auto it = x->info().texts.cbegin(); it != x->info().texts.cend(); ++it)
            lines << it.key() + u'=' + it.value();
    }
    for (QTextBlock b = d.begin(); b.isValid(); b = b.next()) {
        const QTextBlockFormat f = b.blockFormat();
        QString line = QStringLiteral("p \"%1\" style %2 align %3 ind %4/%5/%6 space %7/%8 line %9/%10")
                           .arg(b.text(), f.stringProperty(TextFormats::kParagraphStyleProperty))
                           .arg(int(f.alignment() & Qt::AlignHorizontal_Mask))
                           .arg(twips(TextFormats::leftIndentPixels(b))).arg(twips(f.rightMargin())).arg(twips(f.textIndent()))
                           .arg(twips(f.topMargin())).arg(twips(f.bottomMargin()))
                           .arg(f.lineHeightType()).arg(f.lineHeight(), 0, 'f', 1);
        if (f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            line += QStringLiteral(" break");
        if (f.layoutDirection() == Qt::RightToLeft)
            line += QStringLiteral(" rtl");
        if (f.headingLevel())
            line += QStringLiteral(" heading %1").arg(f.headingLevel());
        lines << line + describeList(b);
        for (QTextBlock::iterator it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat c = it.fragment().charFormat();
            QString run = QStringLiteral("  run \"%1\" %2 %3pt").arg(it.fragment().text(), TextFormats::family(c, QFont()))
                              .arg(c.fontPointSize());
            if (TextFormats::isBold(c))
                run += QStringLiteral(" bold");
            if (c.fontItalic())
                run += QStringLiteral(" italic");
            if (TextFormats::isUnderlined(c))
                run += QStringLiteral(" underline %1").arg(int(c.underlineStyle()));
            if (c.fontStrikeOut())
                run += QStringLiteral(" strike");
            if (c.hasProperty(QTextFormat::ForegroundBrush))
                run += QStringLiteral(" color ") + c.foreground().color().name();
            if (c.hasProperty(QTextFormat::BackgroundBrush))
                run += QStringLiteral(" back ") + c.background().color().name();
            if (c.verticalAlignment() != QTextCharFormat::AlignNormal)
                run += QStringLiteral(" valign %1").arg(int(c.verticalAlignment()));
            if (c.fontCapitalization() != QFont::MixedCase)
                run += QStringLiteral(" caps %1").arg(int(c.fontCapitalization()));
            if (c.isAnchor())
                run += QStringLiteral(" link ") + c.anchorHref();
            if (c.hasProperty(TextFormats::kFieldsProperty))
                for (const QString &field : KeptRtf::split(c.stringProperty(TextFormats::kFieldsProperty)))
                    run += QStringLiteral(" field ") + KeptRtf::fieldInstruction(field).trimmed();
            if (c.hasProperty(TextFormats::kNoteProperty))
                run += QStringLiteral(" note %1 \"%2\"").arg(c.intProperty(TextFormats::kNoteKindProperty))
                           .arg(Notes::plainText(c, it.fragment().text()));
            if (c.hasProperty(TextFormats::kCharacterStyleProperty))
                run += QStringLiteral(" cstyle ") + c.stringProperty(TextFormats::kCharacterStyleProperty);
            if (c.isImageFormat())
                run += QStringLiteral(" image %1x%2").arg(std::lround(c.toImageFormat().width()))
                           .arg(std::lround(c.toImageFormat().height()));
            lines << run;
        }
    }
    QTextFrame *root = d.rootFrame();
    for (QTextFrame *child : root->childFrames()) {
        if (auto *table = qobject_cast<QTextTable *>(child)) {
            const QTextTableFormat tf = table->format();
            QStringList widths;
            for (const QTextLength &l : tf.columnWidthConstraints())
                widths << QString::number(twips(l.rawValue()));
            lines << QStringLiteral("table %1x%2 widths %3 header %4").arg(table->rows()).arg(table->columns())
                         .arg(widths.join(u',')).arg(tf.headerRowCount());
            for (int r = 0; r < table->rows(); ++r)
                for (int c = 0; c < table->columns(); ++c) {
                    const QTextTableCell cell = table->cellAt(r, c);
                    if (cell.row() == r && cell.column() == c)
                        lines << describeCell(cell);
                }
        } else {
            lines << QStringLiteral("frame position %1").arg(int(child->frameFormat().position()));
        }
    }
    return lines;
}

// Read, written and read again: the second reading describes as the first.
std::unique_ptr<QTextDocument> roundTrip(const QByteArray &docx)
{
    auto first = read(docx);
    auto second = again(*first);
    const QStringList a = describe(*first), b = describe(*second);
    if (a != b) {
        for (qsizetype i = 0; i < qMax(a.size(), b.size()); ++i)
            if (a.value(i) != b.value(i))
                qWarning("first:  %s\nsecond: %s", qPrintable(a.value(i)), qPrintable(b.value(i)));
    }
    return a == b ? std::move(first) : nullptr;
}

QByteArray png(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

const QByteArray kStyles = part("styles",
    "<w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:ascii=\"Liberation Sans\" w:hAnsi=\"Liberation Sans\"/><w:sz w:val=\"22\"/></w:rPr></w:rPrDefault>"
    "<w:pPrDefault><w:pPr><w:spacing w:after=\"160\" w:line=\"259\" w:lineRule=\"auto\"/></w:pPr></w:pPrDefault></w:docDefaults>"
    "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name w:val=\"Normal\"/></w:style>"
    "<w:style w:type=\"paragraph\" w:styleId=\"Heading1\"><w:name w:val=\"heading 1\"/><w:basedOn w:val=\"Normal\"/><w:next w:val=\"Normal\"/>"
    "<w:pPr><w:keepNext/><w:spacing w:before=\"240\" w:after=\"0\"/><w:outlineLvl w:val=\"0\"/></w:pPr><w:rPr><w:b/><w:sz w:val=\"32\"/></w:rPr></w:style>"
    "<w:style w:type=\"paragraph\" w:styleId=\"Quote\"><w:name w:val=\"Quote\"/><w:basedOn w:val=\"Heading1\"/>"
    "<w:pPr><w:jc w:val=\"center\"/><w:outlineLvl w:val=\"9\"/></w:pPr><w:rPr><w:b w:val=\"0\"/><w:i/></w:rPr></w:style>"
    "<w:style w:type=\"character\" w:styleId=\"Strong\"><w:name w:val=\"Strong\"/><w:rPr><w:b/><w:color w:val=\"C00000\"/></w:rPr></w:style>"
    "<w:style w:type=\"paragraph\" w:styleId=\"LoopA\"><w:name w:val=\"Loop A\"/><w:basedOn w:val=\"LoopB\"/></w:style>"
    "<w:style w:type=\"paragraph\" w:styleId=\"LoopB\"><w:name w:val=\"Loop B\"/><w:basedOn w:val=\"LoopA\"/><w:rPr><w:i/></w:rPr></w:style>"
    "<w:style w:type=\"table\" w:styleId=\"Grid\"><w:name w:val=\"Table Grid\"/><w:tblPr><w:tblBorders>"
    "<w:top w:val=\"single\" w:sz=\"4\" w:color=\"000000\"/><w:left w:val=\"single\" w:sz=\"4\" w:color=\"000000\"/>"
    "<w:bottom w:val=\"single\" w:sz=\"4\" w:color=\"000000\"/><w:right w:val=\"single\" w:sz=\"4\" w:color=\"000000\"/>"
    "<w:insideH w:val=\"single\" w:sz=\"4\" w:color=\"000000\"/><w:insideV w:val=\"single\" w:sz=\"4\" w:color=\"000000\"/>"
    "</w:tblBorders></w:tblPr>"
    "<w:tblStylePr w:type=\"firstRow\"><w:rPr><w:b/></w:rPr><w:tcPr><w:shd w:val=\"clear\" w:fill=\"DDDDDD\"/></w:tcPr></w:tblStylePr></w:style>");

QByteArray run(const QByteArray &props, const QByteArray &text)
{
    return "<w:r><w:rPr>" + props + "</w:rPr><w:t xml:space=\"preserve\">" + text + "</w:t></w:r>";
}

} // namespace

class TestFidelity : public QObject
{
    Q_OBJECT

private slots:
    void characterFormats();
    void paragraphFormats();
    void stylesAndDefaults();
    void lists();
    void tables();
    void headersFootersAndPage();
    void notes();
    void fieldsLinksAndBookmarks();
    void pictures();
    void keptContent();
    void strictDocument();
    void fromRtfModel();
    void hiddenTextAndCommentsAcrossFormats();
    void stylesBasedOnEachOther();
    void manyFormats();
    void longBody();
};

void TestFidelity::characterFormats()
{
    Package p;
    p.body = "<w:p>" + run("<w:rFonts w:ascii=\"Liberation Mono\" w:hAnsi=\"Liberation Mono\" w:eastAsia=\"MS Mincho\"/><w:sz w:val=\"28\"/>", "mono14")
           + run("<w:b/><w:i/>", "bolditalic") + run("<w:u w:val=\"double\" w:color=\"FF0000\"/>", "double")
           + run("<w:u w:val=\"dotted\"/>", "dotted") + run("<w:strike/>", "strike")
           + run("<w:color w:val=\"0000FF\"/><w:highlight w:val=\"yellow\"/>", "blueonyellow")
           + run("<w:shd w:val=\"clear\" w:fill=\"00FF00\"/>", "shaded") + run("<w:vertAlign w:val=\"superscript\"/>", "sup")
           + run("<w:vertAlign w:val=\"subscript\"/>", "sub") + run("<w:position w:val=\"6\"/>", "raised")
           + run("<w:caps/>", "caps") + run("<w:smallCaps/>", "smallcaps") + run("<w:lang w:val=\"de-DE\"/><w:kern w:val=\"2\"/>", "kept")
           + run("<w:vanish/>", "hidden") + run("", "after") + "</w:p>";
    const QByteArray docx = p.make();
    const auto doc = roundTrip(docx);
    QVERIFY(doc);
    QCOMPARE(doc->toPlainText(), QStringLiteral("mono14bolditalicdoubledottedstrikeblueonyellowshadedsupsubraisedcapssmallcapskeptafter"));
    QCOMPARE(TextFormats::family(formatOf(*doc, "mono14"), QFont()), QStringLiteral("Liberation Mono"));
    QCOMPARE(formatOf(*doc, "mono14").fontPointSize(), 14.0);
    QVERIFY(TextFormats::isBold(formatOf(*doc, "bolditalic")) && formatOf(*doc, "bolditalic").fontItalic());
    QCOMPARE(formatOf(*doc, "double").underlineColor(), QColor(Qt::red));
    QCOMPARE(formatOf(*doc, "dotted").underlineStyle(), QTextCharFormat::DotLine);
    QVERIFY(formatOf(*doc, "strike").fontStrikeOut());
    QCOMPARE(formatOf(*doc, "blueonyellow").foreground().color(), QColor(Qt::blue));
    QCOMPARE(formatOf(*doc, "blueonyellow").background().color(), QColor(Qt::yellow));
    QCOMPARE(formatOf(*doc, "shaded").background().color(), QColor(Qt::green));
    QCOMPARE(formatOf(*doc, "sup").verticalAlignment(), QTextCharFormat::AlignSuperScript);
    QCOMPARE(formatOf(*doc, "sub").verticalAlignment(), QTextCharFormat::AlignSubScript);
    QCOMPARE(std::lround(TextFormats::charOffsetTwips(formatOf(*doc, "raised"), QFont())), 60L);
    QCOMPARE(formatOf(*doc, "caps").fontCapitalization(), QFont::AllUppercase);
    QCOMPARE(formatOf(*doc, "smallcaps").fontCapitalization(), QFont::SmallCaps);
    // What is not shown is kept: the double underline, the language, the East Asian font, the
    // hidden text (as RTF too, for other formats).
    const QByteArray written = DocxCodec::write(*doc);
    const auto twice = read(written);
    QCOMPARE(formatOf(*twice, "double").stringProperty(DocxFormats::kUnderlineProperty), QStringLiteral("double"));
    QVERIFY(formatOf(*twice, "kept").stringProperty(DocxFormats::kRunPropertiesProperty).contains(u"de-DE"));
    QVERIFY(formatOf(*twice, "mono14").stringProperty(DocxFormats::kFontsProperty).contains(u"MS Mincho"));
    QVERIFY(formatOf(*twice, "after").stringProperty(TextFormats::kKeptRtfProperty).contains(u"hidden"));
    QVERIFY(RtfCodec::write(*twice).contains("{\\v hidden}"));
    QCOMPARE(DocxCodec::write(*twice), written);
}

void TestFidelity::paragraphFormats()
{
    Package p;
    p.body = "<w:p><w:pPr><w:jc w:val=\"center\"/><w:ind w:left=\"1440\" w:right=\"720\" w:hanging=\"360\"/>"
             "<w:spacing w:before=\"120\" w:after=\"240\" w:line=\"360\" w:lineRule=\"auto\"/></w:pPr>" + run("", "centred") + "</w:p>"
             "<w:p><w:pPr><w:jc w:val=\"both\"/><w:ind w:firstLine=\"720\"/><w:spacing w:line=\"300\" w:lineRule=\"exact\"/>"
             "<w:keepNext/><w:tabs><w:tab w:val=\"right\" w:pos=\"9000\"/><w:tab w:val=\"center\" w:pos=\"4500\"/></w:tabs></w:pPr>"
             + run("", "justified") + "</w:p>"
             "<w:p><w:pPr><w:pageBreakBefore/><w:bidi/><w:jc w:val=\"end\"/><w:spacing w:line=\"280\" w:lineRule=\"atLeast\"/></w:pPr>"
             + run("<w:rtl/>", "rtl") + "</w:p>"
             "<w:p>" + run("", "before break") + "<w:r><w:lastRenderedPageBreak/><w:t>same</w:t><w:br w:type=\"page\"/><w:t>after break</w:t></w:r></w:p>"
             "<w:p>" + run("", "line") + "<w:r><w:br/><w:t>two</w:t><w:tab/><w:t>tabbed</w:t><w:noBreakHyphen/><w:softHyphen/></w:r></w:p>";
    const auto doc = roundTrip(p.make());
    QVERIFY(doc);
    QCOMPARE(blockTexts(*doc), (QStringList{QStringLiteral("centred"), QStringLiteral("justified"), QStringLiteral("rtl"),
                                            QStringLiteral("before breaksame"), QStringLiteral("after break"),
                                            QStringLiteral("line\u2028two\ttabbed\u2011\u00AD")}));
    const QTextBlockFormat centred = blockOf(*doc, "centred").blockFormat();
    QCOMPARE(int(centred.alignment() & Qt::AlignHorizontal_Mask), int(Qt::AlignHCenter));
    QCOMPARE(twips(centred.leftMargin()), 1440);
    QCOMPARE(twips(centred.rightMargin()), 720);
    QCOMPARE(twips(centred.textIndent()), -360);
    QCOMPARE(twips(centred.topMargin()), 120);
    QCOMPARE(twips(centred.bottomMargin()), 240);
    QCOMPARE(centred.lineHeightType(), int(QTextBlockFormat::ProportionalHeight));
    QCOMPARE(centred.lineHeight(), 150.0);
    const QTextBlockFormat justified = blockOf(*doc, "justified").blockFormat();
    QCOMPARE(int(justified.alignment() & Qt::AlignHorizontal_Mask), int(Qt::AlignJustify));
    QCOMPARE(justified.lineHeightType(), int(QTextBlockFormat::FixedHeight));
    QCOMPARE(justified.tabPositions().size(), 2);
    QVERIFY(justified.stringProperty(DocxFormats::kParagraphPropertiesProperty).contains(u"keepNext"));
    const QTextBlockFormat rtl = blockOf(*doc, "rtl").blockFormat();
    QVERIFY(rtl.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
    QCOMPARE(rtl.layoutDirection(), Qt::RightToLeft);
    QCOMPARE(rtl.lineHeightType(), int(QTextBlockFormat::MinimumHeight));
    // A rendered page break is none; a page break starts a paragraph on a new page.
    QVERIFY(!(blockOf(*doc, "same").blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore));
    QVERIFY(blockOf(*doc, "after break").blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
}

void TestFidelity::stylesAndDefaults()
{
    Package p;
    p.add(QStringLiteral("styles"), QStringLiteral("word/styles.xml"), kStyles);
    p.body = "<w:p>" + run("", "plain") + "</w:p>"
             "<w:p><w:pPr><w:pStyle w:val=\"Heading1\"/></w:pPr>" + run("", "Title") + run("<w:b w:val=\"0\"/>", "unbold") + "</w:p>"
             "<w:p><w:pPr><w:pStyle w:val=\"Quote\"/></w:pPr>" + run("", "quoted") + "<w:r><w:rPr><w:rStyle w:val=\"Strong\"/></w:rPr><w:t>strong</w:t></w:r></w:p>"
             "<w:p><w:pPr><w:pStyle w:val=\"LoopA\"/></w:pPr>" + run("", "looped") + "</w:p>";
    const auto doc = roundTrip(p.make());
    QVERIFY(doc);
    // The document's defaults: font, size and spacing.
    const QTextCharFormat plain = formatOf(*doc, "plain");
    QCOMPARE(TextFormats::family(plain, QFont()), QStringLiteral("Liberation Sans"));
    QCOMPARE(plain.fontPointSize(), 11.0);
    QCOMPARE(twips(blockOf(*doc, "plain").blockFormat().bottomMargin()), 160);
    QCOMPARE(blockOf(*doc, "plain").blockFormat().stringProperty(TextFormats::kParagraphStyleProperty), QStringLiteral("Normal"));
    // A heading: its level, its based-on chain, its direct formatting over its style's.
    const QTextBlockFormat heading = blockOf(*doc, "Title").blockFormat();
    QCOMPARE(heading.headingLevel(), 1);
    QCOMPARE(heading.stringProperty(TextFormats::kParagraphStyleProperty), QStringLiteral("heading 1"));
    QCOMPARE(twips(heading.topMargin()), 240);
    QVERIFY(TextFormats::isBold(formatOf(*doc, "Title")));
    QCOMPARE(formatOf(*doc, "Title").fontPointSize(), 16.0);
    QVERIFY(!TextFormats::isBold(formatOf(*doc, "unbold")));
    const QTextBlockFormat quote = blockOf(*doc, "quoted").blockFormat();
    QCOMPARE(int(quote.alignment() & Qt::AlignHorizontal_Mask), int(Qt::AlignHCenter));
    QCOMPARE(quote.headingLevel(), 0);
    QVERIFY(!TextFormats::isBold(formatOf(*doc, "quoted")) && formatOf(*doc, "quoted").fontItalic());
    QCOMPARE(formatOf(*doc, "quoted").fontPointSize(), 16.0);
    const QTextCharFormat strong = formatOf(*doc, "strong");
    QVERIFY(TextFormats::isBold(strong));
    QCOMPARE(strong.foreground().color(), QColor(0xC0, 0, 0));
    QCOMPARE(strong.stringProperty(TextFormats::kCharacterStyleProperty), QStringLiteral("Strong"));
    QVERIFY(formatOf(*doc, "looped").fontItalic()); // a chain that loops gives what it can
    // The styles as the document keeps them, with RTF definitions for other formats.
    const DocumentExtras *x = DocumentExtras::find(*doc);
    const DocumentStyle *h1 = x->style(QStringLiteral("heading 1"), DocumentStyle::Paragraph);
    QVERIFY(h1 && x->style(QStringLiteral("Normal"), DocumentStyle::Paragraph));
    QCOMPARE(x->style(QStringLiteral("Normal"), DocumentStyle::Paragraph)->number, 0);
    QCOMPARE(h1->basedOn, 0);
    QVERIFY(KeptRtf::content(h1->definition).contains("\\b\\") || KeptRtf::content(h1->definition).contains("\\b "));
    // Saved as RTF and back as Word, the heading keeps its look and style.
    QTextDocument viaRtf;
    RtfCodec::read(RtfCodec::write(*doc), viaRtf);
    const auto back = again(viaRtf);
    QVERIFY(TextFormats::isBold(formatOf(*back, "Title")));
    QCOMPARE(formatOf(*back, "Title").fontPointSize(), 16.0);
    QCOMPARE(blockOf(*back, "Title").blockFormat().stringProperty(TextFormats::kParagraphStyleProperty), QStringLiteral("heading 1"));
}

void TestFidelity::lists()
{
    Package p;
    auto level = [](int ilvl, const char *format, const char *text, int start = 1) {
        return QByteArray("<w:lvl w:ilvl=\"") + QByteArray::number(ilvl) + "\"><w:start w:val=\"" + QByteArray::number(start)
             + "\"/><w:numFmt w:val=\"" + format + "\"/><w:lvlText w:val=\"" + text + "\"/><w:pPr><w:ind w:left=\""
             + QByteArray::number(720 * (ilvl + 1)) + "\" w:hanging=\"360\"/></w:pPr>"
             + (QByteArray(format) == "bullet" ? "<w:rPr><w:rFonts w:ascii=\"Symbol\" w:hAnsi=\"Symbol\"/></w:rPr>" : "") + "</w:lvl>";
    };
    p.add(QStringLiteral("numbering"), QStringLiteral("word/numbering.xml"), part("numbering",
        "<w:abstractNum w:abstractNumId=\"0\">" + level(0, "decimal", "%1.") + level(1, "lowerLetter", "%2)") + level(2, "lowerRoman", "%1.%2.%3") + "</w:abstractNum>"
        "<w:abstractNum w:abstractNumId=\"1\">" + level(0, "bullet", "\xEF\x82\xB7") + "</w:abstractNum>"
        "<w:abstractNum w:abstractNumId=\"2\">" + level(0, "upperRoman", "%1.", 4) + "</w:abstractNum>"
        "<w:num w:numId=\"1\"><w:abstractNumId w:val=\"0\"/></w:num>"
        "<w:num w:numId=\"2\"><w:abstractNumId w:val=\"1\"/></w:num>"
        "<w:num w:numId=\"3\"><w:abstractNumId w:val=\"2\"/></w:num>"
        "<w:num w:numId=\"4\"><w:abstractNumId w:val=\"0\"/><w:lvlOverride w:ilvl=\"0\"><w:startOverride w:val=\"5\"/></w:lvlOverride></w:num>"));
    auto item = [](int num, int ilvl, const char *text) {
        return QByteArray("<w:p><w:pPr><w:numPr><w:ilvl w:val=\"") + QByteArray::number(ilvl) + "\"/><w:numId w:val=\""
             + QByteArray::number(num) + "\"/></w:numPr></w:pPr><w:r><w:t>" + text + "</w:t></w:r></w:p>";
    };
    p.body = item(1, 0, "one") + item(1, 1, "one a") + item(1, 1, "one b") + item(1, 2, "deep") + item(1, 0, "two")
           + item(1, 1, "two a") + item(2, 0, "bullet") + item(3, 0, "four") + item(3, 0, "five") + item(4, 0, "restart five")
           + item(4, 0, "restart six") + item(0, 0, "none") + item(9, 0, "unknown list");
    const auto doc = roundTrip(p.make());
    QVERIFY(doc);
    auto list = [&](const char *word) { return blockOf(*doc, QLatin1String(word)).textList(); };
    QVERIFY(list("one") && list("one") == list("two"));
    QCOMPARE(list("one")->itemNumber(blockOf(*doc, "two")), 1);
    QCOMPARE(list("one")->format().stringProperty(TextFormats::kListNumberTemplateProperty), QStringLiteral("%1."));
    QCOMPARE(list("one a")->format().style(), QTextListFormat::ListLowerAlpha);
    QCOMPARE(list("one a")->format().indent(), 2);
    QCOMPARE(list("one a")->format().numberSuffix(), QStringLiteral(")"));
    QVERIFY(list("two a") != list("one a")); // a higher level's item restarts the level below
    QCOMPARE(list("deep")->format().stringProperty(TextFormats::kListNumberTemplateProperty), QStringLiteral("%1.%2.%3"));
    QCOMPARE(list("bullet")->format().style(), QTextListFormat::ListDisc);
    QCOMPARE(list("bullet")->format().stringProperty(TextFormats::kListNumberTemplateProperty), QStringLiteral("\u2022"));
    QCOMPARE(list("four")->format().style(), QTextListFormat::ListUpperRoman);
    QCOMPARE(list("four")->format().intProperty(TextFormats::kListStartProperty), 4);
    QVERIFY(list("restart five") != list("one"));
    QCOMPARE(list("restart five")->format().intProperty(TextFormats::kListStartProperty), 5);
    QCOMPARE(list("restart five"), list("restart six"));
    QVERIFY(!list("none"));
    QVERIFY(!list("unknown list"));
    // The list's indent is Qt's, by level: the marker hangs in it.
    QCOMPARE(twips(TextFormats::leftIndentPixels(blockOf(*doc, "one a"))), 1440);
}

void TestFidelity::tables()
{
    Package p;
    p.add(QStringLiteral("styles"), QStringLiteral("word/styles.xml"), kStyles);
    auto cell = [](const QByteArray &props, const QByteArray &text) {
        return "<w:tc><w:tcPr>" + props + "</w:tcPr><w:p><w:r><w:t>" + text + "</w:t></w:r></w:p></w:tc>";
    };
    p.body = "<w:tbl><w:tblPr><w:tblStyle w:val=\"Grid\"/><w:tblW w:w=\"5000\" w:type=\"pct\"/><w:jc w:val=\"center\"/>"
             "<w:tblCellMar><w:left w:w=\"60\" w:type=\"dxa\"/><w:right w:w=\"60\" w:type=\"dxa\"/></w:tblCellMar>"
             "<w:tblLook w:firstRow=\"1\" w:noHBand=\"1\" w:noVBand=\"1\"/></w:tblPr>"
             "<w:tblGrid><w:gridCol w:w=\"2000\"/><w:gridCol w:w=\"3000\"/><w:gridCol w:w=\"1000\"/></w:tblGrid>"
             "<w:tr><w:trPr><w:tblHeader/><w:trHeight w:val=\"400\" w:hRule=\"exact\"/></w:trPr>"
             + cell("<w:gridSpan w:val=\"2\"/>", "wide") + cell("<w:vMerge w:val=\"restart\"/><w:vAlign w:val=\"center\"/>", "tall") + "</w:tr>"
             "<w:tr>" + cell("<w:tcBorders><w:bottom w:val=\"double\" w:sz=\"12\" w:color=\"FF0000\"/></w:tcBorders>", "a2")
             + cell("<w:shd w:val=\"clear\" w:fill=\"FFFF00\"/><w:tcMar><w:left w:w=\"200\" w:type=\"dxa\"/></w:tcMar>", "b2")
             + "<w:tc><w:tcPr><w:vMerge/></w:tcPr><w:p/></w:tc></w:tr>"
             "<w:tr><w:trPr><w:gridBefore w:val=\"1\"/></w:trPr>" + cell("", "b3")
             + "<w:tc><w:tbl><w:tblGrid><w:gridCol w:w=\"500\"/></w:tblGrid><w:tr>" + cell("", "inner") + "</w:tr></w:tbl><w:p/></w:tc></w:tr>"
             "</w:tbl><w:p/>";
    const auto doc = roundTrip(p.make());
    QVERIFY(doc);
    QTextTable *table = qobject_cast<QTextTable *>(doc->rootFrame()->childFrames().value(0));
    QVERIFY(table);
    QCOMPARE(table->rows(), 3);
    QCOMPARE(table->columns(), 3);
    const QList<QTextLength> widths = table->format().columnWidthConstraints();
    QCOMPARE(twips(widths.value(1).rawValue()), 3000);
    QCOMPARE(table->format().width().type(), QTextLength::PercentageLength);
    QCOMPARE(table->format().headerRowCount(), 1);
    QCOMPARE(table->cellAt(0, 0).columnSpan(), 2);
    QCOMPARE(table->cellAt(0, 2).rowSpan(), 2);
    const QTextTableCellFormat tall = table->cellAt(0, 2).format().toTableCellFormat();
    QCOMPARE(tall.verticalAlignment(), QTextCharFormat::AlignMiddle);
    QCOMPARE(tall.intProperty(TextFormats::kRowHeightProperty), -400);
    QCOMPARE(tall.background().color(), QColor(0xDD, 0xDD, 0xDD)); // the style's first row
    QVERIFY(TextFormats::isBold(formatOf(*doc, "wide")));
    QVERIFY(!TextFormats::isBold(formatOf(*doc, "a2")));
    const QTextTableCellFormat a2 = table->cellAt(1, 0).format().toTableCellFormat();
    QCOMPARE(a2.bottomBorderStyle(), QTextFrameFormat::BorderStyle_Double);
    QCOMPARE(a2.bottomBorderBrush().color(), QColor(Qt::red));
    QCOMPARE(std::lround(a2.topBorder() * 6), 4L); // the style's inside line
    const QTextTableCellFormat b2 = table->cellAt(1, 1).format().toTableCellFormat();
    QCOMPARE(b2.background().color(), QColor(Qt::yellow));
    QCOMPARE(twips(b2.leftPadding()), 200);
    QCOMPARE(twips(b2.rightPadding()), 60);
    QVERIFY(table->cellAt(2, 0).format().boolProperty(TextFormats::kGridFillerProperty));
    QCOMPARE(QTextCursor(table->cellAt(2, 1).firstCursorPosition()).block().text(), QStringLiteral("b3"));
    QTextCursor inner = doc->find(QStringLiteral("inner"));
    QVERIFY(inner.currentTable() && inner.currentTable() != table);
}

void TestFidelity::headersFootersAndPage()
{
    Package p;
    p.add(QStringLiteral("styles"), QStringLiteral("word/styles.xml"), kStyles);
    const QString h = p.add(QStringLiteral("header"), QStringLiteral("word/header1.xml"),
                            part("hdr", "<w:p><w:r><w:t xml:space=\"preserve\">Page </w:t></w:r><w:fldSimple w:instr=\" PAGE \"><w:r><w:t>1</w:t></w:r></w:fldSimple></w:p>"));
    const QString f = p.add(QStringLiteral("footer"), QStringLiteral("word/footer1.xml"), part("ftr", "<w:p><w:r><w:t>Footer text</w:t></w:r></w:p>"));
    const QString first = p.add(QStringLiteral("header"), QStringLiteral("word/header2.xml"), part("hdr", "<w:p><w:r><w:t>First page</w:t></w:r></w:p>"));
    const QString even = p.add(QStringLiteral("header"), QStringLiteral("word/header3.xml"), part("hdr", "<w:p><w:r><w:t>Even page</w:t></w:r></w:p>"));
    p.add(QStringLiteral("settings"), QStringLiteral("word/settings.xml"), part("settings", "<w:evenAndOddHeaders/>"));
    p.parts.append({QStringLiteral("docProps/core.xml"),
                    "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
                    "xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:title>The title</dc:title><dc:subject>Subjects</dc:subject>"
                    "<dc:creator>Ada Writer</dc:creator></cp:coreProperties>"});
    p.body = "<w:p><w:r><w:t>Body</w:t></w:r></w:p><w:sectPr>"
             "<w:headerReference w:type=\"default\" r:id=\"" + h.toUtf8() + "\"/><w:footerReference w:type=\"default\" r:id=\"" + f.toUtf8() + "\"/>"
             "<w:headerReference w:type=\"first\" r:id=\"" + first.toUtf8() + "\"/><w:headerReference w:type=\"even\" r:id=\"" + even.toUtf8() + "\"/>"
             "<w:pgSz w:w=\"16838\" w:h=\"11906\" w:orient=\"landscape\"/><w:pgMar w:top=\"1000\" w:right=\"1100\" w:bottom=\"1200\" w:left=\"1300\" w:header=\"500\" w:footer=\"600\" w:gutter=\"0\"/>"
             "<w:cols w:num=\"2\"/><w:titlePg/></w:sectPr>";
    const auto doc = roundTrip(p.make());
    QVERIFY(doc);
    const DocumentExtras *x = DocumentExtras::find(*doc);
    const PageSetup page = *x->pageSetup();
    QCOMPARE(page.paperWidth, 16838);
    QCOMPARE(page.paperHeight, 11906);
    QVERIFY(page.landscape);
    QCOMPARE(page.marginLeft, 1300);
    QCOMPARE(page.marginRight, 1100);
    QCOMPARE(page.marginTop, 1000);
    QCOMPARE(page.marginBottom, 1200);
    QCOMPARE(page.headerDistance, 500);
    QCOMPARE(page.footerDistance, 600);
    QVERIFY(x->titlePage());
    QVERIFY(x->facingPages());
    QCOMPARE(x->info().title(), QStringLiteral("The title"));
    QCOMPARE(x->info().subject(), QStringLiteral("Subjects"));
    QCOMPARE(x->info().author(), QStringLiteral("Ada Writer"));
    QCOMPARE(HeaderFooter::document(*doc, HeaderFooter::Header)->toPlainText(), QStringLiteral("Page 1"));
    QCOMPARE(HeaderFooter::document(*doc, HeaderFooter::HeaderFirst)->toPlainText(), QStringLiteral("First page"));
    QCOMPARE(HeaderFooter::document(*doc, HeaderFooter::HeaderLeft)->toPlainText(), QStringLiteral("Even page"));
    QCOMPARE(HeaderFooter::document(*doc, HeaderFooter::Footer)->toPlainText(), QStringLiteral("Footer text"));
    // The page number field shows each page's number when printed.
    QCOMPARE(HeaderFooter::documentForPage(*doc, true, 3, 5)->toPlainText(), QStringLiteral("Page 3"));
    QCOMPARE(HeaderFooter::documentForPage(*doc, true, 2, 5)->toPlainText(), QStringLiteral("Even page"));
    // The section's columns, which the program does not show, go back into the file.
    const QByteArray written = DocxCodec::write(*doc);
    QVERIFY(read(written));
    QVERIFY(ZipReader(written).read(QStringLiteral("word/document.xml")).contains("<w:cols w:num=\"2\"/>"));
}

void TestFidelity::notes()
{
    Package p;
    p.add(QStringLiteral("styles"), QStringLiteral("word/styles.xml"), kStyles);
    p.add(QStringLiteral("footnotes"), QStringLiteral("word/footnotes.xml"), part("footnotes",
        "<w:footnote w:type=\"separator\" w:id=\"-1\"><w:p><w:r><w:separator/></w:r></w:p></w:footnote>"
        "<w:footnote w:id=\"1\"><w:p><w:r><w:rPr><w:vertAlign w:val=\"superscript\"/></w:rPr><w:footnoteRef/></w:r><w:r><w:t xml:space=\"preserve\"> First </w:t></w:r><w:r><w:rPr><w:i/></w:rPr><w:t>note</w:t></w:r></w:p></w:footnote>"
        "<w:footnote w:id=\"2\"><w:p><w:r><w:t>Second note</w:t></w:r></w:p><w:p><w:r><w:t>of two paragraphs</w:t></w:r></w:p></w:footnote>"));
    p.add(QStringLiteral("endnotes"), QStringLiteral("word/endnotes.xml"), part("endnotes",
        "<w:endnote w:id=\"1\"><w:p><w:r><w:endnoteRef/></w:r><w:r><w:t xml:space=\"preserve\"> The end note</w:t></w:r></w:p></w:endnote>"));
    p.body = "<w:p><w:r><w:t>Text</w:t></w:r><w:r><w:rPr><w:vertAlign w:val=\"superscript\"/></w:rPr><w:footnoteReference w:id=\"1\"/></w:r>"
             "<w:r><w:t xml:space=\"preserve\"> more</w:t></w:r><w:r><w:footnoteReference w:id=\"2\"/></w:r>"
             "<w:r><w:endnoteReference w:id=\"1\"/></w:r><w:r><w:footnoteReference w:id=\"77\"/></w:r></w:p>"
             "<w:sectPr><w:footnotePr><w:numRestart w:val=\"eachPage\"/></w:footnotePr></w:sectPr>";
    const auto doc = roundTrip(p.make());
    QVERIFY(doc);
    const QList<Notes::Reference> notes = Notes::references(*doc);
    QCOMPARE(notes.size(), 3);
    QCOMPARE(notes[0].mark, QStringLiteral("1"));
    QCOMPARE(notes[1].mark, QStringLiteral("2"));
    QCOMPARE(notes[2].kind, NoteSettings::Endnote);
    QCOMPARE(notes[2].mark, QStringLiteral("i"));
    const auto first = Notes::document(notes[0], QFont());
    QCOMPARE(first->toPlainText(), QStringLiteral("1 First note"));
    QVERIFY(formatOf(*first, "note").fontItalic());
    QCOMPARE(Notes::document(notes[1], QFont())->toPlainText(), QStringLiteral("Second note\nof two paragraphs"));
    QCOMPARE(Notes::document(notes[2], QFont())->toPlainText(), QStringLiteral("i The end note"));
    QCOMPARE(doc->toPlainText(), QStringLiteral("Text1 more2i")); // a reference to a missing note shows nothing
    // Numbering that starts again on each page, made again from the model (through RTF).
    QTextDocument viaRtf;
    RtfCodec::read(RtfCodec::write(*doc), viaRtf);
    QCOMPARE(DocumentExtras::find(*read(DocxCodec::write(viaRtf)))->noteSettings()->footnoteRestart, NoteSettings::EachPage);
}

void TestFidelity::fieldsLinksAndBookmarks()
{
    Package p;
    p.external.append({QStringLiteral("rIdLink"), QStringLiteral("https://example.org/page")});
    auto field = [](const QByteArray &instruction, const QByteArray &result) {
        return "<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText xml:space=\"preserve\">" + instruction
             + "</w:instrText></w:r><w:r><w:fldChar w:fldCharType=\"separate\"/></w:r>" + result
             + "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r>";
    };
    p.body = "<w:p><w:hyperlink r:id=\"rIdLink\"><w:r><w:t>external</w:t></w:r></w:hyperlink>"
             "<w:hyperlink w:anchor=\"target\"><w:r><w:t>internal</w:t></w:r></w:hyperlink>"
             + field(" HYPERLINK \"https://example.org/field\" ", "<w:r><w:t>fieldlink</w:t></w:r>")
             + field(" HYPERLINK \"javascript:alert(1)\" ", "<w:r><w:t>scripted</w:t></w:r>") + "</w:p>"
             "<w:p>" + field(" PAGE ", "<w:r><w:t>7</w:t></w:r>") + field(" NUMPAGES ", "<w:r><w:t>9</w:t></w:r>")
             + field(" DATE \\@ \"yyyy\" ", "<w:r><w:t>2024</w:t></w:r>")
             + "<w:fldSimple w:instr=\" AUTHOR \"><w:r><w:t>Ada</w:t></w:r></w:fldSimple>"
             + field(" SEQ x ", "") + "<w:r><w:t>noresult</w:t></w:r></w:p>"
             // A table of contents: its result, over paragraphs, with links and page fields inside.
             "<w:p><w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText> TOC \\o \"1-3\" </w:instrText></w:r>"
             "<w:r><w:fldChar w:fldCharType=\"separate\"/></w:r><w:hyperlink w:anchor=\"target\"><w:r><w:t>Entry one</w:t></w:r></w:hyperlink></w:p>"
             "<w:p><w:r><w:t>Entry two</w:t></w:r><w:r><w:fldChar w:fldCharType=\"end\"/></w:r></w:p>"
             "<w:p><w:bookmarkStart w:id=\"3\" w:name=\"target\"/><w:r><w:t>marked</w:t></w:r><w:bookmarkEnd w:id=\"3\"/><w:r><w:t xml:space=\"preserve\"> after</w:t></w:r></w:p>";
    const auto doc = roundTrip(p.make());
    QVERIFY(doc);
    QCOMPARE(formatOf(*doc, "external").anchorHref(), QStringLiteral("https://example.org/page"));
    QCOMPARE(formatOf(*doc, "internal").anchorHref(), QStringLiteral("#target"));
    QCOMPARE(formatOf(*doc, "fieldlink").anchorHref(), QStringLiteral("https://example.org/field"));
    QVERIFY(!formatOf(*doc, "scripted").isAnchor());
    auto instruction = [&](const char *word) {
        const QStringList fields = KeptRtf::split(formatOf(*doc, QLatin1String(word)).stringProperty(TextFormats::kFieldsProperty));
        QStringList out;
        for (const QString &f : fields)
            out << KeptRtf::fieldInstruction(f).simplified();
        return out.join(u'|');
    };
    QCOMPARE(instruction("7"), QStringLiteral("PAGE"));
    QCOMPARE(instruction("9"), QStringLiteral("NUMPAGES"));
    QCOMPARE(instruction("2024"), QStringLiteral("DATE \\@ \"yyyy\""));
    QCOMPARE(instruction("Ada"), QStringLiteral("AUTHOR"));
    QCOMPARE(instruction("Entry one"), QStringLiteral("TOC \\o \"1-3\""));
    QCOMPARE(instruction("Entry two"), QStringLiteral("TOC \\o \"1-3\""));
    QCOMPARE(formatOf(*doc, "Entry one").anchorHref(), QStringLiteral("#target"));
    // A field that shows nothing is kept for Word; its instruction is never shown as text.
    QVERIFY(!doc->toPlainText().contains(u"SEQ"));
    QVERIFY(formatOf(*doc, "noresult").stringProperty(DocxFormats::kKeptProperty).contains(u"SEQ x"));
    // The bookmark, kept as RTF that the Word writer writes as a bookmark again.
    QVERIFY(formatOf(*doc, "marked").stringProperty(TextFormats::kKeptRtfProperty).contains(u"bkmkstart target"));
    QVERIFY(formatOf(*doc, "after").stringProperty(TextFormats::kKeptRtfProperty).contains(u"bkmkend target"));
    // Fields and links go to RTF and come back.
    QTextDocument viaRtf;
    RtfCodec::read(RtfCodec::write(*doc), viaRtf);
    const auto back = again(viaRtf);
    QCOMPARE(formatOf(*back, "internal").anchorHref(), QStringLiteral("#target"));
    QVERIFY(formatOf(*back, "7").stringProperty(TextFormats::kFieldsProperty).contains(u"PAGE"));
    QVERIFY(formatOf(*back, "marked").stringProperty(TextFormats::kKeptRtfProperty).contains(u"bkmkstart target"));
}

void TestFidelity::pictures()
{
    Package p;
    const QString rel = p.add(QStringLiteral("image"), QStringLiteral("word/media/picture.png"), png(40, 20));
    const QString emf = p.add(QStringLiteral("image"), QStringLiteral("word/media/metafile.emf"),
                              QByteArray("\x01\x00\x00\x00", 4) + QByteArray(36, '\0') + " EMF" + QByteArray(60, '\0'));
    auto inlineDrawing = [](const QString &id, qint64 cx, qint64 cy) {
        return "<w:r><w:drawing><wp:inline><wp:extent cx=\"" + QByteArray::number(cx) + "\" cy=\"" + QByteArray::number(cy)
             + "\"/><wp:docPr id=\"1\" name=\"P\" descr=\"alt text\"/><a:graphic><a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">"
               "<pic:pic><pic:blipFill><a:blip r:embed=\"" + id.toUtf8() + "\"/></pic:blipFill></pic:pic></a:graphicData></a:graphic></wp:inline></w:drawing></w:r>";
    };
    p.body = "<w:p><w:r><w:t>before</w:t></w:r>" + inlineDrawing(rel, 952500, 476250) + "<w:r><w:t>after</w:t></w:r></w:p>"
             "<w:p>" + inlineDrawing(emf, 1905000, 952500) + inlineDrawing(QStringLiteral("rIdMissing"), 10, 10)
             + inlineDrawing(rel, 99999999999LL, 10) + "</w:p>"
             "<w:p><w:r><w:drawing><wp:anchor behindDoc=\"0\"><wp:positionH relativeFrom=\"column\"><wp:align>right</wp:align></wp:positionH>"
             "<wp:extent cx=\"952500\" cy=\"952500\"/><wp:wrapSquare wrapText=\"bothSides\"/><wp:docPr id=\"2\" name=\"F\"/>"
             "<a:graphic><a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><pic:pic><pic:blipFill>"
             "<a:blip r:embed=\"" + rel.toUtf8() + "\"/></pic:blipFill></pic:pic></a:graphicData></a:graphic></wp:anchor></w:drawing></w:r>"
             "<w:r><w:t>beside</w:t></w:r></w:p>";
    const auto doc = roundTrip(p.make());
    QVERIFY(doc);
    QTextCursor c(doc.get());
    c.setPosition(doc->find(QStringLiteral("before")).selectionEnd() + 1);
    const QTextImageFormat image = c.charFormat().toImageFormat();
    QVERIFY(image.isValid());
    QCOMPARE(std::lround(image.width()), 100L);
    QCOMPARE(std::lround(image.height()), 50L);
    QCOMPARE(doc->resource(QTextDocument::ImageResource, QUrl(image.name())).value<QImage>().size(), QSize(40, 20));
    QVERIFY(image.stringProperty(DocxFormats::kDrawingProperty).contains(u"alt text"));
    // The metafile shows a placeholder of its size and keeps its bytes and kind.
    c.setPosition(blockOf(*doc, "\uFFFC").position() + 1);
    int images = 0, emfs = 0;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
        for (QTextBlock::iterator it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat()) {
                ++images;
                emfs += it.fragment().charFormat().stringProperty(TextFormats::kImageTypeProperty) == u"emf";
                QVERIFY(it.fragment().charFormat().toImageFormat().width() <= 20000); // an absurd size is bounded
            }
    QCOMPARE(emfs, 1);
    QCOMPARE(images, 4); // the missing picture shows nothing
    // The anchored picture floats on the right, in a frame of its own before its paragraph.
    const QList<QTextFrame *> frames = doc->rootFrame()->childFrames();
    QCOMPARE(frames.size(), 1);
    QCOMPARE(frames[0]->frameFormat().position(), QTextFrameFormat::FloatRight);
    // The picture's bytes go back as they were, once.
    const QByteArray written = DocxCodec::write(*doc);
    int pngs = 0;
    for (const QString &name : ZipReader(written).names())
        pngs += name.endsWith(u".png") && ZipReader(written).read(name) == png(40, 20);
    QCOMPARE(pngs, 1);
}

void TestFidelity::keptContent()
{
    Package p;
    p.add(QStringLiteral("comments"), QStringLiteral("word/comments.xml"),
          part("comments", "<w:comment w:id=\"0\" w:author=\"Ann\"><w:p><w:r><w:t>A remark</w:t></w:r></w:p></w:comment>"));
    p.body = "<w:p><w:commentRangeStart w:id=\"0\"/><w:r><w:t>commented</w:t></w:r><w:commentRangeEnd w:id=\"0\"/>"
             "<w:r><w:commentReference w:id=\"0\"/></w:r>"
             "<w:ins w:id=\"1\" w:author=\"Ann\" w:date=\"2024-01-01T00:00:00Z\"><w:r><w:t>inserted</w:t></w:r></w:ins>"
             "<w:del w:id=\"2\" w:author=\"Bob\"><w:r><w:delText>deleted</w:delText></w:r></w:del></w:p>"
             "<w:p><w:r><w:t xml:space=\"preserve\">box: </w:t></w:r><w:r><mc:AlternateContent><mc:Choice Requires=\"wps\"><w:drawing><wp:anchor>"
             "<wp:extent cx=\"100\" cy=\"100\"/><a:graphic><a:graphicData uri=\"http://schemas.microsoft.com/office/word/2010/wordprocessingShape\">"
             "<wps:wsp><wps:txbx><w:txbxContent><w:p><w:r><w:t>Boxed words</w:t></w:r></w:p><w:p><w:r><w:t>line two</w:t></w:r></w:p></w:txbxContent></wps:txbx></wps:wsp>"
             "</a:graphicData></a:graphic></wp:anchor></w:drawing></mc:Choice><mc:Fallback><w:pict><v:shape><v:textbox><w:txbxContent>"
             "<w:p><w:r><w:t>Boxed words</w:t></w:r></w:p><w:p><w:r><w:t>line two</w:t></w:r></w:p></w:txbxContent></v:textbox></v:shape></w:pict></mc:Fallback>"
             "</mc:AlternateContent></w:r></w:p>"
             "<w:p><w:r><w:t xml:space=\"preserve\">love </w:t></w:r><w:r><mc:AlternateContent xmlns:w16se=\"http://schemas.microsoft.com/office/word/2015/wordml/symex\">"
             "<mc:Choice Requires=\"w16se\"><w16se:symEx w16se:font=\"Segoe UI Emoji\" w16se:char=\"2764\"/></mc:Choice>"
             "<mc:Fallback><w:t>\xe2\x9d\xa4</w:t></mc:Fallback></mc:AlternateContent></w:r></w:p>"
             "<w:p><m:oMath><m:r><m:t>x</m:t></m:r><m:r><m:t>=2</m:t></m:r></m:oMath><w:r><w:t xml:space=\"preserve\"> math</w:t></w:r></w:p>"
             "<w:sdt><w:sdtPr><w:alias w:val=\"Box\"/></w:sdtPr><w:sdtContent><w:p><w:r><w:t>in a control</w:t></w:r></w:p></w:sdtContent></w:sdt>"
             "<w:p><w:r><w:t>before unknown</w:t></w:r><w:r><w:futureThing><w:t>future text</w:t></w:futureThing></w:r></w:p>";
    const auto doc = roundTrip(p.make());
    QVERIFY(doc);
    // Shown: the text of all of them (deleted text struck through); kept: what they were.
    QCOMPARE(blockTexts(*doc), (QStringList{QStringLiteral("commentedinserteddeleted"), QStringLiteral("box: Boxed words\u2028line two"),
                                            QStringLiteral("love \u2764"),
                                            QStringLiteral("x=2 math"), QStringLiteral("in a control"),
                                            QStringLiteral("before unknownfuture text")}));
    QVERIFY(formatOf(*doc, "commented").stringProperty(DocxFormats::kKeptProperty).contains(u"commentRangeStart"));
    QVERIFY(formatOf(*doc, "inserted").stringProperty(DocxFormats::kRevisionProperty).startsWith(u"ins"));
    QVERIFY(formatOf(*doc, "deleted").fontStrikeOut());
    QVERIFY(formatOf(*doc, "Boxed").stringProperty(DocxFormats::kShownOnlyProperty).contains(u"AlternateContent"));
    QVERIFY(formatOf(*doc, QStringLiteral("\u2764")).stringProperty(DocxFormats::kShownOnlyProperty).contains(u"symEx"));
    QVERIFY(formatOf(*doc, "=2").stringProperty(DocxFormats::kShownOnlyProperty).contains(u"oMath"));
    QVERIFY(formatOf(*doc, "future").stringProperty(DocxFormats::kShownOnlyProperty).contains(u"futureThing"));
    // Written back: each kept thing once, where it stood, and the comments part with them.
    const QByteArray written = DocxCodec::write(*doc);
    const ZipReader zip(written);
    const QByteArray body = zip.read(QStringLiteral("word/document.xml"));
    QCOMPARE(body.count("<mc:AlternateContent"), 2);
    QCOMPARE(body.count("<w:commentRangeStart"), 1);
    QCOMPARE(body.count("<m:oMath>"), 1);
    QVERIFY(body.contains("<w:del ") && body.contains("<w:delText xml:space=\"preserve\">deleted</w:delText>"));
    QVERIFY(!body.contains("<w:strike/>"));
    QVERIFY(zip.contains(QStringLiteral("word/comments.xml")));
    // Saved as RTF, the shown text stays as text.
    const QByteArray rtf = RtfCodec::write(*doc);
    QVERIFY(rtf.contains("{\\*\\atnauthor Ann}") && rtf.contains("A remark")); // the comment, as an annotation
    QTextDocument viaRtf;
    RtfCodec::read(rtf, viaRtf);
    QVERIFY(viaRtf.toPlainText().contains(u"Boxed words"));
    QVERIFY(viaRtf.toPlainText().contains(u"x=2"));
    QVERIFY(viaRtf.toPlainText().contains(QChar(0x2764)));
}

void TestFidelity::strictDocument()
{
    Package p;
    p.mainNamespaces = "xmlns:w=\"http://purl.oclc.org/ooxml/wordprocessingml/main\" "
                       "xmlns:r=\"http://purl.oclc.org/ooxml/officeDocument/relationships\"";
    p.parts.append({QStringLiteral("word/styles.xml"),
                    "<w:styles xmlns:w=\"http://purl.oclc.org/ooxml/wordprocessingml/main\"><w:docDefaults><w:rPrDefault><w:rPr>"
                    "<w:sz w:val=\"12pt\"/></w:rPr></w:rPrDefault></w:docDefaults></w:styles>"});
    p.relationships.append({QStringLiteral("http://purl.oclc.org/ooxml/officeDocument/relationships/styles"), QStringLiteral("word/styles.xml")});
    p.body = "<w:p><w:pPr><w:ind w:start=\"1in\"/><w:jc w:val=\"end\"/></w:pPr><w:r><w:rPr><w:b w:val=\"true\"/></w:rPr><w:t>strict</w:t></w:r></w:p>"
             "<w:sectPr><w:pgSz w:w=\"8.5in\" w:h=\"11in\"/></w:sectPr>";
    const auto doc = roundTrip(p.make());
    QVERIFY(doc);
    QCOMPARE(doc->toPlainText(), QStringLiteral("strict"));
    QVERIFY(TextFormats::isBold(formatOf(*doc, "strict")));
    QCOMPARE(formatOf(*doc, "strict").fontPointSize(), 12.0);
    QCOMPARE(twips(blockOf(*doc, "strict").blockFormat().leftMargin()), 1440);
    QCOMPARE(int(blockOf(*doc, "strict").blockFormat().alignment() & Qt::AlignHorizontal_Mask), int(Qt::AlignRight));
    QCOMPARE(DocumentExtras::find(*doc)->pageSetup()->paperWidth, 12240);
    // Written as transitional.
    QVERIFY(ZipReader(DocxCodec::write(*doc)).read(QStringLiteral("word/document.xml"))
                .contains("http://schemas.openxmlformats.org/wordprocessingml/2006/main"));
}

// A document the RTF reader made (lists with a start, merged cells, notes, headers) written as
// Word and read back.
void TestFidelity::fromRtfModel()
{
    QTextDocument doc;
    RtfCodec::read("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\stylesheet{\\s1\\b\\fs32 Title;}}"
                   "{\\*\\listtable{\\list\\listid1{\\listlevel\\levelnfc0\\levelstartat3{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}}}}"
                   "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}"
                   "{\\header\\pard Running head\\par}"
                   "\\pard\\s1\\b\\fs32 Heading\\par"
                   "\\pard\\ls1\\ilvl0 three\\par\\pard\\ls1\\ilvl0 four\\par"
                   "\\pard Text{\\super\\chftn{\\footnote\\pard{\\super\\chftn} The note.}}\\par"
                   "\\trowd\\clmgf\\cellx2000\\clmrg\\cellx4000\\clbrdrb\\brdrs\\brdrw30\\cellx6000\\pard\\intbl merged\\cell\\cell last\\cell\\row"
                   "\\pard after\\par}",
                   doc);
    const auto back = again(doc);
    QCOMPARE(blockTexts(*back), blockTexts(doc));
    QCOMPARE(blockOf(*back, "three").textList()->format().intProperty(TextFormats::kListStartProperty), 3);
    QCOMPARE(blockOf(*back, "three").textList(), blockOf(*back, "four").textList());
    QCOMPARE(HeaderFooter::document(*back, HeaderFooter::Header)->toPlainText(), QStringLiteral("Running head"));
    const QList<Notes::Reference> notes = Notes::references(*back);
    QCOMPARE(notes.size(), 1);
    QCOMPARE(Notes::document(notes[0], QFont())->toPlainText(), QStringLiteral("1 The note."));
    QTextTable *table = doc.find(QStringLiteral("merged")).currentTable();
    QTextTable *again = back->find(QStringLiteral("merged")).currentTable();
    QVERIFY(table && again);
    QCOMPARE(again->cellAt(0, 0).columnSpan(), table->cellAt(0, 0).columnSpan());
    QCOMPARE(again->cellAt(0, 2).format().toTableCellFormat().bottomBorderStyle(), QTextFrameFormat::BorderStyle_Solid);
    QVERIFY(TextFormats::isBold(formatOf(*back, "Heading")));
    QCOMPARE(blockOf(*back, "Heading").blockFormat().stringProperty(TextFormats::kParagraphStyleProperty), QStringLiteral("Title"));
}

// Hidden text and comments that RTF keeps become Word's and OpenDocument's own, and each comes
// back once however often the document is saved.
void TestFidelity::hiddenTextAndCommentsAcrossFormats()
{
    QTextDocument doc;
    RtfCodec::read("{\\rtf1\\ansi Seen {\\v unseen\\tab words}text{\\*\\atnid AB}{\\*\\atnauthor Ann}\\chatn"
                   "{\\*\\annotation\\pard\\plain A remark\\par Its second line\\par}.\\par}",
                   doc);
    auto kept = [](const QTextDocument &d) { // the hidden text, whatever its pieces; the comments
        QString hiddenText;
        QStringList found;
        for (QTextBlock b = d.begin(); b.isValid(); b = b.next()) {
            QStringList values{b.charFormat().stringProperty(TextFormats::kKeptRtfProperty)};
            for (auto it = b.begin(); !it.atEnd(); ++it)
                values << it.fragment().charFormat().stringProperty(TextFormats::kKeptRtfProperty);
            for (const QString &value : values) {
                for (const QString &part : KeptRtf::split(value)) {
                    hiddenText += KeptRtf::hiddenText(KeptRtf::content(part));
                    for (const KeptRtf::Annotation &a : KeptRtf::annotations(KeptRtf::content(part)))
                        found << QStringLiteral("comment by %1 (%2): %3").arg(a.author, a.initials, a.paragraphs.join(u'|'));
                }
            }
        }
        return QStringList{QStringLiteral("hidden: ") + hiddenText} + found;
    };
    const QStringList expected{QStringLiteral("hidden: unseen\twords"), QStringLiteral("comment by Ann (AB): A remark|Its second line")};
    QCOMPARE(kept(doc), expected);
    const QByteArray word = DocxCodec::write(doc);
    QCOMPARE(ZipReader(word).read(QStringLiteral("word/document.xml")).count("<w:vanish/>"), 1);
    QCOMPARE(ZipReader(word).read(QStringLiteral("word/comments.xml")).count("<w:comment "), 1);
    const auto fromWord = read(word);
    QCOMPARE(kept(*fromWord), expected);
    const auto wordAgain = read(DocxCodec::write(*fromWord));
    QCOMPARE(kept(*wordAgain), expected);
    QCOMPARE(wordAgain->toPlainText(), doc.toPlainText());
    QTextDocument fromOdt, odtAgain;
    OdtCodec::read(OdtCodec::write(doc), fromOdt);
    QCOMPARE(kept(fromOdt), expected);
    OdtCodec::read(OdtCodec::write(fromOdt), odtAgain);
    QCOMPARE(kept(odtAgain), expected);
    QCOMPARE(odtAgain.toPlainText(), doc.toPlainText());
}

// An RTF stylesheet may base styles on each other; Word and OpenDocument files name no such bases.
void TestFidelity::stylesBasedOnEachOther()
{
    QTextDocument doc;
    RtfCodec::read("{\\rtf1\\ansi{\\stylesheet{\\s1\\sbasedon2 A;}{\\s2\\sbasedon1 B;}{\\s3\\sbasedon3 Self;}{\\s4\\sbasedon2 C;}}"
                   "\\pard\\s1 a\\par\\pard\\s2 b\\par\\pard\\s3 self\\par\\pard\\s4 c\\par}",
                   doc);
    QTextDocument viaOdt;
    OdtCodec::read(OdtCodec::write(doc), viaOdt);
    const auto viaWord = read(DocxCodec::write(doc));
    for (const QTextDocument *d : {viaWord.get(), &viaOdt}) {
        const QList<DocumentStyle> styles = DocumentExtras::find(*d)->styles();
        QVERIFY(!styles.isEmpty());
        const QHash<int, int> bases = DocumentStyle::acyclicBases(styles);
        for (const DocumentStyle &s : styles)
            QCOMPARE(bases.value(s.number), s.basedOn);
    }
    QCOMPARE(viaOdt.toPlainText(), doc.toPlainText());
}

// Hundreds of paragraph and character formats: each comes back its own.
void TestFidelity::manyFormats()
{
    QTextDocument doc;
    QTextCursor cursor(&doc);
    for (int i = 0; i < 600; ++i) {
        QTextBlockFormat block;
        block.setLeftMargin(i);
        QTextCharFormat chars;
        chars.setFontPointSize(6 + i % 300 / 2.0); // Word sizes are in half points
        if (i > 0)
            cursor.insertBlock(block);
        else
            cursor.setBlockFormat(block);
        cursor.insertText(QString::number(i), chars);
    }
    const auto back = again(doc);
    QCOMPARE(back->blockCount(), 600);
    for (QTextBlock b = back->begin(); b.isValid(); b = b.next()) {
        const int i = b.text().toInt();
        QCOMPARE(qRound(b.blockFormat().leftMargin()), i);
        QCOMPARE(b.begin().fragment().charFormat().fontPointSize(), 6 + i % 300 / 2.0);
    }
}

// A body long enough to be read on a thread of its own while the document is built: the same as
// read otherwise, and a failure at its very end still refuses the whole package.
void TestFidelity::longBody()
{
    Package p;
    p.add(QStringLiteral("numbering"), QStringLiteral("word/numbering.xml"), part("numbering",
        "<w:abstractNum w:abstractNumId=\"0\"><w:lvl w:ilvl=\"0\"><w:start w:val=\"1\"/><w:numFmt w:val=\"decimal\"/>"
        "<w:lvlText w:val=\"%1.\"/></w:lvl></w:abstractNum><w:num w:numId=\"1\"><w:abstractNumId w:val=\"0\"/></w:num>"));
    QByteArray body;
    const int paragraphs = 30000;
    for (int i = 0; i < paragraphs; ++i) {
        const QByteArray n = QByteArray::number(i);
        if (i % 1000 == 500)
            body += "<w:tbl><w:tblGrid><w:gridCol w:w=\"2000\"/></w:tblGrid><w:tr><w:tc><w:p><w:r><w:t>cell " + n + "</w:t></w:r></w:p></w:tc></w:tr></w:tbl>";
        body += (i % 10 == 0 ? "<w:p><w:pPr><w:numPr><w:ilvl w:val=\"0\"/><w:numId w:val=\"1\"/></w:numPr></w:pPr>" : "<w:p>")
              + QByteArray("<w:r><w:rPr><w:b/></w:rPr><w:t xml:space=\"preserve\">Paragraph ") + n
              + " with some text to make it long enough </w:t></w:r><w:r><w:t>to read on a thread of its own.</w:t></w:r></w:p>";
    }
    p.body = body;
    const QByteArray docx = p.make();
    QVERIFY(ZipReader(docx).size(QStringLiteral("word/document.xml")) > (5 << 20));
    const auto doc = read(docx);
    QCOMPARE(doc->rootFrame()->childFrames().size(), paragraphs / 1000);
    QCOMPARE(blockOf(*doc, "Paragraph 29999 ").text(), QStringLiteral("Paragraph 29999 with some text to make it long enough to read on a thread of its own."));
    QVERIFY(TextFormats::isBold(formatOf(*doc, "Paragraph 12345 ")));
    const QTextBlock item = blockOf(*doc, "Paragraph 29990 ");
    QVERIFY(item.textList());
    const QTextListFormat f = item.textList()->format();
    QCOMPARE(f.intProperty(TextFormats::kListStartProperty) + item.textList()->itemNumber(item), 3000); // its number
    QCOMPARE(doc->find(QStringLiteral("cell 29500")).currentTable() != nullptr, true);
    // Broken at its end: refused, the document left empty.
    Package broken = p;
    broken.body = body + "<w:p><w:r><w:t>unclosed";
    QTextDocument refused;
    refused.setPlainText(QStringLiteral("before"));
    QVERIFY_THROWS_EXCEPTION(PackageError, DocxCodec::read(broken.make(), refused));
    QVERIFY(refused.isEmpty());
}

QTEST_MAIN(TestFidelity)
#include "tst_fidelity.moc"
