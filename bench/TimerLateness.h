#pragma once

#include <QTimer>

#include <chrono>

// The longest a repeating timer waited beyond its time: how long the event loop
// was kept from anything else, a key or a menu, at worst.
class TimerLateness
{
public:
    explicit TimerLateness(int intervalMilliseconds);

    void start();
    double longestSeconds() const { return m_longest; }

private:
    using Clock = std::chrono::steady_clock;

    void fired();

    QTimer m_timer;
    double m_interval;
    Clock::time_point m_last;
    double m_longest = 0;
};
