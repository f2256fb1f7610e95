#include "editing/EditCommands.h"
#include "app/MDIForm1.h"

EditCommands::EditCommands(MDIForm1 &frame) : QObject(&frame), m_frame(frame)
{
}
