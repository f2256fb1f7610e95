#include "formatting/FormatMenu.h"
#include "app/MDIForm1.h"

FormatMenu::FormatMenu(MDIForm1 &frame) : QObject(&frame), m_frame(frame)
{
}
