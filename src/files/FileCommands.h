#pragma once
#include <QObject>

class MDIForm1;
class QDragMoveEvent;
class QDropEvent;

// The File menu's Open, Save, Save As and Close, and files dropped on the frame.
class FileCommands : public QObject
{
    Q_OBJECT
public:
    explicit FileCommands(MDIForm1 &frame);

    void open_Click();
    void save_Click();
    void saveas_Click();
    void closea_Click();

    // Files dragged over and dropped on the frame's workspace.
    void MDIForm_OLEDragOver(QDragMoveEvent *event);
    void MDIForm_OLEDragDrop(QDropEvent *event);

private:
    MDIForm1 &m_frame;
};
