// What the reader makes of small fixtures, one feature at a time.
#include "RtfFixtures.h"
#include "rtf/TextFormats.h"

#include <QBuffer>
#include <QImage>
#include <QTextList>
#include <QTextTable>
#include <QtTest>

using namespace RtfFixtures;

namespace {

QByteArray pngHex(QSize size, QColor color)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "PNG");
    return bytes.toHex();
}

QByteArray doc(const QByteArray &body)
{
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\froman Times New Roman;}{\\f1\\fswiss Arial;}"
           "{\\f2\\fnil\\fcharset2 Symbol;}}{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
           + body + "}";
}

} // namespace

class TestReader : public QObject
{
    Q_OBJECT

private slots:
    void groupScopeAndPlainReadAlike_data();
    void groupScopeAndPlainReadAlike();
    void characterFormatting();
    void underlineVariants_data();
    void underlineVariants();
    void everyRunCarriesFontAndSize();
    void colours();
    void characterOffsets();
    void unicodeAndFallback_data();
    void unicodeAndFallback();
    void codePages_data();
    void codePages();
    void paragraphFormatting();
    void paragraphPropertiesPersistUntilPard();
    void breaksAndSymbols_data();
    void breaksAndSymbols();
    void pageBreakStartsNextParagraph();
    void listTableBulletsAndNumbers();
    void listTextKeptWhenListUnknown();
    void oldStyleLists();
    void pictures();
    void pictureSizeAndScale();
    void metafileKeepsPlaceAndBytes();
    void shapesReadOnce();
    void hyperlinkFields();
    void otherFieldsShowTheirResult();
    void tables();
    void nestedTables();
    void mergedCells();
    void hiddenDestinationsLeakNothing_data();
    void hiddenDestinationsLeakNothing();
    void readReplacesContentAndLeavesUndoEmpty();
};

void TestReader::groupScopeAndPlainReadAlike_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("toggle off") << QByteArray("\\i one\\i0  two");
    QTest::newRow("group") << QByteArray("{\\i one} two");
    QTest::newRow("plain") << QByteArray("\\i one\\plain  two");
}

void TestReader::groupScopeAndPlainReadAlike()
{
    QFETCH(QByteArray, body);
    const auto d = read(doc(body));
    QCOMPARE(d->toPlainText(), QStringLiteral("one two"));
    QVERIFY(formatOf(*d, "one").fontItalic());
    QVERIFY(!formatOf(*d, "two").fontItalic());
}

void TestReader::characterFormatting()
{
    const auto d = read(doc("\\b bold\\b0  {\\strike struck} {\\striked1 dbl} {\\caps up} {\\v hidden}shown "
                            "{\\plain\\b\\i both}"));
    QCOMPARE(d->toPlainText(), QStringLiteral("bold struck dbl up shown both"));
    QVERIFY(TextFormats::isBold(formatOf(*d, "bold")));
    QVERIFY(!TextFormats::isBold(formatOf(*d, "struck")));
    QVERIFY(formatOf(*d, "struck").fontStrikeOut());
    QVERIFY(formatOf(*d, "dbl").fontStrikeOut());
    QCOMPARE(formatOf(*d, "up").fontCapitalization(), QFont::AllUppercase);
    const QTextCharFormat both = formatOf(*d, "both");
    QVERIFY(TextFormats::isBold(both) && both.fontItalic());
}

void TestReader::underlineVariants_data()
{
    QTest::addColumn<QByteArray>("word");
    QTest::addColumn<int>("style");
    QTest::newRow("ul") << QByteArray("\\ul") << int(QTextCharFormat::SingleUnderline);
    QTest::newRow("ulw") << QByteArray("\\ulw") << int(QTextCharFormat::SingleUnderline);
    QTest::newRow("uldb") << QByteArray("\\uldb") << int(QTextCharFormat::SingleUnderline);
    QTest::newRow("uld") << QByteArray("\\uld") << int(QTextCharFormat::DotLine);
    QTest::newRow("uldash") << QByteArray("\\uldash") << int(QTextCharFormat::DashUnderline);
    QTest::newRow("uldashd") << QByteArray("\\uldashd") << int(QTextCharFormat::DashDotLine);
    QTest::newRow("uldashdd") << QByteArray("\\uldashdd") << int(QTextCharFormat::DashDotDotLine);
    QTest::newRow("ulwave") << QByteArray("\\ulwave") << int(QTextCharFormat::WaveUnderline);
    QTest::newRow("ul0") << QByteArray("\\ul\\ul0") << int(QTextCharFormat::NoUnderline);
    QTest::newRow("ulnone") << QByteArray("\\ulth\\ulnone") << int(QTextCharFormat::NoUnderline);
}

