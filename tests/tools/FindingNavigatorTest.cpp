#include "FindingNavigator.h"

#include <gtest/gtest.h>

namespace {

using Kind = OutputFinding::Kind;

OutputFinding finding(Kind kind, int line)
{
    OutputFinding result;
    result.kind = kind;
    result.file = line > 0 ? QStringLiteral("/doc/paper.tex") : QString();
    result.line = line;
    return result;
}

TEST(FindingNavigatorTest, ErrorsComeFirstThenWarningsAndBadBoxesInTheOrderOfTheOutputWrappingAround)
{
    const std::vector<OutputFinding> findings = {
        finding(Kind::Warning, 3), finding(Kind::Error, 9),
        finding(Kind::BadBox, 5),  finding(Kind::Error, 0), // a driver's error without a line is skipped
        finding(Kind::Error, 2),
    };
    FindingNavigator navigator;
    std::vector<std::size_t> forward;
    for (int step = 0; step < 5; ++step)
        forward.push_back(navigator.next(findings).value());
    EXPECT_EQ(forward, (std::vector<std::size_t>{1, 4, 0, 2, 1}));

    std::vector<std::size_t> backward;
    for (int step = 0; step < 4; ++step)
        backward.push_back(navigator.previous(findings).value());
    EXPECT_EQ(backward, (std::vector<std::size_t>{2, 0, 4, 1}));

    // A new run starts again at the first error with a line; backwards at the last finding.
    navigator.restart();
    EXPECT_EQ(navigator.next(findings), 1u);
    navigator.restart();
    EXPECT_EQ(navigator.previous(findings), 2u);
}

TEST(FindingNavigatorTest, AFindingChosenElsewhereIsWhereStepsGoOnAndNewFindingsJoinTheOrder)
{
    std::vector<OutputFinding> findings = {finding(Kind::Warning, 3), finding(Kind::Error, 9)};
    FindingNavigator navigator;
    navigator.setCurrent(0);
    EXPECT_EQ(navigator.next(findings), 1u); // wraps from the last warning to the first error

    // The next tool of a chain adds a warning after the first one.
    findings.push_back(finding(Kind::Warning, 4));
    EXPECT_EQ(navigator.next(findings), 0u);
    EXPECT_EQ(navigator.next(findings), 2u);
}

TEST(FindingNavigatorTest, WithoutAnyLineThereIsNowhereToGo)
{
    FindingNavigator navigator;
    EXPECT_EQ(navigator.next({}), std::nullopt);
    EXPECT_EQ(navigator.previous({finding(Kind::Error, 0), finding(Kind::Warning, 0)}), std::nullopt);
}

} // namespace
