#include "CConsoleView.h"
#include "CommandIds.h"
#include "CommandManager.h"
#include "CommandTarget.h"
#include "DetachedViewer.h"
#include "ExternalProgramTable.h"
#include "ModalAnswers.h"
#include "RunCommands.h"
#include "SavedDocument.h"
#include "ToolTestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// One start of a fake tool, as it recorded itself.
struct ToolStart
{
    QString tool;
    QString directory;
    QStringList arguments;
    QString maxPrintLine;
};

// What a run adds for pLaTeX on a UTF-8 document.
const QStringList PlatexOptions = {"-kanji=utf8", "-interaction=nonstopmode", "-file-line-error", "-synctex=1"};

class RunCommandsTest : public testing::Test
{
protected:
    RunCommandsTest()
    {
        console.OnInitialUpdate(commands);
        const QString bin = dir.filePath("bin");
        QDir().mkpath(bin);
        const QString script = QStringLiteral(QUILLMERE_SOURCE_DIR "/tests/tools/fake_tex_tool.sh");
        for (const char *tool : {"platex", "pbibtex", "xdvi", "dvips", "dvipdfmx", "xdg-open"})
            QFile::link(script, bin + '/' + tool);
        table.Add(ExternalProgram("platex", bin + "/platex", "\"%s.tex\""));
        table.Add(ExternalProgram("jbibtex", bin + "/pbibtex", "\"%s\""));
        table.Add(ExternalProgram("dviout", bin + "/xdvi", "\"%s.dvi\""));
        table.Add(ExternalProgram("dvipsk", bin + "/dvips", "-Ppdf \"%s.dvi\""));
        table.Add(ExternalProgram("dvipdfmx", bin + "/dvipdfmx", "\"%s.dvi\""));
        table.Add(ExternalProgram("GSView", bin + "/xdg-open", "\"%s.ps\""));
        table.Add(ExternalProgram("pdfviewer", bin + "/xdg-open", "\"%s.pdf\""));
        qputenv("QUILLMERE_FAKE_TOOL_LOG", dir.filePath("tools.log").toUtf8());
        document.path = dir.filePath("paper.tex");
        runCommands.registerOn(target);
    }

    ~RunCommandsTest() override
    {
        qunsetenv("QUILLMERE_FAKE_TOOL_LOG");
        qunsetenv("QUILLMERE_FAKE_TOOL_STATUS");
        qunsetenv("QUILLMERE_FAKE_FAILING_TOOL");
    }

    std::vector<ToolStart> starts() const
    {
        QFile log(dir.filePath("tools.log"));
        std::vector<ToolStart> result;
        if (!log.open(QIODevice::ReadOnly))
            return result;
        // A record counts once the tool has written all of it.
        ToolStart current;
        for (const QString &line : QString::fromUtf8(log.readAll()).split(u'\n')) {
            if (line.startsWith("tool="))
                current = {line.mid(5), {}, {}, {}};
            else if (line.startsWith("cwd="))
                current.directory = line.mid(4);
            else if (line.startsWith("arg="))
                current.arguments.append(line.mid(4));
            else if (line.startsWith("max_print_line="))
                current.maxPrintLine = line.mid(15);
            else if (line == "end")
                result.push_back(current);
        }
        return result;
    }

    QStringList toolsRun() const
    {
        QStringList tools;
        for (const ToolStart &start : starts())
            tools.append(start.tool);
        return tools;
    }

    // A previewer is not waited for; its record comes when it has run.
    bool waitForStarts(std::size_t count) const
    {
        return QTest::qWaitFor([&] { return starts().size() >= count; }, 10000);
    }

    QString canonicalDir() const { return QDir(dir.path()).canonicalPath(); }

    QTemporaryDir dir;
    QWidget window;
    CommandManager commands{&window, CommandRouter(), CommandVocabulary()};
    CConsoleView console;
    ModalAnswers answers;
    ExternalProgramTable table;
    SavedDocument document;
    RunCommands runCommands{document.interface(), table};
    CommandTarget target;
};