void TestReader::underlineVariants()
{
    QFETCH(QByteArray, word);
    QFETCH(int, style);
    const auto d = read(doc(word + " text"));
    const QTextCharFormat f = formatOf(*d, "text");
    QCOMPARE(TextFormats::isUnderlined(f), style != QTextCharFormat::NoUnderline);
    if (style != QTextCharFormat::NoUnderline)
        QCOMPARE(int(f.underlineStyle()), style);
}

void TestReader::everyRunCarriesFontAndSize()
{
    const auto d = read("{\\rtf1\\deff1{\\fonttbl{\\f0 Courier;}{\\f1 Arial;}}before {\\f0\\fs40 mono} {\\f7 undefined}}");
    QCOMPARE(TextFormats::family(formatOf(*d, "before"), QFont(QStringLiteral("Nowhere"))), QStringLiteral("Arial"));
    QCOMPARE(formatOf(*d, "before").fontPointSize(), 12.0);
    QVERIFY(formatOf(*d, "before").hasProperty(QTextFormat::FontFamilies));
    QCOMPARE(formatOf(*d, "mono").fontFamilies().toStringList(), QStringList{QStringLiteral("Courier")});
    QCOMPARE(formatOf(*d, "mono").fontPointSize(), 20.0);
    QCOMPARE(TextFormats::family(formatOf(*d, "undefined"), QFont()), QStringLiteral("Arial"));
}

void TestReader::colours()
{
    const auto d = read(doc("{\\cf1 red} {\\cf0 auto} {\\cf2\\highlight1 blueOnRed} {\\cb2 shaded} {\\cf99 outside}"));
    QCOMPARE(formatOf(*d, "red").foreground().color(), QColor(255, 0, 0));
    QVERIFY(!formatOf(*d, "auto").hasProperty(QTextFormat::ForegroundBrush));
    QCOMPARE(formatOf(*d, "blueOnRed").foreground().color(), QColor(0, 0, 255));
    QCOMPARE(formatOf(*d, "blueOnRed").background().color(), QColor(255, 0, 0));
    QCOMPARE(formatOf(*d, "shaded").background().color(), QColor(0, 0, 255));
    QVERIFY(!formatOf(*d, "outside").hasProperty(QTextFormat::ForegroundBrush));
    // No colour table at all: colour words change nothing.
    const auto bare = read("{\\rtf1 {\\cf1\\highlight2 plain}}");
    QVERIFY(!formatOf(*bare, "plain").hasProperty(QTextFormat::ForegroundBrush));
    QVERIFY(!formatOf(*bare, "plain").hasProperty(QTextFormat::BackgroundBrush));
}

void TestReader::characterOffsets()
{
    const auto d = read(doc("{\\up6 raised} {\\dn4 lowered} {\\super sup} {\\sub sub}{\\nosupersub none}"));
    const QFont base = d->defaultFont();
    QCOMPARE(TextFormats::charOffsetTwips(formatOf(*d, "raised"), base), 60.0);
    QCOMPARE(TextFormats::charOffsetTwips(formatOf(*d, "lowered"), base), -40.0);
    QCOMPARE(formatOf(*d, "sup").verticalAlignment(), QTextCharFormat::AlignSuperScript);
    QCOMPARE(formatOf(*d, "sub").verticalAlignment(), QTextCharFormat::AlignSubScript);
    QCOMPARE(formatOf(*d, "none").verticalAlignment(), QTextCharFormat::AlignNormal);
}

