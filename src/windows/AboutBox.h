#pragma once
#include "platform/WindowDisabled.h"

#include <QWidget>
#include <optional>

class Workspace;
class QLabel;
class QPushButton;

// The About box: names the maker; the frame is disabled while it is open.
class AboutBox : public QWidget
{
    Q_OBJECT
public:
    explicit AboutBox(Workspace &workspace);

    QPushButton *okButton;
    QPushButton *systemInfoButton;
    QLabel *licenceLabel;
    QLabel *authorsLabel;

    void closeBox();
    void showSystemInfo();

protected:
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void disableFrame();
    void enableFrame();

    Workspace &m_workspace;
    std::optional<WindowDisabled> m_frameDisabled;
};
