#pragma once
#include <QWidget>

class SettingsStore;
class QTextBrowser;
class Workspace;

// The user guide shipped with the program, in a window of its own beside the frame. It does not
// hold the frame, and it opens at the size it had when the user last left it.
class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    explicit HelpWindow(Workspace &workspace);

    QTextBrowser *browser;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void restoreSize(const QWidget &frame);

    SettingsStore &m_settings;
};
