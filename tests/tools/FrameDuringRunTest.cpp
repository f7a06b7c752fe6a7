#include "CConsoleView.h"
#include "CMainFrame.h"
#include "CQuillmereApp.h"
#include "ProfileStore.h"
#include "TerminationSignals.h"
#include "ToolTestSupport.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>

namespace {

class ShutdownDuringRunTest : public testing::Test
{
protected:
    ShutdownDuringRunTest()
    {
        QFile file(executable);
        if (file.open(QIODevice::WriteOnly))
            file.write("#!/bin/sh\n");
    }

    ~ShutdownDuringRunTest() override { ModalHost::answerMessagesWith({}); }

    // Runs a tool that ignores SIGTERM from the application's event loop and, once
    // it has written its first line, does what ends the program. Returns when the
    // event loop has ended.
    ToolRun::Result runAndEnd(CQuillmereApp &app, std::function<void()> endProgram)
    {
        CConsoleView *console = app.mainFrame()->consoleView();
        EXPECT_EQ(g_pConsoleView, console);
        QObject::connect(console->document(), &QTextDocument::contentsChanged, console, [console, endProgram] {
            if (console->toPlainText().endsWith("running\n"))
                QTimer::singleShot(0, console, endProgram);
        });
        ToolRun::Result result = ToolRun::Result::FailedToStart;
        QTimer::singleShot(0, console, [&] {
            result = console->RunCommand(helperProgram({"ignore-term", "out=running\\n", "sleep=60000"}), "paper",
                                         dir.path());
        });
        QApplication::exec();
        return result;
    }

    void expectSettingsWritten() const
    {
        const ProfileStore profile(dir.filePath("quillmere.ini"));
        EXPECT_EQ(profile.readString("platex", "EXE", "<missing>"), "platex");
    }

    QTemporaryDir dir;
    QString executable = dir.filePath("quillmere");
    MessageRecorder recorder;
};

TEST_F(ShutdownDuringRunTest, ClosingTheWindowEndsTheRunningToolAndStillWritesTheSettings)
{
    {
        CQuillmereApp app(executable);
        ASSERT_TRUE(app.InitInstance({}));
        CMainFrame *frame = app.mainFrame();
        EXPECT_EQ(runAndEnd(app, [frame] { frame->close(); }), ToolRun::Result::Stopped);
        EXPECT_FALSE(frame->isVisible());
        EXPECT_FALSE(frame->consoleView()->isRunning());
    }
    EXPECT_EQ(g_pConsoleView, nullptr);
    expectSettingsWritten();
}

TEST_F(ShutdownDuringRunTest, ATerminationSignalEndsTheRunningToolAndStillWritesTheSettings)
{
    {
        CQuillmereApp app(executable);
        TerminationSignals terminationSignals;
        QObject::connect(&terminationSignals, &TerminationSignals::terminationRequested, &app, &CQuillmereApp::terminate);
        ASSERT_TRUE(app.InitInstance({}));
        EXPECT_EQ(runAndEnd(app, [] { ::raise(SIGTERM); }), ToolRun::Result::Stopped);
        EXPECT_FALSE(app.mainFrame()->isVisible());
    }
    expectSettingsWritten();
}

} // namespace