void TestReader::unicodeAndFallback_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("text");
    QTest::newRow("default skip is one") << QByteArray("caf\\u233?s") << QStringLiteral("cafés");
    QTest::newRow("negative value") << QByteArray("\\u-4064?") << QString(QChar(0xF020));
    QTest::newRow("surrogate pair") << QByteArray("\\u-10179?\\u-8694?") << QStringLiteral("\U0001F60A");
    QTest::newRow("lone high surrogate") << QByteArray("a\\u-10179?b") << QStringLiteral("a\uFFFDb");
    QTest::newRow("uc2 skips hex pairs") << QByteArray("\\uc2\\u12354\\'82\\'a0x") << QStringLiteral("\u3042x");
    QTest::newRow("uc0 skips nothing") << QByteArray("\\uc0\\u233 e") << QStringLiteral("\u00e9e");
    QTest::newRow("control word is one unit") << QByteArray("\\u233\\emdash x") << QStringLiteral("\u00e9x");
    QTest::newRow("skip stops at a brace") << QByteArray("\\uc3\\u233{x}y") << QStringLiteral("\u00e9xy");
    QTest::newRow("uc is group scoped") << QByteArray("{\\uc2 \\u233 ab}\\u233 ab") << QStringLiteral("\u00e9\u00e9b");
    QTest::newRow("bin blob is one unit") << QByteArray("\\u233\\bin3 xyzw") << QStringLiteral("\u00e9w");
}

void TestReader::unicodeAndFallback()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, text);
    QCOMPARE(read(doc(body))->toPlainText(), text);
}

void TestReader::codePages_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::newRow("ansicpg1251") << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \\'e0\\'e1}") << QStringLiteral("аб");
    QTest::newRow("fcharset over ansicpg")
        << QByteArray("{\\rtf1\\ansicpg1252{\\fonttbl{\\f0\\fcharset204 X;}}\\f0 \\'e0}") << QStringLiteral("а");
    QTest::newRow("cpg over fcharset")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset204\\cpg1253 X;}}\\f0 \\'e1}") << QStringLiteral("α");
    QTest::newRow("mac") << QByteArray("{\\rtf1\\mac \\'8e}") << QStringLiteral("é");
    QTest::newRow("deff applies before any f")
        << QByteArray("{\\rtf1\\deff1{\\fonttbl{\\f0 A;}{\\f1\\fcharset238 B;}}\\'b9}") << QStringLiteral("ą");
    QTest::newRow("shift-jis pair")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset128 MS Mincho;}}\\f0 \\'82\\'a0\\'93\\'fa}") << QStringLiteral("あ日");
    QTest::newRow("shift-jis trail as text")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset128 M;}}\\f0 \\'83T}") << QStringLiteral("サ");
    QTest::newRow("gbk") << QByteArray("{\\rtf1\\ansicpg936 \\'d6\\'d0}") << QStringLiteral("中");
    QTest::newRow("big5") << QByteArray("{\\rtf1\\ansicpg950 \\'a4\\'a4}") << QStringLiteral("中");
    QTest::newRow("korean") << QByteArray("{\\rtf1\\ansicpg949 \\'c7\\'d1}") << QStringLiteral("한");
    QTest::newRow("lead byte without trail")
        << QByteArray("{\\rtf1{\\fonttbl{\\f1\\fcharset128 M;}}{\\f1 \\'82}x}") << QStringLiteral("\uFFFDx");
    QTest::newRow("symbol font") << QByteArray("{\\rtf1{\\fonttbl{\\f2\\fcharset2 Symbol;}}\\f2 \\'b7a\\u-3913 ?}")
                                 << QStringLiteral("•α•");
    QTest::newRow("upr prefers ud")
        << QByteArray("{\\rtf1{\\upr{ansi}{\\*\\ud{uni\\u233 ?}}}}") << QStringLiteral("unié");
    QTest::newRow("font name in its own code page")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset204 \\'c0;}}\\f0 x}") << QStringLiteral("x");
}

void TestReader::codePages()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QCOMPARE(read(rtf)->toPlainText(), text);
}