TEST_F(RunCommandsTest, PlatexSavesAndRunsOnTheBaseNameInTheDocumentsDirectory)
{
    console.setPlainText("old output");
    target.executeCommand(CommandId::RunPlatex);
    EXPECT_TRUE(QFile::exists(dir.filePath("paper.tex")));
    const auto runs = starts();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].tool, "platex");
    EXPECT_EQ(runs[0].directory, canonicalDir());
    EXPECT_EQ(runs[0].arguments, PlatexOptions + QStringList{"paper.tex"});
    EXPECT_EQ(runs[0].maxPrintLine, "10000");
    EXPECT_EQ(console.toPlainText(), dir.path() + '>' + dir.path() + "/bin/platex " + PlatexOptions.join(' ')
                                         + " paper.tex\nThis is fake platex\nplatex: a warning\n");
    EXPECT_TRUE(answers.messages().empty());
}

TEST_F(RunCommandsTest, AnUntitledDocumentIsNamedFirstAndCancellingRunsNothing)
{
    document.path.clear();
    target.executeCommand(CommandId::RunJbibtex);
    EXPECT_EQ(document.saveAsPrompts, 1);
    EXPECT_TRUE(starts().empty());
    EXPECT_TRUE(console.toPlainText().isEmpty());
    EXPECT_TRUE(answers.messages().empty());

    // The GSView command would save once more for its dvipsk step; one question is enough.
    target.executeCommand(CommandId::RunGsview);
    EXPECT_EQ(document.saveAsPrompts, 2);
    EXPECT_TRUE(starts().empty());

    document.saveAsAnswer = dir.filePath("named.tex");
    target.executeCommand(CommandId::RunPlatex);
    ASSERT_EQ(starts().size(), 1u);
    EXPECT_EQ(starts()[0].arguments, PlatexOptions + QStringList{"named.tex"});
}

TEST_F(RunCommandsTest, TheBaseNameGoesInAsOneArgumentWhateverItHoldsInIt)
{
    const QStringList names = {"paper", "paper.final.tex", "my \"best\" paper.tex", "it's $HOME `x`.tex",
                               QString::fromUtf8("論文 第1稿.tex")};
    const QStringList expected = {"paper.tex", "paper.final.tex", "my \"best\" paper.tex", "it's $HOME `x`.tex",
                                  QString::fromUtf8("論文 第1稿.tex")};
    for (const QString &name : names) {
        document.path = dir.filePath(name);
        target.executeCommand(CommandId::RunPlatex);
    }
    const auto runs = starts();
    ASSERT_EQ(runs.size(), 5u);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(runs[i].arguments, PlatexOptions + QStringList{expected[i]}) << names[i].toStdString();
}

TEST_F(RunCommandsTest, ADocumentAtTheRootRunsItsToolsThere)
{
    document.path = "/paper.tex";
    document.writeFile = false;
    target.executeCommand(CommandId::RunPlatex);
    ASSERT_EQ(starts().size(), 1u);
    EXPECT_EQ(starts()[0].directory, "/");
    EXPECT_TRUE(console.toPlainText().startsWith("/>"));
}

TEST_F(RunCommandsTest, ConsoleToolsFollowPlatexWithoutClearingItsOutput)
{
    target.executeCommand(CommandId::RunJbibtex);
    target.executeCommand(CommandId::RunDvipdfmx);
    const auto runs = starts();
    ASSERT_EQ(toolsRun(), QStringList({"platex", "pbibtex", "platex", "dvipdfmx"}));
    EXPECT_EQ(runs[1].arguments, QStringList({"-kanji=utf8", "paper"}));
    EXPECT_EQ(runs[3].arguments, QStringList{"paper.dvi"});
    EXPECT_EQ(runs[3].maxPrintLine, "10000");
    const QString text = console.toPlainText();
    EXPECT_TRUE(text.startsWith(dir.path() + '>' + dir.path() + "/bin/platex"));
    EXPECT_TRUE(text.contains("This is fake platex\nplatex: a warning\n" + dir.path() + '>' + dir.path()
                              + "/bin/dvipdfmx paper.dvi\nThis is fake dvipdfmx\n"));
    EXPECT_FALSE(text.contains("pbibtex"));
}

