#include "formatting/FormatMenu.h"
#include "content/OleColor.h"
#include "document/RichTextBox.h"
#include "platform/DialogFlags.h"
#include "platform/Dialogs.h"
#include "platform/Failure.h"
#include "workspace/Services.h"
#include "workspace/Workspace.h"

#include <QAction>

FormatMenu::FormatMenu(Workspace &workspace) : m_workspace(workspace)
{
    workspace.onTriggered(QStringLiteral("font"), this, &FormatMenu::font_Click);
    workspace.onTriggered(QStringLiteral("paragraph"), this, &FormatMenu::paragraph_Click);
    workspace.onTriggered(QStringLiteral("fc"), this, &FormatMenu::fc_Click);
    workspace.onTriggered(QStringLiteral("bc"), this, &FormatMenu::bc_Click);
}

void FormatMenu::font_Click()
{
    if (!m_workspace.activeDocument()) {
        m_workspace.services().dialogs.message({QStringLiteral("Error accessing into the document."),
                                            QStringLiteral("Scrivlo"), Dialogs::Buttons::OK,
                                            Dialogs::Icon::Critical, 0},
                                           &m_workspace.window());
        return;
    }
    m_form4.open([&] { return new Form4(m_workspace); });
}

void FormatMenu::paragraph_Click()
{
    m_form7.open([&] { return new Form7(m_workspace); });
}

void FormatMenu::fc_Click()
{
    CommonDialog &dialog = m_workspace.commonDialogs().fontcolor;
    // A mixed selection has no colour to start from: the dialog keeps the one it holds.
    skipOnFailure([&] { dialog.Color = OleColor::toQColor(definite(m_workspace.activeSurface().SelColor())); });
    dialog.DialogTitle = QStringLiteral("Font Color");
    dialog.Flags = DialogFlags::RgbInit;
    const bool chosen = testOr([&] { return dialog.ShowColor(&m_workspace.window()); }, false);
    // Cancel writes nothing, so a mixed selection keeps its colours.
    if (chosen)
        skipOnFailure([&] { m_workspace.activeSurface().setSelColor(OleColor::fromQColor(dialog.Color)); });
}

void FormatMenu::bc_Click()
{
    CommonDialog &dialog = m_workspace.commonDialogs().fontcolor;
    skipOnFailure([&] { dialog.Color = OleColor::toQColor(m_workspace.activeSurface().BackColor()); });
    dialog.DialogTitle = QStringLiteral("Background Color");
    dialog.Flags = DialogFlags::RgbInit;
    const bool chosen = testOr([&] { return dialog.ShowColor(&m_workspace.window()); }, false);
    if (chosen)
        skipOnFailure([&] { m_workspace.activeSurface().setBackColor(OleColor::fromQColor(dialog.Color)); });
}
