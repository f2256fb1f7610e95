// The marks on the real surface, with the en_US dictionary: what is marked and when, and that the
// marks never reach the document, its files, the clipboard, printing or the changed flag.
#include "spelling/FakeSpellChecker.h"

#include "document/RichTextBox.h"
#include "spelling/EnchantSpellChecker.h"
#include "spelling/SpellMarks.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <memory>

namespace {

// A surface on screen with its marks.
struct Surface {
    RichTextBox box;
    SpellMarks *marks;
    explicit Surface(SpellChecker &checker) : marks(new SpellMarks(box, checker))
    {
        box.resize(500, 300);
        box.show();
    }
};

bool isMarked(Surface &s, const QString &word)
{
    const int at = s.box.document()->toPlainText().indexOf(word);
    const auto mark = at < 0 ? std::nullopt : s.marks->markAt(at + 1);
    return mark && mark->start == at && mark->length == word.size();
}

// Pixels clearly red: the marks, as the screen or a page shows them.
int redPixels(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += c.red() > 160 && c.green() < 110 && c.blue() < 110;
        }
    return count;
}

bool showsMarks(const QTextEdit &box)
{
    return redPixels(box.viewport()->grab().toImage()) > 0;
}

QImage printed(const RichTextBox &box, const QString &dir)
{
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir + "/page.pdf");
    box.printSelection(printer);
    QProcess run;
    run.start("pdftoppm", {"-png", "-r", "60", "-f", "1", "-l", "1", "-singlefile", dir + "/page.pdf", dir + "/page"});
    return run.waitForFinished(30000) && run.exitCode() == 0 ? QImage(dir + "/page.png") : QImage();
}

} // namespace

class SpellMarksTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<EnchantSpellChecker> m_checker;

    QString wordsFile() const { return m_dir.filePath("personal-dictionary.txt"); }