TEST_F(RunCommandsTest, AFailingStepEndsTheChainAndSaysSoInOneLine)
{
    qputenv("QUILLMERE_FAKE_TOOL_STATUS", "1");
    target.executeCommand(CommandId::RunDvipsk);
    ASSERT_EQ(toolsRun(), QStringList{"platex"});
    EXPECT_TRUE(console.toPlainText().endsWith(
        "platex: a warning\n"
        + QString::fromUtf8("platex は終了コード 1 で終了しました。続く dvips は実行しません。\n")));

    target.executeCommand(CommandId::RunGsview);
    EXPECT_TRUE(console.toPlainText().endsWith(
        QString::fromUtf8("platex は終了コード 1 で終了しました。続く platex, dvips, xdg-open は実行しません。\n")));

    qputenv("QUILLMERE_FAKE_TOOL_STATUS", "7");
    qputenv("QUILLMERE_FAKE_FAILING_TOOL", "dvips");
    target.executeCommand(CommandId::RunGsview);
    ASSERT_EQ(toolsRun(), QStringList({"platex", "platex", "platex", "platex", "dvips"}));
    EXPECT_TRUE(console.toPlainText().endsWith(
        QString::fromUtf8("dvips は終了コード 7 で終了しました。続く xdg-open は実行しません。\n")));
    EXPECT_EQ(starts()[4].arguments, QStringList({"-Ppdf", "paper.dvi"}));

    // The last step of a chain has nothing after it to skip.
    qputenv("QUILLMERE_FAKE_FAILING_TOOL", "dvipdfmx");
    target.executeCommand(CommandId::RunDvipdfmx);
    EXPECT_TRUE(console.toPlainText().endsWith(QString::fromUtf8("dvipdfmx は終了コード 7 で終了しました。\n")));
    EXPECT_TRUE(answers.messages().empty());
}

TEST_F(RunCommandsTest, TheDocumentsEncodingReachesPlatexAndPbibtex)
{
    document.encoding = TextEncoding::ShiftJis;
    target.executeCommand(CommandId::RunJbibtex);
    document.encoding = TextEncoding::EucJp;
    target.executeCommand(CommandId::RunJbibtex);
    const auto runs = starts();
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ(runs[0].arguments.first(), "-kanji=sjis");
    EXPECT_EQ(runs[1].arguments, QStringList({"-kanji=sjis", "paper"}));
    EXPECT_EQ(runs[2].arguments.first(), "-kanji=euc");
    EXPECT_EQ(runs[3].arguments, QStringList({"-kanji=euc", "paper"}));
    EXPECT_TRUE(console.toPlainText().contains("/bin/pbibtex -kanji=euc paper\n"));
    EXPECT_FALSE(console.toPlainText().contains(QString::fromUtf8("注意")));
}

TEST_F(RunCommandsTest, AKanjiOptionOfTheUserWinsAndADifferentOneIsPointedOut)
{
    table.SetAt(0, ExternalProgram("platex", dir.filePath("bin/platex -kanji=euc"), "\"%s.tex\""));
    document.encoding = TextEncoding::ShiftJis;
    target.executeCommand(CommandId::RunPlatex);
    ASSERT_EQ(starts().size(), 1u);
    EXPECT_EQ(starts()[0].arguments,
              QStringList({"-interaction=nonstopmode", "-file-line-error", "-synctex=1", "-kanji=euc", "paper.tex"}));
    const QStringList lines = console.toPlainText().split('\n');
    EXPECT_EQ(lines[0],
              QString::fromUtf8("注意: 文書は シフトJIS で保存されていますが、-kanji=euc の指定どおりに読ませます。"));
    EXPECT_TRUE(lines[1].startsWith(dir.path() + '>'));

    document.encoding = TextEncoding::EucJp;
    target.executeCommand(CommandId::RunPlatex);
    EXPECT_TRUE(console.toPlainText().startsWith(dir.path() + '>'));
}

TEST_F(RunCommandsTest, AUtf16DocumentStopsTheRunBeforeAnythingStarts)
{
    target.executeCommand(CommandId::RunPlatex);
    document.encoding = TextEncoding::Utf16BigEndian;
    target.executeCommand(CommandId::RunDvipdfmx);
    document.encoding = TextEncoding::Utf16LittleEndian;
    target.executeCommand(CommandId::RunGsview);
    EXPECT_EQ(starts().size(), 1u);
    ASSERT_EQ(answers.messages().size(), 2u);
    EXPECT_TRUE(answers.messages()[0].text.contains(QString::fromUtf8("保存用文字コードの設定")));
    EXPECT_TRUE(console.toPlainText().contains("This is fake platex"));
}

