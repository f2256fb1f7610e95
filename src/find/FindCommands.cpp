#include "find/FindCommands.h"
#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "platform/Failure.h"
#include "workspace/Workspace.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

FindCommands::FindCommands(Workspace &workspace) : m_workspace(workspace)
{
    const auto on = [&](const char *name, void (FindCommands::*handler)()) {
        workspace.onTriggered(QString::fromLatin1(name), this, handler);
    };
    on("findreplace", &FindCommands::showFindReplace);
    on("findnext", &FindCommands::findNextCommand);
    on("findprev", &FindCommands::findPreviousCommand);
}

void FindCommands::showFindReplace()
{
    FindReplaceWindow &window = m_window.open([&] {
        auto *made = new FindReplaceWindow(m_workspace.window());
        made->findWhat->setText(m_search.text);
        made->replaceWith->setText(m_search.replacement);
        made->setOptions(m_search.options);
        connect(made->findNext, &QPushButton::clicked, this, &FindCommands::findNext);
        connect(made->replace, &QPushButton::clicked, this, &FindCommands::replace);
        connect(made->replaceAll, &QPushButton::clicked, this, &FindCommands::replaceAll);
        return made;
    });
    // A word selected in one line is what the user most likely wants to find.
    skipOnFailure([&] {
        const QString selected = m_workspace.activeSurface().textCursor().selectedText();
        if (!selected.isEmpty() && selected.size() <= 100 && !selected.contains(QChar::ParagraphSeparator))
            window.findWhat->setText(selected);
    });
    window.findWhat->setFocus();
    window.findWhat->selectAll();
}

void FindCommands::findNextCommand()
{
    if (m_search.text.isEmpty())
        return showFindReplace();
    find(TextSearch::Direction::Forward);
}

void FindCommands::findPreviousCommand()
{
    if (m_search.text.isEmpty())
        return showFindReplace();
    find(TextSearch::Direction::Backward);
}

void FindCommands::findNext()
{
    takeSearchFromWindow();
    find(TextSearch::Direction::Forward);
}

void FindCommands::replace()
{
    takeSearchFromWindow();
    RichTextBox *surface = nullptr;
    skipOnFailure([&] { surface = &m_workspace.activeSurface(); });
    if (!surface || m_search.text.isEmpty())
        return;
    // The match the last search selected is replaced; then the search goes on to the next one.
    QTextCursor selection = surface->textCursor();
    if (TextSearch::isMatch(selection, m_search.text, m_search.options)) {
        TextSearch::replace(selection, m_search.replacement);
        surface->setTextCursor(selection);
    }
    find(TextSearch::Direction::Forward);
}

void FindCommands::replaceAll()
{
    takeSearchFromWindow();
    RichTextBox *surface = nullptr;
    skipOnFailure([&] { surface = &m_workspace.activeSurface(); });
    if (!surface || m_search.text.isEmpty())
        return;
    const int count = TextSearch::replaceAll(*surface->document(), m_search.text, m_search.replacement, m_search.options);
    report(count == 0 ? QStringLiteral("Not found")
                      : count == 1 ? QStringLiteral("1 replacement made")
                                   : QStringLiteral("%1 replacements made").arg(count));
}

void FindCommands::takeSearchFromWindow()
{
    if (FindReplaceWindow *window = m_window.get()) {
        m_search.text = window->findWhat->text();
        m_search.replacement = window->replaceWith->text();
        m_search.options = window->options();
    }
}

bool FindCommands::find(TextSearch::Direction direction)
{
    RichTextBox *surface = nullptr;
    skipOnFailure([&] { surface = &m_workspace.activeSurface(); });
    if (!surface || m_search.text.isEmpty())
        return false;
    const TextSearch::Match match =
        TextSearch::find(*surface->document(), m_search.text, surface->textCursor(), m_search.options, direction);
    if (!match.found()) {
        report(QStringLiteral("Not found"));
        return false;
    }
    surface->setTextCursor(match.cursor);
    surface->ensureCursorVisible();
    if (!match.wrapped)
        report(QString());
    else if (direction == TextSearch::Direction::Forward)
        report(QStringLiteral("Passed the end of the document: continued from the start"));
    else
        report(QStringLiteral("Passed the start of the document: continued from the end"));
    return true;
}

void FindCommands::report(const QString &text)
{
    FindReplaceWindow *window = m_window.get();
    if (window && window->isVisible())
        window->showStatus(text);
    else if (!text.isEmpty())
        m_workspace.showStatusNote(text);
}
