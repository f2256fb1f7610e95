#include "windows/SideWindows.h"
#include "platform/Dialogs.h"
#include "workspace/Services.h"
#include "workspace/Workspace.h"

#include <QAction>

SideWindows::SideWindows(Workspace &workspace) : m_workspace(workspace)
{
    workspace.onTriggered(QStringLiteral("fsm"), this, &SideWindows::fsm_Click);
    workspace.onTriggered(QStringLiteral("totd"), this, &SideWindows::totd_Click);
    workspace.onTriggered(QStringLiteral("awxph"), this, &SideWindows::awxph_Click);
    workspace.onTriggered(QStringLiteral("a_x"), this, &SideWindows::a_x_Click);
}

void SideWindows::fsm_Click()
{
    m_form6.open([&] { return new Form6(m_workspace); }, &QWidget::showFullScreen);
}

void SideWindows::totd_Click()
{
    Services &services = m_workspace.services();
    if (services.appFolder.find(QStringLiteral("tipofday.txt")).isEmpty()) {
        services.dialogs.message({QStringLiteral("Unable to find tips of the day text document !"), QStringLiteral("Scrivlo"),
                                  Dialogs::Buttons::OK, Dialogs::Icon::Exclamation, 0},
                                 &m_workspace.window());
        return;
    }
    m_tips.open([&] { return new frmTip(m_workspace); });
}

void SideWindows::awxph_Click()
{
    m_help.open([&] { return new HelpWindow(m_workspace); });
}

void SideWindows::a_x_Click()
{
    m_about.open([&] { return new Form2(m_workspace); });
}
