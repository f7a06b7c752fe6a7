#include "AppTestSupport.h"
#include "CMainFrame.h"
#include "CQuillmereApp.h"
#include "CUltraEditView.h"
#include "InstanceChannel.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class InstanceHandoffTest : public testing::Test
{
protected:
    void SetUp() override
    {
        const QString built = QStringLiteral(QUILLMERE_BUILD_DIR "/quillmere");
        if (!QFile::exists(built))
            GTEST_SKIP() << "the program itself is not built at " << built.toStdString();
        // A copy of its own, so that its settings file stays out of the build tree.
        ASSERT_TRUE(QDir().mkpath(dir.filePath("bin")));
        program = dir.filePath("bin/quillmere");
        ASSERT_TRUE(QFile::copy(built, program));
        paper = dir.filePath(QString::fromUtf8("論文 one.tex"));
        QFile file(paper);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("first\nsecond\nthird\nfourth\n");
    }

    void startProgram(QProcess &process, const QStringList &arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        ASSERT_TRUE(process.waitForStarted());
    }

    // Runs this process's event loop, so that its own instance can answer, until
    // the program ends.
    static bool waitForEnd(QProcess &process)
    {
        QEventLoop loop;
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        if (process.state() != QProcess::NotRunning)
            loop.exec();
        return process.state() == QProcess::NotRunning;
    }

    QTemporaryDir dir;
    QString program;
    QString paper;
};

TEST_F(InstanceHandoffTest, TheInstanceThatHasTheFileOpenShowsTheLineAndNoSecondWindowStarts)
{
    const QString exe = makeExecutable(dir.filePath("app"), "quillmere");
    CQuillmereApp app(exe);
    ASSERT_TRUE(app.InitInstance({paper}));
    CUltraEditView *editor = app.mainFrame()->editorView();
    EXPECT_EQ(editor->textCursor().blockNumber(), 0);

    // Only the user may talk to the instance.
    const QFileInfo socket(InstanceChannel::socketPathFor("quillmere", QCoreApplication::applicationPid()));
    ASSERT_TRUE(socket.exists());
    EXPECT_EQ(socket.permissions(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);

    QProcess second;
    startProgram(second, {"--line", "3", paper});
    ASSERT_TRUE(waitForEnd(second));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
    EXPECT_EQ(editor->textCursor().blockNumber(), 2);
    EXPECT_EQ(editor->textCursor().positionInBlock(), 0);
}

TEST_F(InstanceHandoffTest, WithoutAnInstanceThatHasItTheNewProcessOpensTheFileItself)
{
    QProcess own;
    startProgram(own, {"--line", "2", paper});
    const QString socket = InstanceChannel::socketPathFor("quillmere", own.processId());
    for (int wait = 0; wait < 3000 && !QFileInfo::exists(socket) && own.state() == QProcess::Running; ++wait)
        QTest::qWait(10);
    ASSERT_TRUE(QFileInfo::exists(socket)) << own.readAllStandardError().toStdString();

    // Now that one has the file open, and answers for it; for another file it does not.
    const QString canonical = QFileInfo(paper).canonicalFilePath();
    EXPECT_TRUE(InstanceChannel::askRunningInstances("quillmere", canonical, 4));
    EXPECT_FALSE(InstanceChannel::askRunningInstances("quillmere", canonical + ".other", 4));

    own.terminate();
    ASSERT_TRUE(own.waitForFinished(30000));
    EXPECT_FALSE(QFileInfo::exists(socket));
}

TEST_F(InstanceHandoffTest, TheHelpNeedsNoDisplayAndABadLineIsRefused)
{
    QProcess help;
    help.start(program, {"--help"});
    ASSERT_TRUE(help.waitForFinished(30000));
    EXPECT_EQ(help.exitCode(), 0);
    EXPECT_TRUE(QString::fromLocal8Bit(help.readAllStandardOutput()).contains("--line N"));

    QProcess bad;
    startProgram(bad, {"--line", "zero", paper});
    ASSERT_TRUE(bad.waitForFinished(30000));
    EXPECT_EQ(bad.exitCode(), 2);
    EXPECT_FALSE(bad.readAllStandardError().isEmpty());
}

} // namespace
