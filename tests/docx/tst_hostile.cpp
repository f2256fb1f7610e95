// Packages that are not what they say, built to break a reader: each is refused with a reason
// (and leaves the document empty) or read within bounds, never crashes or hangs. Also replays
// every input the fuzzer ever found failing (fuzz/regressions-docx/).
#include "DocxFixtures.h"
#include "rtf/RtfCodec.h"
#include "odt/OdtCodec.h"
#include "../../fuzz/DocxRoundTripCheck.h"

#include <QBuffer>
#include <QDirIterator>
#include <QImage>
#include <QTextTable>
#include <QtTest>

using namespace DocxFixtures;

namespace {

// The reason a package is refused, or empty when it is read. A refused package leaves the
// document empty.
QString refusal(const QByteArray &bytes)
{
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("what was there before"));
    DocumentExtras::of(doc).setKeptHead(QStringLiteral("{\\*\\old}"));
    try {
        DocxCodec::read(bytes, doc);
    } catch (const PackageError &e) {
        if (!doc.isEmpty() || !DocumentExtras::of(doc).isEmpty())
            return QStringLiteral("refused but not emptied: ") + e.reason();
        return e.reason();
    }
    return QString();
}

QByteArray zipOf(const QList<QPair<QString, QByteArray>> &entries)
{
    ZipWriter zip;
    for (const auto &[name, data] : entries)
        zip.add(name, data);
    return zip.finish();
}

Package withBody(const QByteArray &body)
{
    Package p;
    p.body = body;
    return p;
}

QByteArray pngClaiming(int width, int height)
{
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    // The IHDR chunk's width and height, with its checksum made right again.
    for (int i = 0; i < 4; ++i) {
        bytes[16 + i] = char((width >> (24 - 8 * i)) & 0xFF);
        bytes[20 + i] = char((height >> (24 - 8 * i)) & 0xFF);
    }
    quint32 crc = 0xFFFFFFFF;
    for (int i = 12; i < 29; ++i) { // the chunk's type and data
        crc ^= uchar(bytes[i]);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320 & (0u - (crc & 1)));
    }
    crc ^= 0xFFFFFFFF;
    for (int i = 0; i < 4; ++i)
        bytes[29 + i] = char((crc >> (24 - 8 * i)) & 0xFF);
    return bytes;
}

} // namespace

class TestHostile : public QObject
{
    Q_OBJECT

private slots:
    void notAPackage_data();
    void notAPackage();
    void brokenXml_data();
    void brokenXml();
    void hostilePackages_data();
    void hostilePackages();
    void valuesOutOfReason();
    void rtfNamesXmlCannotHold();
    void fuzzRegressions();
};

void TestHostile::notAPackage_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    QTest::newRow("empty") << QByteArray() << QStringLiteral("not a readable zip package");
    QTest::newRow("text") << QByteArray("Just some text, not a package.") << QStringLiteral("not a readable zip package");
    QTest::newRow("cut zip") << withBody("<w:p/>").make().left(100) << QStringLiteral("not a readable zip package");
    QByteArray cfb("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    cfb += QByteArray(500, '\0') + QByteArray("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0", 32) + QByteArray(100, '\0');
    QTest::newRow("password-protected") << cfb << QStringLiteral("password-protected documents cannot be opened");
    QTest::newRow("old Word") << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(600, '\0')
                              << QStringLiteral("older Word document");
    QTest::newRow("no content types") << zipOf({{QStringLiteral("word/document.xml"), "<w:document/>"}})
                                      << QStringLiteral("[Content_Types].xml) is missing");
    QTest::newRow("no main part") << zipOf({{QStringLiteral("[Content_Types].xml"),
                                             "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>"}})
                                  << QStringLiteral("no main document part");
    Package sheet = withBody("<w:p/>");
    sheet.mainType = QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml");
    QTest::newRow("a spreadsheet") << sheet.make() << QStringLiteral("not a Word document");
}

void TestHostile::notAPackage()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    const QString refused = refusal(bytes);
    QVERIFY2(refused.contains(reason), qPrintable(refused));
}

