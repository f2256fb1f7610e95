#include "editing/EditCommands.h"
#include "document/Form3.h"
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
    on("undo", &EditCommands::undo_Click);
    on("redo", &EditCommands::redo_Click);
    on("cut", &EditCommands::cut_Click);
    on("copy", &EditCommands::copy_Click);
    on("paste", &EditCommands::paste_Click);
    on("de", &EditCommands::de_Click);
    on("seall", &EditCommands::seall_Click);
    on("cc", &EditCommands::cc_Click);
    connect(workspace.menu(QStringLiteral("edit")), &QMenu::aboutToShow, this,
            workspace.guarded(QStringLiteral("Edit"), [this] { edit_Click(); }));
    connect(workspace.menu(QStringLiteral("edit")), &QMenu::aboutToShow, this,
            workspace.guarded(QStringLiteral("Edit"), [this] { refreshRedo(); }));
}

RichTextBox &EditCommands::activeSurface() const
{
    return m_workspace.activeSurface();
}

void EditCommands::edit_Click()
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
        const bool selected = activeSurface().SelLength() != 0;
        cut->setEnabled(selected);
        copy->setEnabled(selected);
    });
}

void EditCommands::undo_Click()
{
    skipOnFailure([&] { activeSurface().Undo(); });
}

void EditCommands::redo_Click()
{
    skipOnFailure([&] { activeSurface().Redo(); });
}

void EditCommands::refreshRedo()
{
    const Form3 *form = m_workspace.activeDocument();
    m_workspace.menuItem(QStringLiteral("redo"))->setEnabled(form && form->RichTextBox1->document()->isRedoAvailable());
}

void EditCommands::cut_Click()
{
    skipOnFailure([&] { activeSurface().Cut(); });
}

void EditCommands::copy_Click()
{
    skipOnFailure([&] { activeSurface().Copy(); });
}

void EditCommands::paste_Click()
{
    skipOnFailure([&] { activeSurface().Paste(); });
}

void EditCommands::de_Click()
{
    skipOnFailure([&] { activeSurface().Clear(); });
}

void EditCommands::seall_Click()
{
    // The selection runs from the start over the whole text. The RTF source is never shorter than
    // the text and the surface clamps a length that runs past the end, so asking for the text's
    // own length selects exactly what the source's length would, without writing the source out.
    skipOnFailure([&] { activeSurface().setSelStart(0); });
    skipOnFailure([&] {
        RichTextBox &box = activeSurface();
        box.setSelLength(box.characterCount());
    });
}

void EditCommands::cc_Click()
{
    skipOnFailure([&] { QGuiApplication::clipboard()->clear(); });
}
