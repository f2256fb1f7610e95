#include "windows/SideWindows.h"
#include "app/MDIForm1.h"

SideWindows::SideWindows(MDIForm1 &frame) : QObject(&frame), m_frame(frame)
{
}

void SideWindows::fsm_Click()
{
}

void SideWindows::totd_Click()
{
}

void SideWindows::awxph_Click()
{
}

void SideWindows::a_x_Click()
{
}
