// Zip packages: what is written reads back, and packages that are not what they say are refused.
#include "zip/PackageError.h"
#include "zip/ZipReader.h"
#include "zip/ZipWriter.h"

#include <QIODevice>
#include <memory>

#include <QtTest>

class TestZip : public QObject
{
    Q_OBJECT

private:
    static QString refusal(const QByteArray &package, const ZipReader::Limits &limits = {})
    {
        try {
            ZipReader reader(package, limits);
            for (const QString &name : reader.names())
                reader.read(name);
        } catch (const PackageError &e) {
            return e.reason();
        }
        return {};
    }

private slots:
    void writtenPackageReadsBack()
    {
        ZipWriter writer(QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5), Qt::UTC));
        writer.add(QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.text", false);
        writer.add(QStringLiteral("content.xml"), QByteArray(100000, 'x'));
        writer.add(QStringLiteral("Pictures/é.png"), QByteArray());
        const QByteArray bytes = writer.finish();
        QVERIFY(ZipReader::looksLikeZip(bytes));
        // The stored first entry's data stands right after its local header (30 bytes + its name).
        QCOMPARE(bytes.mid(38, 39), QByteArray("application/vnd.oasis.opendocument.text"));
        QCOMPARE(writer.finish(), bytes); // the same entries and time give the same bytes

        ZipReader reader(bytes);
        QCOMPARE(reader.names(), (QStringList{"mimetype", "content.xml", "Pictures/é.png"}));
        QCOMPARE(reader.read(QStringLiteral("content.xml")), QByteArray(100000, 'x'));
        QCOMPARE(reader.read(QStringLiteral("Pictures/é.png")), QByteArray());
        QVERIFY_THROWS_EXCEPTION(PackageError, reader.read(QStringLiteral("missing.xml")));
        // Unpacked as it is read, in pieces, to the same bytes; and at the fastest level too.
        const auto device = reader.open(QStringLiteral("content.xml"));
        QByteArray streamed;
        char piece[7000];
        for (qint64 n; (n = device->read(piece, sizeof piece)) > 0;)
            streamed.append(piece, n);
        QCOMPARE(streamed, QByteArray(100000, 'x'));
        writer.setCompressionLevel(1);
        QCOMPARE(ZipReader(writer.finish()).read(QStringLiteral("content.xml")), QByteArray(100000, 'x'));
    }

    void hostilePackagesAreRefused()
    {
        QVERIFY(refusal("PK\x03\x04 not really a zip").contains(QStringLiteral("not a readable zip")));

        ZipWriter climbing;
        climbing.add(QStringLiteral("../evil.xml"), "x");
        QVERIFY(refusal(climbing.finish()).contains(QStringLiteral("outside the package")));
        ZipWriter rooted;
        rooted.add(QStringLiteral("/etc/passwd"), "x");
        QVERIFY(refusal(rooted.finish()).contains(QStringLiteral("outside the package")));

        ZipWriter many;
        for (int i = 0; i < 20; ++i)
            many.add(QStringLiteral("part%1").arg(i), "x");
        ZipReader::Limits few;
        few.maxEntries = 10;
        QVERIFY(refusal(many.finish(), few).contains(QStringLiteral("too many parts")));

        // A bomb: zeros pack about a thousand to one.
        ZipWriter bomb;
        bomb.add(QStringLiteral("zeros"), QByteArray(4 << 20, '\0'));
        QVERIFY(refusal(bomb.finish()).contains(QStringLiteral("times its packed size")));
        ZipReader::Limits small;
        small.maxEntrySize = 1 << 20;
        QVERIFY(refusal(bomb.finish(), small).contains(QStringLiteral("more than 1 MB")));
    }

    void entryReadPieceByPiece()
    {
        ZipWriter writer;
        QByteArray data;
        for (int i = 0; i < 50000; ++i)
            data += QByteArray::number(i) + ' ';
        writer.add(QStringLiteral("a.xml"), data);
        QByteArray bytes = writer.finish();
        const ZipReader reader(bytes);
        const std::unique_ptr<QIODevice> device = reader.open(QStringLiteral("a.xml"));
        QByteArray got;
        char piece[1000];
        QCOMPARE(device->read(piece, 0), 0); // asking for nothing is no end
        for (qint64 n; (n = device->read(piece, sizeof piece)) > 0;)
            got.append(piece, n);
        QCOMPARE(got, data);
        // Spoiled packed data: the device ends with the reason.
        for (int i = 60; i < 200; ++i)
            bytes[i] = char(~bytes[i]);
        const ZipReader spoiled(bytes);
        const std::unique_ptr<QIODevice> broken = spoiled.open(QStringLiteral("a.xml"));
        while (broken->read(piece, sizeof piece) > 0) {
        }
        QVERIFY(!broken->errorString().isEmpty());
    }

    void damagedDataIsReported()
    {
        ZipWriter writer;
        writer.add(QStringLiteral("a.xml"), QByteArray(5000, 'a') + QByteArray(5000, 'b'));
        QByteArray bytes = writer.finish();
        // Spoil the packed data of the one entry (after its 30-byte header and 5-byte name).
        for (int i = 40; i < 60; ++i)
            bytes[i] = char(~bytes[i]);
        QVERIFY(!refusal(bytes).isEmpty());
        // Read as it unpacks, the spoilt entry ends in an error, never as good data.
        try {
            const auto device = ZipReader(bytes).open(QStringLiteral("a.xml"));
            const QByteArray got = device->readAll();
            QVERIFY(got != QByteArray(5000, 'a') + QByteArray(5000, 'b'));
            QVERIFY(!device->errorString().isEmpty());
        } catch (const PackageError &) {
        }
    }
};

QTEST_GUILESS_MAIN(TestZip)
#include "tst_zip.moc"
