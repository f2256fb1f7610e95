#pragma once
#include <QObject>
#include <QTimer>
#include <functional>

// Runs a piece of work in short slices whenever the program is idle, until the work says it is
// done: the rest of a long document is laid out this way, never holding up input for long.
class IdleLayout : public QObject
{
    Q_OBJECT
public:
    // `slice` does up to the given number of milliseconds of work; false when there is no more.
    IdleLayout(std::function<bool(int milliseconds)> slice, QObject *parent);

    void start();
    void stop() { m_timer.stop(); }
    bool isActive() const { return m_timer.isActive(); }
    // How long one slice may take; 0 stops the work in slices.
    void setSliceMilliseconds(int milliseconds);
    int sliceMilliseconds() const { return m_milliseconds; }

private:
    void run();

    std::function<bool(int)> m_slice;
    QTimer m_timer;
    int m_milliseconds = 4;
};
