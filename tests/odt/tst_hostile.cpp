// Packages that are not what they say are refused with a reason, the document left empty; broken
// or odd XML that is still a document is read into a usable one. Also replays every input the
// fuzzer found failing (fuzz/regressions-odt/) and the fuzzer's seeds (fuzz/seeds-odt/).
#include "../../fuzz/OdtRoundTripCheck.h"
#include "OdtFixtures.h"
#include "zip/PackageError.h"

#include <QBuffer>
#include <QDirIterator>
#include <QImage>
#include <QTextCursor>
#include <QtEndian>
#include <QtTest>

using namespace OdtFixtures;

namespace {

QByteArray zipOf(const QList<std::pair<QString, QByteArray>> &entries)
{
    ZipWriter zip;
    for (const auto &[name, bytes] : entries)
        zip.add(name, bytes, name != u"mimetype");
    return zip.finish();
}

const QByteArray kMimetype = "application/vnd.oasis.opendocument.text";

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

// A PNG whose header says it is 100000 pixels square.
QByteArray absurdPng()
{
    QImage image(1, 1, QImage::Format_RGB32);
    image.fill(Qt::white);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    qToBigEndian<quint32>(100000, bytes.data() + 16); // IHDR width and height
    qToBigEndian<quint32>(100000, bytes.data() + 20);
    qToBigEndian<quint32>(crc32(QByteArrayView(bytes).sliced(12, 17)), bytes.data() + 29);
    return bytes;
}

QString nested(int depth)
{
    return QString(QStringLiteral("<text:span>")).repeated(depth) + QStringLiteral("x")
         + QString(QStringLiteral("</text:span>")).repeated(depth);
}

} // namespace

class TestHostile : public QObject
{
    Q_OBJECT

private slots:
    void refusedWithReason_data();
    void refusedWithReason();
    void readIntoUsableDocument_data();
    void readIntoUsableDocument();
    void fuzzRegressions();
};

