#pragma once
#include <QObject>

class MDIForm1;

// The standard toolbar: each button runs its menu command's own handler.
class StandardToolbar : public QObject
{
    Q_OBJECT
public:
    explicit StandardToolbar(MDIForm1 &frame);

private:
    MDIForm1 &m_frame;
};
