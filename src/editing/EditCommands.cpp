#include "editing/EditCommands.h"
#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "platform/Failure.h"
#include "workspace/Workspace.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QTextDocument>

EditCommands::EditCommands(Workspace &workspace) : m_workspace(workspace)
{
    const auto on = [&](const char *name, void (EditCommands::*handler)()) {
        workspace.onTriggered(QString::fromLatin1(name), this, handler);
    };
    on("undo", &EditCommands::undo);
    on("redo", &EditCommands::redo);
    on("cut", &EditCommands::cut);
    on("copy", &EditCommands::copy);
    on("paste", &EditCommands::paste);
    on("de", &EditCommands::deleteSelection);
    on("seall", &EditCommands::selectAll);
    on("cc", &EditCommands::clearClipboard);
    connect(workspace.menu(QStringLiteral("edit")), &QMenu::aboutToShow, this,
            workspace.guarded(QStringLiteral("Edit"), [this] { updateEditMenu(); }));
    connect(workspace.menu(QStringLiteral("edit")), &QMenu::aboutToShow, this,
            workspace.guarded(QStringLiteral("Edit"), [this] { refreshRedo(); }));
}

RichTextBox &EditCommands::activeSurface() const
{
    return m_workspace.activeSurface();
}

void EditCommands::updateEditMenu()
{
    QAction *cut = m_workspace.menuItem(QStringLiteral("cut"));
    QAction *copy = m_workspace.menuItem(QStringLiteral("copy"));
    QAction *paste = m_workspace.menuItem(QStringLiteral("paste"));

    skipOnFailure([&] {
        const bool open = m_workspace.activeDocument() != nullptr;
        cut->setEnabled(open);
        copy->setEnabled(open);
        if (!open)
            paste->setEnabled(false);
    });
    // Only text on the clipboard enables Paste; this runs with no document open too.
    skipOnFailure([&] { paste->setEnabled(!QGuiApplication::clipboard()->text().isEmpty()); });
    skipOnFailure([&] {
        const bool selected = activeSurface().selectionLength() != 0;
        cut->setEnabled(selected);
        copy->setEnabled(selected);
    });
}

void EditCommands::undo()
{
    skipOnFailure([&] { activeSurface().undoEdit(); });
}

void EditCommands::redo()
{
    skipOnFailure([&] { activeSurface().redoEdit(); });
}

void EditCommands::refreshRedo()
{
    const DocumentWindow *form = m_workspace.activeDocument();
    m_workspace.menuItem(QStringLiteral("redo"))->setEnabled(form && form->surface->document()->isRedoAvailable());
}

void EditCommands::cut()
{
    skipOnFailure([&] { activeSurface().cut(); });
}

void EditCommands::copy()
{
    skipOnFailure([&] { activeSurface().copy(); });
}

void EditCommands::paste()
{
    skipOnFailure([&] { activeSurface().paste(); });
}

void EditCommands::deleteSelection()
{
    skipOnFailure([&] { activeSurface().deleteSelection(); });
}

void EditCommands::selectAll()
{
    // The selection runs from the start over the whole text. The RTF source is never shorter than
    // the text and the surface clamps a length that runs past the end, so asking for the text's
    // own length selects exactly what the source's length would, without writing the source out.
    skipOnFailure([&] { activeSurface().setSelectionStart(0); });
    skipOnFailure([&] {
        RichTextBox &box = activeSurface();
        box.setSelectionLength(box.characterCount());
    });
}

void EditCommands::clearClipboard()
{
    skipOnFailure([&] { QGuiApplication::clipboard()->clear(); });
}
