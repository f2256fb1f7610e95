// The text export of a document, written paragraph by paragraph, gives the bytes of the whole
// text joined with line feeds and encoded at once.
#include "content/PlainText.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QtTest>

class TestPlainText : public QObject
{
    Q_OBJECT

private slots:
    void documentExportEncodesTheJoinedText_data()
    {
        QTest::addColumn<QStringList>("paragraphs");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("empty") << QStringList{QString()} << QByteArray("\r\n");
        QTest::newRow("two") << QStringList{"one", "two"} << QByteArray("one\r\ntwo\r\n");
        QTest::newRow("line breaks") << QStringList{QString("a") + QChar::LineSeparator + "b", "c"}
                                     << QByteArray("a\r\nb\r\nc\r\n");
        QTest::newRow("spaces and objects") << QStringList{QString("a") + QChar::Nbsp + QChar::ObjectReplacementCharacter}
                                            << QByteArray("a \r\n");
        QTest::newRow("non-ASCII") << QStringList{QString::fromUtf8("café"), QString::fromUtf8("日本")}
                                   << QByteArray("caf\xC3\xA9\r\n\xE6\x97\xA5\xE6\x9C\xAC\r\n");
    }

    void documentExportEncodesTheJoinedText()
    {
        QFETCH(QStringList, paragraphs);
        QFETCH(QByteArray, expected);
        QTextDocument doc;
        QTextCursor cursor(&doc);
        for (qsizetype i = 0; i < paragraphs.size(); ++i) {
            if (i > 0)
                cursor.insertBlock();
            cursor.insertText(paragraphs[i]);
        }
        QCOMPARE(PlainText::ofDocument(doc), expected);
        QString joined;
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
            joined += (b == doc.begin() ? QString() : QStringLiteral("\n")) + b.text();
        joined.remove(QChar::ObjectReplacementCharacter);
        joined.replace(QChar::Nbsp, u' ');
        QCOMPARE(PlainText::ofDocument(doc), PlainText::encode(joined));
    }

    void listItemsFollowTheirMarkerAndATab()
    {
        QTextDocument doc;
        QTextCursor cursor(&doc);
        cursor.insertText(QStringLiteral("intro"));
        cursor.insertBlock();
        cursor.createList(QTextListFormat::ListDecimal);
        cursor.insertText(QStringLiteral("first"));
        cursor.insertBlock();
        cursor.insertText(QStringLiteral("second"));
        QCOMPARE(PlainText::ofDocument(doc), QByteArray("intro\r\n1.\tfirst\r\n2.\tsecond\r\n"));
    }
};

QTEST_MAIN(TestPlainText)
#include "tst_plaintext.moc"