void TestHostile::refusedWithReason_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("reason");

    const QByteArray manifest = OdtFixtures::manifest();
    const QByteArray content = contentXml(Parts{QStringLiteral("<text:p>x</text:p>")});
    QTest::newRow("not a zip") << QByteArray("PK\x03\x04 broken") << QStringLiteral("not a readable zip package");
    QTest::newRow("spreadsheet") << zipOf({{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
                                           {"META-INF/manifest.xml", manifest}, {"content.xml", content}})
                                 << QStringLiteral("not an OpenDocument text document");
    QTest::newRow("no manifest") << zipOf({{"mimetype", kMimetype}, {"content.xml", content}})
                                 << QStringLiteral("manifest (META-INF/manifest.xml) is missing");
    QTest::newRow("broken manifest") << zipOf({{"mimetype", kMimetype}, {"META-INF/manifest.xml", "<manifest:manifest"},
                                               {"content.xml", content}})
                                     << QStringLiteral("\"META-INF/manifest.xml\" is not well-formed XML");
    QTest::newRow("no main part") << zipOf({{"mimetype", kMimetype}, {"META-INF/manifest.xml", manifest}})
                                  << QStringLiteral("main part (content.xml) is missing");
    QTest::newRow("main part not content") << zipOf({{"mimetype", kMimetype}, {"META-INF/manifest.xml", manifest},
                                                     {"content.xml", "<html><body>x</body></html>"}})
                                           << QStringLiteral("holds no OpenDocument content");
    QTest::newRow("malformed content") << package(QStringLiteral("<text:p>x</text:span>")) << QStringLiteral("is not well-formed XML");
    QTest::newRow("cut off content") << zipOf({{"mimetype", kMimetype}, {"META-INF/manifest.xml", manifest},
                                               {"content.xml", content.left(content.size() / 2)}})
                                     << QStringLiteral("is not well-formed XML");
    QTest::newRow("undeclared entity") << package(QStringLiteral("<text:p>a&nbsp;b</text:p>")) << QStringLiteral("is not well-formed XML");
    QTest::newRow("nested too deep") << package(QStringLiteral("<text:p>") + nested(400) + QStringLiteral("</text:p>"))
                                     << QStringLiteral("nests deeper than 256 levels");
    QByteArray entities = "<?xml version=\"1.0\"?><!DOCTYPE office:document-content [<!ENTITY a \"aaaaaaaaaa\">"
                          "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]>" + content.mid(content.indexOf("<office:document-content"));
    entities.replace("<text:p>x</text:p>", "<text:p>&b;&b;&b;</text:p>");
    QTest::newRow("entity declarations") << zipOf({{"mimetype", kMimetype}, {"META-INF/manifest.xml", manifest}, {"content.xml", entities}})
                                         << QStringLiteral("declares XML entities");
    QTest::newRow("password") << zipOf({{"mimetype", kMimetype},
                                        {"META-INF/manifest.xml",
                                         "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\">"
                                         "<manifest:file-entry manifest:full-path=\"/\" manifest:media-type=\"application/vnd.oasis.opendocument.text\"/>"
                                         "<manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\">"
                                         "<manifest:encryption-data manifest:checksum-type=\"SHA1/1K\"/></manifest:file-entry></manifest:manifest>"},
                                        {"content.xml", QByteArray(200, '\x17')}})
                              << QStringLiteral("password-protected documents cannot be opened");
    QTest::newRow("climbing name") << zipOf({{"mimetype", kMimetype}, {"META-INF/manifest.xml", manifest}, {"content.xml", content},
                                             {"../../etc/passwd", "x"}})
                                   << QStringLiteral("named outside the package");
    QTest::newRow("absolute name") << zipOf({{"mimetype", kMimetype}, {"META-INF/manifest.xml", manifest}, {"content.xml", content},
                                             {"/tmp/x", "x"}})
                                   << QStringLiteral("named outside the package");
    QList<std::pair<QString, QByteArray>> many{{"mimetype", kMimetype}, {"META-INF/manifest.xml", manifest}, {"content.xml", content}};
    for (int i = 0; i < 10001; ++i)
        many.append({QStringLiteral("Pictures/%1").arg(i), QByteArray()});
    QTest::newRow("too many parts") << zipOf(many) << QStringLiteral("too many parts");
    QTest::newRow("inflation bomb") << zipOf({{"mimetype", kMimetype}, {"META-INF/manifest.xml", manifest},
                                              {"content.xml", content + QByteArray(8 << 20, ' ')}})
                                    << QStringLiteral("times its packed size");
    Parts picture;
    picture.body = QStringLiteral("<text:p><draw:frame text:anchor-type=\"as-char\"><draw:image xlink:href=\"Pictures/a.png\"/></draw:frame></text:p>");
    picture.files = {{QStringLiteral("Pictures/a.png"), absurdPng()}};
    QTest::newRow("absurd picture") << package(picture) << QStringLiteral("a picture states an absurd size");
}

void TestHostile::refusedWithReason()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, reason);
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("what was there"));
    try {
        OdtCodec::read(input, doc);
        QFAIL("read");
    } catch (const PackageError &e) {
        QVERIFY2(e.reason().contains(reason), qPrintable(e.reason()));
    }
    QVERIFY(doc.isEmpty());
    QCOMPARE(odtReadProblem(input), QString()); // what the fuzzer checks holds here too
}

