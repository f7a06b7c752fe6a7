#include "CommandLine.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLineTest, AFileMayComeWithALineToShow)
{
    const CommandLine plain = CommandLine::parse({"paper.tex"});
    EXPECT_EQ(plain.file, "paper.tex");
    EXPECT_EQ(plain.line, 0);
    EXPECT_TRUE(plain.error.isEmpty());

    for (const QStringList &arguments :
         {QStringList{"--line", "12", "my paper.tex"}, QStringList{"--line=12", "my paper.tex"},
          QStringList{"my paper.tex", "--line", "12"}}) {
        const CommandLine withLine = CommandLine::parse(arguments);
        EXPECT_EQ(withLine.file, "my paper.tex");
        EXPECT_EQ(withLine.line, 12);
        EXPECT_TRUE(withLine.error.isEmpty()) << withLine.error.toStdString();
    }
    EXPECT_TRUE(CommandLine::parse({}).file.isEmpty());
    EXPECT_TRUE(CommandLine::parse({"--help"}).help);
    EXPECT_TRUE(CommandLine::parse({"-h", "x.tex"}).help);
    EXPECT_TRUE(CommandLine::helpText().contains("--line N"));
}

TEST(CommandLineTest, ALineThatIsNoLineOrHasNoFileIsAnError)
{
    for (const QStringList &arguments : {QStringList{"--line", "x", "a.tex"}, QStringList{"--line", "0", "a.tex"},
                                         QStringList{"--line", "-3", "a.tex"}, QStringList{"--line", "3"},
                                         QStringList{"--line"}, QStringList{"--frobnicate", "a.tex"}})
        EXPECT_FALSE(CommandLine::parse(arguments).error.isEmpty()) << arguments.join(' ').toStdString();
}

} // namespace
