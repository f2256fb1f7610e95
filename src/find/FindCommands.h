#pragma once
#include "content/TextSearch.h"
#include "find/FindReplaceWindow.h"
#include "platform/SingleWindow.h"

#include <QObject>

class RichTextBox;
class Workspace;

// Edit > "&Find and Replace..." (the window), "Find &Next" and "Find &Previous": searches the active
// document from its caret, going round its end once, and replaces one match or all of them. How
// a search went is said in the window, or in the status bar while the window is closed.
class FindCommands : public QObject
{
    Q_OBJECT
public:
    explicit FindCommands(Workspace &workspace);

    void showFindReplace();
    void findNextCommand();
    void findPreviousCommand();

    // The window's buttons.
    void findNext();
    void replace();
    void replaceAll();

    FindReplaceWindow *window() const { return m_window.get(); }

    // What the window was last asked to find, with what and how.
    struct Search {
        QString text;
        QString replacement;
        TextSearch::Options options;
    };
    const Search &lastSearch() const { return m_search; }

private:
    void takeSearchFromWindow();
    // Finds and selects the next match in the active document; false when there is none.
    bool find(TextSearch::Direction direction);
    void report(const QString &text);

    Workspace &m_workspace;
    SingleWindow<FindReplaceWindow> m_window;
    Search m_search;
};
