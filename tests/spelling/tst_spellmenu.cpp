// The right-click menu on a marked word, with the en_US dictionary, and the View menu's items.
#include "spelling/FakeSpellChecker.h"

#include "document/RichTextBox.h"
#include "spelling/EnchantSpellChecker.h"
#include "spelling/SpellMarks.h"
#include "spelling/SpellingContextMenu.h"
#include "spelling/SpellingMenus.h"

#include <QFile>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

// Where a right click on the middle of the word would land.
QPoint pointOn(const QTextEdit &box, const QString &word)
{
    QTextCursor cursor(box.document());
    cursor.setPosition(box.document()->toPlainText().indexOf(word) + int(word.size()) / 2);
    return box.cursorRect(cursor).center();
}

QStringList texts(const QList<QAction *> &actions)
{
    QStringList out;
    for (const QAction *action : actions)
        out.append(action->isSeparator() ? QStringLiteral("|") : action->text());
    return out;
}

QAction *named(const QMenu &menu, const QString &text)
{
    for (QAction *action : menu.actions())
        if (action->text() == text)
            return action;
    return nullptr;
}

} // namespace

class SpellMenuTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<EnchantSpellChecker> m_checker;
    std::unique_ptr<RichTextBox> m_box;

private slots:
    void initTestCase()
    {
        // Enchant's own word lists live in the user's configuration folder: not the user's here.
        qputenv("XDG_CONFIG_HOME", m_dir.filePath("config").toUtf8());
    }

    void init()
    {
        QFile::remove(m_dir.filePath("words.txt"));
        m_checker = std::make_unique<EnchantSpellChecker>(m_dir.filePath("words.txt"), "en_US");
        if (m_checker->language() != "en_US")
            QSKIP("The en_US dictionary is not installed (Debian package hunspell-en-us)");
        m_box = std::make_unique<RichTextBox>();
        new SpellMarks(*m_box, *m_checker);
        m_box->resize(500, 200);
        m_box->show();
        // "A sentense here." with the misspelt word bold.
        m_box->setText("A sentense here.");
        m_box->setSelectionStart(2);
        m_box->setSelectionLength(8);
        m_box->setSelectionBold(true);
        m_box->setSelectionStart(0);
        m_box->document()->clearUndoRedoStacks();
    }

    void cleanup() { m_box.reset(); }

    void correctionsComeFirst()
    {
        std::unique_ptr<QMenu> menu(m_box->createStandardContextMenu(pointOn(*m_box, "sentense")));
        const QStringList standard = texts(menu->actions());
        QVERIFY(SpellingContextMenu::addEntries(*menu, *m_box, pointOn(*m_box, "sentense")));
        const QStringList all = texts(menu->actions());
        const int corrections = int(all.indexOf("Ignore All"));
        QVERIFY(corrections >= 1 && corrections <= SpellingContextMenu::kMostCorrections);
        QCOMPARE(all.first(), QStringLiteral("sentence")); // the best first
        QCOMPARE(all.mid(corrections), QStringList({"Ignore All", "&Add to Dictionary", "|"}) + standard);

        // Elsewhere, the usual menu.
        std::unique_ptr<QMenu> plain(m_box->createStandardContextMenu(pointOn(*m_box, "here")));
        QVERIFY(!SpellingContextMenu::addEntries(*plain, *m_box, pointOn(*m_box, "here")));
        QCOMPARE(texts(plain->actions()), standard);
    }

    void correctionKeepsFormattingAndUndoesInOneStep()
    {
        QMenu menu;
        QVERIFY(SpellingContextMenu::addEntries(menu, *m_box, pointOn(*m_box, "sentense")));
        named(menu, "sentence")->trigger();
        QCOMPARE(m_box->text(), QStringLiteral("A sentence here."));
        m_box->setSelectionStart(2);
        m_box->setSelectionLength(8);
        QCOMPARE(m_box->selectionBold(), std::optional<bool>(true));
        m_box->setSelectionStart(10);
        m_box->setSelectionLength(6);
        QCOMPARE(m_box->selectionBold(), std::optional<bool>(false));
        QVERIFY(!SpellMarks::of(*m_box)->markAt(4));

        m_box->undoEdit();
        QCOMPARE(m_box->text(), QStringLiteral("A sentense here."));
        QVERIFY(!m_box->document()->isUndoAvailable());
    }

    void ignoreAndAdd()
    {
        m_box->setText("zorp and blick");
        for (const auto &[word, choice] : {std::pair{"zorp", "Ignore All"}, {"blick", "&Add to Dictionary"}}) {
            QMenu menu;
            QVERIFY(SpellingContextMenu::addEntries(menu, *m_box, pointOn(*m_box, word)));
            named(menu, choice)->trigger();
            QVERIFY(m_checker->isCorrect(word));
        }
        QFile words(m_dir.filePath("words.txt"));
        QVERIFY(words.open(QIODevice::ReadOnly));
        QCOMPARE(words.readAll(), QByteArray("blick\n"));
    }

    void viewMenuItems()
    {
        QMenu view;
        SpellingMenus::addToViewMenu(view, *m_checker);
        QAction *toggle = view.findChild<QAction *>("checkSpellingAsYouType");
        QVERIFY(toggle && toggle->isEnabled() && toggle->isChecked());
        toggle->trigger();
        QVERIFY(!m_checker->checksAsYouType());
        m_checker->setChecksAsYouType(true);
        QVERIFY(toggle->isChecked());

        QMenu *languages = view.findChild<QAction *>("spellingLanguage")->menu();
        QAction *us = named(*languages, "English (United States)");
        QVERIFY(us && us->isChecked());
        QCOMPARE(us->data().toString(), QStringLiteral("en_US"));
        QVERIFY(!m_checker->setLanguage("qq_QQ"));
        QAction *gb = named(*languages, "English (United Kingdom)");
        if (!gb)
            QSKIP("The en_GB dictionary is not installed (Debian package hunspell-en-gb)");
        QVERIFY(!m_checker->isCorrect("colour"));
        QSignalSpy chosen(m_checker.get(), &SpellChecker::languageChanged);
        gb->trigger();
        QCOMPARE(chosen.count(), 1); // for the settings store
        QCOMPARE(m_checker->language(), QStringLiteral("en_GB"));
        QVERIFY(m_checker->isCorrect("colour"));
        SpellingMenus::fillLanguageMenu(*languages, *m_checker);
        QVERIFY(named(*languages, "English (United Kingdom)")->isChecked());
        QVERIFY(!named(*languages, "English (United States)")->isChecked());
    }

    void viewMenuWithoutDictionary()
    {
        FakeSpellChecker none;
        none.available = false;
        QMenu view;
        SpellingMenus::addToViewMenu(view, none);
        QCOMPARE(texts(view.actions()), QStringList({"Check Spelling as You Type", none.unavailableReason()}));
        for (const QAction *action : view.actions())
            QVERIFY(!action->isEnabled() && !action->isChecked());
    }
};

QTEST_MAIN(SpellMenuTest)
#include "tst_spellmenu.moc"
