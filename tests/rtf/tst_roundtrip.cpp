// Reading what we wrote gives back the same text and the formats the surface exposes, and writing
// is a fixpoint: for generated documents and for every file of the shared RTF corpus.
#include "RtfFixtures.h"
#include "rtf/TextFormats.h"

#include <QImage>
#include <QRandomGenerator>
#include <QTextList>
#include <QTextTable>
#include <QtTest>
#include <cmath>

using namespace RtfFixtures;

namespace {

int alignmentCode(Qt::Alignment a)
{
    a &= Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignJustify)
        return 3;
    if (a & Qt::AlignHCenter)
        return 2;
    if (a & (Qt::AlignRight | Qt::AlignTrailing))
        return 1;
    return 0;
}

QString describeRun(const QTextCharFormat &f, const QFont &base)
{
    const QString colour = f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush
                               ? f.foreground().color().name() : QStringLiteral("auto");
    QString d = QStringLiteral("%1|%2|b%3i%4u%5s%6|%7|up%8|%9")
                    .arg(TextFormats::family(f, base))
                    .arg(TextFormats::pointSize(f, base))
                    .arg(TextFormats::isBold(f)).arg(f.fontItalic()).arg(TextFormats::isUnderlined(f))
                    .arg(f.fontStrikeOut()).arg(colour)
                    .arg(std::lround(TextFormats::charOffsetTwips(f, base)))
                    .arg(f.isAnchor() ? f.anchorHref() : QString());
    if (f.isImageFormat())
        d += QStringLiteral("|img %1x%2").arg(std::lround(f.toImageFormat().width())).arg(std::lround(f.toImageFormat().height()));
    return d;
}

// One line per paragraph and one per run of equal visible format, in document order.
QStringList signature(const QTextDocument &doc)
{
    QStringList lines;
    const QFont base = doc.defaultFont();
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextBlockFormat bf = b.blockFormat();
        lines << QStringLiteral("P align%1 left%2 right%3 %4")
                     .arg(alignmentCode(bf.alignment()))
                     .arg(std::lround(TextFormats::pixelsToTwips(TextFormats::leftIndentPixels(b))))
                     .arg(std::lround(TextFormats::pixelsToTwips(bf.rightMargin())))
                     .arg(b.textList() ? QStringLiteral("list%1").arg(b.textList()->format().style()) : QString());
        QString last, text;
        for (QTextBlock::iterator it = b.begin(); !it.atEnd(); ++it) {
            const QString d = describeRun(it.fragment().charFormat(), base);
            if (d != last && !text.isEmpty()) {
                lines << last + QStringLiteral(" [") + text + u']';
                text.clear();
            }
            last = d;
            text += it.fragment().text();
        }
        if (!text.isEmpty())
            lines << last + QStringLiteral(" [") + text + u']';
    }
    return lines;
}

void checkRoundTrip(const QTextDocument &doc)
{
    const QByteArray written = RtfCodec::write(doc);
    const auto back = read(written);
    QCOMPARE(back->toPlainText(), doc.toPlainText());
    const QStringList expected = signature(doc), actual = signature(*back);
    for (qsizetype i = 0; i < qMin(expected.size(), actual.size()); ++i) {
        if (actual[i] != expected[i])
            qWarning("line %lld of %lld", (long long)i, (long long)expected.size());
        QCOMPARE(actual[i], expected[i]);
    }
    QCOMPARE(actual.size(), expected.size());
    const QByteArray again = RtfCodec::write(*back);
    if (again != written) {
        qsizetype i = 0;
        while (i < again.size() && i < written.size() && again[i] == written[i])
            ++i;
        QCOMPARE(again.mid(i - 60, 160), written.mid(i - 60, 160));
    }
}

