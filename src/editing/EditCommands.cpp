#include "editing/EditCommands.h"
#include "app/MDIForm1.h"

EditCommands::EditCommands(MDIForm1 &frame) : QObject(&frame), m_frame(frame)
{
}

void EditCommands::edit_Click()
{
}

void EditCommands::undo_Click()
{
}

void EditCommands::cut_Click()
{
}

void EditCommands::copy_Click()
{
}

void EditCommands::paste_Click()
{
}

void EditCommands::de_Click()
{
}

void EditCommands::seall_Click()
{
}

void EditCommands::cc_Click()
{
}