void TestHostile::brokenXml_data()
{
    QTest::addColumn<QByteArray>("docx");
    QTest::addColumn<QString>("reason");
    QTest::newRow("unclosed") << withBody("<w:p><w:r><w:t>text</w:r></w:p>").make() << QStringLiteral("not well-formed XML");
    QTest::newRow("cut off") << withBody("<w:p><w:r><w:t>text").make().replace("</w:body></w:document>", "")
                             << QStringLiteral("not well-formed XML");
    Package laughs;
    QByteArray dtd = "<!DOCTYPE w:document [<!ENTITY a0 \"lol\">";
    for (int i = 1; i < 10; ++i)
        dtd += "<!ENTITY a" + QByteArray::number(i) + " \"&a" + QByteArray::number(i - 1) + ";&a" + QByteArray::number(i - 1)
             + ";&a" + QByteArray::number(i - 1) + ";\">";
    laughs.document = "<?xml version=\"1.0\"?>" + dtd + "]><w:document " + QByteArray(kNamespaces)
                    + "><w:body><w:p><w:r><w:t>&a9;</w:t></w:r></w:p></w:body></w:document>";
    QTest::newRow("entities") << laughs.make() << QStringLiteral("document type");
    QByteArray deep;
    for (int i = 0; i < 600; ++i)
        deep += "<w:sdt><w:sdtContent>";
    QTest::newRow("deep") << withBody(deep).make() << QStringLiteral("nests deeper than");
    Package styles = withBody("<w:p/>");
    styles.add(QStringLiteral("styles"), QStringLiteral("word/styles.xml"), "<w:styles><unclosed>");
    QTest::newRow("broken styles") << styles.make() << QStringLiteral("word/styles.xml is not well-formed");
}

void TestHostile::brokenXml()
{
    QFETCH(QByteArray, docx);
    QFETCH(QString, reason);
    const QString refused = refusal(docx);
    QVERIFY2(refused.contains(reason), qPrintable(refused));
}

void TestHostile::hostilePackages_data()
{
    QTest::addColumn<QByteArray>("docx");
    QTest::addColumn<QString>("reason");
    Package bomb = withBody("<w:p/>");
    bomb.parts.append({QStringLiteral("word/zeros.bin"), QByteArray(3 << 20, '\0')});
    QTest::newRow("inflates too far") << bomb.make() << QStringLiteral("times its packed size");
    Package many = withBody("<w:p/>");
    for (int i = 0; i < 10001; ++i)
        many.parts.append({QStringLiteral("x/%1").arg(i), QByteArray()});
    QTest::newRow("too many parts") << many.make() << QStringLiteral("too many parts");
    Package climbing = withBody("<w:p/>");
    climbing.parts.append({QStringLiteral("../../etc/evil.xml"), "x"});
    QTest::newRow("name climbs out") << climbing.make() << QStringLiteral("outside the package");
    Package absolute = withBody("<w:p/>");
    absolute.parts.append({QStringLiteral("/etc/evil.xml"), "x"});
    QTest::newRow("absolute name") << absolute.make() << QStringLiteral("outside the package");
    Package picture;
    const QString rel = picture.add(QStringLiteral("image"), QStringLiteral("word/media/huge.png"), pngClaiming(60000, 60000));
    picture.body = "<w:p><w:r><w:drawing><wp:inline><wp:extent cx=\"100\" cy=\"100\"/><a:graphic><a:graphicData><pic:pic><pic:blipFill>"
                   "<a:blip r:embed=\"" + rel.toUtf8() + "\"/></pic:blipFill></pic:pic></a:graphicData></a:graphic></wp:inline></w:drawing></w:r></w:p>";
    QTest::newRow("absurd picture") << picture.make() << QStringLiteral("absurd size");
}

void TestHostile::hostilePackages()
{
    QFETCH(QByteArray, docx);
    QFETCH(QString, reason);
    const QString refused = refusal(docx);
    QVERIFY2(refused.contains(reason), qPrintable(refused));
}

