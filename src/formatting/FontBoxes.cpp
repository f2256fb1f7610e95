#include "formatting/FontBoxes.h"
#include "document/RichTextBox.h"
#include "platform/BusyPointer.h"
#include "platform/Failure.h"
#include "workspace/FormattingIndicators.h"
#include "workspace/Workspace.h"

FontBoxes::FontBoxes(Workspace &workspace) : m_workspace(workspace) {}

void FontBoxes::fontNameChanged() { applyFontName(); }
void FontBoxes::fontNameChosen() { applyFontName(); }
void FontBoxes::fontNameKeyPress(int) { applyFontName(); }
void FontBoxes::fontSizeChanged() { applyFontSize(); }
void FontBoxes::fontSizeChosen() { applyFontSize(); }
void FontBoxes::fontSizeKeyPress(int) { applyFontSize(); }

// The surface leaves a selection that already has the name or size untouched, so the refresh
// writing the selection's own font into a box changes nothing and marks nothing changed.
void FontBoxes::applyFontName()
{
    withBusyPointer([&] {
        skipOnFailure([&] { m_workspace.activeSurface().setSelectionFontName(m_workspace.indicators().fontName()); });
    });
}

void FontBoxes::applyFontSize()
{
    // Handed over as text: the surface reads the number and refuses an empty box.
    withBusyPointer([&] {
        skipOnFailure([&] { m_workspace.activeSurface().setSelectionFontSize(m_workspace.indicators().fontSize()); });
    });
}
