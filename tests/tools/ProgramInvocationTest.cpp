#include "ExternalProgram.h"
#include "ProgramInvocation.h"

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

    const ProgramInvocation blanks = BuildProgramInvocation(program("%s", "/opt/Tex Live/bin/platex"), "n");
    EXPECT_EQ(blanks.program, "/opt/Tex Live/bin/platex");
}

TEST(ProgramInvocationTest, AFileNameNeverAddsArguments)
{
    const QStringList hostile = {"a\" -shell-escape \"b", "a' 'b", "x; rm -rf ~", "$(touch pwned)", "-", "a\\",
                                 QString::fromUtf8("論文 第1章"), "%s%%", "\"", ""};
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
