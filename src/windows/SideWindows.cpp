#include "windows/SideWindows.h"
#include "app/MDIForm1.h"

SideWindows::SideWindows(MDIForm1 &frame) : QObject(&frame), m_frame(frame)
{
}
