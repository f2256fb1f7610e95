#include "editing/InsertCommands.h"
#include "app/MDIForm1.h"

InsertCommands::InsertCommands(MDIForm1 &frame) : QObject(&frame), m_frame(frame)
{
}

void InsertCommands::insert_Click()
{
}

void InsertCommands::dt_Click()
{
}

void InsertCommands::picturea_Click()
{
}

void InsertCommands::fgsdgfdg_Click()
{
}

void InsertCommands::dfgfdgdf_Click()
{
}

void InsertCommands::table_Click()
{
}
