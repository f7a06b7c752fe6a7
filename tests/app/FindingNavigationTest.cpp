#include "AppTestSupport.h"
#include "CConsoleView.h"
#include "CMainFrame.h"
#include "CQuillmereApp.h"
#include "CUltraEditView.h"
#include "CommandIds.h"
#include "CommandManager.h"
#include "FindingColors.h"
#include "ModalAnswers.h"
#include "ModalHost.h"
#include "StringTable.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include <gtest/gtest.h>

namespace {

const QString Fixtures = QStringLiteral(QUILLMERE_SOURCE_DIR "/tests/tools/texoutput/");

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class FindingNavigationTest : public testing::Test
{
protected:
    FindingNavigationTest()
    {
        // The program stands in for itself: it notes the command line another window
        // would be opened with.
        programDir = dir.filePath("program");
        exe = makeExecutable(programDir, "quillmere");
        writeFile(exe, "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.arguments\"\n");
    }

    void SetUp() override
    {
        if (QStandardPaths::findExecutable("platex").isEmpty())
            GTEST_SKIP() << "pLaTeX is not installed";
    }

    // pLaTeX goes on after an error, and reads Shift_JIS when told so as the README says.
    void setPlatexOptions(const QByteArray &options)
    {
        writeFile(programDir + "/quillmere.ini",
                  "[platex]\nOPTION=" + options + " -interaction=nonstopmode \\\"%s.tex\\\"\n");
    }

    QString countText(const CConsoleView &console) const
    {
        const auto &findings = console.findings();
        const auto errors = std::count_if(findings.begin(), findings.end(), [](const auto &f) { return f.isError(); });
        return StringTable::text(StringTable::FindingCountFormat).arg(errors).arg(std::ssize(findings) - errors);
    }

    QByteArray otherWindowArguments() const
    {
        const QString path = exe + ".arguments";
        for (int wait = 0; wait < 500 && readFile(path).isEmpty(); ++wait)
            QTest::qWait(10);
        return readFile(path);
    }

    QTemporaryDir dir;
    QString programDir;
    QString exe;
    ModalAnswers answers;
};

TEST_F(FindingNavigationTest, AfterPlatexOnAShiftJisDocumentF8GoesToTheUndefinedControlSequence)
{
    QString source;
    for (int line = 1; line <= 9; ++line)
        source += line == 1   ? "\\documentclass{jarticle}\n"
                  : line == 2 ? "\\begin{document}\n"
                  : line == 7 ? QString::fromUtf8("\\undefinedcs です。\n")
                  : line == 9 ? "\\end{document}\n"
                              : QString::fromUtf8("日本語の%1行目。\n").arg(line);
    const QString paper = dir.filePath("paper.tex");
    writeFile(paper, QStringEncoder("Shift_JIS").encode(source));
    ASSERT_TRUE(QFile::copy(QUILLMERE_BUILD_DIR "/libnkf32.so", programDir + "/libnkf32.so"));
    setPlatexOptions("-kanji=sjis");

    CQuillmereApp app(exe);
    ASSERT_TRUE(app.InitInstance({paper}));
    CMainFrame &frame = *app.mainFrame();
    CUltraEditView *editor = frame.editorView();
    CConsoleView *console = frame.consoleView();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    EXPECT_TRUE(frame.findingCountPane()->text().isEmpty());
    EXPECT_FALSE(frame.commands().action(CommandId::NextError)->isEnabled());

    QTest::keyClick(editor, Qt::Key_F1, Qt::ControlModifier);
    ASSERT_FALSE(console->findings().empty()) << console->toPlainText().toStdString();
    const OutputFinding &first = console->findings().front();
    EXPECT_EQ(first.message, "Undefined control sequence.");
    EXPECT_EQ(first.line, 7);
    EXPECT_EQ(
        console->document()->findBlockByNumber(first.consoleLine).begin().fragment().charFormat().foreground().color(),
        FindingColors::error());
    EXPECT_EQ(frame.findingCountPane()->text(), countText(*console));
    EXPECT_TRUE(frame.findingCountPane()->text().startsWith(QString::fromUtf8("エラー ")));

    console->setFocus();
    frame.commands().updateAll();
    QTest::keyClick(&frame, Qt::Key_F8);
    EXPECT_EQ(editor->textCursor().blockNumber(), 6);
    EXPECT_EQ(editor->textCursor().positionInBlock(), 0);
    EXPECT_TRUE(editor->hasFocus());
    EXPECT_EQ(frame.statusBar()->currentMessage(), "paper.tex:7: Undefined control sequence.");

    // The gutter marks the line, and the mark moves with the line.
    EXPECT_EQ(editor->lineMarks().at(6), LineMark::Error);
    editor->moveCursor(QTextCursor::Start);
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(editor->lineMarks().count(7), 1u);
    EXPECT_EQ(editor->lineMarks().count(6), 0u);

    // Fixed, the next run clears the marks and the count.
    QTextCursor bad(editor->document()->findBlockByNumber(7));
    bad.select(QTextCursor::LineUnderCursor);
    bad.insertText(QString::fromUtf8("直しました。"));
    QTest::keyClick(editor, Qt::Key_F1, Qt::ControlModifier);
    EXPECT_TRUE(editor->lineMarks().empty());
    EXPECT_EQ(frame.findingCountPane()->text(), countText(*console));
    EXPECT_TRUE(answers.messages().empty());
}

TEST_F(FindingNavigationTest, AnErrorInAChapterOpensTheChapterAtItsLineInAnotherWindow)
{
    const QString book = dir.filePath("book");
    QDir().mkpath(book + "/sub");
    for (const char *name : {"book.tex", "chap1.tex", "chap2.tex", "sub/part.tex"})
        ASSERT_TRUE(QFile::copy(Fixtures + "book/" + name, book + '/' + name));
    setPlatexOptions("-kanji=utf8");

    CQuillmereApp app(exe);
    ASSERT_TRUE(app.InitInstance({book + "/book.tex"}));
    CMainFrame &frame = *app.mainFrame();
    CConsoleView *console = frame.consoleView();
    frame.commands().action(CommandId::RunPlatex)->trigger();

    const auto &findings = console->findings();
    const auto chapterError = std::find_if(findings.begin(), findings.end(), [&book](const OutputFinding &finding) {
        return finding.isError() && finding.file == book + "/chap1.tex";
    });
    ASSERT_NE(chapterError, findings.end()) << console->toPlainText().toStdString();
    EXPECT_EQ(chapterError->line, 5);

    const QTextBlock line = console->document()->findBlockByNumber(chapterError->consoleLine);
    QTest::mouseDClick(console->viewport(), Qt::LeftButton, {}, console->cursorRect(QTextCursor(line)).center());
    EXPECT_EQ(otherWindowArguments(), "--line\n5\n" + (book + "/chap1.tex").toUtf8() + '\n');
    // The book itself has no marks: the errors are in the chapters.
    EXPECT_TRUE(frame.editorView()->lineMarks().empty());

    // A chapter that is gone says so instead.
    ASSERT_TRUE(QFile::remove(book + "/chap2.tex"));
    const auto gone = std::find_if(findings.begin(), findings.end(), [&book](const OutputFinding &finding) {
        return finding.file == book + "/chap2.tex" && finding.hasLocation();
    });
    ASSERT_NE(gone, findings.end());
    frame.goToFinding(static_cast<std::size_t>(gone - findings.begin()));
    ASSERT_EQ(answers.messages().size(), 1u);
    EXPECT_EQ(answers.messages()[0].text,
              StringTable::text(StringTable::FindingFileMissing).replace("%s", book + "/chap2.tex"));
}

} // namespace
