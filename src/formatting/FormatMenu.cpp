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
    workspace.onTriggered(QStringLiteral("font"), this, &FormatMenu::showFontDialog);
    workspace.onTriggered(QStringLiteral("paragraph"), this, &FormatMenu::showParagraphDialog);
    workspace.onTriggered(QStringLiteral("fc"), this, &FormatMenu::chooseFontColour);
    workspace.onTriggered(QStringLiteral("bc"), this, &FormatMenu::chooseBackColour);
}

void FormatMenu::showFontDialog()
{
    if (!m_workspace.activeDocument()) {
        m_workspace.services().dialogs.message({QStringLiteral("Error accessing into the document."),
                                            QStringLiteral("Scrivlo"), Dialogs::Buttons::OK,
                                            Dialogs::Icon::Critical, 0},
                                           &m_workspace.window());
        return;
    }
    m_fontDialog.open([&] { return new FontDialog(m_workspace); });
}

void FormatMenu::showParagraphDialog()
{
    m_paragraphDialog.open([&] { return new ParagraphDialog(m_workspace); });
}

void FormatMenu::chooseFontColour()
{
    CommonDialog &dialog = m_workspace.commonDialogs().colourDialog;
    // A mixed selection has no colour to start from: the dialog keeps the one it holds.
    skipOnFailure([&] { dialog.color = OleColor::toQColor(definite(m_workspace.activeSurface().selectionColor())); });
    dialog.dialogTitle = QStringLiteral("Font Color");
    dialog.flags = DialogFlags::RgbInit;
    const bool chosen = testOr([&] { return dialog.showColor(&m_workspace.window()); }, false);
    // Cancel writes nothing, so a mixed selection keeps its colours.
    if (chosen)
        skipOnFailure([&] { m_workspace.activeSurface().setSelectionColor(OleColor::fromQColor(dialog.color)); });
}

void FormatMenu::chooseBackColour()
{
    CommonDialog &dialog = m_workspace.commonDialogs().colourDialog;
    skipOnFailure([&] { dialog.color = OleColor::toQColor(m_workspace.activeSurface().backColor()); });
    dialog.dialogTitle = QStringLiteral("Background Color");
    dialog.flags = DialogFlags::RgbInit;
    const bool chosen = testOr([&] { return dialog.showColor(&m_workspace.window()); }, false);
    if (chosen)
        skipOnFailure([&] { m_workspace.activeSurface().setBackColor(OleColor::fromQColor(dialog.color)); });
}
