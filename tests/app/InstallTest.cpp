#include "ModulePath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace {

bool catchesTermination(qint64 pid)
{
    QFile status(QString("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (SIGTERM - 1)) & 1;
    }
    return false;
}

QByteArray mappedFiles(qint64 pid)
{
    QFile maps(QString("/proc/%1/maps").arg(pid));
    return maps.open(QIODevice::ReadOnly) ? maps.readAll() : QByteArray();
}

TEST(InstallTest, TheInstalledProgramFindsEverythingBesideItself)
{
    QTemporaryDir prefix;
    QProcess install;
    install.start(QUILLMERE_CMAKE_COMMAND, {"--install", QUILLMERE_BUILD_DIR, "--prefix", prefix.path()});
    ASSERT_TRUE(install.waitForFinished(120000));
    ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();

    const QString programDir = prefix.filePath("lib/quillmere");
    for (const QString name : {"quillmere", "libnkf32.so", "TeXFunctions.dic", "BeginEnd.dic", "quillmere-dvipreview",
                               "pxdvi/config.xdvi", "pxdvi/quillmere-kanji.map"})
        EXPECT_TRUE(QFileInfo::exists(programDir + '/' + name)) << name.toStdString();
    EXPECT_TRUE(QFileInfo(programDir + "/quillmere-dvipreview").isExecutable());
    EXPECT_TRUE(QFileInfo(prefix.filePath("bin/quillmere-dvipreview")).isSymLink());
    const QFileInfo command(prefix.filePath("bin/quillmere"));
    EXPECT_TRUE(command.isSymLink());
    EXPECT_EQ(ModulePath(command.filePath()).directory(), programDir);
    EXPECT_TRUE(QFileInfo::exists(prefix.filePath("share/applications/quillmere.desktop")));
    EXPECT_TRUE(QFileInfo::exists(prefix.filePath("share/icons/hicolor/scalable/apps/quillmere.svg")));
    EXPECT_TRUE(QFileInfo::exists(prefix.filePath("share/icons/hicolor/48x48/apps/quillmere.png")));

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(environment);
    program.start(command.filePath(), {});
    ASSERT_TRUE(program.waitForStarted());
    while (!catchesTermination(program.processId()) && program.state() == QProcess::Running)
        QThread::msleep(20);
    EXPECT_TRUE(mappedFiles(program.processId()).contains((programDir + "/libnkf32.so").toUtf8()));
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_TRUE(QFileInfo::exists(programDir + "/quillmere.ini"));
}

} // namespace
