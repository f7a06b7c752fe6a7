#include "ProcessIdentity.h"

#include <QByteArray>
#include <QFile>
#include <QList>

#include <cerrno>
#include <csignal>
#include <optional>
#include <unistd.h>

namespace {

struct ProcessState
{
    char state = '?';
    quint64 startTicks = 0;
};

// /proc/PID/stat: the command name in parentheses may hold blanks and parentheses
// itself, so the fields are counted from the last closing parenthesis. The state
// is the third field and the start time the twenty-second.
std::optional<ProcessState> readProcessState(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray line = file.readAll();
    const qsizetype nameEnd = line.lastIndexOf(')');
    if (nameEnd < 0)
        return std::nullopt;
    const QList<QByteArray> fields = line.mid(nameEnd + 2).split(' ');
    constexpr int StateField = 0;
    constexpr int StartTimeField = 19;
    if (fields.size() <= StartTimeField || fields[StateField].isEmpty())
        return std::nullopt;
    bool ok = false;
    const quint64 start = fields[StartTimeField].toULongLong(&ok);
    if (!ok)
        return std::nullopt;
    return ProcessState{fields[StateField].at(0), start};
}

} // namespace

ProcessIdentity ProcessIdentity::current()
{
    const qint64 pid = ::getpid();
    const std::optional<ProcessState> state = readProcessState(pid);
    return ProcessIdentity(pid, state ? state->startTicks : 0);
}

bool ProcessIdentity::isRunning() const
{
    if (m_pid <= 0)
        return false;
    if (::kill(static_cast<pid_t>(m_pid), 0) != 0 && errno == ESRCH)
        return false;
    const std::optional<ProcessState> state = readProcessState(m_pid);
    if (!state)
        return true;
    return state->state != 'Z' && state->state != 'X' && state->startTicks == m_startTicks;
}
