#include "formatting/FontBoxes.h"
#include "app/MDIForm1.h"
#include "document/Form3.h"
#include "document/RichTextBox.h"
#include "platform/BusyPointer.h"
#include "platform/DropDownList.h"
#include "platform/Failure.h"

FontBoxes::FontBoxes(MDIForm1 &frame) : QObject(&frame), m_frame(frame)
{
    connect(frame.Combo1, &DropDownList::Change, this, &FontBoxes::Combo1_Change);
    connect(frame.Combo1, &DropDownList::Click, this, &FontBoxes::Combo1_Click);
    connect(frame.Combo1, &DropDownList::KeyPress, this, &FontBoxes::Combo1_KeyPress);
    connect(frame.Combo2, &DropDownList::Change, this, &FontBoxes::Combo2_Change);
    connect(frame.Combo2, &DropDownList::Click, this, &FontBoxes::Combo2_Click);
    connect(frame.Combo2, &DropDownList::KeyPress, this, &FontBoxes::Combo2_KeyPress);
}

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
        skipOnFailure([&] { m_frame.ActiveForm().RichTextBox1->setSelFontName(m_frame.Combo1->Text()); });
    });
}

void FontBoxes::applyFontSize()
{
    // Handed over as text: the surface reads the number and refuses an empty box.
    withBusyPointer([&] {
        skipOnFailure([&] { m_frame.ActiveForm().RichTextBox1->setSelFontSize(m_frame.Combo2->Text()); });
    });
}
