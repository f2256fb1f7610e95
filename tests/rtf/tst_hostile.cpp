// Hostile and broken inputs: each one finishes and leaves a usable document. Also replays every
// input the fuzzer ever found failing (fuzz/regressions/), and the fuzzer's seeds (fuzz/seeds/).
#include "../../fuzz/RtfRoundTripCheck.h"
#include "RtfFixtures.h"

#include <QDirIterator>
#include <QTextCursor>
#include <QtEndian>
#include <QtTest>

using namespace RtfFixtures;

namespace {

QByteArray times(const QByteArray &s, int n)
{
    return s.repeated(n);
}

quint32 crc32(QByteArrayView data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char ch : data) {
        crc ^= uchar(ch);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray pngChunk(const QByteArray &type, const QByteArray &data)
{
    QByteArray chunk(4, '\0');
    qToBigEndian<quint32>(quint32(data.size()), chunk.data());
    const QByteArray body = type + data;
    QByteArray crc(4, '\0');
    qToBigEndian<quint32>(crc32(body), crc.data());
    return chunk + body + crc;
}

// A PNG whose header declares 60000 x 60000 pixels, with a token of image data.
QByteArray bombPng()
{
    QByteArray ihdr(13, '\0');
    qToBigEndian<quint32>(60000, ihdr.data());
    qToBigEndian<quint32>(60000, ihdr.data() + 4);
    ihdr[8] = 8; // bit depth
    ihdr[9] = 0; // greyscale
    return "\x89PNG\r\n\x1a\n" + pngChunk("IHDR", ihdr)
         + pngChunk("IDAT", QByteArray::fromHex("78da63601805a360148c54000000ffff")) + pngChunk("IEND", {});
}

} // namespace

class TestHostile : public QObject
{
    Q_OBJECT

private slots:
    void finishesWithUsableDocument_data();
    void finishesWithUsableDocument();
    void fuzzRegressions();
};

void TestHostile::finishesWithUsableDocument_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("text"); // expected text, or a null string when any text will do

