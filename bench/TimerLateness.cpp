#include "TimerLateness.h"

#include <algorithm>

TimerLateness::TimerLateness(int intervalMilliseconds)
    : m_interval(intervalMilliseconds / 1e3)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(intervalMilliseconds);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { fired(); });
}

void TimerLateness::start()
{
    m_longest = 0;
    m_last = Clock::now();
    m_timer.start();
}

void TimerLateness::fired()
{
    const Clock::time_point now = Clock::now();
    m_longest = std::max(m_longest, std::chrono::duration<double>(now - m_last).count() - m_interval);
    m_last = now;
}
