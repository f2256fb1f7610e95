#include "editing/InsertCommands.h"
#include "app/MDIForm1.h"

InsertCommands::InsertCommands(MDIForm1 &frame) : QObject(&frame), m_frame(frame)
{
}
