#pragma once
#include <QObject>
#include <QPointer>

class Form2;
class Form6;
class MDIForm1;
class frmTip;

// Commands that open the side windows: full screen, Tip of the Day, About and Help.
class SideWindows : public QObject
{
    Q_OBJECT
public:
    explicit SideWindows(MDIForm1 &frame);
    ~SideWindows() override;

    void fsm_Click();
    void totd_Click();
    void awxph_Click();
    void a_x_Click();

    // The open windows, or nullptr.
    Form6 *fullScreen() const;
    frmTip *tips() const;
    Form2 *about() const;

private:
    MDIForm1 &m_frame;
    QPointer<Form6> m_form6;
    QPointer<frmTip> m_tips;
    QPointer<Form2> m_about;
};
