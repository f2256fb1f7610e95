#include "formatting/FontBoxes.h"
#include "document/RichTextBox.h"
#include "platform/BusyPointer.h"
#include "platform/Failure.h"
#include "workspace/FormattingIndicators.h"
#include "workspace/Workspace.h"

FontBoxes::FontBoxes(Workspace &workspace) : m_workspace(workspace) {}

void FontBoxes::Combo1_Change() { applyFontName(); }
void FontBoxes::Combo1_Click() { applyFontName(); }
void FontBoxes::Combo1_KeyPress(int) { applyFontName(); }
void FontBoxes::Combo2_Change() { applyFontSize(); }
void FontBoxes::Combo2_Click() { applyFontSize(); }
void FontBoxes::Combo2_KeyPress(int) { applyFontSize(); }

// The surface leaves a selection that already has the name or size untouched, so the refresh
// writing the selection's own font into a box changes nothing and marks nothing changed.
void FontBoxes::applyFontName()
{
    withBusyPointer([&] {
        skipOnFailure([&] { m_workspace.activeSurface().setSelFontName(m_workspace.indicators().fontName()); });
    });
}

void FontBoxes::applyFontSize()
{
    // Handed over as text: the surface reads the number and refuses an empty box.
    withBusyPointer([&] {
        skipOnFailure([&] { m_workspace.activeSurface().setSelFontSize(m_workspace.indicators().fontSize()); });
    });
}