QTextCharFormat randomFormat(QRandomGenerator &rng)
{
    static const QStringList families{QStringLiteral("Arial"), QStringLiteral("Times New Roman"),
                                      QStringLiteral("Courier New"), QStringLiteral("DejaVu Sans")};
    QTextCharFormat f;
    TextFormats::setFamily(f, families[rng.bounded(int(families.size()))]);
    f.setFontPointSize(8 + rng.bounded(30) / 2.0);
    if (rng.bounded(3) == 0)
        f.setFontWeight(QFont::Bold);
    f.setFontItalic(rng.bounded(3) == 0);
    if (rng.bounded(4) == 0)
        f.setUnderlineStyle(QTextCharFormat::UnderlineStyle(1 + rng.bounded(6)));
    f.setFontStrikeOut(rng.bounded(6) == 0);
    if (rng.bounded(3) == 0)
        f.setForeground(QColor::fromRgb(rng.generate() & 0xFFFFFF));
    if (rng.bounded(6) == 0)
        f.setBackground(QColor::fromRgb(rng.generate() & 0xFFFFFF));
    if (rng.bounded(6) == 0)
        TextFormats::setCharOffsetTwips(f, (rng.bounded(13) - 6) * 10, QFont());
    if (rng.bounded(10) == 0) {
        f.setAnchor(true);
        f.setAnchorHref(QStringLiteral("https://example.org/%1").arg(rng.bounded(3)));
    }
    return f;
}

QString randomText(QRandomGenerator &rng)
{
    static const QStringList words{QStringLiteral("plain"), QStringLiteral("café"), QStringLiteral("Straße"),
                                   QStringLiteral("привет"), QStringLiteral("日本語"), QStringLiteral("{brace}"),
                                   QStringLiteral("back\\slash"), QStringLiteral("tab\there"), QStringLiteral("€ – —"),
                                   QStringLiteral("\U0001F600"), QStringLiteral("nb\u00a0sp")};
    QString s;
    for (int i = 0, n = 1 + rng.bounded(4); i < n; ++i)
        s += words[rng.bounded(int(words.size()))] + u' ';
    return s;
}

void fillRandom(QTextDocument &doc, quint32 seed)
{
    QRandomGenerator rng(seed);
    QTextCursor c(&doc);
    for (int p = 0, n = 1 + rng.bounded(12); p < n; ++p) {
        QTextBlockFormat bf;
        bf.setAlignment(QList<Qt::Alignment>{Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter, Qt::AlignJustify}
                            [rng.bounded(4)]);
        bf.setLeftMargin(rng.bounded(5) * 24);
        bf.setRightMargin(rng.bounded(3) * 12);
        bf.setBottomMargin(rng.bounded(3) * 4);
        if (p > 0)
            c.insertBlock(bf);
        else
            c.setBlockFormat(bf);
        if (rng.bounded(4) == 0)
            c.createList(QList<QTextListFormat::Style>{QTextListFormat::ListDisc, QTextListFormat::ListDecimal,
                                                       QTextListFormat::ListLowerAlpha}[rng.bounded(3)]);
        for (int r = 0, runs = rng.bounded(5); r < runs; ++r)
            c.insertText(randomText(rng), randomFormat(rng));
    }
}

} // namespace

class TestRoundTrip : public QObject
{
    Q_OBJECT

private slots:
    void generatedDocuments_data();
    void generatedDocuments();
    void randomDocuments();
    void corpus_data();
    void corpus();
    void controlCharactersTheUserInsertedComeBack();
};

void TestRoundTrip::controlCharactersTheUserInsertedComeBack()
{
    // The symbols list offers every code from 1 up, control characters included.
    QTextDocument doc;
    QString text = QStringLiteral("a");
    for (char16_t c = 1; c < 0x20; ++c)
        if (c != '\n' && c != '\r')
            text += QChar(c);
    text += QStringLiteral("z");
    QTextCursor(&doc).insertText(text);
    const auto back = read(RtfCodec::write(doc));
    QCOMPARE(back->toPlainText(), doc.toPlainText());
    // Raw control bytes in a file are still no characters.
    QCOMPARE(read("{\\rtf1 a\x01\x02" "b}")->toPlainText(), QStringLiteral("ab"));
}

void TestRoundTrip::generatedDocuments_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("character formats") << 0;
    QTest::newRow("paragraphs and lists") << 1;
    QTest::newRow("tables, links and pictures") << 2;
    QTest::newRow("empty document") << 3;
}

