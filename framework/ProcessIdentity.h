#pragma once

#include <QtGlobal>

// A process told apart from any later one that reuses its id: the id together with
// the time the process started, counted in clock ticks since boot.
class ProcessIdentity
{
public:
    constexpr ProcessIdentity() = default;
    constexpr ProcessIdentity(qint64 pid, quint64 startTicks)
        : m_pid(pid)
        , m_startTicks(startTicks)
    {
    }

    static ProcessIdentity current();

    qint64 pid() const { return m_pid; }
    quint64 startTicks() const { return m_startTicks; }

    // True while this very process runs (a zombie counts as gone). When its start
    // time cannot be read, a process that has the id counts as running: a file
    // that might still be in use is left alone.
    bool isRunning() const;

    bool operator==(const ProcessIdentity &) const = default;

private:
    qint64 m_pid = 0;
    quint64 m_startTicks = 0;
};
