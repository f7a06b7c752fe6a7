#include "CQuillmereApp.h"
#include "CommandLine.h"
#include "InstanceChannel.h"
#include "TerminationSignals.h"

#include <QApplication>
#include <QFileInfo>

#include <csignal>
#include <cstdio>

namespace {

QString executablePath()
{
    const QString target = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    return target.isEmpty() ? QCoreApplication::applicationFilePath() : target;
}

QStringList argumentsOf(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

// "--line N FILE" while another instance has FILE open: that one shows the line.
bool handedToRunningInstance(const CommandLine &commandLine)
{
    const QString canonicalPath = QFileInfo(commandLine.file).canonicalFilePath();
    return commandLine.line > 0 && !canonicalPath.isEmpty()
           && InstanceChannel::askRunningInstances(QCoreApplication::applicationName(), canonicalPath,
                                                   commandLine.line);
}

} // namespace

int main(int argc, char *argv[])
{
    // A file-size limit must fail a save with an error, not kill the editor.
    std::signal(SIGXFSZ, SIG_IGN);
    // The help needs no display.
    if (CommandLine::parse(argumentsOf(argc, argv)).help) {
        std::fputs(CommandLine::helpText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quillmere"));
    const CommandLine commandLine = CommandLine::parse(application.arguments().mid(1));
    if (!commandLine.error.isEmpty()) {
        std::fprintf(stderr, "%s\n\n%s", commandLine.error.toLocal8Bit().constData(),
                     CommandLine::helpText().toLocal8Bit().constData());
        return 2;
    }
    if (handedToRunningInstance(commandLine))
        return 0;
    CQuillmereApp app(executablePath());
    TerminationSignals terminationSignals;
    QObject::connect(&terminationSignals, &TerminationSignals::terminationRequested, &app, &CQuillmereApp::terminate);

    if (!app.InitInstance(application.arguments().mid(1)))
        return 1;
    return application.exec();
}