TEST_F(RunCommandsTest, ABibliographyInAnotherEncodingIsPointedOutBeforePbibtex)
{
    const QByteArray japanese = "\xC6\xFC\xCB\xDC\xB8\xEC\xA4\xCE\xCA\xB8\xB8\xA5\xA4\xC7\xA4\xB9";
    QFile euc(dir.filePath("refs.bib"));
    ASSERT_TRUE(euc.open(QIODevice::WriteOnly));
    euc.write("@book{a,\n  title = {" + japanese + japanese + japanese + "},\n}\n");
    euc.close();
    QFile ascii(dir.filePath("more.bib"));
    ASSERT_TRUE(ascii.open(QIODevice::WriteOnly));
    ascii.write("@book{b, title = {Plain}}\n");
    ascii.close();
    document.text = "\\documentclass{jarticle}\n% \\bibliography{old}\n\\bibliography{refs,more,missing}\n";
    document.encoding = TextEncoding::ShiftJis;

    target.executeCommand(CommandId::RunPlatex);
    EXPECT_FALSE(console.toPlainText().contains(QString::fromUtf8("注意")));
    target.executeCommand(CommandId::RunJbibtex);
    const QString text = console.toPlainText();
    const QString notice = QString::fromUtf8(
        "注意: refs.bib は EUC-JP で書かれていますが、pBibTeX は文書と同じ シフトJIS として読みます。\n");
    EXPECT_TRUE(text.contains("platex: a warning\n" + notice + dir.path() + '>')) << text.toStdString();
    EXPECT_EQ(text.count(QString::fromUtf8("注意")), 1);

    document.encoding = TextEncoding::EucJp;
    target.executeCommand(CommandId::RunJbibtex);
    EXPECT_FALSE(console.toPlainText().contains(QString::fromUtf8("注意")));
}

TEST_F(RunCommandsTest, TheUsersOwnMaxPrintLineIsKept)
{
    qputenv("max_print_line", "200");
    target.executeCommand(CommandId::RunPlatex);
    qunsetenv("max_print_line");
    ASSERT_EQ(starts().size(), 1u);
    EXPECT_EQ(starts()[0].maxPrintLine, "200");
}

TEST_F(RunCommandsTest, APlatexThatCannotStartEndsTheChainWithOneMessage)
{
    table.SetAt(0, ExternalProgram("platex", dir.filePath("missing/platex"), "\"%s.tex\""));
    target.executeCommand(CommandId::RunJbibtex);
    EXPECT_TRUE(starts().empty());
    ASSERT_EQ(answers.messages().size(), 1u);
    EXPECT_EQ(answers.messages()[0].text, QString::fromUtf8("\"") + dir.filePath("missing/platex") + ' '
                                              + PlatexOptions.join(' ')
                                              + QString::fromUtf8(" paper.tex\"を実行できません。"));
    EXPECT_TRUE(document.parts.fileName.isEmpty());

    target.executeCommand(CommandId::RunGsview);
    EXPECT_EQ(answers.messages().size(), 2u);
    EXPECT_TRUE(starts().empty());
}

TEST_F(RunCommandsTest, StoppingAHungPlatexEndsTheChain)
{
    const ExternalProgram hung = helperProgram({"out=compiling\\n", "sleep=60000"});
    table.SetAt(0, ExternalProgram("platex", hung.executable(), hung.optionTemplate()));
    QObject::connect(console.document(), &QTextDocument::contentsChanged, &console, [this] {
        if (console.toPlainText().contains("compiling\n"))
            QTimer::singleShot(0, &console, [this] { console.stopRuns(); });
    });
    target.executeCommand(CommandId::RunJbibtex);
    EXPECT_TRUE(starts().empty());
    EXPECT_TRUE(answers.messages().empty());
    EXPECT_FALSE(console.isRunning());
    EXPECT_TRUE(console.toPlainText().endsWith(
        QString::fromUtf8("quillmere_child_helper は中止されました。続く pbibtex は実行しません。\n")));
}

TEST_F(RunCommandsTest, GsviewRunsPlatexTwiceThenDvipsThenTheViewerDetached)
{
    target.executeCommand(CommandId::RunGsview);
    ASSERT_TRUE(waitForStarts(4));
    const auto runs = starts();
    ASSERT_EQ(toolsRun(), QStringList({"platex", "platex", "dvips", "xdg-open"}));
    EXPECT_EQ(runs[3].arguments, QStringList{"paper.ps"});
    EXPECT_EQ(runs[3].directory, canonicalDir());
    const QString text = console.toPlainText();
    EXPECT_EQ(text.count("This is fake platex"), 1);
    EXPECT_TRUE(text.contains("This is fake dvips"));
    EXPECT_FALSE(text.contains("xdg-open"));
}

