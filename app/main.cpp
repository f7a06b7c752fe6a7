#include "CQuillmereApp.h"
#include "TerminationSignals.h"

#include <QApplication>
#include <QFileInfo>

#include <csignal>

namespace {

QString executablePath()
{
    const QString target = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    return target.isEmpty() ? QCoreApplication::applicationFilePath() : target;
}

} // namespace

int main(int argc, char *argv[])
{
    // A file-size limit must fail a save with an error, not kill the editor.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication application(argc, argv);
    CQuillmereApp app(executablePath());
    TerminationSignals terminationSignals;
    QObject::connect(&terminationSignals, &TerminationSignals::terminationRequested, &app, &CQuillmereApp::terminate);

    if (!app.InitInstance(application.arguments().mid(1)))
        return 1;
    return application.exec();
}
