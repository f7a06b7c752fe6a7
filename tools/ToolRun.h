#pragma once

#include "ProgramInvocation.h"

#include <QByteArrayView>
#include <QEventLoop>
#include <QProcess>
#include <QString>
#include <QTimer>

#include <functional>

// One run of a console tool: the child starts from its argument list in the given
// directory with no standard input, and exec() waits for it on a local event loop,
// so the window stays usable while the child runs and no processor time is spent
// while it is silent. Its output is handed on as it arrives. A child that is still
// running when the object goes is ended with it.
class ToolRun
{
public:
    enum class Channel { Output, Error };
    enum class Result {
        FailedToStart,
        OutOfMemory,
        Finished,
        // Ended on request, or because the application is quitting.
        Stopped,
    };
    using OutputSink = std::function<void(Channel, QByteArrayView)>;

    // How long a child may take to end after SIGTERM before it gets SIGKILL.
    static constexpr int KillDelayMilliseconds = 2000;

    ToolRun(const ProgramInvocation &invocation, const QString &directory, OutputSink sink);
    ToolRun(const ToolRun &) = delete;
    ToolRun &operator=(const ToolRun &) = delete;

    Result exec();
    // Asks the child to end (SIGTERM), and ends it (SIGKILL) if it has not after a while.
    void stop();
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }

private:
    bool start();
    void forward(Channel channel);
    void endChildNow();

    OutputSink m_sink;
    QProcess m_process;
    QEventLoop m_loop;
    QTimer m_killTimer;
    bool m_stopRequested = false;
};
