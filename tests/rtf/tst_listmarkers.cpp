// The marker of every list item, one rule for the screen, print and plain text.
#include "rtf/ListMarkers.h"
#include "rtf/TextFormats.h"

#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QtTest>

namespace {

QTextListFormat level(int indent, QTextListFormat::Style style, const QString &group = QString())
{
    QTextListFormat f;
    f.setIndent(indent);
    f.setStyle(style);
    if (!group.isEmpty())
        f.setProperty(TextFormats::kListGroupProperty, group);
    return f;
}

QStringList markers(const QTextDocument &doc)
{
    QStringList all;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        all << ListMarkers::text(b);
    return all;
}

} // namespace

class TestListMarkers : public QObject
{
    Q_OBJECT

private slots:
    void numberedAsTheListsSay();
    void qtMarkerHiddenOnlyWhereWrong();
    void followsEdits();
    void linearForLongLists();
};

void TestListMarkers::numberedAsTheListsSay()
{
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextListFormat top = level(1, QTextListFormat::ListDecimal, QStringLiteral("g"));
    TextFormats::setListStart(top, 3);
    QTextListFormat sub = level(2, QTextListFormat::ListLowerRoman, QStringLiteral("g"));
    sub.setProperty(TextFormats::kListNumberTemplateProperty, QStringLiteral("%1.%2)"));
    c.insertText(QStringLiteral("three"));
    QTextList *first = c.createList(top);
    c.insertBlock();
    c.insertText(QStringLiteral("three i"));
    c.createList(sub);
    c.insertBlock();
    c.insertText(QStringLiteral("three ii"));
    c.insertBlock();
    c.insertText(QStringLiteral("four"));
    first->add(c.block());
    c.insertBlock();
    c.insertText(QStringLiteral("four i")); // a new run of the lower level starts again
    c.createList(sub);
    c.insertBlock(QTextBlockFormat());
    c.insertText(QStringLiteral("plain"));
    c.insertBlock();
    QTextListFormat letters = level(1, QTextListFormat::ListUpperAlpha);
    letters.setNumberPrefix(QStringLiteral("("));
    letters.setNumberSuffix(QStringLiteral(")"));
    c.createList(letters);
    c.insertBlock();
    c.createList(level(1, QTextListFormat::ListCircle));
    c.insertBlock();
    QTextListFormat none = level(1, QTextListFormat::ListStyleUndefined);
    c.createList(none);
    c.insertBlock();
    none.setProperty(TextFormats::kListNumberTemplateProperty, QStringLiteral("Note:"));
    c.createList(none);
    QCOMPARE(markers(doc), (QStringList{"3.", "3.i)", "3.ii)", "4.", "4.i)", "", "(A)", QString(QChar(0x25E6)), "",
                                        "Note:"}));
}

void TestListMarkers::qtMarkerHiddenOnlyWhereWrong()
{
    QTextDocument doc;
    QTextCursor c(&doc);
    c.createList(level(1, QTextListFormat::ListDecimal));
    c.insertBlock(QTextBlockFormat());
    QTextListFormat three = level(1, QTextListFormat::ListDecimal);
    TextFormats::setListStart(three, 3);
    c.createList(three);
    ListMarkers::hideWrongQtMarkers(doc);
    c.insertBlock();
    QVERIFY(!ListMarkers::drawnByProgram(doc.begin()));
    QVERIFY(ListMarkers::drawnByProgram(doc.begin().next()));
    QVERIFY(ListMarkers::drawnByProgram(doc.lastBlock())); // an item added by Enter keeps it
    // The list comes to count from 1: Qt's marker is right again.
    c.currentList()->setFormat(level(1, QTextListFormat::ListDecimal));
    ListMarkers::hideWrongQtMarkers(doc);
    QVERIFY(!ListMarkers::drawnByProgram(doc.lastBlock()));
}

void TestListMarkers::followsEdits()
{
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextListFormat f = level(1, QTextListFormat::ListDecimal);
    TextFormats::setListStart(f, 7);
    c.insertText(QStringLiteral("a"));
    c.createList(f);
    c.insertBlock();
    c.insertText(QStringLiteral("b"));
    QCOMPARE(markers(doc), (QStringList{"7.", "8."}));
    c.setPosition(0);
    c.insertBlock(); // a new first item
    QCOMPARE(markers(doc), (QStringList{"7.", "8.", "9."}));
    c.beginEditBlock(); // within one revision too
    c.currentList()->remove(c.block());
    QCOMPARE(markers(doc), (QStringList{"7.", "", "8."}));
    c.endEditBlock();
}

void TestListMarkers::linearForLongLists()
{
    // Cut into lists of 1000 that go on counting, as readers make long lists.
    QTextDocument doc;
    QTextCursor c(&doc);
    for (int i = 0; i < 20000; ++i) {
        if (i > 0)
            c.insertBlock();
        if (i % 1000 == 0) {
            QTextListFormat f = level(1, QTextListFormat::ListDecimal, QStringLiteral("long"));
            TextFormats::setListStart(f, i + 1);
            c.createList(f);
        }
    }
    QElapsedTimer timer;
    timer.start();
    const QStringList all = markers(doc);
    QCOMPARE(all.last(), QStringLiteral("20000."));
    qInfo("20000 markers in %lld ms", timer.elapsed()); // quadratic would take minutes
}

QTEST_MAIN(TestListMarkers)
#include "tst_listmarkers.moc"