void TestReader::paragraphFormatting()
{
    const auto d = read(doc("\\pard\\qc\\li1440\\ri720\\fi-360\\sb240\\sa120 centred\\par"
                            "\\pard\\qr right\\par\\pard\\qj\\sl360\\slmult1 just\\par"
                            "\\pard\\sl-300 exact\\par\\pard\\sl300 least\\par"
                            "\\pard\\tx720\\tqr\\tx2880\\tqc\\tx4320\\tqdec\\tx5760 tabs"));
    const QTextBlockFormat c = blockOf(*d, "centred").blockFormat();
    QCOMPARE(c.alignment(), Qt::AlignHCenter);
    QCOMPARE(c.leftMargin(), 96.0);
    QCOMPARE(c.rightMargin(), 48.0);
    QCOMPARE(c.textIndent(), -24.0);
    QCOMPARE(c.topMargin(), 16.0);
    QCOMPARE(c.bottomMargin(), 8.0);
    QCOMPARE(blockOf(*d, "right").blockFormat().alignment(), Qt::AlignRight);
    const QTextBlockFormat j = blockOf(*d, "just").blockFormat();
    QCOMPARE(j.alignment(), Qt::AlignJustify);
    QCOMPARE(j.lineHeightType(), int(QTextBlockFormat::ProportionalHeight));
    QCOMPARE(j.lineHeight(), 150.0);
    QCOMPARE(blockOf(*d, "exact").blockFormat().lineHeightType(), int(QTextBlockFormat::FixedHeight));
    QCOMPARE(blockOf(*d, "exact").blockFormat().lineHeight(), 20.0);
    QCOMPARE(blockOf(*d, "least").blockFormat().lineHeightType(), int(QTextBlockFormat::MinimumHeight));
    const QList<QTextOption::Tab> tabs = blockOf(*d, "tabs").blockFormat().tabPositions();
    QCOMPARE(tabs.size(), 4);
    QCOMPARE(tabs[0].position, 48.0);
    QCOMPARE(tabs[1].type, QTextOption::RightTab);
    QCOMPARE(tabs[2].type, QTextOption::CenterTab);
    QCOMPARE(tabs[3].type, QTextOption::DelimiterTab);
}

void TestReader::paragraphPropertiesPersistUntilPard()
{
    const auto d = read(doc("\\qc one\\par two\\par\\pard three\\par {\\qr four\\par}five"));
    QCOMPARE(blockOf(*d, "two").blockFormat().alignment(), Qt::AlignHCenter);
    QCOMPARE(blockOf(*d, "three").blockFormat().alignment(), Qt::AlignLeft);
    QCOMPARE(blockOf(*d, "four").blockFormat().alignment(), Qt::AlignRight);
    QCOMPARE(blockOf(*d, "five").blockFormat().alignment(), Qt::AlignLeft);
    // A final \par ends the last paragraph; it does not add an empty one.
    QCOMPARE(blockTexts(*read(doc("a\\par b\\par"))), (QStringList{"a", "b"}));
}

void TestReader::breaksAndSymbols_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("text");
    QTest::newRow("backslash newline is par") << QByteArray("a\\\nb") << QStringLiteral("a\nb");
    QTest::newRow("backslash return is par") << QByteArray("a\\\r\nb") << QStringLiteral("a\nb");
    QTest::newRow("line") << QByteArray("a\\line b") << QStringLiteral("a\nb");
    QTest::newRow("tab") << QByteArray("a\\tab b") << QStringLiteral("a\tb");
    QTest::newRow("raw line ends ignored") << QByteArray("a\r\nb") << QStringLiteral("ab");
    QTest::newRow("escapes") << QByteArray("\\{x\\}\\\\") << QStringLiteral("{x}\\");
    QTest::newRow("symbols") << QByteArray("\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote")
                             << QStringLiteral("—–•‘’“”");
    QTest::newRow("spaces") << QByteArray("a\\~b\\-c\\_d\\emspace\\enspace") << QStringLiteral("a b\u00adc\u2011d\u2003\u2002");
    QTest::newRow("sect ends paragraph") << QByteArray("a\\sect b") << QStringLiteral("a\nb");
    QTest::newRow("control characters dropped") << QByteArray("a\\'00\\'0db\\u13?c") << QStringLiteral("abc");
}

void TestReader::breaksAndSymbols()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, text);
    const auto d = read(doc(body));
    QCOMPARE(d->toPlainText(), text);
}

void TestReader::pageBreakStartsNextParagraph()
{
    const auto d = read(doc("one\\par\\page two\\page three\\par\\pard\\pagebb four"));
    QCOMPARE(blockTexts(*d), (QStringList{"one", "two", "three", "four"}));
    QVERIFY(!(blockOf(*d, "one").blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore));
    for (const char *w : {"two", "three", "four"})
        QVERIFY2(blockOf(*d, w).blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore, w);
}

