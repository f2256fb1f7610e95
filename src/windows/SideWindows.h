#pragma once
#include "platform/SingleWindow.h"
#include "windows/AboutBox.h"
#include "windows/FullScreenView.h"
#include "windows/HelpWindow.h"
#include "windows/TipOfTheDay.h"

#include <QObject>

class Workspace;

// Commands that open the side windows: full screen, Tip of the Day, About and Help.
class SideWindows : public QObject
{
    Q_OBJECT
public:
    explicit SideWindows(Workspace &workspace);

    void showFullScreen();
    void showTips();
    void showHelp();
    void showAbout();

    // The open windows, or nullptr.
    FullScreenView *fullScreen() const { return m_fullScreen.get(); }
    TipOfTheDay *tips() const { return m_tips.get(); }
    AboutBox *about() const { return m_about.get(); }
    HelpWindow *help() const { return m_help.get(); }

private:
    Workspace &m_workspace;
    SingleWindow<FullScreenView> m_fullScreen;
    SingleWindow<TipOfTheDay> m_tips;
    SingleWindow<AboutBox> m_about;
    SingleWindow<HelpWindow> m_help;
};
