#pragma once
#include <QObject>

class MDIForm1;

// The Edit menu's commands and the enabling of Cut, Copy and Paste.
class EditCommands : public QObject
{
    Q_OBJECT
public:
    explicit EditCommands(MDIForm1 &frame);

private:
    MDIForm1 &m_frame;
};