    const QByteArray r = "{\\rtf1 ";
    QTest::newRow("1 deep nesting") << r + times("{", 200000) + "x" + times("}", 200000) + "}" << QStringLiteral("x");
    QTest::newRow("2 groups never closed") << r + times("{\\b ", 100000) + "text" << QStringLiteral("text");
    QTest::newRow("3 stray closing braces") << QByteArray("{\\rtf1 a}}}}} b") << QStringLiteral("a");
    QTest::newRow("3 braces before") << QByteArray("}}{\\rtf1 a}") << QStringLiteral("a");
    QTest::newRow("4 long control word") << "{\\rtf1\\" + times("a", 100000) + " x}" << QStringLiteral("x");
    QTest::newRow("5 long number") << r + "\\fs" + times("9", 10000) + " x}" << QStringLiteral("x");
    QTest::newRow("5 overflowing numbers") << QByteArray("{\\rtf1\\fs-2147483649\\li99999999999999999999 x}")
                                          << QStringLiteral("x");
    QTest::newRow("6 negative measurements")
        << QByteArray("{\\rtf1\\fs0\\fs-40\\li-2147483648\\fi-99999\\sb-1\\sl-2147483648\\cellx-5 x\\par}")
        << QStringLiteral("x");
    QTest::newRow("7 huge bin") << QByteArray("{\\rtf1{\\pict\\bin4294967295 ab}}") << QString();
    QTest::newRow("7 negative bin") << QByteArray("{\\rtf1 \\bin-7 x}") << QStringLiteral("x");
    QTest::newRow("7 braces in bin") << QByteArray("{\\rtf1 {\\bin5 {}{\\}x}") << QStringLiteral("x");
    for (const char *end : {"{\\rtf1 a\\", "{\\rtf1 a\\'4", "{\\rtf1 a\\u-", "{\\rtf1 a\\bin100 abc", "{\\rtf1\\b"})
        QTest::newRow(QByteArray("8 ends in ") + end) << QByteArray(end) << QString();
    QTest::newRow("9 unicode extremes")
        << QByteArray("{\\rtf1 \\u-32768?\\u-1?\\u65535?\\u99999999?\\u-10179?\\par}")
        << QStringLiteral("\u8000\uFFFD\uFFFD\uFFFD\uFFFD");
    QTest::newRow("10 uc huge") << QByteArray("{\\rtf1\\uc2147483647\\u233 abc}") << QStringLiteral("\u00e9");
    QTest::newRow("10 uc negative") << QByteArray("{\\rtf1\\uc-3\\u233 abc}") << QStringLiteral("\u00e9abc");
    QTest::newRow("10 uc skip stops at group") << QByteArray("{\\rtf1\\uc5\\u233{\\b x}}") << QStringLiteral("\u00e9x");
    QTest::newRow("10 uc skips bin") << QByteArray("{\\rtf1\\uc1\\u233\\bin3 xyz}") << QStringLiteral("\u00e9");
    QTest::newRow("11 bad hex") << QByteArray("{\\rtf1 a\\'zz\\'4 \\'3?b\\'") << QStringLiteral("azz ?b");
    QTest::newRow("12 font table bomb")
        << QByteArray("{\\rtf1{\\fonttbl") + [] {
               QByteArray b;
               for (int i = 0; i < 40000; ++i)
                   b += "{\\f" + QByteArray::number(i) + " A;}";
               return b;
           }() + "}\\f2147483647 a\\f-1 b\\f7 c}"
        << QStringLiteral("abc");
    QTest::newRow("12 every font used") << [] {
        QByteArray fonts, body;
        for (int i = 0; i < 40000; ++i) {
            fonts += "{\\f" + QByteArray::number(i) + " F" + QByteArray::number(i) + ";}";
            body += "{\\f" + QByteArray::number(i) + " x}";
        }
        return "{\\rtf1{\\fonttbl" + fonts + "}" + body + "}";
    }() << QString(40000, u'x');
    QTest::newRow("13 colour flood") << "{\\rtf1{\\colortbl" + times(";\\red255", 1000000) + "}x}" << QStringLiteral("x");
    QTest::newRow("13 colour indices")
        << QByteArray("{\\rtf1{\\colortbl;\\red999;}\\cf999999\\cb-1\\highlight70000 x}") << QStringLiteral("x");
    QTest::newRow("14 code page junk")
        << QByteArray("{\\rtf1\\ansicpg-535\\ansicpg0\\ansicpg99999{\\fonttbl{\\f1\\fcharset255 F;}{\\f2\\fcharset128 G;}}"
                      "\\f1 \\'e9{\\f2 \\'82}\\par}")
        << QString();
    QTest::newRow("15 picture metadata")
        << QByteArray("{\\rtf1{\\pict\\pngblip\\picw2147483647\\pich-1\\picwgoal0\\pichgoal999999999\\picscalex-100 "
                      "89504e470d0a1a0a}}")
        << QStringLiteral("\uFFFC");
    QTest::newRow("15 picture flood") << r + times("{\\pict\\wmetafile8\\picwgoal30000\\pichgoal30000 01}", 100000) + "}"
                                     << QString(100000, QChar::ObjectReplacementCharacter);
    QTest::newRow("16 decompression bomb") << "{\\rtf1{\\pict\\pngblip " + bombPng().toHex() + "}}" << QStringLiteral("\uFFFC");
    QTest::newRow("17 odd hex") << QByteArray("{\\rtf1{\\pict\\pngblip 89504e470}}") << QStringLiteral("\uFFFC");
    QTest::newRow("17 non-hex") << QByteArray("{\\rtf1{\\pict\\pngblip zz 89 xx 50}}") << QStringLiteral("\uFFFC");
    QTest::newRow("17 50 MB of hex") << "{\\rtf1{\\pict\\jpegblip " + times("ab", 25 << 20) + "}}" << QStringLiteral("\uFFFC");
    QTest::newRow("18 object") << QByteArray("{\\rtf1{\\object\\objautlink{\\*\\objdata 0105}{\\result x}}}") << QStringLiteral("x");
    QTest::newRow("18 fields")
        << QByteArray("{\\rtf1{\\field{\\*\\fldinst INCLUDEPICTURE \"http://127.0.0.1/x\" \\\\d}{\\fldrslt a}}"
                      "{\\field{\\*\\fldinst HYPERLINK \"javascript:alert(1)\"}{\\fldrslt b}}"
                      "{\\field{\\*\\fldinst HYPERLINK \"file:///etc/passwd\"}{\\fldrslt c}}}")
        << QStringLiteral("abc");
    QTest::newRow("19 many cellx") << r + "\\trowd" + times("\\cellx100", 10000) + "\\intbl a\\cell\\row}" << QStringLiteral("\na\n");
    QTest::newRow("19 decreasing cellx")
        << QByteArray("{\\rtf1\\trowd\\cellx3000\\cellx1000\\intbl a\\cell b\\cell\\row}") << QStringLiteral("\na\nb\n");
    QTest::newRow("19 cell without row") << QByteArray("{\\rtf1 a\\cell b}") << QString();
    QTest::newRow("19 row without cells") << QByteArray("{\\rtf1 \\row a}") << QStringLiteral("a");
    QTest::newRow("19 deep itap") << QByteArray("{\\rtf1\\intbl\\itap1000 a\\nestcell\\nestrow b}") << QString();
    QTest::newRow("19 tall table") << r + times("\\trowd\\cellx1000\\cellx2000\\intbl a\\cell b\\cell\\row", 20000) + "}"
                                  << QString();
    QTest::newRow("19 intbl at top") << QByteArray("{\\rtf1\\intbl a\\par}") << QString();
    QTest::newRow("20 style cycles")
        << QByteArray("{\\rtf1{\\stylesheet{\\s1\\sbasedon2 A;}{\\s2\\sbasedon1 B;}}\\s1 x}") << QStringLiteral("x");
    QTest::newRow("20 snext chain")
        << "{\\rtf1{\\stylesheet" + [] {
               QByteArray b;
               for (int i = 0; i < 100000; ++i)
                   b += "{\\s" + QByteArray::number(i) + "\\snext" + QByteArray::number(i + 1) + " S;}";
               return b;
           }() + "}x}"
        << QStringLiteral("x");
    QTest::newRow("20 many lists between paragraphs") << [] {
        QByteArray lists, overrides, body;
        for (int i = 1; i <= 20000; ++i) {
            const QByteArray n = QByteArray::number(i);
            lists += "{\\list{\\listlevel\\levelnfc23{\\leveltext\\'01-;}}\\listid" + n + "}";
            overrides += "{\\listoverride\\listid" + n + "\\ls" + n + "}";
            body += "\\pard\\ls" + n + " a\\par\\pard b\\par";
        }
        return "{\\rtf1{\\*\\listtable" + lists + "}{\\*\\listoverridetable" + overrides + "}" + body + "}";
    }() << QString();
    QTest::newRow("20 long numbered list")
        << "{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc2{\\leveltext\\'02\\'00.;}}\\listid1}}"
           "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}" + times("\\pard\\ls1 a\\par", 20000) + "}"
        << QString();
    QTest::newRow("20 list abuse") << QByteArray("{\\rtf1\\ls5 a\\par\\ilvl-1 b\\par\\ilvl99 c}") << QStringLiteral("a\nb\nc");
    QTest::newRow("21 empty runs and breaks") << r + times("{\\b\\'01}{\\i\\'02}\\page ", 100000) + "x}" << QStringLiteral("x");
    QTest::newRow("21 destination flood") << r + times("{\\*\\xyz junk}", 1000000) + "x}" << QStringLiteral("x");
    QTest::newRow("21 font tables") << r + times("{\\fonttbl{\\f0 A;}}", 100000) + "x}" << QStringLiteral("x");
    QTest::newRow("21 nested fields")
        << r + times("{\\field{\\*\\fldinst ", 10000) + "x" + times("}}", 10000) + "y}" << QStringLiteral("y");
    QTest::newRow("23 style based on itself")
        << QByteArray("{\\rtf1{\\stylesheet{\\s1\\sbasedon1\\b A;}{\\*\\cs2\\sbasedon2 B;}}\\s1 x{\\cs2 y}\\s99 z}")
        << QStringLiteral("xyz");
    QTest::newRow("23 huge list start")
        << QByteArray("{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc1\\levelstartat2147483647{\\leveltext\\'02\\'00.;}}"
                      "\\listid1}}{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}\\pard\\ls1 a\\par\\pard\\ls1 b\\par"
                      "\\pard{\\*\\pn\\pnlvlbody\\pndec\\pnstart-5}c\\par}")
        << QStringLiteral("a\nb\nc");
    QTest::newRow("23 notes inside notes")
        << r + times("{\\super\\chftn}{\\*\\footnote n", 300) + "x" + times("}", 300) + "}" << QString();
    QTest::newRow("23 header inside a table and a note")
        << QByteArray("{\\rtf1\\trowd\\cellx1000\\pard\\intbl a{\\header h{\\footnote f}}\\cell\\row"
                      "\\pard{\\*\\footnote{\\header g}n}}")
        << QStringLiteral("\na\n1");
    QTest::newRow("23 kept group never closed") << QByteArray("{\\rtf1 a{\\*\\xyz{{{{\\f1 b") << QStringLiteral("a");
    QTest::newRow("23 kept group too deep")
        << r + "{\\*\\xyz" + times("{", 300) + times("}", 300) + "}x}" << QStringLiteral("x");
    QTest::newRow("23 kept flood") << r + times("{\\*\\xyz\\f1\\cf9 a}", 100000) + "x}" << QStringLiteral("x");
    QTest::newRow("23 note flood") << r + times("{\\super\\chftn}{\\*\\footnote n}", 6000) + "}" << QString();
    QTest::newRow("23 text box flood") << r + times("{\\shp{\\*\\shpinst{\\shptxt t}}}", 6000) + "}" << QString();
    QTest::newRow("23 fields in results")
        << r + times("{\\field{\\*\\fldinst PAGE}{\\fldrslt ", 10000) + "x" + times("}}", 10000) + "}" << QString();
    QTest::newRow("23 headers flood") << r + times("{\\header h\\par}", 100000) + "x}" << QStringLiteral("x");
    QTest::newRow("23 hidden text flood") << r + times("{\\v h}{\\b s}", 100000) + "}" << QString(100000, u's');
    QTest::newRow("23 destination past the depth limit")
        << r + times("{", 1500) + "{\\*\\xyz junk}shown" + times("}", 1500) + "}" << QStringLiteral("shown");
    QTest::newRow("22 empty") << QByteArray() << QString();
    QTest::newRow("22 just rtf") << QByteArray("{\\rtf") << QString();
    QTest::newRow("22 random bytes") << [] {
        QByteArray b;
        quint32 x = 12345;
        for (int i = 0; i < 200000; ++i) {
            x = x * 1103515245 + 12345;
            b += char(x >> 16);
        }
        return "{\\rtf1 " + b;
    }() << QString();
    QTest::newRow("22 utf-16") << QByteArray("\xFF\xFE{\0\\\0r\0t\0f\0\x31\0 \0a\0}\0", 20) << QString();
    QTest::newRow("22 nul bytes") << QByteArray("{\\rtf1 a\0b\0c}", 13) << QStringLiteral("abc");
    QTest::newRow("22 one huge paragraph") << r + times("lorem ipsum ", (50 << 20) / 12) + "}" << QString();
}

void TestHostile::finishesWithUsableDocument()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, text);
    const auto doc = read(input);
    if (!text.isNull())
        QCOMPARE(doc->toPlainText(), text);
    QTextCursor c(doc.get());
    c.movePosition(QTextCursor::End);
    c.insertText(QStringLiteral("typed"));
    QVERIFY(doc->toPlainText().endsWith(QStringLiteral("typed")));
    QVERIFY(RtfCodec::looksLikeRtf(RtfCodec::write(*doc)));
    if (input.size() < (4 << 20))
        QCOMPARE(rtfRoundTripProblem(input), QString());
}

void TestHostile::fuzzRegressions()
{
    // Every input that ever failed, and the fuzzer's own seeds.
    int count = 0;
    for (const char *folder : {"/fuzz/regressions", "/fuzz/seeds"}) {
        QDirIterator it(QStringLiteral(SCRIVLO_SOURCE_DIR) + QLatin1String(folder), QDir::Files);
        while (it.hasNext()) {
            const QString path = it.next();
            QVERIFY2(rtfRoundTripProblem(readFile(path)).isEmpty(), qPrintable(path));
            ++count;
        }
    }
    QVERIFY(count >= 20);
    qInfo("%d fuzz inputs replayed", count);
}

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
