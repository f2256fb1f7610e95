// A long, seeded random walk of user actions through the real commands, checking after every step
// that nothing is lost or muddled. SCRIVLO_SOAK_SEED and SCRIVLO_SOAK_STEPS replay or lengthen it.
#include "support/FrameFixture.h"
#include "support/SoakDialogs.h"

#include "app/MainFrame.h"
#include "content/DocumentFormat.h"
#include "content/PlainText.h"
#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "editing/SymbolsWindow.h"
#include "editing/InsertCommands.h"
#include "formatting/FontDialog.h"
#include "formatting/FormatMenu.h"
#include "platform/DropDownList.h"
#include "platform/KeyedToolbar.h"
#include "workspace/Services.h"
#include "platform/SettingsStore.h"
#include "rtf/RtfCodec.h"
#include "rtf/TextFormats.h"
#include "windows/FullScreenView.h"
#include "windows/SideWindows.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QKeyEvent>
#include <QListWidget>
#include <QMap>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <functional>

namespace {

// What a reader of the file can see of one character.
struct CharacterLook {
    QString family;
    double size;
    bool bold, italic, underline, strike;
    QRgb color;
    int alignment;
    bool bulleted;
};

QList<CharacterLook> looks(const QTextDocument &doc)
{
    QList<CharacterLook> result;
    const QFont fallback = doc.defaultFont();
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const int alignment = int(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask);
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            const QBrush brush = f.foreground();
            const CharacterLook look{TextFormats::family(f, fallback), TextFormats::pointSize(f, fallback),
                                     TextFormats::isBold(f), f.fontItalic(), TextFormats::isUnderlined(f),
                                     f.fontStrikeOut(),
                                     brush.style() == Qt::NoBrush ? qRgb(0, 0, 0) : brush.color().rgb(),
                                     alignment, block.textList() != nullptr};
            for (int i = 0; i < it.fragment().length(); ++i)
                result << look;
        }
    }
    return result;
}

QString describe(const CharacterLook &l)
{
    return QStringLiteral("%1 %2pt b%3 i%4 u%5 s%6 #%7 align%8 list%9")
        .arg(l.family).arg(l.size).arg(l.bold).arg(l.italic).arg(l.underline).arg(l.strike)
        .arg(l.color, 6, 16).arg(l.alignment).arg(l.bulleted);
}

bool sameLook(const CharacterLook &a, const CharacterLook &b)
{
    // Rich Text Format keeps sizes in half points.
    return a.family == b.family && qAbs(a.size - b.size) <= 0.25 && a.bold == b.bold && a.italic == b.italic
        && a.underline == b.underline && a.strike == b.strike && a.color == b.color
        && a.alignment == b.alignment && a.bulleted == b.bulleted;
}

quint32 seedFromEnvironment()
{
    bool ok = false;
    const quint32 seed = qEnvironmentVariable("SCRIVLO_SOAK_SEED").toUInt(&ok);
    return ok ? seed : 20261207u;
}

int stepsFromEnvironment()
{
    bool ok = false;
    const int steps = qEnvironmentVariable("SCRIVLO_SOAK_STEPS").toInt(&ok);
    return ok && steps > 0 ? steps : 400;
}

class Walk
{
public:
    Walk(quint32 seed)
        : m_seed(seed), m_random(seed), m_dialogs(m_random, m_dir.path()),
          m_settings(QStringLiteral("scrivlo"), m_dir.filePath(QStringLiteral("settings"))),
          m_services{m_dialogs, m_settings, AppFolder({QStringLiteral(SCRIVLO_SOURCE_DIR "/resources")}),
                     [seed] { return seed; }},
          m_frame(m_services)
    {
        m_frame.resize(1000, 700);
        m_frame.show();
        noteNewWindows();
    }

    ~Walk()
    {
        for (DocumentWindow *form : m_frame.documents())
            form->doc = 0;
    }

