#include "windows/SideWindows.h"
#include "app/MDIForm1.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "windows/Form2.h"
#include "windows/Form6.h"
#include "windows/frmTip.h"

#include <QAction>

SideWindows::SideWindows(MDIForm1 &frame) : QObject(&frame), m_frame(frame)
{
    connect(frame.menuItem(QStringLiteral("fsm")), &QAction::triggered, this, &SideWindows::fsm_Click);
    connect(frame.menuItem(QStringLiteral("totd")), &QAction::triggered, this, &SideWindows::totd_Click);
    connect(frame.menuItem(QStringLiteral("awxph")), &QAction::triggered, this, &SideWindows::awxph_Click);
    connect(frame.menuItem(QStringLiteral("a_x")), &QAction::triggered, this, &SideWindows::a_x_Click);
}

SideWindows::~SideWindows()
{
    // The full-screen view and the About box are windows of their own (the frame they disable
    // cannot be their parent).
    delete m_form6;
    delete m_about;
}

Form6 *SideWindows::fullScreen() const { return m_form6; }
frmTip *SideWindows::tips() const { return m_tips; }
Form2 *SideWindows::about() const { return m_about; }

void SideWindows::fsm_Click()
{
    if (!m_form6 || m_form6->isHidden()) // a closed window is gone, even before it is deleted
        m_form6 = new Form6(m_frame);
    m_form6->showFullScreen();
    m_form6->raise();
    m_form6->activateWindow();
}

void SideWindows::totd_Click()
{
    if (m_frame.services().appFolder.find(QStringLiteral("tipofday.txt")).isEmpty()) {
        m_frame.services().dialogs.message({QStringLiteral("Unable to find tips of the day text document !"),
                                            QStringLiteral("Scrivlo"), Dialogs::Buttons::OK,
                                            Dialogs::Icon::Exclamation, 0},
                                           &m_frame);
        return;
    }
    if (!m_tips || m_tips->isHidden())
        m_tips = new frmTip(m_frame);
    m_tips->show();
    m_tips->raise();
    m_tips->activateWindow();
}

void SideWindows::awxph_Click()
{
    // There is no help to show: the item does nothing.
}

void SideWindows::a_x_Click()
{
    if (!m_about || m_about->isHidden())
        m_about = new Form2(m_frame);
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}
