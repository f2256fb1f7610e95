#include "formatting/StandardToolbar.h"
#include "app/MDIForm1.h"

StandardToolbar::StandardToolbar(MDIForm1 &frame) : QObject(&frame), m_frame(frame)
{
}
