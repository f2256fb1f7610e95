#pragma once
#include "spelling/WordRules.h"

class QMenu;
class QPoint;
class QString;
class QTextEdit;

// The spelling entries of a surface's right-click menu.
namespace SpellingContextMenu {

constexpr int kMostCorrections = 6;

// When `viewportPosition` (as a context-menu event gives it) is on a word the editor's SpellMarks
// mark, puts before the menu's own entries: up to six corrections, best first, "Ignore All",
// "&Add to Dictionary" and a separator. Returns whether it did; elsewhere, or when the editor has
// no marks, the menu is left as it is.
bool addEntries(QMenu &menu, QTextEdit &editor, const QPoint &viewportPosition);

// Writes `correction` in place of the word, in the format of the word's first letter, as one
// Undo step, and leaves the caret after it. Nothing happens when the word is no longer there.
void correct(QTextEdit &editor, WordRules::Span word, const QString &misspelt, const QString &correction);

} // namespace SpellingContextMenu