void TestReader::listTableBulletsAndNumbers()
{
    const QByteArray tables =
        "{\\*\\listtable{\\list\\listtemplateid1{\\listlevel\\levelnfc23{\\leveltext\\'01\\u8226 ?;}"
        "{\\levelnumbers;}\\fi-360\\li720}{\\listlevel\\levelnfc4{\\leveltext\\'03(\\'01);}{\\levelnumbers\\'02;}"
        "\\fi-360\\li1440}\\listid7}{\\list{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}\\li720}\\listid8}}"
        "{\\*\\listoverridetable{\\listoverride\\listid7\\listoverridecount0\\ls1}"
        "{\\listoverride\\listid8\\listoverridecount0\\ls2}}";
    const auto d = read(doc(tables
        + "{\\listtext\\'95\\tab}\\pard\\fi-360\\li720\\ls1 first\\par"
          "{\\listtext a)\\tab}\\pard\\fi-360\\li1440\\ls1\\ilvl1 sub\\par"
          "{\\listtext\\'95\\tab}\\pard\\fi-360\\li720\\ls1 second\\par"
          "{\\listtext b)\\tab}\\pard\\fi-360\\li1440\\ls1\\ilvl1 sub2\\par"
          "\\pard plain\\par"
          "{\\listtext 1.\\tab}\\pard\\li720\\ls2 number\\par"));
    QCOMPARE(blockTexts(*d), (QStringList{"first", "sub", "second", "sub2", "plain", "number"}));
    QTextList *bullets = blockOf(*d, "first").textList();
    QVERIFY(bullets);
    QCOMPARE(bullets->format().style(), QTextListFormat::ListDisc);
    QCOMPARE(bullets->format().indent(), 1);
    QCOMPARE(blockOf(*d, "second").textList(), bullets);
    QCOMPARE(blockOf(*d, "first").blockFormat().textIndent(), 0.0);
    QCOMPARE(TextFormats::leftIndentPixels(blockOf(*d, "first")), 48.0);
    QTextList *sub = blockOf(*d, "sub").textList();
    QVERIFY(sub);
    QCOMPARE(sub->format().style(), QTextListFormat::ListLowerAlpha);
    QCOMPARE(sub->format().numberPrefix(), QStringLiteral("("));
    QCOMPARE(sub->format().numberSuffix(), QStringLiteral(")"));
    QCOMPARE(sub->itemText(blockOf(*d, "sub")), QStringLiteral("(a)"));
    // A new higher-level item restarts the numbering below it.
    QCOMPARE(blockOf(*d, "sub2").textList()->itemText(blockOf(*d, "sub2")), QStringLiteral("(a)"));
    QVERIFY(!blockOf(*d, "plain").textList());
    QCOMPARE(blockOf(*d, "number").textList()->format().style(), QTextListFormat::ListDecimal);
    QCOMPARE(blockOf(*d, "number").textList()->format().numberSuffix(), QStringLiteral("."));
}

void TestReader::listTextKeptWhenListUnknown()
{
    const auto d = read(doc("{\\listtext 1.\\tab}\\pard\\ls5\\ilvl99 item\\par"));
    QCOMPARE(d->toPlainText(), QStringLiteral("1.\titem"));
    QVERIFY(!d->begin().textList());
}

void TestReader::oldStyleLists()
{
    const auto d = read(doc("{\\pntext\\f2\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf2\\pnindent0{\\pntxtb\\'b7}}\\fi-360\\li720 dot\\par"
                            "{\\pntext\\f2\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf2\\pnindent0{\\pntxtb\\'b7}}\\fi-360\\li720 dot2\\par"
                            "\\pard between\\par"
                            "{\\pntext 1)\\tab}{\\*\\pn\\pnlvlbody\\pnucltr\\pnstart1{\\pntxta )}}\\li720 num\\par"));
    QCOMPARE(blockTexts(*d), (QStringList{"dot", "dot2", "between", "num"}));
    QTextList *dots = blockOf(*d, "dot").textList();
    QVERIFY(dots);
    QCOMPARE(blockOf(*d, "dot2").textList(), dots);
    QTextList *numbers = blockOf(*d, "num").textList();
    QVERIFY(numbers && numbers != dots);
    QCOMPARE(numbers->format().style(), QTextListFormat::ListUpperAlpha);
    QCOMPARE(numbers->itemText(blockOf(*d, "num")), QStringLiteral("A)"));
}

