#pragma once
#include <QObject>

class MDIForm1;

// Printing the document or the selection.
class PrintCommand : public QObject
{
    Q_OBJECT
public:
    explicit PrintCommand(MDIForm1 &frame);

    void print_Click();

private:
    MDIForm1 &m_frame;
};
