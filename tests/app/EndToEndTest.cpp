#include "AppTestSupport.h"
#include "CConsoleView.h"
#include "CEncodingDialog.h"
#include "CMainFrame.h"
#include "CQuillmereApp.h"
#include "CUltraEditView.h"
#include "CommandIds.h"
#include "CommandManager.h"
#include "ModalHost.h"
#include "ProfileStore.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QInputMethodEvent>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <iconv.h>

namespace {

QByteArray toCp932(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    iconv_t cd = iconv_open("CP932", "UTF-8");
    QByteArray out(utf8.size() * 2 + 16, '\0');
    char *in = const_cast<char *>(utf8.constData());
    size_t inLeft = utf8.size();
    char *outPtr = out.data();
    size_t outLeft = out.size();
    iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    out.truncate(out.size() - static_cast<qsizetype>(outLeft));
    return out;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

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
    ~EndToEndTest() override
    {
        ModalHost::answerMessagesWith({});
        ModalHost::answerDialogsWith({});
    }

    QTemporaryDir dir;
};

TEST_F(EndToEndTest, EditRunSaveInAnotherEncodingAndQuit)
{
    const QString programDir = dir.filePath("program");
    const QString exe = makeExecutable(programDir, "quillmere");
    ASSERT_TRUE(QFile::copy(QUILLMERE_BUILD_DIR "/libnkf32.so", programDir + "/libnkf32.so"));
    writeFile(programDir + "/TeXFunctions.dic", "define section\n");
    writeFile(programDir + "/BeginEnd.dic", "document\n");
    const QString fakePlatex = QStringLiteral(QUILLMERE_SOURCE_DIR "/tests/app/fake-platex.sh");
    writeFile(programDir + "/quillmere.ini", "[platex]\nEXE=" + fakePlatex.toUtf8() + "\n");

    const QString opened = QString::fromUtf8("\\documentclass{jarticle}\n\\begin{document}\n日本語の文書。\n");
    QDir().mkpath(dir.filePath("papers"));
    const QString paper = dir.filePath("papers/paper.tex");
    writeFile(paper, toCp932(QString(opened).replace("\n", "\r\n")));

    std::vector<QString> messages;
    ModalHost::answerMessagesWith([&messages](const ModalHost::Message &message) {
        messages.push_back(message.text);
        return QMessageBox::Ok;
    });
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
        EXPECT_EQ(readFile(paper), toCp932(QString(typed).replace("\n", "\r\n")));
        EXPECT_EQ(readFile(dir.filePath("papers/platex-arguments.txt")), "paper.tex\n");
        const QString console = frame.consoleView()->toPlainText();
        EXPECT_TRUE(console.startsWith(dir.filePath("papers") + ">" + fakePlatex + " paper.tex\n")) << console.toStdString();
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
        EXPECT_EQ(readFile(paper), (typed + "x").toUtf8());
        frame.commands().action(CommandId::AppExit)->trigger();
    }
    for (const QString &message : messages)
        ADD_FAILURE() << message.toStdString();

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
    writeFile(paper, QString::fromUtf8("\\documentclass{jarticle}\n\\begin{document}\n"
                                       "\\section{はじめに}\\label{sec:a}\n第\\ref{sec:a}節。\n\\end{document}\n")
                         .toUtf8());
    ModalHost::answerMessagesWith([](const ModalHost::Message &message) {
        ADD_FAILURE() << message.text.toStdString();
        return QMessageBox::Ok;
    });
    CQuillmereApp app(exe);
    ASSERT_TRUE(app.InitInstance({paper}));
    CMainFrame &frame = *app.mainFrame();
    frame.commands().action(CommandId::RunDvipdfmx)->trigger();
    EXPECT_TRUE(readFile(dir.filePath("paper.pdf")).startsWith("%PDF")) << frame.consoleView()->toPlainText().toStdString();
    EXPECT_TRUE(frame.consoleView()->toPlainText().contains("Output written on paper.dvi"));
}

} // namespace
