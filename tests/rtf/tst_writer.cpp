// What the writer emits for documents built the way the editing surface builds them.
#include "RtfFixtures.h"
#include "rtf/DocumentExtras.h"
#include "rtf/TextFormats.h"

#include <QBuffer>
#include <QImage>
#include <QPixmap>
#include <QRegularExpression>
#include <QTextList>
#include <QTextTable>
#include <QtTest>

using namespace RtfFixtures;

namespace {

QTextCharFormat run(const QString &family, double size)
{
    QTextCharFormat f;
    TextFormats::setFamily(f, family);
    f.setFontPointSize(size);
    return f;
}

QByteArray encoded(const QImage &img, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, format);
    return bytes;
}

QImage filled(QSize size, QColor color)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(color);
    return img;
}

// The body of the document: everything after the header tables.
QByteArray body(const QByteArray &rtf)
{
    qsizetype i = rtf.lastIndexOf("{\\colortbl");
    i = rtf.indexOf('}', i);
    const qsizetype overrides = rtf.indexOf("{\\*\\listoverridetable");
    if (overrides > i)
        i = rtf.indexOf("}}", overrides) + 1;
    return rtf.mid(i + 1);
}

} // namespace

class TestWriter : public QObject
{
    Q_OBJECT

private slots:
    void headerNamesCodePage();
    void nonAsciiAsUnicodeWithFallback_data();
    void nonAsciiAsUnicodeWithFallback();
    void tablesHoldExactlyWhatIsUsed();
    void runsCarryFewestWords();
    void paragraphFormat();
    void bulletsInBothForms();
    void numberedList();
    void picturesFromRtfKeepTheirBytes();
    void picturesFromTheApplication();
    void tables();
    void nestedTables();
    void linksAndPageBreaks();
    void emptyParagraphKeepsItsSize();
    void pageTheDocumentIsLaidOutOn();
};

void TestWriter::headerNamesCodePage()
{
    QTextDocument doc;
    const QByteArray rtf = RtfCodec::write(doc);
    QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1"));
    QVERIFY(rtf.trimmed().endsWith('}'));
    QVERIFY(RtfCodec::looksLikeRtf(rtf));
}

void TestWriter::nonAsciiAsUnicodeWithFallback_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("latin") << QStringLiteral("é") << QByteArray("\\u233\\'e9");
    QTest::newRow("windows-1252 extra") << QStringLiteral("€") << QByteArray("\\u8364\\'80");
    QTest::newRow("no ansi form") << QStringLiteral("中") << QByteArray("\\u20013 ?");
    QTest::newRow("above 32767") << QStringLiteral("\uFF21") << QByteArray("\\u-223 ?");
    QTest::newRow("surrogate pair") << QStringLiteral("\U0001F600") << QByteArray("\\u-10179 ?\\u-8704 ?");
    QTest::newRow("escapes") << QStringLiteral("{a}\\") << QByteArray("\\{a\\}\\\\");
    QTest::newRow("specials") << QStringLiteral("a\tb\u2028c\u00a0d\u00ade\u2011f")
                              << QByteArray("a\\tab b\\line c\\~d\\-e\\_f");
}

void TestWriter::nonAsciiAsUnicodeWithFallback()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);
    QTextDocument doc;
    QTextCursor(&doc).insertText(text, run(QStringLiteral("Arial"), 12));
    const QByteArray rtf = RtfCodec::write(doc);
    QVERIFY2(rtf.contains(expected), rtf.constData());
    QCOMPARE(blockTexts(*read(rtf)), QStringList{text});
}

void TestWriter::tablesHoldExactlyWhatIsUsed()
{
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextCharFormat red = run(QStringLiteral("Arial"), 12);
    red.setForeground(QColor(255, 0, 0));
    c.insertText(QStringLiteral("one "), red);
    QTextCharFormat mono = run(QStringLiteral("Courier New"), 12);
    mono.setBackground(QColor(0, 0, 255));
    c.insertText(QStringLiteral("two "), mono);
    c.insertText(QStringLiteral("three"), red);
    const QByteArray rtf = RtfCodec::write(doc);
    QVERIFY(rtf.contains("{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}{\\f1\\fnil\\fcharset0 Courier New;}}"));
    QVERIFY(rtf.contains("{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"));
    QCOMPARE(rtf.count("\\f2"), 0);
}

