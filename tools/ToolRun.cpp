#include "ToolRun.h"

#include <new>

ToolRun::ToolRun(const ProgramInvocation &invocation, const QString &directory, OutputSink sink)
    : m_sink(std::move(sink))
{
    m_process.setProgram(invocation.program);
    m_process.setArguments(invocation.arguments);
    m_process.setWorkingDirectory(directory);
    m_process.setStandardInputFile(QProcess::nullDevice());
    m_process.setProcessEnvironment(childEnvironment());
    m_process.setProcessChannelMode(QProcess::SeparateChannels);

    m_killTimer.setSingleShot(true);
    m_killTimer.setInterval(KillDelayMilliseconds);
    QObject::connect(&m_killTimer, &QTimer::timeout, &m_process, &QProcess::kill);
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, [this] { forward(Channel::Output); });
    QObject::connect(&m_process, &QProcess::readyReadStandardError, [this] { forward(Channel::Error); });
    QObject::connect(&m_process, &QProcess::finished, &m_loop, &QEventLoop::quit);
}

ToolRun::Result ToolRun::exec()
{
    m_result = run();
    return m_result;
}

ToolRun::Result ToolRun::run()
{
    try {
        if (!start())
            return Result::FailedToStart;
    } catch (const std::bad_alloc &) {
        return Result::OutOfMemory;
    }
    m_loop.exec();
    // The loop also ends when the application quits; the child must not outlive
    // the window that shows it.
    if (isRunning()) {
        m_stopRequested = true;
        endChildNow();
    }
    // The child has ended: whatever it wrote before is still to be shown, but a
    // grandchild holding the pipes open must not keep the run going.
    forward(Channel::Output);
    forward(Channel::Error);
    m_killTimer.stop();
    return m_stopRequested ? Result::Stopped : Result::Finished;
}

ToolRun::Outcome ToolRun::outcome() const
{
    if (m_result != Result::Finished)
        return {m_result, 0, false};
    return {m_result, m_process.exitCode(), m_process.exitStatus() == QProcess::CrashExit};
}

QProcessEnvironment ToolRun::childEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!environment.contains(QStringLiteral("max_print_line")))
        environment.insert(QStringLiteral("max_print_line"), QStringLiteral("10000"));
    return environment;
}

bool ToolRun::start()
{
    m_process.start(QIODevice::ReadOnly);
    return m_process.waitForStarted(-1);
}

void ToolRun::stop()
{
    if (!isRunning() || m_stopRequested)
        return;
    m_stopRequested = true;
    m_process.terminate();
    m_killTimer.start();
}

void ToolRun::endChildNow()
{
    m_process.terminate();
    if (!m_process.waitForFinished(KillDelayMilliseconds)) {
        m_process.kill();
        m_process.waitForFinished(-1);
    }
}

void ToolRun::forward(Channel channel)
{
    const QByteArray bytes = channel == Channel::Output ? m_process.readAllStandardOutput()
                                                        : m_process.readAllStandardError();
    if (!bytes.isEmpty())
        m_sink(channel, bytes);
}
