#pragma once
#include <QObject>

class Dialogs;
class QMenu;
class RichTextBox;
class SettingsStore;
class SpellChecker;

// Spelling in the frame: the View menu's "Check Spelling as You Type" and "Spelling Language",
// the language and the switch kept in the settings store, the marks on every document's surface
// and the corrections at the top of its right-click menu. Without a checker it does nothing.
class FrameSpelling : public QObject
{
    Q_OBJECT
public:
    FrameSpelling(SpellChecker *checker, SettingsStore &settings, Dialogs &dialogs, QWidget &window);

    // Adds the spelling items at the end of the View menu.
    void addMenuItems(QMenu &view);
    // Marks the surface's misspelt words and offers corrections on a right click.
    void follow(RichTextBox &surface);

private:
    void restoreSettings();

    SpellChecker *m_checker;
    SettingsStore &m_settings;
    Dialogs &m_dialogs;
    QWidget &m_window;
};
