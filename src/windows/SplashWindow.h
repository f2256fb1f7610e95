#pragma once
#include <QWidget>

class QTimer;

// The splash window: shown first, for two seconds, then it gives way to the main frame.
class SplashWindow : public QWidget
{
    Q_OBJECT
public:
    // `next` is shown when the splash window's time is up.
    explicit SplashWindow(QWidget &next);

    QTimer *splashTimer;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void showNext();

    QWidget &m_next;
};
