#include "DetachedViewer.h"

#include "ToolRun.h"

#include <QFileInfo>
#include <QProcess>

namespace {

// The viewer runs in the background of a small shell that waits for it at most
// a few seconds and then leaves it running, ending with the viewer's status or
// with 0. So the viewer is never the editor's child, yet its early end is seen.
// Its output goes nowhere: nobody reads a pipe that outlives the watch.
const char *const WatchScript = "\"$@\" </dev/null >/dev/null 2>&1 &\n"
                                "viewer=$!\n"
                                "trap 'exit 0' USR1\n"
                                "(sleep \"$QUILLMERE_VIEWER_WATCH\"; kill -USR1 $$) >/dev/null 2>&1 &\n"
                                "timer=$!\n"
                                "wait \"$viewer\"\n"
                                "status=$?\n"
                                "kill \"$timer\" 2>/dev/null\n"
                                "exit \"$status\"\n";

} // namespace

void DetachedViewer::start(const ProgramInvocation &invocation, const QString &directory, QObject *context,
                           FailureReport report)
{
    auto *watch = new QProcess(context);
    QProcessEnvironment environment = ToolRun::childEnvironment();
    environment.insert(QStringLiteral("QUILLMERE_VIEWER_WATCH"), QString::number(WatchSeconds));
    watch->setProcessEnvironment(environment);
    watch->setWorkingDirectory(directory);
    watch->setStandardInputFile(QProcess::nullDevice());
    watch->setStandardOutputFile(QProcess::nullDevice());
    watch->setStandardErrorFile(QProcess::nullDevice());
    const QString program = QFileInfo(invocation.program).fileName();
    QObject::connect(watch, &QProcess::finished, watch,
                     [watch, program, report](int exitCode, QProcess::ExitStatus status) {
                         if (exitCode != 0 || status == QProcess::CrashExit)
                             report(program, exitCode, status == QProcess::CrashExit);
                         watch->deleteLater();
                     });
    QObject::connect(watch, &QProcess::errorOccurred, watch, [watch, program, report](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            report(program, 127, false);
            watch->deleteLater();
        }
    });
    watch->start(QStringLiteral("/bin/sh"), QStringList{QStringLiteral("-c"), QString::fromLatin1(WatchScript),
                                                        QStringLiteral("sh"), invocation.program}
                                                + invocation.arguments);
}
