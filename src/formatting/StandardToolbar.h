#pragma once
#include <QObject>

class MDIForm1;
class QAction;

// The standard toolbar: each button runs its menu command's own handler, whatever the menu item's
// enabled state.
class StandardToolbar : public QObject
{
    Q_OBJECT
public:
    explicit StandardToolbar(MDIForm1 &frame);

    void Toolbar1_ButtonClick(QAction *button);

private:
    MDIForm1 &m_frame;
};