    // Runs the walk; false at the first broken invariant (already reported).
    bool run(int steps)
    {
        const std::vector<Action> actions = table();
        int totalWeight = 0;
        for (const Action &a : actions)
            totalWeight += a.weight;
        for (m_step = 1; m_step <= steps; ++m_step) {
            int draw = pick(totalWeight);
            const Action *chosen = &actions.front();
            for (const Action &a : actions) {
                if (draw < a.weight) {
                    chosen = &a;
                    break;
                }
                draw -= a.weight;
            }
            m_action = QString::fromLatin1(chosen->name);
            chosen->run();
            QCoreApplication::sendPostedEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            if (!checkAfterStep())
                return false;
            ++m_counts[m_action];
        }
        QStringList summary;
        for (auto it = m_counts.cbegin(); it != m_counts.cend(); ++it)
            summary << QStringLiteral("%1 %2").arg(it.key()).arg(it.value());
        qInfo("%s; %d windows made, %d saved files read back", qPrintable(summary.join(", ")), m_windowsMade, m_savesChecked);
        return true;
    }

private:
    struct Action {
        const char *name;
        int weight;
        std::function<void()> run;
    };

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    RichTextBox *surface() const
    {
        DocumentWindow *form = m_frame.activeDocument();
        return form ? form->surface : nullptr;
    }
    void trigger(const char *item) { m_frame.menuItem(QString::fromLatin1(item))->trigger(); }
    bool roomForAnotherWindow() const { return m_frame.documents().size() < 8; }

    bool fail(const QString &why)
    {
        const QString message = QStringLiteral("seed %1, step %2 (%3): %4. Replay: SCRIVLO_SOAK_SEED=%1 SCRIVLO_SOAK_STEPS=%2")
                                    .arg(m_seed).arg(m_step).arg(m_action, why);
        QTest::qFail(qPrintable(message), __FILE__, __LINE__);
        return false;
    }

    std::vector<Action> table()
    {
        return {
            {"type", 14, [this] { type(); }},
            {"select", 10, [this] { select(); }},
            {"toolbar button", 10, [this] { formattingToolbarOf(m_frame)->button(QString(QChar('a' + pick(8))))->trigger(); }},
            {"font box", 3, [this] { chooseIn(*fontNameBoxOf(m_frame)); }},
            {"size box", 3, [this] { chooseIn(*fontSizeBoxOf(m_frame)); }},
            {"font dialog", 2, [this] { fontDialog(); }},
            {"text colour", 2, [this] { pick(2) ? trigger("fc") : standardToolbarOf(m_frame)->button(QStringLiteral("k"))->trigger(); }},
            {"background colour", 1, [this] { trigger("bc"); }},
            {"bullets", 2, [this] { trigger("bs"); }},
            {"symbol", 2, [this] { symbol(); }},
            {"date and time", 2, [this] { trigger("dt"); }},
            {"edit command", 8, [this] { editCommand(); }},
            {"new", 3, [this] { if (roomForAnotherWindow()) trigger(pick(2) ? "new" : "nw"); }},
            {"open", 2, [this] { if (roomForAnotherWindow()) trigger("open"); }},
            {"save", 3, [this] { save("save"); }},
            {"save as", 2, [this] { save("saveas"); }},
            {"close", 2, [this] { trigger("closea"); }},
            {"full screen", 1, [this] { fullScreen(); }},
            {"arrange", 2, [this] { trigger(std::array{"cascade", "th", "til", "arricos", "miall", "resall"}[pick(6)]); }},
        };
    }

    void type()
    {
        RichTextBox *box = surface();
        if (!box)
            return;
        static const QString letters = QStringLiteral("abcdefghij klmnop\u00e9\u00df\u20ac ");
        QString text;
        for (int i = 1 + pick(12); i > 0; --i)
            text += letters.at(pick(int(letters.size())));
        if (pick(6) == 0)
            text += QLatin1Char('\n');
        box->setFocus();
        for (const QChar c : text) {
            if (c == QLatin1Char('\n')) {
                QTest::keyClick(box->viewport(), Qt::Key_Return);
            } else if (c.unicode() < 128) {
                QTest::keyClick(box->viewport(), char(c.unicode()));
            } else { // a key of a keyboard layout beyond ASCII
                QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
                QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
                QCoreApplication::sendEvent(box->viewport(), &press);
                QCoreApplication::sendEvent(box->viewport(), &release);
            }
        }
        m_expectChanged = true;
    }

