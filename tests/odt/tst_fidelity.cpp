// One fixture per feature, read, written and read again: what the first reading shows, the second
// shows too; what the program cannot show is written back.
#include "OdtFixtures.h"
#include "odt/OdtFormats.h"
#include "rtf/DocumentExtras.h"
#include "rtf/HeaderFooter.h"
#include "rtf/KeptRtf.h"
#include "rtf/Notes.h"
#include "rtf/RtfCodec.h"
#include "zip/ZipReader.h"

#include <QBuffer>
#include <QImage>
#include <QTextTable>
#include <QtTest>
#include <functional>

using namespace OdtFixtures;

namespace {

using Check = std::function<void(const QTextDocument &)>;

// The check on the document read, and on it written and read again.
void both(const QByteArray &package, const Check &check)
{
    const auto first = read(package);
    check(*first);
    if (QTest::currentTestFailed())
        return;
    const auto second = again(*first);
    check(*second);
}

QString contentOf(const QByteArray &package)
{
    ZipReader zip(package);
    return QString::fromUtf8(zip.read(QStringLiteral("content.xml")));
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

QString headerText(const QTextDocument &doc, HeaderFooter::Kind kind)
{
    const auto part = HeaderFooter::document(doc, kind);
    return part ? part->toPlainText().trimmed() : QString();
}

} // namespace

class TestFidelity : public QObject
{
    Q_OBJECT

private slots:
    void characterFormats();
    void paragraphFormats();
    void manyParagraphFormats();
    void stylesMergeAcrossParts();
    void listsNumberAsTheFileSays();
    void tablesKeepTheirGrid();
    void headersOfTheFirstParagraphsMasterPage();
    void notesOfBothKinds();
    void fieldsLinksAndBookmarks();
    void pictures();
    void pageSetUpAndInformation();
    void whiteSpaceAsWritten();
    void keptElementsGoBack();
    void throughRtfAndBack();
};

void TestFidelity::characterFormats()
{
    const QString automatic = QStringLiteral(
        "<style:style style:name=\"T1\" style:family=\"text\"><style:text-properties fo:font-family=\"'DejaVu Sans'\" "
        "fo:font-size=\"15pt\" fo:font-weight=\"bold\" fo:font-style=\"italic\" style:text-underline-style=\"solid\" "
        "style:text-line-through-style=\"solid\" fo:color=\"#ff0000\" fo:background-color=\"#ffff00\" "
        "fo:language=\"fr\"/></style:style>"
        "<style:style style:name=\"T2\" style:family=\"text\"><style:text-properties style:text-position=\"super 58%\"/></style:style>"
        "<style:style style:name=\"T3\" style:family=\"text\"><style:text-properties style:text-position=\"sub 58%\" fo:font-variant=\"small-caps\"/></style:style>"
        "<style:style style:name=\"T4\" style:family=\"text\"><style:text-properties text:display=\"none\"/></style:style>");
    both(package(QStringLiteral("<text:p>plain <text:span text:style-name=\"T1\">loud</text:span> x<text:span text:style-name=\"T2\">up</text:span>"
                                "<text:span text:style-name=\"T3\">down</text:span><text:span text:style-name=\"T4\">hidden</text:span> end</text:p>"),
                 automatic),
         [](const QTextDocument &doc) {
             QCOMPARE(doc.toPlainText(), QStringLiteral("plain loud xupdown end"));
             const QTextCharFormat loud = formatOf(doc, QStringLiteral("loud"));
             QCOMPARE(TextFormats::family(loud, QFont()), QStringLiteral("DejaVu Sans"));
             QCOMPARE(loud.fontPointSize(), 15.0);
             QVERIFY(TextFormats::isBold(loud) && loud.fontItalic() && loud.fontUnderline() && loud.fontStrikeOut());
             QCOMPARE(loud.foreground().color(), QColor(Qt::red));
             QCOMPARE(loud.background().color(), QColor(Qt::yellow));
             QVERIFY(loud.stringProperty(OdtFormats::kTextAttributesProperty).contains(QStringLiteral("fo:language=\"fr\"")));
             QCOMPARE(formatOf(doc, QStringLiteral("up")).verticalAlignment(), QTextCharFormat::AlignSuperScript);
             QCOMPARE(formatOf(doc, QStringLiteral("down")).verticalAlignment(), QTextCharFormat::AlignSubScript);
             QCOMPARE(formatOf(doc, QStringLiteral("down")).fontCapitalization(), QFont::SmallCaps);
             QVERIFY(RtfCodec::write(doc).contains("{\\v hidden}")); // kept for other formats too
             QVERIFY(formatOf(doc, QStringLiteral("end")).stringProperty(OdtFormats::kKeptXmlProperty).contains(QStringLiteral("hidden")));
         });
}

void TestFidelity::paragraphFormats()
{
    const QString automatic = QStringLiteral(
        "<style:style style:name=\"P1\" style:family=\"paragraph\"><style:paragraph-properties fo:text-align=\"center\" "
        "fo:margin-left=\"1in\" fo:text-indent=\"-0.25in\" fo:margin-top=\"0.5in\" fo:margin-bottom=\"0.25in\" "
        "fo:line-height=\"150%\" fo:keep-with-next=\"always\"/></style:style>"
        "<style:style style:name=\"P2\" style:family=\"paragraph\"><style:paragraph-properties fo:break-before=\"page\" "
        "style:writing-mode=\"rl-tb\" fo:text-align=\"end\" fo:line-height=\"0.3in\"/></style:style>");
    both(package(QStringLiteral("<text:p text:style-name=\"P1\">centred</text:p><text:p text:style-name=\"P2\">after</text:p>"), automatic),
         [](const QTextDocument &doc) {
             const QTextBlockFormat centred = blockOf(doc, QStringLiteral("centred")).blockFormat();
             QCOMPARE(centred.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
             QCOMPARE(centred.leftMargin(), 96.0);
             QCOMPARE(centred.textIndent(), -24.0);
             QCOMPARE(centred.topMargin(), 48.0);
             QCOMPARE(centred.bottomMargin(), 24.0);
             QCOMPARE(centred.lineHeightType(), int(QTextBlockFormat::ProportionalHeight));
             QCOMPARE(centred.lineHeight(), 150.0);
             QVERIFY(centred.stringProperty(OdtFormats::kParagraphAttributesProperty).contains(QStringLiteral("fo:keep-with-next=\"always\"")));
             const QTextBlockFormat after = blockOf(doc, QStringLiteral("after")).blockFormat();
             QVERIFY(after.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
             QCOMPARE(after.layoutDirection(), Qt::RightToLeft);
             QCOMPARE(after.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignTrailing);
             QCOMPARE(after.lineHeightType(), int(QTextBlockFormat::FixedHeight));
         });
}

// A document of hundreds of paragraph formats: each paragraph is written with its own.
void TestFidelity::manyParagraphFormats()
{
    QTextDocument doc;
    QTextCursor cursor(&doc);
    for (int i = 0; i < 600; ++i) {
        QTextBlockFormat f;
        f.setLeftMargin(i);
        if (i == 0)
            cursor.setBlockFormat(f);
        else
            cursor.insertBlock(f);
        cursor.insertText(QString::number(i));
    }
    const auto back = again(doc);
    QCOMPARE(back->blockCount(), 600);
    for (QTextBlock b = back->begin(); b.isValid(); b = b.next())
        QCOMPARE(qRound(b.blockFormat().leftMargin()), b.text().toInt());
}

// Common styles of styles.xml under the automatic styles of content.xml, with their parents and the
// default style: nothing of either is lost.
void TestFidelity::stylesMergeAcrossParts()
{
    Parts p;
    p.styles = QStringLiteral(
        "<style:default-style style:family=\"paragraph\"><style:text-properties fo:font-family=\"'Liberation Sans'\" fo:font-size=\"11pt\"/></style:default-style>"
        "<style:style style:name=\"Standard\" style:family=\"paragraph\"/>"
        "<style:style style:name=\"Body\" style:family=\"paragraph\" style:parent-style-name=\"Standard\"><style:paragraph-properties fo:margin-bottom=\"0.1in\"/></style:style>"
        "<style:style style:name=\"Heading_20_2\" style:display-name=\"Heading 2\" style:family=\"paragraph\" style:parent-style-name=\"Body\" "
        "style:default-outline-level=\"2\"><style:text-properties fo:font-size=\"14pt\" fo:font-weight=\"bold\"/></style:style>"
        "<style:style style:name=\"Emphasis\" style:family=\"text\"><style:text-properties fo:font-style=\"italic\"/></style:style>");
    p.automatic = QStringLiteral("<style:style style:name=\"P1\" style:family=\"paragraph\" style:parent-style-name=\"Heading_20_2\">"
                                 "<style:text-properties fo:color=\"#0000ff\"/></style:style>");
    p.body = QStringLiteral("<text:h text:style-name=\"P1\" text:outline-level=\"2\">Title</text:h>"
                            "<text:p text:style-name=\"Body\">Some <text:span text:style-name=\"Emphasis\">stress</text:span></text:p>");
    both(package(p), [](const QTextDocument &doc) {
        const QTextBlock title = blockOf(doc, QStringLiteral("Title"));
        QCOMPARE(title.blockFormat().stringProperty(TextFormats::kParagraphStyleProperty), QStringLiteral("Heading 2"));
        QCOMPARE(title.blockFormat().headingLevel(), 2);
        QCOMPARE(title.blockFormat().bottomMargin(), 9.6); // from Body, two parents up
        const QTextCharFormat f = formatOf(doc, QStringLiteral("Title"));
        QVERIFY(TextFormats::isBold(f));
        QCOMPARE(f.fontPointSize(), 14.0);
        QCOMPARE(f.foreground().color(), QColor(Qt::blue));
        QCOMPARE(TextFormats::family(f, QFont()), QStringLiteral("Liberation Sans")); // the default style's
        QCOMPARE(formatOf(doc, QStringLiteral("Some")).fontPointSize(), 11.0);
        QVERIFY(formatOf(doc, QStringLiteral("stress")).fontItalic());
        QCOMPARE(formatOf(doc, QStringLiteral("stress")).stringProperty(TextFormats::kCharacterStyleProperty), QStringLiteral("Emphasis"));
        const DocumentExtras *x = DocumentExtras::find(doc);
        QVERIFY(x);
        const DocumentStyle *heading = x->style(QStringLiteral("Heading 2"), DocumentStyle::Paragraph);
        QVERIFY(heading);
        const DocumentStyle *body = x->style(QStringLiteral("Body"), DocumentStyle::Paragraph);
        QVERIFY(body && heading->basedOn == body->number);
        QVERIFY(!heading->definition.isEmpty()); // an RTF stylesheet entry, for a save as RTF
    });
}

void TestFidelity::listsNumberAsTheFileSays()
{
    const QString automatic = QStringLiteral(
        "<text:list-style style:name=\"L1\">"
        "<text:list-level-style-number text:level=\"1\" style:num-format=\"1\" style:num-suffix=\".\" text:start-value=\"5\"/>"
        "<text:list-level-style-number text:level=\"2\" style:num-format=\"a\" style:num-suffix=\")\"/>"
        "<text:list-level-style-number text:level=\"3\" style:num-format=\"i\" style:num-suffix=\".\" text:display-levels=\"3\"/></text:list-style>"
        "<text:list-style style:name=\"L2\"><text:list-level-style-bullet text:level=\"1\" text:bullet-char=\"–\"/></text:list-style>");
    const QString body = QStringLiteral(
        "<text:list xml:id=\"a\" text:style-name=\"L1\"><text:list-item><text:p>five</text:p>"
        "<text:list><text:list-item><text:p>five a</text:p><text:list><text:list-item><text:p>deep</text:p></text:list-item></text:list>"
        "</text:list-item></text:list></text:list-item>"
        "<text:list-header><text:p>no number</text:p></text:list-header></text:list>"
        "<text:p>between</text:p>"
        "<text:list text:continue-list=\"a\" text:style-name=\"L1\"><text:list-item><text:p>six</text:p></text:list-item>"
        "<text:list-item text:start-value=\"10\"><text:p>ten</text:p></text:list-item></text:list>"
        "<text:list text:style-name=\"L1\"><text:list-item><text:p>again five</text:p></text:list-item></text:list>"
        "<text:list text:style-name=\"L2\"><text:list-item><text:p>dash</text:p></text:list-item></text:list>");
    both(package(body, automatic), [](const QTextDocument &doc) {
        const QHash<int, QString> m = markers(doc);
        auto marker = [&](const char *word) { return m.value(blockOf(doc, QLatin1String(word)).blockNumber()); };
        QCOMPARE(marker("five"), QStringLiteral("5."));
        QCOMPARE(marker("five a"), QStringLiteral("a)"));
        QCOMPARE(marker("deep"), QStringLiteral("5.a.i.")); // each level's number in its own style
        QCOMPARE(marker("no number"), QString());
        QCOMPARE(marker("six"), QStringLiteral("6."));
        QCOMPARE(marker("ten"), QStringLiteral("10."));
        QCOMPARE(marker("again five"), QStringLiteral("5."));
        QVERIFY(!blockOf(doc, QStringLiteral("between")).textList());
        const QTextList *dash = blockOf(doc, QStringLiteral("dash")).textList();
        QVERIFY(dash);
        QCOMPARE(dash->format().stringProperty(TextFormats::kListNumberTemplateProperty), QStringLiteral("–"));
        QCOMPARE(blockOf(doc, QStringLiteral("five")).textList()->format().stringProperty(TextFormats::kListGroupProperty),
                 blockOf(doc, QStringLiteral("deep")).textList()->format().stringProperty(TextFormats::kListGroupProperty));
    });
}

void TestFidelity::tablesKeepTheirGrid()
{
    const QString automatic = QStringLiteral(
        "<style:style style:name=\"C1\" style:family=\"table-column\"><style:table-column-properties style:column-width=\"1in\"/></style:style>"
        "<style:style style:name=\"C2\" style:family=\"table-column\"><style:table-column-properties style:column-width=\"2in\"/></style:style>"
        "<style:style style:name=\"A1\" style:family=\"table-cell\"><style:table-cell-properties fo:border=\"1.5pt solid #0000ff\" "
        "fo:background-color=\"#00ff00\" fo:padding=\"0.1in\" style:vertical-align=\"middle\"/></style:style>");
    const QString body = QStringLiteral(
        "<table:table table:name=\"T\"><table:table-column table:style-name=\"C1\"/><table:table-column table:style-name=\"C2\" table:number-columns-repeated=\"2\"/>"
        "<table:table-header-rows><table:table-row><table:table-cell table:style-name=\"A1\" table:number-columns-spanned=\"2\"><text:p>wide</text:p>"
        "</table:table-cell><table:covered-table-cell/><table:table-cell><text:p>h3</text:p></table:table-cell></table:table-row></table:table-header-rows>"
        "<table:table-row><table:table-cell table:number-rows-spanned=\"2\"><text:p>tall</text:p></table:table-cell>"
        "<table:table-cell><table:table><table:table-column/><table:table-row><table:table-cell><text:p>nested</text:p></table:table-cell></table:table-row></table:table>"
        "</table:table-cell><table:table-cell><text:p>b3</text:p></table:table-cell></table:table-row>"
        "<table:table-row><table:covered-table-cell><text:p/></table:covered-table-cell><table:table-cell><text:p>c2</text:p></table:table-cell>"
        "<table:table-cell><text:p>c3</text:p></table:table-cell></table:table-row></table:table><text:p>after</text:p>");
    both(package(body, automatic), [](const QTextDocument &doc) {
        const QList<QTextFrame *> frames = doc.rootFrame()->childFrames();
        const QTextTable *table = frames.isEmpty() ? nullptr : qobject_cast<QTextTable *>(frames.first());
        QVERIFY(table);
        QCOMPARE(table->rows(), 3);
        QCOMPARE(table->columns(), 3);
        QCOMPARE(table->format().headerRowCount(), 1);
        const QList<QTextLength> widths = table->format().columnWidthConstraints();
        QCOMPARE(widths.size(), 3);
        QCOMPARE(widths[0].rawValue(), 96.0);
        QCOMPARE(widths[2].rawValue(), 192.0);
        const QTextTableCell wide = table->cellAt(0, 0);
        QCOMPARE(wide.columnSpan(), 2);
        const QTextTableCellFormat look = wide.format().toTableCellFormat();
        QCOMPARE(look.background().color(), QColor(Qt::green));
        QCOMPARE(look.doubleProperty(QTextFormat::TableCellTopBorder), 2.0);
        QCOMPARE(look.brushProperty(QTextFormat::TableCellLeftBorderBrush).color(), QColor(Qt::blue));
        QCOMPARE(look.doubleProperty(QTextFormat::TableCellLeftPadding), 9.6);
        QCOMPARE(look.verticalAlignment(), QTextCharFormat::AlignMiddle);
        QCOMPARE(table->cellAt(1, 0).rowSpan(), 2);
        QCOMPARE(table->cellAt(2, 1).firstCursorPosition().block().text(), QStringLiteral("c2"));
        QCOMPARE(table->childFrames().size(), 1); // the nested table
        QVERIFY(doc.toPlainText().contains(QStringLiteral("nested")));
        const QTextTableCell tall = table->cellAt(1, 0);
        QCOMPARE(tall.lastCursorPosition().blockNumber(), tall.firstCursorPosition().blockNumber()); // the covered cell adds nothing
    });
}

void TestFidelity::headersOfTheFirstParagraphsMasterPage()
{
    Parts p;
    p.pageStyles = QStringLiteral("<style:page-layout style:name=\"pm1\"><style:page-layout-properties fo:page-width=\"8.5in\" fo:page-height=\"11in\"/></style:page-layout>");
    p.masters = QStringLiteral(
        "<style:master-page style:name=\"Standard\" style:page-layout-name=\"pm1\"><style:header><text:p>wrong header</text:p></style:header></style:master-page>"
        "<style:master-page style:name=\"Title\" style:page-layout-name=\"pm1\" style:next-style-name=\"Body\">"
        "<style:header><text:p>first page</text:p></style:header></style:master-page>"
        "<style:master-page style:name=\"Body\" style:page-layout-name=\"pm1\"><style:header><text:p>odd pages <text:page-number>2</text:page-number></text:p></style:header>"
        "<style:header-left><text:p>even pages</text:p></style:header-left><style:footer><text:p>footer</text:p></style:footer></style:master-page>");
    p.styles = QStringLiteral("<style:style style:name=\"Cover\" style:family=\"paragraph\" style:master-page-name=\"Title\"/>");
    p.body = QStringLiteral("<text:p text:style-name=\"Cover\">Cover</text:p>");
    both(package(p), [](const QTextDocument &doc) {
        const DocumentExtras *x = DocumentExtras::find(doc);
        QVERIFY(x && x->titlePage() && x->facingPages());
        QCOMPARE(headerText(doc, HeaderFooter::HeaderFirst), QStringLiteral("first page"));
        QCOMPARE(headerText(doc, HeaderFooter::Header), QStringLiteral("odd pages 2"));
        QCOMPARE(headerText(doc, HeaderFooter::HeaderLeft), QStringLiteral("even pages"));
        QCOMPARE(headerText(doc, HeaderFooter::Footer), QStringLiteral("footer"));
        const auto third = HeaderFooter::documentForPage(doc, true, 3, 5);
        QVERIFY(third);
        QCOMPARE(third->toPlainText(), QStringLiteral("odd pages 3")); // the page number is a field
    });
}

void TestFidelity::notesOfBothKinds()
{
    both(package(QStringLiteral(
             "<text:p>Claim<text:note text:id=\"a\" text:note-class=\"footnote\"><text:note-citation>1</text:note-citation>"
             "<text:note-body><text:p>Source <text:span>one</text:span>.</text:p></text:note-body></text:note> and more"
             "<text:note text:id=\"b\" text:note-class=\"endnote\"><text:note-citation text:label=\"*\">*</text:note-citation>"
             "<text:note-body><text:p>Starred end.</text:p></text:note-body></text:note>.</text:p>")),
         [](const QTextDocument &doc) {
             const QList<Notes::Reference> notes = Notes::references(doc);
             QCOMPARE(notes.size(), 2);
             QCOMPARE(notes[0].kind, NoteSettings::Footnote);
             QCOMPARE(notes[0].mark, QStringLiteral("1"));
             QCOMPARE(Notes::document(notes[0].rtf, QFont())->toPlainText(), QStringLiteral("Source one."));
             QCOMPARE(notes[1].kind, NoteSettings::Endnote);
             QCOMPARE(notes[1].mark, QStringLiteral("*"));
             QCOMPARE(Notes::document(notes[1].rtf, QFont())->toPlainText(), QStringLiteral("Starred end."));
             QCOMPARE(doc.toPlainText(), QStringLiteral("Claim1 and more*."));
         });
}

void TestFidelity::fieldsLinksAndBookmarks()
{
    both(package(QStringLiteral(
             "<text:p>Page <text:page-number text:select-page=\"current\">4</text:page-number> of <text:page-count>9</text:page-count>, "
             "<text:date text:date-value=\"2024-05-01\">May 1</text:date>. <text:a xlink:type=\"simple\" xlink:href=\"https://example.org/\">site</text:a> "
             "<text:a xlink:type=\"simple\" xlink:href=\"#there\">inside</text:a> <text:bookmark-start text:name=\"there\"/>target<text:bookmark-end text:name=\"there\"/></text:p>"
             "<text:table-of-content text:name=\"toc\"><text:table-of-content-source/><text:index-body><text:p>Chapter<text:tab/>3</text:p></text:index-body></text:table-of-content>")),
         [](const QTextDocument &doc) {
             QVERIFY(doc.toPlainText().startsWith(QStringLiteral("Page 4 of 9, May 1. site inside target")));
             QVERIFY(doc.toPlainText().contains(QStringLiteral("Chapter\t3")));
             const QString page = formatOf(doc, QStringLiteral("4")).stringProperty(TextFormats::kFieldsProperty);
             QCOMPARE(KeptRtf::fieldInstruction(page), QStringLiteral("PAGE"));
             QCOMPARE(KeptRtf::fieldInstruction(formatOf(doc, QStringLiteral("9")).stringProperty(TextFormats::kFieldsProperty)),
                      QStringLiteral("NUMPAGES"));
             QCOMPARE(formatOf(doc, QStringLiteral("site")).anchorHref(), QStringLiteral("https://example.org/"));
             QCOMPARE(formatOf(doc, QStringLiteral("inside")).anchorHref(), QStringLiteral("#there"));
             const QString mark = formatOf(doc, QStringLiteral("target")).stringProperty(TextFormats::kKeptRtfProperty);
             QVERIFY(mark.contains(QStringLiteral("bkmkstart there")));
         });
}

void TestFidelity::pictures()
{
    Parts p;
    p.files = {{QStringLiteral("Pictures/a.png"), png(40, 20)}, {QStringLiteral("Pictures/b.svg"), "<svg xmlns=\"http://www.w3.org/2000/svg\"/>"}};
    p.automatic = QStringLiteral("<style:style style:name=\"fr1\" style:family=\"graphic\"><style:graphic-properties style:wrap=\"right\" "
                                 "style:horizontal-pos=\"left\"/></style:style>");
    p.body = QStringLiteral(
        "<text:p>in <draw:frame text:anchor-type=\"as-char\" svg:width=\"1in\" svg:height=\"0.5in\"><draw:image xlink:href=\"Pictures/a.png\"/></draw:frame> line</text:p>"
        "<text:p><draw:frame draw:style-name=\"fr1\" text:anchor-type=\"paragraph\" svg:width=\"2in\" svg:height=\"1in\"><draw:image xlink:href=\"Pictures/a.png\"/>"
        "</draw:frame>beside</text:p><text:p>svg <draw:frame text:anchor-type=\"as-char\" svg:width=\"1in\" svg:height=\"1in\"><draw:image xlink:href=\"Pictures/b.svg\"/></draw:frame></text:p>");
    const QByteArray bytes = package(p);
    both(bytes, [](const QTextDocument &doc) {
        const QTextImageFormat inline_ = formatOf(doc, QString(QChar::ObjectReplacementCharacter)).toImageFormat();
        QVERIFY(inline_.isValid());
        QCOMPARE(inline_.width(), 96.0);
        QCOMPARE(doc.resource(QTextDocument::ImageResource, QUrl(inline_.name())).value<QImage>().size(), QSize(40, 20));
        QTextFrame *floating = nullptr;
        for (QTextFrame *f : doc.rootFrame()->childFrames())
            if (f->frameFormat().position() == QTextFrameFormat::FloatLeft)
                floating = f;
        QVERIFY(floating);
        QVERIFY(!floating->frameFormat().stringProperty(TextFormats::kShapeProperty).isEmpty()); // RTF writes a shape
    });
    // The SVG, which is not shown, goes back as it was.
    const auto doc = read(bytes);
    ZipReader written(OdtCodec::write(*doc));
    bool svg = false;
    for (const QString &name : written.names())
        svg = svg || written.read(name) == "<svg xmlns=\"http://www.w3.org/2000/svg\"/>";
    QVERIFY(svg);
}

void TestFidelity::pageSetUpAndInformation()
{
    Parts p;
    p.pageStyles = QStringLiteral("<style:page-layout style:name=\"pm1\"><style:page-layout-properties fo:page-width=\"11in\" fo:page-height=\"8.5in\" "
                                  "style:print-orientation=\"landscape\" fo:margin-left=\"0.5in\" fo:margin-right=\"0.75in\" fo:margin-top=\"1in\" "
                                  "fo:margin-bottom=\"1.5in\"/></style:page-layout>");
    p.masters = QStringLiteral("<style:master-page style:name=\"Standard\" style:page-layout-name=\"pm1\"/>");
    p.meta = QStringLiteral("<dc:title>The title</dc:title><dc:subject>The subject</dc:subject><meta:initial-creator>An Author</meta:initial-creator>"
                            "<meta:user-defined meta:name=\"Kept\">yes</meta:user-defined>");
    p.body = QStringLiteral("<text:p>text</text:p>");
    const QByteArray bytes = package(p);
    both(bytes, [](const QTextDocument &doc) {
        const DocumentExtras *x = DocumentExtras::find(doc);
        QVERIFY(x && x->pageSetup());
        const PageSetup page = *x->pageSetup();
        QCOMPARE(page.paperWidth, 15840);
        QCOMPARE(page.paperHeight, 12240);
        QVERIFY(page.landscape);
        QCOMPARE(page.marginLeft, 720);
        QCOMPARE(page.marginRight, 1080);
        QCOMPARE(page.marginBottom, 2160);
        QCOMPARE(x->info().title(), QStringLiteral("The title"));
        QCOMPARE(x->info().subject(), QStringLiteral("The subject"));
        QCOMPARE(x->info().author(), QStringLiteral("An Author"));
    });
    ZipReader written(OdtCodec::write(*read(bytes)));
    QVERIFY(written.read(QStringLiteral("meta.xml")).contains("meta:user-defined"));
}

void TestFidelity::whiteSpaceAsWritten()
{
    both(package(QStringLiteral("<text:p>  lead  two<text:s text:c=\"3\"/>x<text:tab/>y<text:line-break/>z\n  w<text:soft-page-break/>v</text:p>"
                                "<text:p>&lt;a&gt; &amp; \"q\" &#x1F600;<text:s/>end</text:p>")),
         [](const QTextDocument &doc) {
             QCOMPARE(doc.begin().text(), QStringLiteral("lead two   x\ty\u2028z wv"));
             QCOMPARE(doc.lastBlock().text(), QStringLiteral("<a> & \"q\" \U0001F600 end"));
             QCOMPARE(doc.blockCount(), 2);
         });
}

// Comments, tracked changes, text boxes, drawings and formulas: shown as their text where they have
// some in the text, and written back as they were.
void TestFidelity::keptElementsGoBack()
{
    Parts p;
    p.body = QStringLiteral(
        "<text:tracked-changes><text:changed-region text:id=\"c1\"><text:deletion><office:change-info><dc:creator>A</dc:creator></office:change-info>"
        "<text:p>gone words</text:p></text:deletion></text:changed-region></text:tracked-changes>"
        "<text:p>Seen<office:annotation><dc:creator>Reviewer</dc:creator><text:p>a remark</text:p></office:annotation> text"
        "<text:change text:change-id=\"c1\"/> more <draw:frame text:anchor-type=\"as-char\" svg:width=\"1in\" svg:height=\"1in\">"
        "<draw:text-box><text:p>boxed words</text:p></draw:text-box></draw:frame>"
        " and <draw:custom-shape text:anchor-type=\"as-char\"><text:p>shape words</text:p></draw:custom-shape>.</text:p>");
    const QByteArray bytes = package(p);
    both(bytes, [](const QTextDocument &doc) {
        QCOMPARE(doc.toPlainText(), QStringLiteral("Seen text more boxed words and shape words."));
    });
    const QString content = contentOf(OdtCodec::write(*again(*read(bytes))));
    for (const char *kept : {"<office:annotation>", "a remark", "text:tracked-changes", "gone words", "<text:change text:change-id=\"c1\"/>",
                             "<draw:text-box>", "<draw:custom-shape"})
        QVERIFY2(content.contains(QLatin1String(kept)), kept);
    QCOMPARE(content.count(QStringLiteral("boxed words")), 1); // the box, not also its shown text
    // In RTF the comment is an annotation where it stood.
    const QByteArray rtf = RtfCodec::write(*read(bytes));
    QVERIFY(rtf.contains("{\\*\\atnauthor Reviewer}\\chatn{\\*\\annotation\\pard\\plain a remark\\par}"));
    QCOMPARE(content.count(QStringLiteral("a remark")), 1);
}

// Saved as RTF and read back, then saved as OpenDocument: notes, headers, list starts, merged
// cells and styles are still there.
void TestFidelity::throughRtfAndBack()
{
    Parts p;
    p.styles = QStringLiteral("<style:style style:name=\"Heading_20_1\" style:display-name=\"Heading 1\" style:family=\"paragraph\" "
                              "style:default-outline-level=\"1\"><style:text-properties fo:font-weight=\"bold\"/></style:style>");
    p.automatic = QStringLiteral("<text:list-style style:name=\"L1\"><text:list-level-style-number text:level=\"1\" style:num-format=\"i\" "
                                 "style:num-suffix=\")\" text:start-value=\"3\"/></text:list-style>");
    p.masters = QStringLiteral("<style:master-page style:name=\"Standard\"><style:footer><text:p>foot <text:page-number/></text:p></style:footer></style:master-page>");
    p.body = QStringLiteral("<text:h text:style-name=\"Heading_20_1\" text:outline-level=\"1\">Head</text:h>"
                            "<text:list text:style-name=\"L1\"><text:list-item><text:p>third</text:p></text:list-item></text:list>"
                            "<text:p>note<text:note text:note-class=\"footnote\"><text:note-citation>1</text:note-citation><text:note-body><text:p>said</text:p></text:note-body></text:note></text:p>"
                            "<table:table><table:table-column table:number-columns-repeated=\"2\"/><table:table-row><table:table-cell table:number-columns-spanned=\"2\">"
                            "<text:p>joined</text:p></table:table-cell><table:covered-table-cell/></table:table-row></table:table>");
    const auto first = read(package(p));
    QTextDocument rtf;
    RtfCodec::read(RtfCodec::write(*first), rtf);
    const auto back = again(rtf);
    QCOMPARE(markers(*back).value(blockOf(*back, QStringLiteral("third")).blockNumber()), QStringLiteral("iii)"));
    QCOMPARE(Notes::references(*back).size(), 1);
    QVERIFY(headerText(*back, HeaderFooter::Footer).startsWith(QStringLiteral("foot")));
    QCOMPARE(blockOf(*back, QStringLiteral("Head")).blockFormat().stringProperty(TextFormats::kParagraphStyleProperty), QStringLiteral("Heading 1"));
    const QList<QTextFrame *> frames = back->rootFrame()->childFrames();
    const QTextTable *table = frames.isEmpty() ? nullptr : qobject_cast<QTextTable *>(frames.first());
    QVERIFY(table && table->cellAt(0, 0).columnSpan() == 2);
}

QTEST_MAIN(TestFidelity)
#include "tst_fidelity.moc"