void TestHostile::readIntoUsableDocument_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("text"); // expected text, or a null string when any text will do

    const QString p = QStringLiteral("<text:p>x</text:p>");
    QTest::newRow("empty body") << package(QString()) << QString();
    QTest::newRow("huge repeats") << package(QStringLiteral(
        "<table:table><table:table-column table:number-columns-repeated=\"1000000000\"/><table:table-row table:number-rows-repeated=\"99999999\">"
        "<table:table-cell table:number-columns-repeated=\"2147483647\" table:number-rows-spanned=\"2000000000\" "
        "table:number-columns-spanned=\"-5\"><text:p>c</text:p></table:table-cell></table:table-row></table:table>"))
                                  << QString();
    QTest::newRow("covered cells alone") << package(QStringLiteral("<table:table><table:table-row><table:covered-table-cell/>"
                                                                   "<table:covered-table-cell/></table:table-row></table:table>"))
                                         << QString();
    QTest::newRow("many spaces") << package(QStringLiteral("<text:p>a<text:s text:c=\"999999999\"/>b</text:p>")) << QString();
    QTest::newRow("cyclic styles") << package(QStringLiteral("<text:p text:style-name=\"A\">x</text:p>"),
                                              QStringLiteral("<style:style style:name=\"A\" style:family=\"paragraph\" style:parent-style-name=\"B\"/>"
                                                             "<style:style style:name=\"B\" style:family=\"paragraph\" style:parent-style-name=\"A\"/>"))
                                   << QStringLiteral("x");
    QTest::newRow("absurd lengths") << package(QStringLiteral("<text:p text:style-name=\"P\"><text:span text:style-name=\"T\">x</text:span></text:p>"),
                                               QStringLiteral("<style:style style:name=\"P\" style:family=\"paragraph\"><style:paragraph-properties "
                                                              "fo:margin-left=\"1e308in\" fo:line-height=\"-5%\" fo:text-indent=\"nan\"/></style:style>"
                                                              "<style:style style:name=\"T\" style:family=\"text\"><style:text-properties "
                                                              "fo:font-size=\"999999pt\" fo:letter-spacing=\"-1e9pt\" style:text-position=\"-999% 1%\"/></style:style>"))
                                    << QStringLiteral("x");
    QTest::newRow("lists nested deep") << package(QString(QStringLiteral("<text:list><text:list-item>")).repeated(60) + p
                                                  + QString(QStringLiteral("</text:list-item></text:list>")).repeated(60))
                                       << QStringLiteral("x");
    QTest::newRow("tables nested deep") << package(QString(QStringLiteral("<table:table><table:table-row><table:table-cell>")).repeated(40) + p
                                                   + QString(QStringLiteral("</table:table-cell></table:table-row></table:table>")).repeated(40))
                                        << QString();
    QTest::newRow("script links") << package(QStringLiteral("<text:p><text:a xlink:href=\"javascript:alert(1)\">x</text:a></text:p>"))
                                  << QStringLiteral("x");
    QTest::newRow("missing picture") << package(QStringLiteral("<text:p>a<draw:frame text:anchor-type=\"as-char\"><draw:image "
                                                               "xlink:href=\"../../etc/passwd\"/></draw:frame>b</text:p>"))
                                     << QStringLiteral("ab");
    QTest::newRow("broken picture") << package(QStringLiteral("<text:p><draw:frame text:anchor-type=\"as-char\"><draw:image>"
                                                              "<office:binary-data>!!notbase64</office:binary-data></draw:image></draw:frame></text:p>"))
                                    << QString();
    QTest::newRow("paragraph in paragraph") << package(QStringLiteral("<text:p>a<text:p>b<table:table/></text:p>c</text:p>"))
                                            << QStringLiteral("abc");
    QTest::newRow("unknown everything") << package(QStringLiteral("<foo:bar xmlns:foo=\"urn:x\"><text:p>x</text:p></foo:bar>"
                                                                  "<text:p><foo:baz xmlns:foo=\"urn:y\">kept</foo:baz></text:p>"))
                                        << QStringLiteral("x\nkept");
    QTest::newRow("notes in notes") << package(QStringLiteral(
        "<text:p><text:note><text:note-body><text:p><text:note><text:note-body><text:p>deep</text:p></text:note-body></text:note></text:p>"
        "</text:note-body></text:note></text:p>"))
                                    << QString();
}

void TestHostile::readIntoUsableDocument()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, text);
    QTextDocument doc;
    try {
        OdtCodec::read(input, doc);
    } catch (const PackageError &e) {
        QFAIL(qPrintable(e.reason()));
    }
    if (!text.isNull())
        QCOMPARE(doc.toPlainText(), text);
    QTextCursor c(&doc);
    c.movePosition(QTextCursor::End);
    c.insertText(QStringLiteral("typed"));
    QVERIFY(doc.toPlainText().endsWith(QStringLiteral("typed")));
    QCOMPARE(odtReadProblem(input), QString());
}

void TestHostile::fuzzRegressions()
{
    int count = 0;
    for (const char *folder : {"/fuzz/regressions-odt", "/fuzz/seeds-odt"}) {
        QDirIterator it(QStringLiteral(SCRIVLO_SOURCE_DIR) + QLatin1String(folder), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QVERIFY2(odtRoundTripProblem(readFile(path)).isEmpty(), qPrintable(path));
            ++count;
        }
    }
    QVERIFY(count >= 6);
    qInfo("%d fuzz inputs replayed", count);
}

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
