#pragma once
#include <QPointer>
#include <QWidget>

// Keeps a window disabled while this object lives: a window that takes over the frame holds one,
// and the frame comes back enabled and active when it goes.
class WindowDisabled
{
public:
    explicit WindowDisabled(QWidget &window) : m_window(&window) { window.setEnabled(false); }
    WindowDisabled(const WindowDisabled &) = delete;
    WindowDisabled &operator=(const WindowDisabled &) = delete;
    ~WindowDisabled() { release(); }

    // Gives the window back now rather than when this object goes.
    void release()
    {
        if (!m_window)
            return;
        m_window->setEnabled(true);
        m_window->activateWindow();
        m_window = nullptr;
    }

private:
    QPointer<QWidget> m_window;
};
