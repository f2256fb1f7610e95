// The checker over Enchant with the en_US dictionary, and the personal dictionary file.
#include "spelling/EnchantSpellChecker.h"
#include "spelling/PersonalDictionary.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class SpellCheckerTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString wordsFile() const { return m_dir.filePath("words/personal-dictionary.txt"); }

    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void initTestCase()
    {
        // Enchant's own word lists live in the user's configuration folder: not the user's here.
        qputenv("XDG_CONFIG_HOME", m_dir.filePath("config").toUtf8());
    }

    void init()
    {
        QFile::remove(wordsFile());
        if (!EnchantSpellChecker(wordsFile(), "en_US").languages().contains({"en_US", "English (United States)"}))
            QSKIP("The en_US dictionary is not installed (Debian package hunspell-en-us)");
    }

    void checksWordsAndOffersCorrections()
    {
        EnchantSpellChecker checker(wordsFile(), "en_US");
        QVERIFY(checker.isAvailable());
        QCOMPARE(checker.language(), QStringLiteral("en_US"));
        QVERIFY(checker.isCorrect("house"));
        QVERIFY(checker.isCorrect("House"));
        QVERIFY(checker.isCorrect("don\u2019t"));
        QVERIFY(!checker.isCorrect("hosue"));

        const QStringList corrections = checker.suggestions("hosue", 6);
        QVERIFY(!corrections.isEmpty() && corrections.size() <= 6);
        QVERIFY(corrections.contains("house"));
        QVERIFY(!corrections.contains("hosue"));
        QCOMPARE(checker.suggestions("hosue", 1).size(), 1);
        QVERIFY(checker.suggestions("dont\u2019", 6).join(' ').contains(QChar(0x2019)));
    }

    void ignoreAllLastsForTheRun()
    {
        {
            EnchantSpellChecker checker(wordsFile(), "en_US");
            QSignalSpy changed(&checker, &SpellChecker::wordsChanged);
            checker.ignoreAll("qwzxy");
            QVERIFY(checker.isCorrect("qwzxy"));
            QVERIFY(checker.isCorrect("Qwzxy"));
            QCOMPARE(changed.count(), 1);
        }
        EnchantSpellChecker restarted(wordsFile(), "en_US");
        QVERIFY(!restarted.isCorrect("qwzxy"));
        QVERIFY(!QFile::exists(wordsFile()));
    }

    void addedWordsAreKeptInAFile()
    {
        {
            EnchantSpellChecker checker(wordsFile(), "en_US");
            QSignalSpy changed(&checker, &SpellChecker::wordsChanged);
            QVERIFY(checker.addToDictionary("Scrivlo"));
            QVERIFY(checker.addToDictionary("gr\u00fcnzeug"));
            QVERIFY(checker.isCorrect("Scrivlo"));
            QVERIFY(checker.isCorrect("Gr\u00fcnzeug")); // at the start of a sentence
            QCOMPARE(changed.count(), 2);
        }
        QCOMPARE(read(wordsFile()), QString("Scrivlo\ngr\u00fcnzeug\n").toUtf8());
        EnchantSpellChecker restarted(wordsFile(), "en_US");
        QVERIFY(restarted.isCorrect("Scrivlo"));
        QVERIFY(restarted.isCorrect("gr\u00fcnzeug"));
    }

    void anotherCopysWordsAreKept()
    {
        PersonalDictionary first(wordsFile());
        PersonalDictionary second(wordsFile());
        QVERIFY(first.add("alpha"));
        QVERIFY(second.add("beta"));
        QCOMPARE(read(wordsFile()), QByteArray("alpha\nbeta\n"));
        QVERIFY(!second.add("two\nlines"));
        QCOMPARE(PersonalDictionary(wordsFile()).words(), (QStringList{"alpha", "beta"}));
    }

    void unwritableDictionaryIsReported()
    {
        QFile blocker(m_dir.filePath("blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        EnchantSpellChecker checker(m_dir.filePath("blocker/personal-dictionary.txt"), "en_US");
        QSignalSpy failed(&checker, &SpellChecker::dictionaryWriteFailed);
        QVERIFY(!checker.addToDictionary("zorblax"));
        QCOMPARE(failed.count(), 1);
        QVERIFY(failed.at(0).at(0).toString().contains("zorblax"));
        QVERIFY(checker.isCorrect("zorblax")); // still right for this run
    }
};

QTEST_GUILESS_MAIN(SpellCheckerTest)
#include "tst_spellchecker.moc"
