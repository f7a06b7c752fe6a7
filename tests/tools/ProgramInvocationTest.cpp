#include "ExternalProgram.h"
#include "ProgramInvocation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

ExternalProgram program(const QString &options, const QString &executable = "tool")
{
    return ExternalProgram("tool", executable, options);
}

TEST(ProgramInvocationTest, CommandLinesOfTheBuiltIns)
{
    EXPECT_EQ(BuildCommandLine(ExternalProgram("platex", "platex", "\"%s.tex\""), "paper"), "platex \"paper.tex\"");
    EXPECT_EQ(BuildCommandLine(ExternalProgram("jbibtex", "pbibtex", "\"%s\""), "paper"), "pbibtex \"paper\"");
    EXPECT_EQ(BuildCommandLine(ExternalProgram("dvipsk", "dvips", "-Ppdf \"%s.dvi\""), "paper"),
              "dvips -Ppdf \"paper.dvi\"");
    EXPECT_EQ(FormatArguments(ExternalProgram("GSView", "xdg-open", "\"%s.ps\""), "paper"), "\"paper.ps\"");
    EXPECT_EQ(BuildCommandLine(program("", ""), "paper"), " ");
}

TEST(ProgramInvocationTest, OnlyTheFirstPercentSIsExpanded)
{
    EXPECT_EQ(FormatArguments(program("%%s"), "paper"), "%s");
    EXPECT_EQ(FormatArguments(program("%s %s"), "paper"), "paper %s");
    EXPECT_EQ(FormatArguments(program("%d %n %x%"), "paper"), "%d %n %x%");
    EXPECT_EQ(FormatArguments(program("100%% %s"), "a%sb"), "100% a%sb");
}

TEST(ProgramInvocationTest, TemplatesSplitLikeAShellWithoutExpansion)
{
    const ProgramInvocation dvips = BuildProgramInvocation(program("-Ppdf \"%s.dvi\"", "dvips"), "paper");
    EXPECT_EQ(dvips.program, "dvips");
    EXPECT_EQ(dvips.arguments, (QStringList{"-Ppdf", "paper.dvi"}));

    EXPECT_EQ(BuildProgramInvocation(program("  a\t'b c'  \"d \\\" \\x\" e\\ f '' \"\""), "n").arguments,
              (QStringList{"a", "b c", "d \" \\x", "e f", "", ""}));
    EXPECT_EQ(BuildProgramInvocation(program("$HOME `id` ~ *.tex; rm"), "n").arguments,
              (QStringList{"$HOME", "`id`", "~", "*.tex;", "rm"}));
    EXPECT_EQ(BuildProgramInvocation(program("'unterminated %s"), "n").arguments, (QStringList{"unterminated n"}));
    EXPECT_EQ(BuildProgramInvocation(program("trailing\\"), "n").arguments, (QStringList{"trailing\\"}));
    EXPECT_EQ(BuildProgramInvocation(program("%s %s %%s"), "n").arguments, (QStringList{"n", "%s", "%s"}));
}

TEST(ProgramInvocationTest, AnExecutableFieldWithBlanksIsSplitUnlessItNamesAFile)
{
    const QTemporaryDir dir;
    const QString withBlanks = dir.filePath("Tex Live/bin/platex -dev");
    QDir().mkpath(dir.filePath("Tex Live/bin"));
    QFile(withBlanks).open(QIODevice::WriteOnly);
    EXPECT_EQ(BuildProgramInvocation(program("%s", withBlanks), "n").program, withBlanks);
    // A relative path is found from the directory the program runs in.
    const ProgramInvocation relative = BuildProgramInvocation(program("%s", "bin/platex -dev"), "n",
                                                              dir.filePath("Tex Live"));
    EXPECT_EQ(relative.program, "bin/platex -dev");
    EXPECT_EQ(relative.arguments, QStringList{"n"});

    const ProgramInvocation split = BuildProgramInvocation(program("\"%s.tex\"", "platex -kanji=sjis 'a b'"), "n");
    EXPECT_EQ(split.program, "platex");
    EXPECT_EQ(split.arguments, (QStringList{"-kanji=sjis", "a b", "n.tex"}));
    const ProgramInvocation missing = BuildProgramInvocation(program("%s", dir.filePath("No Such/platex")), "n");
    EXPECT_EQ(missing.program, dir.filePath("No"));
    EXPECT_EQ(BuildProgramInvocation(program("%s", "  "), "n").program, "  ");
    EXPECT_EQ(DisplayCommandLine(split), "platex -kanji=sjis 'a b' n.tex");
}

TEST(ProgramInvocationTest, ADocumentNameStartingWithADashIsPassedAsAPath)
{
    EXPECT_EQ(BuildProgramInvocation(program("\"%s.tex\""), "-output-comment=x").arguments,
              QStringList{"./-output-comment=x.tex"});
    EXPECT_EQ(BuildProgramInvocation(program("-jobname=%s x.tex"), "-x").arguments,
              (QStringList{"-jobname=-x", "x.tex"}));
    EXPECT_EQ(BuildProgramInvocation(program("'%s'.dvi x%s"), "-").arguments, (QStringList{"./-.dvi", "x%s"}));
    EXPECT_EQ(BuildProgramInvocation(program("%s.tex"), "a-b").arguments, QStringList{"a-b.tex"});
    // The line the user is shown is the one the tool was given.
    EXPECT_EQ(DisplayCommandLine(BuildProgramInvocation(program("\"%s.tex\""), "-x")), "tool ./-x.tex");
}

TEST(ProgramInvocationTest, TheShownCommandLineSplitsBackIntoTheSameArguments)
{
    const QStringList words = {"plain",       "",         "a b", "it's",
                               "\"q\"",       "$HOME",    "x;y", QString::fromUtf8("論文 第1稿.tex"),
                               "-kanji=sjis", "tab\there"};
    const ProgramInvocation invocation{"/opt/my tools/platex", words};
    const QString shown = DisplayCommandLine(invocation);
    EXPECT_TRUE(shown.startsWith("'/opt/my tools/platex' plain '' 'a b' 'it'\\''s' "));
    const ProgramInvocation reread = BuildProgramInvocation(program(shown), "n");
    EXPECT_EQ(reread.arguments, QStringList{"/opt/my tools/platex"} + words);
}

TEST(ProgramInvocationTest, AFileNameNeverAddsArguments)
{
    const QStringList hostile = {"a\" -shell-escape \"b",
                                 "a' 'b",
                                 "x; rm -rf ~",
                                 "$(touch pwned)",
                                 "a\\",
                                 QString::fromUtf8("論文 第1章"),
                                 "%s%%",
                                 "\"",
                                 ""};
    for (const QString &name : hostile) {
        const ProgramInvocation platex = BuildProgramInvocation(program("\"%s.tex\"", "platex"), name);
        EXPECT_EQ(platex.arguments, QStringList{name + ".tex"}) << name.toStdString();
        const ProgramInvocation dvips = BuildProgramInvocation(program("-Ppdf %s.dvi", "dvips"), name);
        EXPECT_EQ(dvips.arguments, (QStringList{"-Ppdf", name + ".dvi"})) << name.toStdString();
    }
    EXPECT_EQ(BuildCommandLine(program("\"%s.tex\"", "platex"), "a\" -shell-escape \"b"),
              "platex \"a\" -shell-escape \"b.tex\"");
}

} // namespace