// Values far out of reason are bounded, cycles are cut, and the text is all there.
void TestHostile::valuesOutOfReason()
{
    Package p;
    p.add(QStringLiteral("styles"), QStringLiteral("word/styles.xml"), part("styles",
        "<w:style w:type=\"paragraph\" w:styleId=\"A\"><w:name w:val=\"A\"/><w:basedOn w:val=\"A\"/></w:style>"
        "<w:style w:type=\"numbering\" w:styleId=\"N\"><w:name w:val=\"N\"/><w:pPr><w:numPr><w:numId w:val=\"1\"/></w:numPr></w:pPr></w:style>"));
    p.add(QStringLiteral("numbering"), QStringLiteral("word/numbering.xml"), part("numbering",
        "<w:abstractNum w:abstractNumId=\"0\"><w:numStyleLink w:val=\"N\"/></w:abstractNum>"
        "<w:num w:numId=\"1\"><w:abstractNumId w:val=\"0\"/></w:num>"));
    QByteArray fields, tables, tablesEnd;
    for (int i = 0; i < 500; ++i)
        fields += "<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText>PAGE</w:instrText></w:r><w:r><w:fldChar w:fldCharType=\"separate\"/></w:r>";
    for (int i = 0; i < 40; ++i) {
        tables += "<w:tbl><w:tr><w:tc>";
        tablesEnd += "</w:tc></w:tr></w:tbl>";
    }
    QByteArray wide = "<w:tbl><w:tblGrid>";
    for (int i = 0; i < 3000; ++i)
        wide += "<w:gridCol w:w=\"99999999999\"/>";
    wide += "</w:tblGrid><w:tr><w:tc><w:tcPr><w:gridSpan w:val=\"100000\"/></w:tcPr><w:p><w:r><w:t>wide</w:t></w:r></w:p></w:tc>";
    for (int i = 0; i < 100; ++i)
        wide += "<w:tc><w:p><w:r><w:t>c" + QByteArray::number(i) + "</w:t></w:r></w:p></w:tc>";
    wide += "</w:tr></w:tbl>";
    p.body = "<w:p><w:pPr><w:pStyle w:val=\"A\"/><w:numPr><w:ilvl w:val=\"99\"/><w:numId w:val=\"1\"/></w:numPr>"
             "<w:ind w:left=\"-99999999999\" w:hanging=\"1e300\"/><w:spacing w:line=\"-5\" w:before=\"nan\"/></w:pPr>"
             "<w:r><w:rPr><w:sz w:val=\"999999999999\"/><w:position w:val=\"-99999999\"/></w:rPr><w:t>big</w:t></w:r>"
             "<w:r><w:fldChar w:fldCharType=\"end\"/></w:r><w:r><w:sym w:font=\"Symbol\" w:char=\"ZZZZ\"/></w:r>" + fields
             + "<w:r><w:t>in fields</w:t></w:r></w:p>" + tables + "<w:p><w:r><w:t>deepest</w:t></w:r></w:p>" + tablesEnd + wide
             + "<w:p><w:r><w:footnoteReference w:id=\"-1\"/><w:t>end</w:t></w:r></w:p>"
             "<w:sectPr><w:pgSz w:w=\"-5\" w:h=\"999999999999\"/><w:pgMar w:top=\"-99999999\"/></w:sectPr>";
    QTextDocument doc;
    DocxCodec::read(p.make(), doc);
    const QString text = doc.toPlainText();
    for (const char *word : {"big", "in fields", "deepest", "wide", "c99", "end"})
        QVERIFY2(text.contains(QLatin1String(word)), word);
    QVERIFY(formatOf(doc, "big").fontPointSize() <= 1638);
    const PageSetup page = *DocumentExtras::find(doc)->pageSetup();
    QVERIFY(page.paperWidth > 0 && page.paperHeight <= 31680 * 2 && page.marginTop >= 0);
    QTextTable *table = doc.find(QStringLiteral("c99")).currentTable();
    QVERIFY(table && table->columns() <= 64);
    // And it is written and read back.
    QTextDocument again;
    DocxCodec::read(DocxCodec::write(doc), again);
    QCOMPARE(again.toPlainText(), text);
}

// RTF spells any UTF-16 unit with \\uN: halves of surrogate pairs and control characters in the
// names of fonts, styles, bookmarks and the title do not stop a save as Word or OpenDocument.
void TestHostile::rtfNamesXmlCannotHold()
{
    QTextDocument doc;
    RtfCodec::read("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}{\\f1 Bad\\u-8694? Font\\u1?;}}{\\stylesheet{\\s1 Style\\u-10179? A;}}"
                   "{\\info{\\title Title\\u-8694?}}\\pard\\s1\\f1{\\*\\bkmkstart Mark\\u-8694?}words{\\*\\bkmkend Mark\\u-8694?}\\par}",
                   doc);
    QTextDocument viaWord, viaOdt;
    DocxCodec::read(DocxCodec::write(doc), viaWord);
    OdtCodec::read(OdtCodec::write(doc), viaOdt);
    QCOMPARE(viaWord.toPlainText(), QStringLiteral("words"));
    QCOMPARE(viaOdt.toPlainText(), QStringLiteral("words"));
    QVERIFY(DocumentExtras::find(viaWord)->info().texts.value(QStringLiteral("title")).startsWith(u"Title"));
}

void TestHostile::fuzzRegressions()
{
    const QString folder = QStringLiteral(SCRIVLO_SOURCE_DIR "/fuzz/regressions-docx");
    int count = 0;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString problem = docxRoundTripProblem(readFile(path));
        QVERIFY2(problem.isEmpty(), qPrintable(path + QStringLiteral(": ") + problem));
        ++count;
    }
    qInfo("%d inputs replayed", count);
}

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
