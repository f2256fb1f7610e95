#include "spelling/SpellingContextMenu.h"

#include "spelling/SpellChecker.h"
#include "spelling/SpellMarks.h"

#include <QMenu>
#include <QTextCursor>
#include <QTextEdit>

namespace SpellingContextMenu {
namespace {

QTextCursor selecting(QTextDocument *document, WordRules::Span word)
{
    QTextCursor cursor(document);
    cursor.setPosition(word.start);
    cursor.setPosition(word.end(), QTextCursor::KeepAnchor);
    return cursor;
}

QString menuText(QString text)
{
    return text.replace(u'&', QStringLiteral("&&")); // a correction's "&" is not a shortcut
}

} // namespace

bool addEntries(QMenu &menu, QTextEdit &editor, const QPoint &viewportPosition)
{
    SpellMarks *marks = SpellMarks::of(editor);
    const std::optional<WordRules::Span> word =
        marks ? marks->markAt(editor.cursorForPosition(viewportPosition).position()) : std::nullopt;
    if (!word) // also when checking is off, or the checker is gone
        return false;
    SpellChecker &checker = *marks->checker();
    const QString misspelt = selecting(editor.document(), *word).selectedText();
    QAction *before = menu.actions().value(0);

    if (!editor.isReadOnly()) {
        for (const QString &correction : checker.suggestions(misspelt, kMostCorrections)) {
            auto *action = new QAction(menuText(correction), &menu);
            QObject::connect(action, &QAction::triggered, &editor, [&editor, word = *word, misspelt, correction] {
                correct(editor, word, misspelt, correction);
            });
            menu.insertAction(before, action);
        }
    }
    auto *ignore = new QAction(QStringLiteral("Ignore All"), &menu);
    QObject::connect(ignore, &QAction::triggered, &checker, [&checker, misspelt] { checker.ignoreAll(misspelt); });
    menu.insertAction(before, ignore);
    auto *add = new QAction(QStringLiteral("&Add to Dictionary"), &menu);
    QObject::connect(add, &QAction::triggered, &checker, [&checker, misspelt] { checker.addToDictionary(misspelt); });
    menu.insertAction(before, add);
    if (before)
        menu.insertSeparator(before);
    return true;
}

void correct(QTextEdit &editor, WordRules::Span word, const QString &misspelt, const QString &correction)
{
    QTextCursor cursor = selecting(editor.document(), word);
    if (cursor.selectedText() != misspelt || correction.isEmpty())
        return;
    QTextCursor firstLetter = selecting(editor.document(), {word.start, 1});
    const QTextCharFormat format = firstLetter.charFormat();
    cursor.beginEditBlock();
    cursor.insertText(correction, format);
    cursor.endEditBlock();
    editor.setTextCursor(cursor);
}

} // namespace SpellingContextMenu
