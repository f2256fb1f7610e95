#pragma once

class QMenu;
class SpellChecker;

// The spelling items of the View menu.
namespace SpellingMenus {

// Adds "Check Spelling as You Type" (checkable, following the checker's switch) and the
// "Spelling Language" submenu. When no dictionary can be used, the switch is disabled and off, and
// a disabled item below it gives the reason.
void addToViewMenu(QMenu &view, SpellChecker &checker);

// Fills the "Spelling Language" submenu: the installed dictionaries by name, the one in use
// radio-checked; choosing one switches to it. addToViewMenu refills it each time it opens.
void fillLanguageMenu(QMenu &languages, SpellChecker &checker);

} // namespace SpellingMenus