    void select()
    {
        RichTextBox *box = surface();
        if (!box)
            return;
        const int count = box->characterCount();
        box->setSelectionStart(pick(count + 1));
        box->setSelectionLength(pick(count + 1));
        if (pick(4) == 0)
            QTest::keyClick(box->viewport(), pick(2) ? Qt::Key_Left : Qt::Key_Right);
    }

    void chooseIn(DropDownList &box)
    {
        if (box.count() > 0)
            box.setCurrentIndex(pick(box.count()));
    }

    void fontDialog()
    {
        if (!m_frame.activeDocument())
            return; // the command would only say that no document is open
        trigger("font");
        FontDialog *dialog = m_frame.formatMenu().fontDialog();
        if (!dialog)
            return;
        if (pick(2))
            dialog->fontList->setCurrentRow(pick(dialog->fontList->count()));
        if (pick(2))
            dialog->styleList->setCurrentRow(pick(dialog->styleList->count()));
        if (pick(2))
            dialog->sizeList->setCurrentRow(pick(dialog->sizeList->count()));
        if (pick(3) == 0)
            dialog->strikeOutCheck->setChecked(!dialog->strikeOutCheck->isChecked());
        if (pick(3) == 0)
            dialog->underlineCheck->setChecked(!dialog->underlineCheck->isChecked());
        pick(4) ? dialog->accept() : dialog->reject();
    }

    void symbol()
    {
        trigger("fgsdgfdg");
        SymbolsWindow *window = m_frame.insertCommands().symbolsWindow();
        if (!window)
            return;
        window->symbolList->setCurrentIndex(pick(window->symbolList->count()));
        window->insertSymbol();
        window->close();
    }

    void editCommand()
    {
        emit m_frame.menu(QStringLiteral("edit"))->aboutToShow();
        trigger(std::array{"undo", "cut", "copy", "paste", "de", "seall", "cc"}[pick(7)]);
    }

    void save(const char *command)
    {
        DocumentWindow *form = m_frame.activeDocument();
        if (!form)
            return trigger(command);
        const QString oldName = form->surface->fileName();
        m_dialogs.lastSaveAnswer.clear();
        m_dialogs.lastWarningAborted = false;
        m_dialogs.lastOverwriteRefused = false;
        const int failuresBefore = int(m_dialogs.failures.size());
        trigger(command);
        const bool asked = qstrcmp(command, "saveas") == 0 || oldName.isEmpty();
        const QString written = asked ? m_dialogs.lastSaveAnswer : oldName;
        if (written.isEmpty() || m_dialogs.lastWarningAborted || m_dialogs.lastOverwriteRefused
            || m_dialogs.failures.size() != failuresBefore)
            return;
        m_justSaved = form;
        m_justSavedPath = written;
        if (!m_dialogs.savedFiles.contains(written))
            m_dialogs.savedFiles << written;
    }

    void fullScreen()
    {
        trigger("fsm");
        FullScreenView *view = m_frame.sideWindows().fullScreen();
        if (!view)
            return;
        if (pick(2))
            QTest::keyClicks(view->surface->viewport(), QStringLiteral("full"));
        view->close();
    }

    // ---- Invariants ---------------------------------------------------------------------------

    bool checkAfterStep()
    {
        if (!m_dialogs.failures.isEmpty())
            return fail(QStringLiteral("a read or write failed: ") + m_dialogs.failures.first());
        if (m_expectChanged && surface() && m_frame.activeDocument()->doc != -1)
            return fail(QStringLiteral("typing left the window unchanged"));
        m_expectChanged = false;
        if (m_justSaved && !checkSaved())
            return false;
        m_justSaved = nullptr;
        return checkWindowMenu() && noteNewWindows();
    }