void TestWriter::runsCarryFewestWords()
{
    QTextDocument doc;
    QTextCursor c(&doc);
    const QTextCharFormat plain = run(QStringLiteral("Arial"), 12);
    QTextCharFormat bold = plain;
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat loud = bold;
    loud.setFontItalic(true);
    loud.setUnderlineStyle(QTextCharFormat::SingleUnderline);
    loud.setFontStrikeOut(true);
    loud.setFontPointSize(20);
    c.insertText(QStringLiteral("a "), plain);
    c.insertText(QStringLiteral("b"), bold);
    c.insertText(QStringLiteral(" c "), plain);
    c.insertText(QStringLiteral("d"), loud);
    c.insertText(QStringLiteral("e"), plain);
    const QByteArray b = body(RtfCodec::write(doc));
    QVERIFY2(b.contains("a \\b b\\b0  c \\fs40\\b\\i\\ul\\strike d\\plain e\\par"), b.constData());
}

void TestWriter::paragraphFormat()
{
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextBlockFormat f;
    f.setAlignment(Qt::AlignHCenter);
    f.setLeftMargin(96);
    f.setRightMargin(48);
    f.setTextIndent(-24);
    f.setTopMargin(16);
    f.setBottomMargin(8);
    f.setLineHeight(150, QTextBlockFormat::ProportionalHeight);
    f.setTabPositions({QTextOption::Tab(48, QTextOption::LeftTab), QTextOption::Tab(96, QTextOption::RightTab)});
    c.setBlockFormat(f);
    c.insertText(QStringLiteral("x"), run(QStringLiteral("Arial"), 12));
    QTextBlockFormat exact;
    exact.setAlignment(Qt::AlignJustify);
    exact.setLineHeight(20, QTextBlockFormat::FixedHeight);
    c.insertBlock(exact);
    c.insertText(QStringLiteral("y"));
    const QByteArray b = body(RtfCodec::write(doc));
    QVERIFY2(b.contains("\\pard\\qc\\li1440\\ri720\\fi-360\\sb240\\sa120\\sl360\\slmult1\\tx720\\tqr\\tx1440 x\\par"),
             b.constData());
    QVERIFY2(b.contains("\\pard\\qj\\sa0\\sl-300"), b.constData());
}

void TestWriter::bulletsInBothForms()
{
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(QStringLiteral("one"), run(QStringLiteral("Arial"), 12));
    c.createList(QTextListFormat::ListDisc);
    c.insertBlock();
    c.insertText(QStringLiteral("two"));
    const QByteArray rtf = RtfCodec::write(doc);
    QVERIFY(rtf.contains("{\\*\\listtable"));
    QVERIFY(rtf.contains("{\\listoverride\\listid1\\listoverridecount0\\ls1}"));
    QVERIFY(rtf.contains("\\levelnfc23"));
    QCOMPARE(rtf.count("\\ls1\\ilvl0{\\pntext\\u8226\\'95\\tab}{\\*\\pn\\pnlvlblt\\pnindent360{\\pntxtb\\u8226\\'95}}"), 2);
    QVERIFY(rtf.contains("\\li600\\fi-360"));
    const auto back = read(rtf);
    QCOMPARE(back->toPlainText(), QStringLiteral("one\ntwo"));
    QVERIFY(blockOf(*back, "one").textList());
    QCOMPARE(blockOf(*back, "one").textList(), blockOf(*back, "two").textList());
}

void TestWriter::numberedList()
{
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(QStringLiteral("first"), run(QStringLiteral("Arial"), 12));
    QTextListFormat lf;
    lf.setStyle(QTextListFormat::ListUpperRoman);
    lf.setIndent(2);
    lf.setNumberPrefix(QStringLiteral("("));
    lf.setNumberSuffix(QStringLiteral(")"));
    c.createList(lf);
    c.insertBlock();
    c.insertText(QStringLiteral("second"));
    const QByteArray rtf = RtfCodec::write(doc);
    QVERIFY(rtf.contains("{\\pntext (II)\\tab}"));
    QVERIFY(rtf.contains("\\pnlvlbody\\pnucrm"));
    QVERIFY(rtf.contains("{\\leveltext\\'03(\\'01);}{\\levelnumbers\\'02;}"));
    const auto back = read(rtf);
    QTextList *list = blockOf(*back, "second").textList();
    QVERIFY(list);
    QCOMPARE(list->format().style(), QTextListFormat::ListUpperRoman);
    QCOMPARE(list->format().indent(), 2);
    QCOMPARE(list->itemText(blockOf(*back, "second")), QStringLiteral("(II)"));
}