void TestReader::pictures()
{
    const QByteArray hex = pngHex(QSize(3, 2), Qt::red);
    const auto d = read(doc("a{\\pict\\pngblip\\picw3\\pich2 " + hex + "}b"));
    QCOMPARE(d->toPlainText(), QStringLiteral("a\uFFFCb"));
    const QTextCharFormat f = formatOf(*d, QString(QChar::ObjectReplacementCharacter));
    QVERIFY(f.isImageFormat());
    const QTextImageFormat img = f.toImageFormat();
    const QUrl url(img.name());
    const QImage shown = d->resource(QTextDocument::ImageResource, url).value<QImage>();
    QCOMPARE(shown.size(), QSize(3, 2));
    QCOMPARE(shown.pixelColor(1, 1), QColor(Qt::red));
    QCOMPARE(d->resource(TextFormats::kOriginalImageResource, TextFormats::originalImageUrl(url)).toByteArray(), QByteArray::fromHex(hex));
    QCOMPARE(img.property(TextFormats::kImageTypeProperty).toString(), QStringLiteral("png"));
    // The same bytes as \bin, and PNG bytes under \jpegblip, are pictures too.
    QByteArray binary = "{\\rtf1 {\\pict\\jpegblip\\bin" + QByteArray::number(hex.size() / 2) + " "
                        + QByteArray::fromHex(hex) + "}}";
    const auto b = read(binary);
    const QTextImageFormat binImg = formatOf(*b, QString(QChar::ObjectReplacementCharacter)).toImageFormat();
    QCOMPARE(b->resource(QTextDocument::ImageResource, QUrl(binImg.name())).value<QImage>().size(), QSize(3, 2));
    QCOMPARE(binImg.property(TextFormats::kImageTypeProperty).toString(), QStringLiteral("png"));
}

void TestReader::pictureSizeAndScale()
{
    const QByteArray hex = pngHex(QSize(10, 10), Qt::blue);
    const auto d = read(doc("{\\pict\\pngblip\\picw10\\pich10\\picwgoal1500\\pichgoal300\\picscalex50\\picscaley200 "
                            + hex + "}"));
    const QTextImageFormat img = formatOf(*d, QString(QChar::ObjectReplacementCharacter)).toImageFormat();
    QCOMPARE(img.width(), 50.0);
    QCOMPARE(img.height(), 40.0);
}

void TestReader::metafileKeepsPlaceAndBytes()
{
    const auto d = read(doc("x{\\pict\\wmetafile8\\picw2540\\pich1270\\picwgoal1440\\pichgoal720 0100090000}y"));
    QCOMPARE(d->toPlainText(), QStringLiteral("x\uFFFCy"));
    const QTextImageFormat img = formatOf(*d, QString(QChar::ObjectReplacementCharacter)).toImageFormat();
    QCOMPARE(img.width(), 96.0);
    QCOMPARE(img.height(), 48.0);
    QVERIFY(!d->resource(QTextDocument::ImageResource, QUrl(img.name())).value<QImage>().isNull());
    QCOMPARE(d->resource(TextFormats::kOriginalImageResource, TextFormats::originalImageUrl(QUrl(img.name()))).toByteArray(),
             QByteArray::fromHex("0100090000"));
    QCOMPARE(img.property(TextFormats::kImageTypeProperty).toString(), QStringLiteral("wmf"));
    QCOMPARE(img.property(TextFormats::kImageNativeSizeProperty).toSize(), QSize(2540, 1270));
}

void TestReader::shapesReadOnce()
{
    const QByteArray hex = pngHex(QSize(2, 2), Qt::green);
    const auto d = read(doc("{\\*\\shppict{\\pict\\pngblip " + hex + "}}{\\nonshppict{\\pict\\wmetafile8 0100}}"
                            "{\\shp{\\*\\shpinst{\\sp{\\sn pib}{\\sv{\\pict\\pngblip " + hex + "}}}}"
                            "{\\shprslt{\\pict\\wmetafile8 0100}}}"
                            "{\\shp{\\*\\shpinst{\\sp{\\sn fillColor}{\\sv 255}}}{\\shprslt fallback}}"
                            "{\\shp{\\*\\shpinst{\\shptxt boxed}}{\\shprslt{\\*\\do{\\dptxbxtext again}}}}"
                            "{\\*\\do\\dobxpage{\\dptxbxtext old}\\dpx929}"));
    QCOMPARE(d->toPlainText(), QStringLiteral("\uFFFC\uFFFCfallbackboxedold"));
}

