// Files are known by their content, never by their name: documents are opened, everything else is
// refused with a reason the user can act on.
#include "content/FileRecognition.h"
#include "content/PlainText.h"
#include "zip/ZipWriter.h"

#include <QRandomGenerator>
#include <QtTest>

Q_DECLARE_METATYPE(FileRecognition::Format)

namespace {

using Format = FileRecognition::Format;

QByteArray package(const QList<std::pair<QString, QByteArray>> &entries)
{
    ZipWriter zip;
    for (const auto &[name, data] : entries)
        zip.add(name, data, name != QStringLiteral("mimetype"));
    return zip.finish();
}

// The start of an OLE compound file with a directory entry of the given stream name.
QByteArray compoundFile(const char *stream)
{
    QByteArray bytes("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    bytes += QByteArray(504, '\0');
    for (const char *c = stream; *c; ++c)
        bytes += QByteArray(1, *c) + QByteArray(1, '\0');
    return bytes + QByteArray(64, '\0');
}

} // namespace

class FileRecognitionTest : public QObject
{
    Q_OBJECT

private slots:
    void recognise_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("format"); // -1: refused
        QTest::addColumn<QString>("reason");
        const int refused = -1;
        QTest::newRow("rtf") << QByteArray("\xEF\xBB\xBF {\\rtf1 x}") << int(Format::RichText) << QString();
        QTest::newRow("empty") << QByteArray() << int(Format::PlainText) << QString();
        QTest::newRow("utf-8") << QByteArray("Caf\xC3\xA9\r\n\tindented\f") << int(Format::PlainText) << QString();
        QTest::newRow("windows-1252") << QByteArray("Caf\xE9 \x93quoted\x94") << int(Format::PlainText) << QString();
        QTest::newRow("utf-16") << QByteArray("\xFF\xFE" "A\0b\0", 6) << int(Format::PlainText) << QString();
        QTest::newRow("text starting BM") << QByteArray("BMW drivers") << int(Format::PlainText) << QString();
        QTest::newRow("word") << package({{"[Content_Types].xml", "<Types><Override ContentType=\"application/"
                                            "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/></Types>"},
                                           {"word/document.xml", "<w:document/>"}})
                              << int(Format::Word) << QString();
        QTest::newRow("opendocument") << package({{"mimetype", "application/vnd.oasis.opendocument.text"}, {"content.xml", "<x/>"}})
                                      << int(Format::OpenDocument) << QString();
        QTest::newRow("spreadsheet") << package({{"[Content_Types].xml", "spreadsheetml.sheet.main"}}) << refused
                                     << "spreadsheet";
        QTest::newRow("zip without a document") << package({{"notes/readme.txt", "hello"}}) << refused << "zip archive";
        QTest::newRow("broken zip") << QByteArray("PK\x03\x04garbage") << refused << "not a readable zip";
        QTest::newRow("word 97-2003") << compoundFile("WordDocument") << refused << "save it as .docx, .odt or .rtf";
        QTest::newRow("password") << compoundFile("EncryptedPackage") << refused << "password-protected";
        QTest::newRow("png") << QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16) << refused << "picture (PNG)";
        QTest::newRow("pdf") << QByteArray("%PDF-1.7\n") << refused << "PDF";
        QByteArray noise(4096, Qt::Uninitialized);
        QRandomGenerator random(7);
        for (char &c : noise)
            c = char(random.bounded(256));
        QTest::newRow("random bytes") << noise << refused << "binary data";
        QTest::newRow("NULs") << QByteArray(100, '\0') << refused << "binary data";
    }

    void recognise()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, format);
        QFETCH(QString, reason);
        const FileRecognition::Result result = FileRecognition::recognise(bytes);
        if (format < 0) {
            QVERIFY(!result.format);
            QVERIFY2(result.refusal.contains(reason), qPrintable(result.refusal));
        } else {
            QVERIFY2(result.format && int(*result.format) == format, qPrintable(result.refusal));
        }
    }

    void utf16TextIsDecoded()
    {
        QCOMPARE(PlainText::decode(QByteArray("\xFF\xFE" "A\0\xE9\0", 6)), QStringLiteral("Aé"));
        QCOMPARE(PlainText::decode(QByteArray("\xFE\xFF\0A\0\xE9", 6)), QStringLiteral("Aé"));
    }
};

QTEST_GUILESS_MAIN(FileRecognitionTest)
#include "tst_filerecognition.moc"
