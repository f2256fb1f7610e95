#include "formatting/FormatToolbar.h"
#include "app/MDIForm1.h"

FormatToolbar::FormatToolbar(MDIForm1 &frame) : QObject(&frame), m_frame(frame)
{
}

void FormatToolbar::bs_Click()
{
}
