#include "AppTestSupport.h"
#include "CConsoleView.h"
#include "CEncodingDialog.h"
#include "CMainFrame.h"
#include "CQuillmereApp.h"
#include "CUltraEditView.h"
#include "CommandIds.h"
#include "CommandManager.h"
#include "FileBytes.h"
#include "IconvText.h"
#include "ModalAnswers.h"
#include "ProfileStore.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QInputMethodEvent>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

void commitThroughInputMethod(QWidget *widget, const QString &text)
{
    QInputMethodEvent preedit(text, {});
    QApplication::sendEvent(widget, &preedit);
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(widget, &commit);
}

class EndToEndTest : public testing::Test
{
protected:
    void expectNoMessages() const
    {
        for (const ModalHost::Message &message : answers.messages())
            ADD_FAILURE() << message.text.toStdString();
    }

    ModalAnswers answers;
    QTemporaryDir dir;
};

TEST_F(EndToEndTest, EditRunSaveInAnotherEncodingAndQuit)
{
    const QString programDir = dir.filePath("program");
    const QString exe = makeExecutable(programDir, "quillmere");
    ASSERT_TRUE(QFile::copy(QUILLMERE_BUILD_DIR "/libnkf32.so", programDir + "/libnkf32.so"));
    ASSERT_TRUE(FileBytes::write(programDir + "/TeXFunctions.dic", "define section\n"));
    ASSERT_TRUE(FileBytes::write(programDir + "/BeginEnd.dic", "document\n"));
    const QString fakePlatex = QStringLiteral(QUILLMERE_SOURCE_DIR "/tests/app/fake-platex.sh");
    ASSERT_TRUE(FileBytes::write(programDir + "/quillmere.ini", "[platex]\nEXE=" + fakePlatex.toUtf8() + "\n"));

    const QString opened = QString::fromUtf8("\\documentclass{jarticle}\n\\begin{document}\n日本語の文書。\n");
    QDir().mkpath(dir.filePath("papers"));
    const QString paper = dir.filePath("papers/paper.tex");
    ASSERT_TRUE(FileBytes::write(paper, iconvEncode(QString(opened).replace("\n", "\r\n"), "CP932")));

    {
        CQuillmereApp app(exe);
        ASSERT_TRUE(app.InitInstance({paper}));
        CMainFrame &frame = *app.mainFrame();
        CUltraEditView *editor = frame.editorView();
        frame.activateWindow();
        editor->setFocus();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
        editor->moveCursor(QTextCursor::End);

        QTest::keyClicks(editor, "\\sec");
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::keyClicks(editor, "{");
        commitThroughInputMethod(editor, QString::fromUtf8("はじめに"));
        QTest::keyClicks(editor, "}");
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::keyClicks(editor, "\\label{sec:intro}");
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::keyClicks(editor, "\\ref{sec:i\t}");
        QTest::keyClick(editor, Qt::Key_Return);
        const QString typed = opened + QString::fromUtf8("\\section{はじめに}\n\\label{sec:intro}\n\\ref{sec:intro}\n");
        EXPECT_EQ(editor->toPlainText().toStdString(), typed.toStdString());

        // Ctrl+F1 saves the file as it was read and runs pLaTeX on it.
        QCoreApplication::processEvents();
        QTest::keyClick(editor, Qt::Key_F1, Qt::ControlModifier);
        EXPECT_EQ(FileBytes::read(paper), iconvEncode(QString(typed).replace("\n", "\r\n"), "CP932"));
        EXPECT_EQ(FileBytes::read(dir.filePath("papers/platex-arguments.txt")), "paper.tex\n");
        const QString console = frame.consoleView()->toPlainText();
        EXPECT_TRUE(console.startsWith(dir.filePath("papers") + ">" + fakePlatex + " paper.tex\n"))
            << console.toStdString();
        EXPECT_TRUE(console.contains("This is a stand-in for pLaTeX, reading paper.tex")) << console.toStdString();
        EXPECT_TRUE(console.contains("LaTeX Warning: this one goes to standard error")) << console.toStdString();

        ModalHost::answerDialogsWith([](QDialog &dialog) {
            auto &encoding = dynamic_cast<CEncodingDialog &>(dialog);
            encoding.setValue(EncodingFlags(TextEncoding::Utf8, false, NewlineCode::Lf));
            encoding.accept();
            return int(QDialog::Accepted);
        });
        frame.commands().action(CommandId::SaveEncoding)->trigger();
        editor->moveCursor(QTextCursor::End);
        QTest::keyClicks(editor, "x");
        QCoreApplication::processEvents();
        QTest::keyClick(editor, Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(FileBytes::read(paper), (typed + "x").toUtf8());
        frame.commands().action(CommandId::AppExit)->trigger();
    }
    expectNoMessages();

    const ProfileStore settings(programDir + "/quillmere.ini");
    EXPECT_EQ(settings.readString("platex", "EXE", ""), fakePlatex);
    EXPECT_EQ(settings.readString("dvipdfmx", "OPTION", ""), "\\\"%s.dvi\\\"");
    EXPECT_EQ(settings.readString("Recent File List", "File1", ""), paper);
}

TEST_F(EndToEndTest, TheRealToolChainMakesAPdf)
{
    for (const char *tool : {"platex", "dvipdfmx"}) {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            GTEST_SKIP() << tool << " is not installed (TeX Live's texlive-lang-japanese)";
    }
    const QString exe = makeExecutable(dir.filePath("program"), "quillmere");
    const QString paper = dir.filePath("paper.tex");
    ASSERT_TRUE(FileBytes::write(paper, QString::fromUtf8("\\documentclass{jarticle}\n\\begin{document}\n"
                                                          "\\section{はじめに}\\label{sec:a}\n第\\ref{sec:a}節。\n"
                                                          "\\end{document}\n")
                                            .toUtf8()));
    CQuillmereApp app(exe);
    ASSERT_TRUE(app.InitInstance({paper}));
    CMainFrame &frame = *app.mainFrame();
    frame.commands().action(CommandId::RunDvipdfmx)->trigger();
    EXPECT_TRUE(FileBytes::read(dir.filePath("paper.pdf")).startsWith("%PDF"))
        << frame.consoleView()->toPlainText().toStdString();
    EXPECT_TRUE(frame.consoleView()->toPlainText().contains("Output written on paper.dvi"));
    expectNoMessages();
}

} // namespace
