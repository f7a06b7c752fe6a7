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
    // How a run ended; the exit code counts only for a child that ended by itself.
    struct Outcome
    {
        Result result = Result::FailedToStart;
        int exitCode = 0;
        bool crashed = false;

        bool succeeded() const { return result == Result::Finished && !crashed && exitCode == 0; }
    };

    // How long a child may take to end after SIGTERM before it gets SIGKILL.
    static constexpr int KillDelayMilliseconds = 2000;

    ToolRun(const ProgramInvocation &invocation, const QString &directory, OutputSink sink);
    ToolRun(const ToolRun &) = delete;
    ToolRun &operator=(const ToolRun &) = delete;

    Result exec();
    // How the run ended, with the child's exit code; meaningful after exec().
    Outcome outcome() const;
    // Asks the child to end (SIGTERM), and ends it (SIGKILL) if it has not after a while.
    void stop();
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }

    // The environment of every child a run starts: the editor's own, with TeX told
    // not to wrap its messages at 79 columns unless the user has said otherwise.
    static QProcessEnvironment childEnvironment();

private:
    Result run();
    bool start();
    void forward(Channel channel);
    void endChildNow();

    OutputSink m_sink;
    QProcess m_process;
    QEventLoop m_loop;
    QTimer m_killTimer;
    bool m_stopRequested = false;
    Result m_result = Result::FailedToStart;
};
