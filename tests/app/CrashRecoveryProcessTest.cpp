#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace {

QProcess *startDriver(QProcess &process, const QTemporaryDir &dir, const QStringList &arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_STATE_HOME", dir.filePath("state"));
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(QUILLMERE_RECOVERY_DRIVER), arguments);
    return &process;
}

TEST(CrashRecoveryProcessTest, KilledSixSecondsAfterTypingTheNextStartGivesEverythingBack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("thesis.tex");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("\\documentclass{jarticle}\n\\begin{document}\n");
    }
    const QString typed = QString::fromUtf8("本文を書いた\\end{document}");

    QProcess editing;
    startDriver(editing, dir, {"type", dir.filePath("bin"), path, typed});
    ASSERT_TRUE(editing.waitForReadyRead(60000)) << editing.readAllStandardError().toStdString();
    ASSERT_EQ(editing.readLine().trimmed(), "typed");
    QThread::sleep(6);
    ::kill(static_cast<pid_t>(editing.processId()), SIGKILL);
    ASSERT_TRUE(editing.waitForFinished(10000));

    QProcess restarted;
    startDriver(restarted, dir, {"answer", dir.filePath("bin"), path});
    ASSERT_TRUE(restarted.waitForFinished(60000));
    ASSERT_EQ(restarted.exitCode(), 0) << restarted.readAllStandardError().toStdString();
    const QString output = QString::fromUtf8(restarted.readAllStandardOutput());
    EXPECT_EQ(output, QString::fromUtf8("modified\n\\documentclass{jarticle}\n\\begin{document}\n") + typed);
}

} // namespace
