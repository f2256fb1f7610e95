#pragma once
#include <QStatusBar>

class QLabel;
class QTimer;

// The frame's status bar: a help text, the Num Lock, Insert and Caps Lock states, the time and the
// date. It keeps its key-state, time and date panels up to date itself. Where the platform cannot
// report a lock key, the panel shows its text greyed.
class FrameStatusBar : public QStatusBar
{
    Q_OBJECT
public:
    explicit FrameStatusBar(QWidget *parent = nullptr);

    QLabel *panel(int index) const; // 1 to 6, in the order they stand
    // Shows whether the active surface inserts (true) or overwrites typed text.
    void setInsertMode(bool inserting);
    void refresh();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QList<QLabel *> m_panels;
    QTimer *m_clock;
    bool m_inserting = true;
};
