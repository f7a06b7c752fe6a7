#include "CConsoleView.h"
#include "CMainFrame.h"
#include "CQuillmereApp.h"
#include "CUltraEditView.h"
#include "ModalAnswers.h"
#include "ProfileStore.h"
#include "TerminationSignals.h"
#include "ToolTestSupport.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>

namespace {

class FrameDuringRunTest : public testing::Test
{
protected:
    FrameDuringRunTest()
    {
        QFile file(executable);
        if (file.open(QIODevice::WriteOnly))
            file.write("#!/bin/sh\n");
    }

    ~FrameDuringRunTest() override { ModalHost::answerMessagesWith({}); }

    // Runs a tool that ignores SIGTERM from the application's event loop and, once
    // it has written its first line, calls the function from that loop. Returns
    // when the run and the event loop have ended.
    ToolRun::Result runUntil(CQuillmereApp &app, std::function<void()> whileRunning)
    {
        CConsoleView *console = app.mainFrame()->consoleView();
        EXPECT_EQ(g_pConsoleView, console);
        QObject::connect(console->document(), &QTextDocument::contentsChanged, console, [console, whileRunning] {
            if (console->toPlainText().endsWith("running\n"))
                QTimer::singleShot(0, console, whileRunning);
        });
        ToolRun::Result result = ToolRun::Result::FailedToStart;
        QTimer::singleShot(0, console, [&] {
            result = console->RunCommand(helperProgram({"ignore-term", "out=running\\n", "sleep=60000"}), "paper",
                                         dir.path());
            QCoreApplication::quit();
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
    ModalAnswers answers;
};

TEST_F(FrameDuringRunTest, TheEditorTakesTypingWhileAToolRunsAndOutputNeverModifiesTheDocument)
{
    CQuillmereApp app(executable);
    ASSERT_TRUE(app.InitInstance({}));
    CMainFrame *frame = app.mainFrame();
    QPlainTextEdit *editor = frame->editorView();
    bool modifiedByOutput = true;
    QString typed;
    const ToolRun::Result result = runUntil(app, [&] {
        modifiedByOutput = editor->document()->isModified() || frame->isWindowModified();
        for (const char *key : {"a", "b"}) {
            const int code = Qt::Key_A + (key[0] - 'a');
            QCoreApplication::postEvent(editor, new QKeyEvent(QEvent::KeyPress, code, Qt::NoModifier, key));
        }
        QTimer::singleShot(0, editor, [&] {
            typed = editor->toPlainText();
            editor->document()->setModified(false);
            frame->consoleView()->stopRuns();
        });
    });
    EXPECT_EQ(result, ToolRun::Result::Stopped);
    EXPECT_FALSE(modifiedByOutput);
    EXPECT_EQ(typed, "ab");
}

TEST_F(FrameDuringRunTest, ClosingTheWindowEndsTheRunningToolAndStillWritesTheSettings)
{
    {
        CQuillmereApp app(executable);
        ASSERT_TRUE(app.InitInstance({}));
        CMainFrame *frame = app.mainFrame();
        EXPECT_EQ(runUntil(app, [frame] { frame->close(); }), ToolRun::Result::Stopped);
        EXPECT_FALSE(frame->isVisible());
        EXPECT_FALSE(frame->consoleView()->isRunning());
    }
    EXPECT_EQ(g_pConsoleView, nullptr);
    expectSettingsWritten();
}

TEST_F(FrameDuringRunTest, ATerminationSignalEndsTheRunningToolAndStillWritesTheSettings)
{
    {
        CQuillmereApp app(executable);
        TerminationSignals terminationSignals;
        QObject::connect(&terminationSignals, &TerminationSignals::terminationRequested, &app,
                         &CQuillmereApp::terminate);
        ASSERT_TRUE(app.InitInstance({}));
        EXPECT_EQ(runUntil(app, [] { ::raise(SIGTERM); }), ToolRun::Result::Stopped);
        EXPECT_FALSE(app.mainFrame()->isVisible());
    }
    expectSettingsWritten();
}

} // namespace