void TestWriter::picturesFromRtfKeepTheirBytes()
{
    const QByteArray png = encoded(filled(QSize(4, 3), Qt::red), "PNG");
    const auto doc = read("{\\rtf1 {\\pict\\pngblip\\picwgoal600\\pichgoal450 " + png.toHex() + "}"
                          "{\\pict\\emfblip\\picw100\\pich50\\picwgoal300\\pichgoal150 0100000000}}");
    const QByteArray rtf = RtfCodec::write(*doc);
    QVERIFY(rtf.contains("{\\pict\\pngblip\\picw4\\pich3\\picwgoal600\\pichgoal450\r\n" + png.toHex().left(128)));
    QVERIFY(rtf.contains("{\\pict\\emfblip\\picw100\\pich50\\picwgoal300\\pichgoal150\r\n0100000000}"));
}

void TestWriter::picturesFromTheApplication()
{
    QTextDocument doc;
    const QByteArray jpeg = encoded(filled(QSize(8, 8), Qt::green), "JPEG");
    doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("paste:jpeg")), jpeg);
    doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("file:///img.png")), filled(QSize(5, 2), Qt::blue));
    doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("clip:pixmap")),
                    QPixmap::fromImage(filled(QSize(2, 2), Qt::black)));
    QTextCursor c(&doc);
    QTextImageFormat a;
    a.setName(QStringLiteral("paste:jpeg"));
    c.insertImage(a);
    QTextImageFormat b;
    b.setName(QStringLiteral("file:///img.png"));
    b.setWidth(50);
    c.insertImage(b);
    QTextImageFormat p;
    p.setName(QStringLiteral("clip:pixmap"));
    c.insertImage(p);
    const QByteArray rtf = RtfCodec::write(doc);
    QVERIFY(rtf.contains("{\\pict\\jpegblip\\picw8\\pich8\\picwgoal120\\pichgoal120\r\n" + jpeg.toHex().left(128)));
    QVERIFY(rtf.contains("{\\pict\\pngblip\\picw5\\pich2\\picwgoal750\\pichgoal30\r\n89504e47"));
    QVERIFY(rtf.contains("{\\pict\\pngblip\\picw2\\pich2\\picwgoal30\\pichgoal30\r\n89504e47"));
    const auto back = read(rtf);
    QCOMPARE(back->toPlainText(), QString(3, QChar::ObjectReplacementCharacter));
    const QTextImageFormat first = formatOf(*back, QString(QChar::ObjectReplacementCharacter)).toImageFormat();
    QCOMPARE(back->resource(QTextDocument::ImageResource, QUrl(first.name())).value<QImage>().size(), QSize(8, 8));
}

void TestWriter::tables()
{
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(QStringLiteral("before"), run(QStringLiteral("Arial"), 12));
    QTextTableFormat tf;
    tf.setColumnWidthConstraints({QTextLength(QTextLength::FixedLength, 96), QTextLength(QTextLength::FixedLength, 48)});
    QTextTable *t = c.insertTable(2, 2, tf);
    t->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("a"));
    t->cellAt(1, 1).firstCursorPosition().insertText(QStringLiteral("d"));
    t->mergeCells(0, 0, 1, 2); // one wide cell
    QByteArray rtf = RtfCodec::write(doc);
    QVERIFY2(rtf.contains("\\trowd\\trgaph0\\cellx2160\\pard\\intbl\\sa0"), rtf.constData());
    QVERIFY2(rtf.contains(" a\\cell\r\n\\row"), rtf.constData());
    QVERIFY(rtf.contains("\\trowd\\trgaph0\\cellx1440\\cellx2160"));
    // Cells the file merged are written back as merged cells.
    QTextCharFormat merged = t->cellAt(0, 0).format();
    merged.setProperty(TextFormats::kCellHorizontalMergeProperty, true);
    t->cellAt(0, 0).setFormat(merged);
    rtf = RtfCodec::write(doc);
    QVERIFY2(rtf.contains("\\trowd\\trgaph0\\clmgf\\cellx1440\\clmrg\\cellx2160\\pard\\intbl\\sa0"), rtf.constData());
    QVERIFY(rtf.contains(" a\\cell\r\n\\pard\\intbl\\cell\\row"));
    const auto back = read(rtf);
    auto *t2 = qobject_cast<QTextTable *>(back->rootFrame()->childFrames().value(0));
    QVERIFY(t2);
    QCOMPARE(t2->rows(), 2);
    QCOMPARE(t2->columns(), 2);
    QCOMPARE(t2->cellAt(0, 0).columnSpan(), 2);
    QCOMPARE(back->toPlainText(), doc.toPlainText());
}