void TestReader::hyperlinkFields()
{
    const auto d = read(doc("{\\field{\\*\\fldinst{HYPERLINK \"https://example.org/a\" \\\\o \"tip\"}}"
                            "{\\fldrslt{\\ul\\cf2 site}}} "
                            "{\\field{\\*\\fldinst HYPERLINK \\\\l \"sec2\"}{\\fldrslt here}} "
                            "{\\field{\\*\\fldinst HYPERLINK \"javascript:alert(1)\"}{\\fldrslt js}}"));
    QCOMPARE(d->toPlainText(), QStringLiteral("site here js"));
    const QTextCharFormat site = formatOf(*d, "site");
    QVERIFY(site.isAnchor());
    QCOMPARE(site.anchorHref(), QStringLiteral("https://example.org/a"));
    QVERIFY(TextFormats::isUnderlined(site));
    QCOMPARE(formatOf(*d, "here").anchorHref(), QStringLiteral("#sec2"));
    QVERIFY(!formatOf(*d, "js").isAnchor());
}

void TestReader::otherFieldsShowTheirResult()
{
    const auto d = read(doc("{\\field{\\*\\fldinst PAGE}{\\fldrslt 7}} "
                            "{\\field{\\*\\fldinst {INCLUDEPICTURE \"http://127.0.0.1/x\" \\\\d}}{\\fldrslt pic}} "
                            "{\\field{\\*\\fldinst {\\field{\\*\\fldinst REF x}{\\fldrslt inner}}}{\\fldrslt outer}} "
                            "{\\field{\\*\\fldinst REF elsewhere}}end"));
    QCOMPARE(d->toPlainText(), QStringLiteral("7 pic outer end"));
    // A symbol without a stored result is shown in its font and size.
    const auto symbol = read(doc("{\\field{\\*\\fldinst SYMBOL 97 \\\\f \"Symbol\" \\\\s 14}{\\fldrslt}}"));
    QCOMPARE(symbol->toPlainText(), QStringLiteral("\u03B1"));
    QCOMPARE(TextFormats::family(formatOf(*symbol, QStringLiteral("\u03B1")), QFont()), QStringLiteral("Symbol"));
    QCOMPARE(formatOf(*symbol, QStringLiteral("\u03B1")).fontPointSize(), 14.0);
}

void TestReader::tables()
{
    const auto d = read(doc("before\\par\\trowd\\trgaph108\\cellx1440\\cellx4320"
                            "\\pard\\intbl a1\\cell b1\\par b1second\\cell\\row"
                            "\\trowd\\cellx1440\\cellx4320\\pard\\intbl a2\\cell b2\\cell c2\\cell\\row"
                            "\\pard after"));
    QTextTable *t = d->rootFrame()->childFrames().isEmpty()
                        ? nullptr : qobject_cast<QTextTable *>(d->rootFrame()->childFrames().first());
    QVERIFY(t);
    QCOMPARE(t->rows(), 2);
    QCOMPARE(t->columns(), 3); // the second row has one cell more than it defines: its last two share the width
    auto cellText = [&](int r, int c) {
        QTextCursor cur = t->cellAt(r, c).firstCursorPosition();
        cur.setPosition(t->cellAt(r, c).lastCursorPosition().position(), QTextCursor::KeepAnchor);
        return cur.selectedText();
    };
    QCOMPARE(cellText(0, 0), QStringLiteral("a1"));
    QCOMPARE(cellText(0, 1), QStringLiteral("b1\u2029b1second"));
    QCOMPARE(cellText(1, 2), QStringLiteral("c2"));
    QCOMPARE(t->format().columnWidthConstraints().value(0).rawValue(), 96.0);
    QCOMPARE(t->format().columnWidthConstraints().value(1).rawValue(), 96.0);
    QCOMPARE(t->cellAt(0, 1).columnSpan(), 2);
    QCOMPARE(blockTexts(*d).first(), QStringLiteral("before"));
    QCOMPARE(blockTexts(*d).last(), QStringLiteral("after"));
    QVERIFY(!blockOf(*d, "after").textList());
}

