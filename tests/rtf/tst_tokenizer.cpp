// The tokenizer, the control-word table and the code pages, below the reader.
#include "rtf/RtfControlWords.h"
#include "rtf/RtfTextDecoder.h"
#include "rtf/RtfTokenizer.h"

#include <QtTest>

namespace {

// The tokens of an input as short strings: "{", "}", "\word", "\word-12", "sym:*", "text:abc",
// "hex:e9", "bin:3".
QStringList tokens(QByteArrayView input)
{
    RtfTokenizer t(input);
    QStringList out;
    for (RtfToken tok = t.next(); tok.type != RtfToken::End; tok = t.next()) {
        switch (tok.type) {
        case RtfToken::GroupOpen: out << QStringLiteral("{"); break;
        case RtfToken::GroupClose: out << QStringLiteral("}"); break;
        case RtfToken::ControlWord:
            out << u'\\' + QString::fromLatin1(tok.data.first(qMin<qsizetype>(40, tok.data.size())))
                       + (tok.hasParameter ? QString::number(tok.parameter) : QString());
            break;
        case RtfToken::ControlSymbol: out << QStringLiteral("sym:") + QChar(tok.byte); break;
        case RtfToken::Text: out << QStringLiteral("text:") + QString::fromLatin1(tok.data); break;
        case RtfToken::HexByte: out << QStringLiteral("hex:%1").arg(tok.byte, 2, 16, QChar(u'0')); break;
        case RtfToken::Binary: out << QStringLiteral("bin:%1").arg(tok.data.size()); break;
        case RtfToken::End: break;
        }
    }
    return out;
}

} // namespace

class TestTokenizer : public QObject
{
    Q_OBJECT

private slots:
    void tokens_data();
    void tokens();
    void controlWordTable();
    void codePagesAreAvailable_data();
    void codePagesAreAvailable();
};

void TestTokenizer::tokens_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("groups and words") << QByteArray("{\\b text}") << QStringList{"{", "\\b", "text:text", "}"};
    QTest::newRow("parameter and delimiter") << QByteArray("\\fs24 x\\li-360y")
                                             << QStringList{"\\fs24", "text:x", "\\li-360", "text:y"};
    QTest::newRow("line ends skipped") << QByteArray("a\r\nb") << QStringList{"text:a", "text:b"};
    QTest::newRow("escaped characters are text") << QByteArray("\\{\\}\\\\") << QStringList{"text:{", "text:}", "text:\\"};
    QTest::newRow("control symbols") << QByteArray("\\*\\~\\\n") << QStringList{"sym:*", "sym:~", "sym:\n"};
    QTest::newRow("hex") << QByteArray("\\'e9\\'C4") << QStringList{"hex:e9", "hex:c4"};
    QTest::newRow("bad hex dropped") << QByteArray("\\'zz\\'4 ") << QStringList{"sym:'", "text:zz", "sym:'", "text: "};
    QTest::newRow("saturating number") << QByteArray("\\fs99999999999999999999 \\li-99999999999")
                                       << QStringList{"\\fs2147483647", "\\li-2147483648"};
    QTest::newRow("minus without digits") << QByteArray("\\u-") << QStringList{"\\u", "text:-"};
    QTest::newRow("binary hides braces") << QByteArray("\\bin3 {}\\x}") << QStringList{"bin:3", "text:x", "}"};
    QTest::newRow("binary limited to the input") << QByteArray("\\bin4294967295 ab") << QStringList{"bin:2"};
    QTest::newRow("negative binary") << QByteArray("\\bin-7 ab") << QStringList{"bin:0", "text:ab"};
    QTest::newRow("backslash at end") << QByteArray("a\\") << QStringList{"text:a"};
    QTest::newRow("long word read whole")
        << QByteArray("\\" + QByteArray(100, 'a') + " x") << QStringList{"\\" + QString(40, u'a'), "text:x"};
}

void TestTokenizer::tokens()
{
    QFETCH(QByteArray, input);
    QFETCH(QStringList, expected);
    QCOMPARE(::tokens(input), expected);
}

void TestTokenizer::controlWordTable()
{
    const RtfControlWord *b = RtfControlWords::find("b");
    QVERIFY(b);
    QCOMPARE(b->kind, RtfKind::Toggle);
    QCOMPARE(RtfControlWords::effectiveValue(*b, false, 0), 1);
    QCOMPARE(RtfControlWords::effectiveValue(*b, true, 0), 0);
    const RtfControlWord *fs = RtfControlWords::find("fs");
    QCOMPARE(RtfControlWords::effectiveValue(*fs, false, 0), 24);
    QCOMPARE(RtfControlWords::effectiveValue(*fs, true, 2147483647), 3276);
    QCOMPARE(RtfControlWords::effectiveValue(*RtfControlWords::find("uc"), true, -3), 0);
    QCOMPARE(RtfControlWords::effectiveValue(*RtfControlWords::find("ilvl"), true, 99), 8);
    QCOMPARE(RtfControlWords::find("fonttbl")->kind, RtfKind::Destination);
    QCOMPARE(RtfControlWords::find("emdash")->value, 0x2014);
    QVERIFY(!RtfControlWords::find("nosuchword"));
    QVERIFY(!RtfControlWords::find(""));
}

void TestTokenizer::codePagesAreAvailable_data()
{
    QTest::addColumn<int>("codePage");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("1250") << 1250 << QByteArray("\xb9") << QStringLiteral("ą");
    QTest::newRow("1251") << 1251 << QByteArray("\xe0") << QStringLiteral("а");
    QTest::newRow("1252") << 1252 << QByteArray("\x80") << QStringLiteral("€");
    QTest::newRow("1253") << 1253 << QByteArray("\xe1") << QStringLiteral("α");
    QTest::newRow("437") << 437 << QByteArray("\x82") << QStringLiteral("é");
    QTest::newRow("874") << 874 << QByteArray("\xa1") << QStringLiteral("ก");
    QTest::newRow("10000") << 10000 << QByteArray("\x8e") << QStringLiteral("é");
    QTest::newRow("932") << 932 << QByteArray("\x82\xa0") << QStringLiteral("あ");
    QTest::newRow("936") << 936 << QByteArray("\xd6\xd0") << QStringLiteral("中");
    QTest::newRow("949") << 949 << QByteArray("\xc7\xd1") << QStringLiteral("한");
    QTest::newRow("950") << 950 << QByteArray("\xa4\xa4") << QStringLiteral("中");
    QTest::newRow("65001") << 65001 << QByteArray("\xe2\x82\xac") << QStringLiteral("€");
    QTest::newRow("unknown reads as 1252") << 99999 << QByteArray("\x80") << QStringLiteral("€");
}

void TestTokenizer::codePagesAreAvailable()
{
    QFETCH(int, codePage);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    RtfTextDecoder decoder;
    QString out;
    decoder.select(codePage, RtfSymbolFonts::None, out);
    for (const char b : bytes)
        decoder.decode(uchar(b), out);
    decoder.flush(out);
    QCOMPARE(out, text);
}

QTEST_MAIN(TestTokenizer)
#include "tst_tokenizer.moc"
