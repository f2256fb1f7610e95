#pragma once
#include <QObject>

class MDIForm1;

// Commands that open the side windows: full screen, Tip of the Day, About and Help.
class SideWindows : public QObject
{
    Q_OBJECT
public:
    explicit SideWindows(MDIForm1 &frame);

    void fsm_Click();
    void totd_Click();
    void awxph_Click();
    void a_x_Click();

private:
    MDIForm1 &m_frame;
};