void TestWriter::nestedTables()
{
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextTable *outer = c.insertTable(1, 2);
    QTextCursor inCell = outer->cellAt(0, 0).firstCursorPosition();
    inCell.insertText(QStringLiteral("x"));
    QTextTable *inner = inCell.insertTable(1, 2);
    inner->cellAt(0, 1).firstCursorPosition().insertText(QStringLiteral("in"));
    const QByteArray rtf = RtfCodec::write(doc);
    QVERIFY(rtf.contains("\\pard\\intbl\\itap2\\sa0 in\\nestcell"));
    QVERIFY(rtf.contains("{\\*\\nesttableprops\\trowd"));
    QVERIFY(rtf.contains("\\nestrow}{\\nonesttables\\par}"));
    const auto back = read(rtf);
    QCOMPARE(back->toPlainText(), doc.toPlainText());
    auto *outer2 = qobject_cast<QTextTable *>(back->rootFrame()->childFrames().value(0));
    QVERIFY(outer2 && outer2->childFrames().size() == 1);
}

void TestWriter::linksAndPageBreaks()
{
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextCharFormat link = run(QStringLiteral("Arial"), 12);
    link.setAnchor(true);
    link.setAnchorHref(QStringLiteral("https://example.org/?q=\"x\""));
    c.insertText(QStringLiteral("see "), run(QStringLiteral("Arial"), 12));
    c.insertText(QStringLiteral("here"), link);
    QTextBlockFormat broken;
    broken.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    c.insertBlock(broken);
    c.insertText(QStringLiteral("next page"), run(QStringLiteral("Arial"), 12));
    const QByteArray rtf = RtfCodec::write(doc);
    QVERIFY2(rtf.contains("{\\field{\\*\\fldinst{HYPERLINK \"https://example.org/?q=%22x%22\"}}{\\fldrslt{here}}}"),
             rtf.constData());
    QVERIFY(rtf.contains("\\page\\pard\\sa0 next page"));
    const auto back = read(rtf);
    QCOMPARE(formatOf(*back, "here").anchorHref(), QStringLiteral("https://example.org/?q=%22x%22"));
    QVERIFY(!formatOf(*back, "see").isAnchor());
    QVERIFY(blockOf(*back, "next").blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
}

void TestWriter::emptyParagraphKeepsItsSize()
{
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(QStringLiteral("a"), run(QStringLiteral("Arial"), 12));
    c.insertBlock(QTextBlockFormat(), run(QStringLiteral("Arial"), 30));
    c.insertBlock(QTextBlockFormat(), run(QStringLiteral("Arial"), 12));
    c.insertText(QStringLiteral("b"));
    const auto back = read(RtfCodec::write(doc));
    QCOMPARE(blockTexts(*back), (QStringList{"a", "", "b"}));
    QCOMPARE(back->begin().next().charFormat().fontPointSize(), 30.0);
}

void TestWriter::pageTheDocumentIsLaidOutOn()
{
    // A document without a page of its own is written with the page the program prints it on.
    QTextDocument doc;
    QTextCursor(&doc).insertText(QStringLiteral("A4"));
    PageSetup a4;
    a4.paperWidth = 11906;
    a4.paperHeight = 16838;
    const QByteArray rtf = RtfCodec::write(doc, a4);
    QVERIFY2(rtf.contains("\\paperw11906\\paperh16838\\margl1800\\margr1800"), rtf.constData());
    QVERIFY(rtf.contains("\\pgwsxn11906\\pghsxn16838"));
    const auto back = read(rtf);
    QCOMPARE(DocumentExtras::find(*back)->pageSetup(), a4);
    // Its own page set-up wins.
    PageSetup letter;
    DocumentExtras::of(*back).setPageSetup(letter);
    QVERIFY(RtfCodec::write(*back, a4).contains("\\paperw12240\\paperh15840"));
}

QTEST_MAIN(TestWriter)
#include "tst_writer.moc"