void TestReader::nestedTables()
{
    const auto d = read(doc("\\trowd\\cellx3000\\cellx6000\\pard\\intbl outer1"
                            "\\pard\\intbl\\itap2 in1\\nestcell in2\\nestcell"
                            "{\\*\\nesttableprops\\trowd\\cellx1000\\cellx2000\\nestrow}{\\nonesttables\\par}"
                            "\\pard\\intbl\\itap1 tail\\cell outer2\\cell\\row\\pard end"));
    QCOMPARE(d->rootFrame()->childFrames().size(), 1);
    auto *outer = qobject_cast<QTextTable *>(d->rootFrame()->childFrames().first());
    QVERIFY(outer);
    QCOMPARE(outer->columns(), 2);
    QCOMPARE(outer->childFrames().size(), 1);
    auto *inner = qobject_cast<QTextTable *>(outer->childFrames().first());
    QVERIFY(inner);
    QCOMPARE(inner->columns(), 2);
    QCOMPARE(outer->cellAt(blockOf(*d, "tail").position()).column(), 0);
    QCOMPARE(outer->cellAt(blockOf(*d, "outer2").position()).column(), 1);
    QVERIFY(!d->toPlainText().contains(u'\u2029'));
}

void TestReader::mergedCells()
{
    const auto d = read(doc("\\trowd\\clmgf\\cellx1000\\clmrg\\cellx2000\\clvmgf\\cellx3000"
                            "\\pard\\intbl wide\\cell\\cell tall\\cell\\row"
                            "\\trowd\\cellx1000\\cellx2000\\clvmrg\\cellx3000\\pard\\intbl a\\cell b\\cell\\cell\\row"));
    auto *t = qobject_cast<QTextTable *>(d->rootFrame()->childFrames().value(0));
    QVERIFY(t);
    QCOMPARE(t->cellAt(0, 0).columnSpan(), 2);
    QCOMPARE(t->cellAt(0, 2).rowSpan(), 2);
    QCOMPARE(t->cellAt(1, 1).columnSpan(), 1);
}

void TestReader::hiddenDestinationsLeakNothing_data()
{
    QTest::addColumn<QByteArray>("group");
    QTest::newRow("info") << QByteArray("{\\info{\\title T}{\\author A}}");
    QTest::newRow("stylesheet") << QByteArray("{\\stylesheet{\\s0 Normal;}{\\s1\\sbasedon0 heading 1;}}");
    QTest::newRow("header") << QByteArray("{\\header \\pard head\\par}");
    QTest::newRow("footer") << QByteArray("{\\footerr foot}");
    QTest::newRow("annotation") << QByteArray("{\\*\\atnid me}{\\*\\annotation remark}");
    QTest::newRow("unknown starred") << QByteArray("{\\*\\xyzzy junk {nested junk}}");
    QTest::newRow("starred known word") << QByteArray("{\\*\\b junk}");
    QTest::newRow("bookmark") << QByteArray("{\\*\\bkmkstart mark}{\\*\\bkmkend mark}");
    QTest::newRow("object") << QByteArray("{\\object\\objemb{\\*\\objclass Paint}{\\*\\objdata 0105}junk}");
    QTest::newRow("generator") << QByteArray("{\\*\\generator Some writer;}");
    QTest::newRow("binary in skipped group") << QByteArray("{\\*\\blob\\bin5 }}}{{}");
}

void TestReader::hiddenDestinationsLeakNothing()
{
    QFETCH(QByteArray, group);
    QCOMPARE(read(doc("a" + group + "b"))->toPlainText(), QStringLiteral("ab"));
}

void TestReader::readReplacesContentAndLeavesUndoEmpty()
{
    QTextDocument d;
    QTextCursor(&d).insertText(QStringLiteral("old"));
    QVERIFY(d.isUndoAvailable());
    d.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("old:image")), QImage(1, 1, QImage::Format_RGB32));
    RtfCodec::read(doc("{\\object{\\result new}}"), d);
    QCOMPARE(d.toPlainText(), QStringLiteral("new"));
    QVERIFY(!d.isUndoAvailable());
    QVERIFY(d.isUndoRedoEnabled());
    QVERIFY(d.isLayoutEnabled());
    QVERIFY(d.resource(QTextDocument::ImageResource, QUrl(QStringLiteral("old:image"))).isNull());
}

QTEST_MAIN(TestReader)
#include "tst_reader.moc"
