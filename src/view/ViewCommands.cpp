#include "view/ViewCommands.h"
#include "content/WordCounter.h"
#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "platform/Failure.h"
#include "workspace/Workspace.h"

#include <QAction>

ViewCommands::ViewCommands(Workspace &workspace) : m_workspace(workspace)
{
    const auto on = [&](const char *name, void (ViewCommands::*handler)()) {
        workspace.onTriggered(QString::fromLatin1(name), this, handler);
    };
    on("zoomin", &ViewCommands::zoomIn);
    on("zoomout", &ViewCommands::zoomOut);
    on("zoomnormal", &ViewCommands::zoomNormal);
    on("wordcount", &ViewCommands::showWordCount);
    on("headerfooter", &ViewCommands::showHeaderFooter);
}

void ViewCommands::zoomIn() { zoomBy(1); }
void ViewCommands::zoomOut() { zoomBy(-1); }

void ViewCommands::zoomNormal()
{
    skipOnFailure([&] { m_workspace.activeSurface().setZoom(100); });
}

void ViewCommands::zoomBy(int steps)
{
    skipOnFailure([&] {
        RichTextBox &surface = m_workspace.activeSurface();
        surface.setZoom(RichTextBox::zoomStep(surface.zoom(), steps));
    });
}

void ViewCommands::showWordCount()
{
    // With no document open there is nothing to count.
    skipOnFailure([&] {
        const RichTextBox &surface = m_workspace.activeSurface();
        const QTextDocument &doc = *surface.document();
        const QTextCursor selection = surface.textCursor();
        const WordCounter::Counts whole = WordCounter::count(doc);
        const WordCounter::Counts part = WordCounter::count(doc, selection.selectionStart(), selection.selectionEnd());
        m_wordCount.open([&] { return new WordCountWindow(m_workspace.window()); }).showCounts(whole, part);
    });
}

void ViewCommands::showHeaderFooter()
{
    // With no document open there is nothing to show.
    DocumentWindow *form = m_workspace.activeDocument();
    if (!form)
        return;
    m_headerFooter.open([&] { return new HeaderFooterWindow(m_workspace.window(), *form); });
}
