#pragma once
#include <QPointer>
#include <QWidget>

// A side window the program shows at most once: opening it again brings the open one to the front.
// A window that was closed counts as gone, even before Qt deletes it. A window still open when its
// owner goes away goes with it (windows without a parent would otherwise outlive the frame).
template <typename Window>
class SingleWindow
{
public:
    SingleWindow() = default;
    SingleWindow(const SingleWindow &) = delete;
    SingleWindow &operator=(const SingleWindow &) = delete;
    ~SingleWindow() { delete m_window.data(); }

    // Shows the open window, or the one `make` creates, in front and active.
    template <typename Make>
    Window &open(Make &&make, void (QWidget::*show)() = &QWidget::show)
    {
        if (!m_window || m_window->isHidden())
            m_window = make();
        (m_window.data()->*show)();
        m_window->raise();
        m_window->activateWindow();
        return *m_window;
    }

    // The open window, or nullptr.
    Window *get() const { return m_window; }

private:
    QPointer<Window> m_window;
};
