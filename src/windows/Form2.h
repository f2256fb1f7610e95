#pragma once
#include "platform/WindowDisabled.h"

#include <QWidget>
#include <optional>

class Workspace;
class QLabel;
class QPushButton;

// The About box: names the maker; the frame is disabled while it is open.
class Form2 : public QWidget
{
    Q_OBJECT
public:
    explicit Form2(Workspace &workspace);

    QPushButton *Command1;
    QPushButton *Command2;
    QLabel *Label1;
    QLabel *Label2;

    void Command1_Click();
    void Command2_Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void Form_Load();
    void Form_Unload();

    Workspace &m_workspace;
    std::optional<WindowDisabled> m_frameDisabled;
};
