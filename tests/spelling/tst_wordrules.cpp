// What the checker is asked about, and how dictionaries are named and chosen.
#include "spelling/LanguageNames.h"
#include "spelling/WordRules.h"

#include <QTest>

class WordRulesTest : public QObject
{
    Q_OBJECT

    static QStringList checkableWords(const QString &text)
    {
        QStringList out;
        for (const WordRules::Span &span : WordRules::checkable(text))
            out.append(text.mid(span.start, span.length));
        return out;
    }

private slots:
    void checkableWords_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("plain") << "Hello, world!" << QStringList{"Hello", "world"};
        QTest::newRow("apostrophes inside only") << "'quoted' don't it\u2019s students'"
                                                 << QStringList{"quoted", "don't", "it\u2019s", "students"};
        QTest::newRow("hyphens separate") << "well-known" << QStringList{"well", "known"};
        QTest::newRow("accents") << "caf\u00e9 na\u00efve" << QStringList{"caf\u00e9", "na\u00efve"};
        QTest::newRow("numbers and digits") << "42 3.14 abc123 x2 1st go" << QStringList{"go"};
        QTest::newRow("all capitals") << "NASA and UNESCO met A" << QStringList{"and", "met"};
        QTest::newRow("urls") << "see http://exmple.com/pth and www.exmple.org or (https://x.yz/ab)."
                              << QStringList{"see", "and", "or"};
        QTest::newRow("e-mail") << "mail someone@exmple.com or <mailto:who@wher.org> @handle"
                                << QStringList{"mail", "or", "handle"};
        QTest::newRow("picture between words") << "one\uFFFCtwo" << QStringList{"one", "two"};
        QTest::newRow("unspaced script") << "\u65e5\u672c\u8a9e ok" << QStringList{"ok"};
    }

    void checkableWords()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, words);
        QCOMPARE(checkableWords(text), words);
    }

    void wordAtTouchesEitherEnd()
    {
        const QString text = QStringLiteral("hello  world");
        QCOMPARE(WordRules::wordAt(text, 0), (WordRules::Span{0, 5}));
        QCOMPARE(WordRules::wordAt(text, 5), (WordRules::Span{0, 5}));
        QCOMPARE(WordRules::wordAt(text, 6), std::nullopt);
        QCOMPARE(WordRules::wordAt(text, 7), (WordRules::Span{7, 5}));
        QCOMPARE(WordRules::normalized(QStringLiteral("it\u2019s\u00ad")), QStringLiteral("it's"));
    }

    void languageNames()
    {
        QCOMPARE(LanguageNames::displayName("en_US"), QStringLiteral("English (United States)"));
        QCOMPARE(LanguageNames::displayName("en-GB"), QStringLiteral("English (United Kingdom)"));
        QCOMPARE(LanguageNames::displayName("de"), QStringLiteral("German"));
        QCOMPARE(LanguageNames::displayName("qqq"), QStringLiteral("qqq"));
        const QList<SpellChecker::Language> named = LanguageNames::named({"en_US", "de_DE_frami", "de_DE"});
        QCOMPARE(named.size(), 3);
        QCOMPARE(named[0].name, QStringLiteral("English (United States)"));
        QVERIFY(named[1].name != named[2].name); // told apart by their tags
    }

    void defaultLanguage()
    {
        const QStringList installed{"de_DE", "en_GB", "en_US"};
        QCOMPARE(LanguageNames::defaultTag(installed, "en_GB.UTF-8"), QStringLiteral("en_GB"));
        QCOMPARE(LanguageNames::defaultTag(installed, "de_AT"), QStringLiteral("de_DE"));
        QCOMPARE(LanguageNames::defaultTag(installed, "fr_FR"), QStringLiteral("en_US"));
        QCOMPARE(LanguageNames::defaultTag(installed, "C"), QStringLiteral("en_US"));
        QCOMPARE(LanguageNames::defaultTag({"fr_FR"}, "C"), QStringLiteral("fr_FR"));
        QCOMPARE(LanguageNames::defaultTag({}, "en_US"), QString());
    }
};

QTEST_GUILESS_MAIN(WordRulesTest)
#include "tst_wordrules.moc"
