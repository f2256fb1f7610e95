#include "formatting/FontBoxes.h"
#include "app/MDIForm1.h"

FontBoxes::FontBoxes(MDIForm1 &frame) : QObject(&frame), m_frame(frame)
{
}
