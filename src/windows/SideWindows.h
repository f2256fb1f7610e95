#pragma once
#include "platform/SingleWindow.h"
#include "windows/Form2.h"
#include "windows/Form6.h"
#include "windows/HelpWindow.h"
#include "windows/frmTip.h"

#include <QObject>

class Workspace;

// Commands that open the side windows: full screen, Tip of the Day, About and Help.
class SideWindows : public QObject
{
    Q_OBJECT
public:
    explicit SideWindows(Workspace &workspace);

    void fsm_Click();
    void totd_Click();
    void awxph_Click();
    void a_x_Click();

    // The open windows, or nullptr.
    Form6 *fullScreen() const { return m_form6.get(); }
    frmTip *tips() const { return m_tips.get(); }
    Form2 *about() const { return m_about.get(); }
    HelpWindow *help() const { return m_help.get(); }

private:
    Workspace &m_workspace;
    SingleWindow<Form6> m_form6;
    SingleWindow<frmTip> m_tips;
    SingleWindow<Form2> m_about;
    SingleWindow<HelpWindow> m_help;
};