private slots:
    void initTestCase()
    {
        // Enchant's own word lists live in the user's configuration folder: not the user's here.
        qputenv("XDG_CONFIG_HOME", m_dir.filePath("config").toUtf8());
    }

    void init()
    {
        QFile::remove(wordsFile());
        m_checker = std::make_unique<EnchantSpellChecker>(wordsFile(), "en_US");
        if (m_checker->language() != "en_US")
            QSKIP("The en_US dictionary is not installed (Debian package hunspell-en-us)");
    }

    void marksMisspeltWordsOnly()
    {
        Surface s(*m_checker);
        s.box.setText("This sentense has NASA, 42, abc123, http://wrongg.exmple.com and wrongg@exmple.com in it.");
        QTRY_VERIFY(isMarked(s, "sentense"));
        for (const char *word : {"This", "has", "NASA", "abc123", "wrongg", "exmple"})
            QVERIFY2(!isMarked(s, word), word);
        QVERIFY(showsMarks(s.box));
    }

    void marksStayOutOfTheDocument()
    {
        const QString text = QStringLiteral("Some wrongg words\nand anothr one");
        RichTextBox plain;
        plain.setText(text);
        Surface s(*m_checker);
        s.box.setText(text);
        QSignalSpy changes(&s.box, &QTextEdit::textChanged);
        QTRY_VERIFY(isMarked(s, "wrongg") && isMarked(s, "anothr"));

        QCOMPARE(changes.count(), 0);
        QVERIFY(!s.box.document()->isModified());
        QVERIFY(!s.box.document()->isUndoAvailable());
        QCOMPARE(s.box.rtf(), plain.rtf());
        QCOMPARE(s.box.text(), plain.text());
        QVERIFY(!s.box.document()->toHtml().contains("underline"));

        s.box.selectAll();
        s.box.copy();
        const QMimeData *copied = QApplication::clipboard()->mimeData();
        const QStringList formats = copied->formats();
        QMap<QString, QByteArray> marked;
        for (const QString &format : formats)
            marked[format] = copied->data(format);
        plain.selectAll();
        plain.copy();
        for (const QString &format : formats)
            QCOMPARE(QApplication::clipboard()->mimeData()->data(format), marked[format]);
    }

    void printsWithoutMarks()
    {
        if (QStandardPaths::findExecutable("pdftoppm").isEmpty())
            QSKIP("pdftoppm is not installed (Debian package poppler-utils)");
        Surface s(*m_checker);
        s.box.setText("wrongg wrongg");
        s.box.selectAll();
        s.box.setSelectionFontSize(48);
        QTRY_VERIFY(isMarked(s, "wrongg"));
        const QImage page = printed(s.box, m_dir.path());
        QVERIFY(!page.isNull());
        QCOMPARE(redPixels(page), 0);

        // The same red wavy underline, made part of the document, does reach the page.
        QTextCursor all(s.box.document());
        all.select(QTextCursor::Document);
        QTextCharFormat underline;
        underline.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
        underline.setUnderlineColor(Qt::red);
        all.mergeCharFormat(underline);
        QVERIFY(redPixels(printed(s.box, m_dir.path())) > 0);
    }

    void typedWordWaitsForTheCaret()
    {
        Surface s(*m_checker);
        s.box.setFocus();
        QTest::keyClicks(&s.box, "one helo");
        QVERIFY(!isMarked(s, "helo"));
        QVERIFY(!showsMarks(s.box));
        QTest::keyClick(&s.box, Qt::Key_Left);
        QVERIFY(!isMarked(s, "helo")); // still inside the word
        QTest::keyClick(&s.box, Qt::Key_Home);
        QVERIFY(isMarked(s, "helo"));
        QTRY_VERIFY(showsMarks(s.box));
        QTest::keyClick(&s.box, Qt::Key_End);
        QTest::keyClicks(&s.box, " wrld ");
        QVERIFY(isMarked(s, "wrld")); // a space ends the word
    }

    void pasteIsChecked()
    {
        Surface s(*m_checker);
        QApplication::clipboard()->setText("pasted wrods\nand mroe");
        s.box.paste();
        QTRY_VERIFY(isMarked(s, "wrods") && isMarked(s, "mroe"));
    }

    void visibleTextFirstTheRestWhenIdle()
    {
        FakeSpellChecker checker;
        checker.wrong = {"Paragraf"};
        Surface s(checker);
        s.marks->setSliceMilliseconds(0); // nothing but what is painted
        QStringList lines;
        for (int i = 0; i < 2000; ++i)
            lines.append(QStringLiteral("Paragraf %1 is here.").arg(i));
        s.box.setText(lines.join('\n'));
        QTRY_VERIFY(showsMarks(s.box));
        QVERIFY(checker.asked < 200); // three words a line, a screenful of lines

        s.box.verticalScrollBar()->setValue(s.box.verticalScrollBar()->maximum());
        QTRY_VERIFY(showsMarks(s.box)); // checked as it is painted
        const int painted = checker.asked;
        QVERIFY(painted < 400);

        s.marks->setSliceMilliseconds(1);
        QVERIFY(s.marks->isChecking());
        QTRY_VERIFY(!s.marks->isChecking());
        QVERIFY(checker.asked >= 3 * 2000);
    }

    void followsTheEditorToAnotherDocument()
    {
        FakeSpellChecker checker;
        checker.wrong = {"wrongg", "badd"};
        QTextEdit editor;
        auto *marks = new SpellMarks(editor, checker);
        editor.setPlainText("wrongg");
        QTextDocument other;
        other.setPlainText("fine");
        editor.setDocument(&other);
        QVERIFY(!marks->markAt(1));
        QTextCursor(&other).insertText("badd ");
        QVERIFY(marks->markAt(1));
    }

    void withoutDictionaryNothingIsMarked()
    {
        FakeSpellChecker checker;
        checker.available = false;
        checker.wrong = {"wrongg"};
        Surface s(checker);
        s.box.setText("some wrongg words");
        QTest::keyClicks(&s.box, "more wrongg ");
        QVERIFY(!isMarked(s, "wrongg"));
        QVERIFY(!showsMarks(s.box));
        QCOMPARE(checker.asked, 0);
    }

    void switchingOffClearsTheMarks()
    {
        Surface s(*m_checker);
        s.box.setText("an erorr here");
        QTRY_VERIFY(isMarked(s, "erorr"));
        m_checker->setChecksAsYouType(false);
        QVERIFY(!isMarked(s, "erorr"));
        QVERIFY(!showsMarks(s.box));
        s.box.setText("still an erorr");
        QVERIFY(!showsMarks(s.box));
        m_checker->setChecksAsYouType(true);
        QTRY_VERIFY(isMarked(s, "erorr"));
        QVERIFY(showsMarks(s.box));
    }

    void ignoredAndAddedWordsReachEveryWindow()
    {
        Surface first(*m_checker);
        Surface second(*m_checker);
        first.box.setText("blorp and zindle");
        second.box.setText("zindle and blorp");
        QTRY_VERIFY(isMarked(first, "blorp") && isMarked(second, "blorp"));
        m_checker->ignoreAll("blorp");
        QTRY_VERIFY(!isMarked(first, "blorp") && !isMarked(second, "blorp"));
        m_checker->addToDictionary("zindle");
        QTRY_VERIFY(!isMarked(first, "zindle") && !isMarked(second, "zindle"));

        // After a restart: a new checker reading the same file, and a new surface. The old
        // surfaces, left without a checker, mark nothing.
        m_checker = std::make_unique<EnchantSpellChecker>(wordsFile(), "en_US");
        first.box.setText("still wrongg");
        QVERIFY(!isMarked(first, "wrongg"));
        QVERIFY(!showsMarks(first.box));
        Surface restarted(*m_checker);
        restarted.box.setText("zindle and blorp");
        QTRY_VERIFY(isMarked(restarted, "blorp"));
        QVERIFY(!isMarked(restarted, "zindle"));
    }
};

QTEST_MAIN(SpellMarksTest)
#include "tst_spellmarks.moc"
