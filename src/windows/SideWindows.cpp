#include "windows/SideWindows.h"
#include "platform/Dialogs.h"
#include "workspace/Services.h"
#include "workspace/Workspace.h"

#include <QAction>

SideWindows::SideWindows(Workspace &workspace) : m_workspace(workspace)
{
    workspace.onTriggered(QStringLiteral("fsm"), this, &SideWindows::showFullScreen);
    workspace.onTriggered(QStringLiteral("totd"), this, &SideWindows::showTips);
    workspace.onTriggered(QStringLiteral("awxph"), this, &SideWindows::showHelp);
    workspace.onTriggered(QStringLiteral("a_x"), this, &SideWindows::showAbout);
}

void SideWindows::showFullScreen()
{
    m_fullScreen.open([&] { return new FullScreenView(m_workspace); }, &QWidget::showFullScreen);
}

void SideWindows::showTips()
{
    Services &services = m_workspace.services();
    if (services.appFolder.find(QStringLiteral("tipofday.txt")).isEmpty()) {
        services.dialogs.message({QStringLiteral("Unable to find tips of the day text document !"), QStringLiteral("Scrivlo"),
                                  Dialogs::Buttons::OK, Dialogs::Icon::Exclamation, 0},
                                 &m_workspace.window());
        return;
    }
    m_tips.open([&] { return new TipOfTheDay(m_workspace); });
}

void SideWindows::showHelp()
{
    m_help.open([&] { return new HelpWindow(m_workspace); });
}

void SideWindows::showAbout()
{
    m_about.open([&] { return new AboutBox(m_workspace); });
}
