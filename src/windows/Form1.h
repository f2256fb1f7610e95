#pragma once
#include <QWidget>

class QTimer;

// The splash window: shown first, for two seconds, then it gives way to the main frame.
class Form1 : public QWidget
{
    Q_OBJECT
public:
    // `next` is shown when the splash window's time is up.
    explicit Form1(QWidget &next);

    QTimer *Timer1;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void Timer1_Timer();

    QWidget &m_next;
};
