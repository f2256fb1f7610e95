#pragma once
#include <QWidget>

class MDIForm1;
class QLabel;
class QPushButton;

// The About box: names the maker; the frame is disabled while it is open.
class Form2 : public QWidget
{
    Q_OBJECT
public:
    explicit Form2(MDIForm1 &frame);

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

    MDIForm1 &m_frame;
};