void TestRoundTrip::generatedDocuments()
{
    QFETCH(int, kind);
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextCharFormat f;
    TextFormats::setFamily(f, QStringLiteral("Arial"));
    f.setFontPointSize(11);
    if (kind == 0) {
        for (int i = 0; i < 7; ++i) {
            QTextCharFormat g = f;
            g.setUnderlineStyle(QTextCharFormat::UnderlineStyle(i));
            g.setFontWeight(i % 2 ? QFont::Bold : QFont::Normal);
            g.setFontItalic(i % 3 == 0);
            g.setForeground(QColor::fromHsv(i * 40, 200, 200));
            g.setVerticalAlignment(i == 5 ? QTextCharFormat::AlignSuperScript : QTextCharFormat::AlignNormal);
            TextFormats::setCharOffsetTwips(g, i == 6 ? -60 : 0, doc.defaultFont());
            c.insertText(QStringLiteral("run%1 ").arg(i), g);
        }
    } else if (kind == 1) {
        QTextBlockFormat centred;
        centred.setAlignment(Qt::AlignHCenter);
        centred.setLineHeight(200, QTextBlockFormat::ProportionalHeight);
        c.setBlockFormat(centred);
        c.insertText(QStringLiteral("title"), f);
        QTextBlockFormat indented;
        indented.setLeftMargin(72);
        indented.setRightMargin(24);
        indented.setTextIndent(-12);
        c.insertBlock(indented);
        c.insertText(QStringLiteral("indented"), f);
        c.insertBlock(QTextBlockFormat());
        c.insertText(QStringLiteral("bullet"), f);
        QTextList *bullets = c.createList(QTextListFormat::ListDisc);
        c.insertBlock();
        c.insertText(QStringLiteral("nested"), f);
        QTextListFormat sub;
        sub.setStyle(QTextListFormat::ListLowerRoman);
        sub.setIndent(2);
        c.createList(sub);
        c.insertBlock(QTextBlockFormat());
        bullets->add(c.block());
        c.insertText(QStringLiteral("back"), f);
    } else if (kind == 2) {
        c.insertText(QStringLiteral("see "), f);
        QTextCharFormat link = f;
        link.setAnchor(true);
        link.setAnchorHref(QStringLiteral("#mark"));
        c.insertText(QStringLiteral("mark"), link);
        QImage img(6, 4, QImage::Format_ARGB32);
        img.fill(Qt::magenta);
        doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("app:img")), img);
        QTextImageFormat imf;
        imf.setName(QStringLiteral("app:img"));
        imf.setWidth(60);
        imf.setHeight(40);
        c.insertImage(imf);
        QTextTable *t = c.insertTable(2, 3);
        t->cellAt(1, 2).firstCursorPosition().insertText(QStringLiteral("cell"), f);
        t->mergeCells(0, 0, 2, 1);
        c.movePosition(QTextCursor::End);
        c.insertText(QStringLiteral("after"), f);
    }
    checkRoundTrip(doc);
}

void TestRoundTrip::randomDocuments()
{
    for (quint32 seed = 1; seed <= 60; ++seed) {
        QTextDocument doc;
        fillRandom(doc, seed);
        checkRoundTrip(doc);
        if (QTest::currentTestFailed()) {
            qWarning("random document %u", seed);
            return;
        }
    }
}

void TestRoundTrip::corpus_data()
{
    QTest::addColumn<QString>("path");
    const QStringList files = corpusFiles();
    if (files.isEmpty())
        QSKIP("the shared RTF corpus is not there");
    for (const QString &f : files)
        QTest::newRow(qPrintable(f)) << corpusDir() + u'/' + f;
}

void TestRoundTrip::corpus()
{
    QFETCH(QString, path);
    const QByteArray bytes = readFile(path);
    const auto doc = read(bytes);
    const QString text = doc->toPlainText();
    // Table and field syntax must never reach the text (unless the file quotes RTF on purpose).
    if (!bytes.contains("\\{\\\\rtf")) {
        for (const char *leak : {"fonttbl", "colortbl", "stylesheet", "HYPERLINK", "MERGEFORMAT", "PAGEREF",
                                 "Times New Roman;", "Arial;", "Normal;", "listtext", "panose"})
            QVERIFY2(!text.contains(QLatin1String(leak)), leak);
    }
    // Pictures show, except those in headers, which are not read.
    const bool hidden = bytes.contains("{\\header");
    if (!hidden && (bytes.contains("\\pngblip") || bytes.contains("\\jpegblip") || bytes.contains("\\wmetafile")))
        QVERIFY(text.contains(QChar::ObjectReplacementCharacter));
    checkRoundTrip(*doc);
}

QTEST_MAIN(TestRoundTrip)
#include "tst_roundtrip.moc"
