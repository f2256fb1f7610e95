#include "formatting/FormatMenu.h"
#include "app/MDIForm1.h"

FormatMenu::FormatMenu(MDIForm1 &frame) : QObject(&frame), m_frame(frame)
{
}

void FormatMenu::font_Click()
{
}

void FormatMenu::paragraph_Click()
{
}

void FormatMenu::fc_Click()
{
}

void FormatMenu::bc_Click()
{
}
