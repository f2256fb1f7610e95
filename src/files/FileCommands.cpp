#include "files/FileCommands.h"
#include "app/MDIForm1.h"

#include <QDropEvent>

FileCommands::FileCommands(MDIForm1 &frame) : QObject(&frame), m_frame(frame)
{
}

void FileCommands::MDIForm_OLEDragOver(QDragMoveEvent *event)
{
    event->ignore(); // opening dropped files arrives with the file commands
}

void FileCommands::MDIForm_OLEDragDrop(QDropEvent *event)
{
    event->ignore();
}

void FileCommands::open_Click()
{
}

void FileCommands::save_Click()
{
}

void FileCommands::saveas_Click()
{
}

void FileCommands::closea_Click()
{
}
