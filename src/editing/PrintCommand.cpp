#include "editing/PrintCommand.h"
#include "app/MDIForm1.h"

PrintCommand::PrintCommand(MDIForm1 &frame) : QObject(&frame), m_frame(frame)
{
}

void PrintCommand::print_Click()
{
}
