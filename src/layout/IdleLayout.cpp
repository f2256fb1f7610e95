#include "layout/IdleLayout.h"

IdleLayout::IdleLayout(std::function<bool(int milliseconds)> slice, QObject *parent)
    : QObject(parent), m_slice(std::move(slice))
{
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &IdleLayout::run);
}

void IdleLayout::start()
{
    if (m_milliseconds > 0 && !m_timer.isActive())
        m_timer.start();
}

void IdleLayout::setSliceMilliseconds(int milliseconds)
{
    m_milliseconds = std::max(0, milliseconds);
    if (m_milliseconds == 0)
        m_timer.stop();
}

void IdleLayout::run()
{
    if (!m_slice(m_milliseconds))
        m_timer.stop();
}