    bool checkSaved()
    {
        DocumentWindow *form = m_justSaved;
        if (!m_frame.documents().contains(form))
            return true;
        ++m_savesChecked;
        if (form->doc != 0)
            return fail(QStringLiteral("a save left the window marked changed"));
        if (form->surface->fileName() != m_justSavedPath)
            return fail(QStringLiteral("saved to %1 but the window names %2").arg(m_justSavedPath, form->surface->fileName()));
        QFile file(m_justSavedPath);
        if (!file.open(QIODevice::ReadOnly))
            return fail(QStringLiteral("the saved file %1 cannot be read").arg(m_justSavedPath));
        const QByteArray bytes = file.readAll();
        const QTextDocument &shown = *form->surface->document();
        if (DocumentFormat::formatOf(m_justSavedPath) != DocumentFormat::RichText) {
            const QString expected = form->surface->text() + QStringLiteral("\r\n");
            if (PlainText::decode(bytes) != expected)
                return fail(QStringLiteral("the plain-text file does not read back as the document's text"));
            return true;
        }
        QTextDocument readBack;
        readBack.setDefaultFont(shown.defaultFont());
        RtfCodec::read(bytes, readBack);
        if (readBack.toPlainText() != shown.toPlainText())
            return fail(QStringLiteral("the saved text differs: %1 / %2").arg(readBack.toPlainText().left(80), shown.toPlainText().left(80)));
        const QList<CharacterLook> saved = looks(readBack), original = looks(shown);
        if (saved.size() != original.size())
            return fail(QStringLiteral("the saved document has %1 characters, the window %2").arg(saved.size()).arg(original.size()));
        for (qsizetype i = 0; i < saved.size(); ++i)
            if (!sameLook(saved[i], original[i]))
                return fail(QStringLiteral("character %1 reads back as %2, shown as %3").arg(i).arg(describe(saved[i]), describe(original[i])));
        return true;
    }

    bool checkWindowMenu()
    {
        QStringList listed, expected;
        for (QAction *action : FrameFixture::windowEntries(m_frame))
            listed << action->text().section(QLatin1Char(' '), 1) + (action->isChecked() ? QStringLiteral(" *") : QString());
        const QMdiSubWindow *current = mdiAreaOf(m_frame)->currentSubWindow();
        for (QMdiSubWindow *sub : m_frame.documentWindows())
            expected << sub->widget()->windowTitle() + (sub == current ? QStringLiteral(" *") : QString());
        if (listed != expected)
            return fail(QStringLiteral("the Window menu lists [%1], the open windows are [%2]").arg(listed.join(", "), expected.join(", ")));
        return true;
    }

    bool noteNewWindows()
    {
        static const QRegularExpression numbered(QStringLiteral("^Document (\\d+)$"));
        for (DocumentWindow *form : m_frame.documents()) {
            // Marked on the window itself: a new window may take the address of a closed one.
            if (form->property("walkSeen").toBool())
                continue;
            form->setProperty("walkSeen", true);
            ++m_windowsMade;
            const QRegularExpressionMatch match = numbered.match(form->windowTitle());
            if (match.hasMatch()) {
                const int number = match.captured(1).toInt();
                if (number <= m_highestNumber)
                    return fail(QStringLiteral("the number %1 came again").arg(number));
                m_highestNumber = number;
            }
        }
        // Every window, numbered or named after its file, used up one number.
        if (m_frame.documentCounter() != 1 + m_windowsMade)
            return fail(QStringLiteral("%1 windows made, but the counter stands at %2").arg(m_windowsMade).arg(m_frame.documentCounter()));
        return true;
    }

    quint32 m_seed;
    std::mt19937 m_random;
    QTemporaryDir m_dir;
    SoakDialogs m_dialogs;
    SettingsStore m_settings;
    Services m_services;
    MainFrame m_frame;
    int m_step = 0;
    QString m_action;
    bool m_expectChanged = false;
    DocumentWindow *m_justSaved = nullptr;
    QString m_justSavedPath;
    int m_windowsMade = 0;
    int m_savesChecked = 0;
    QMap<QString, int> m_counts;
    int m_highestNumber = 0;
};

} // namespace

class SoakTest : public QObject
{
    Q_OBJECT

private slots:
    void randomWalk()
    {
        const quint32 seed = seedFromEnvironment();
        const int steps = stepsFromEnvironment();
        qInfo("random walk: seed %u, %d steps", seed, steps);
        Walk walk(seed);
        QVERIFY(walk.run(steps));
    }
};

QTEST_MAIN(SoakTest)
#include "tst_soak.moc"