TEST_F(RunCommandsTest, DvioutStartsTheViewerOnTheDviFile)
{
    target.executeCommand(CommandId::RunDviout);
    ASSERT_TRUE(waitForStarts(2));
    const auto runs = starts();
    ASSERT_EQ(toolsRun(), QStringList({"platex", "xdvi"}));
    EXPECT_EQ(runs[1].arguments, QStringList{"paper.dvi"});
    EXPECT_EQ(runs[1].directory, canonicalDir());
}

TEST_F(RunCommandsTest, ChangedSettingsApplyAtTheNextRun)
{
    target.executeCommand(CommandId::RunPlatex);
    ExternalProgram changed = table.GetAt(0);
    changed.setExecutable(dir.filePath("bin/dvipdfmx"));
    changed.setOptionTemplate("-kanji=utf8 \"%s.tex\"");
    table.SetAt(0, changed);
    target.executeCommand(CommandId::RunPlatex);
    ASSERT_EQ(toolsRun(), QStringList({"platex", "dvipdfmx"}));
    EXPECT_EQ(starts()[1].arguments, QStringList({"-kanji=utf8", "paper.tex"}));
}

TEST_F(RunCommandsTest, ShowPdfStartsTheViewerOnThePdfAsItIsOrSaysThereIsNone)
{
    target.executeCommand(CommandId::ShowPdf);
    EXPECT_FALSE(QFile::exists(dir.filePath("paper.tex")));
    EXPECT_EQ(console.toPlainText(),
              QString::fromUtf8("paper.pdf はまだありません。Ctrl+F5 (dvipdfmx) で作れます。\n"));

    QFile pdf(dir.filePath("paper.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::WriteOnly));
    pdf.close();
    target.executeCommand(CommandId::ShowPdf);
    ASSERT_TRUE(waitForStarts(1));
    EXPECT_EQ(toolsRun(), QStringList{"xdg-open"});
    EXPECT_EQ(starts()[0].arguments, QStringList{"paper.pdf"});
    EXPECT_EQ(starts()[0].directory, canonicalDir());
    EXPECT_EQ(starts()[0].maxPrintLine, "10000");
    // No save happened, and nothing was added to the console.
    EXPECT_FALSE(QFile::exists(dir.filePath("paper.tex")));
    EXPECT_EQ(console.toPlainText().count('\n'), 1);

    document.path.clear();
    target.executeCommand(CommandId::ShowPdf);
    EXPECT_EQ(document.saveAsPrompts, 0);
    EXPECT_TRUE(
        console.toPlainText().endsWith(QString::fromUtf8("PDF はありません。Ctrl+F5 (dvipdfmx) で作れます。\n")));
    EXPECT_TRUE(answers.messages().empty());
}

TEST_F(RunCommandsTest, AViewerThatFailsAtOnceIsReportedWithItsStatus)
{
    QFile pdf(dir.filePath("paper.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::WriteOnly));
    pdf.close();
    qputenv("QUILLMERE_FAKE_TOOL_STATUS", "4");
    target.executeCommand(CommandId::ShowPdf);
    const QString report = QString::fromUtf8("xdg-open は終了コード 4 で終了しました。表示できませんでした。\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return console.toPlainText().endsWith(report); }, 10000))
        << console.toPlainText().toStdString();

    table.SetAt(6, ExternalProgram("pdfviewer", dir.filePath("missing/viewer"), "\"%s.pdf\""));
    target.executeCommand(CommandId::ShowPdf);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return console.toPlainText().endsWith(
                QString::fromUtf8("viewer は終了コード 127 で終了しました。表示できませんでした。\n"));
        },
        10000));

    // A viewer that keeps running is left alone, and nothing is said about it.
    const ExternalProgram slow = helperProgram({"sleep=5000"});
    table.SetAt(6, ExternalProgram("pdfviewer", slow.executable(), slow.optionTemplate()));
    const QString before = console.toPlainText();
    target.executeCommand(CommandId::ShowPdf);
    QTest::qWait((DetachedViewer::WatchSeconds + 1) * 1000);
    EXPECT_EQ(console.toPlainText(), before);
    EXPECT_TRUE(answers.messages().empty());
}

} // namespace
