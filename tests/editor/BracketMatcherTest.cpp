#include "BracketMatcher.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

using Position = BracketMatcher::Position;
using Match = BracketMatcher::Match;

std::optional<Match> matchIn(const QStringList &lines, Position caret)
{
    return BracketMatcher::match([&](int line) { return lines.at(line); }, static_cast<int>(lines.size()), caret);
}

} // namespace

TEST(BracketMatcherTest, PartnersOnOneLineAndAcrossLines)
{
    const QStringList lines{u"\\frac{a}{b[1]（全角）(x)}"_qs, u"\\begin{itemize"_qs, u"  \\item 日本語}"_qs};
    // Before the caret first, then after it.
    EXPECT_EQ(matchIn(lines, {0, 6}), (Match{{0, 5}, {0, 7}}));
    EXPECT_EQ(matchIn(lines, {0, 5}), (Match{{0, 5}, {0, 7}}));
    EXPECT_EQ(matchIn(lines, {0, 8}), (Match{{0, 7}, {0, 5}}));
    // Only brackets of the same kind nest; full-width parentheses are text.
    EXPECT_EQ(matchIn(lines, {0, 9}), (Match{{0, 8}, {0, 20}}));
    EXPECT_EQ(matchIn(lines, {0, 11}), (Match{{0, 10}, {0, 12}}));
    EXPECT_EQ(matchIn(lines, {0, 18}), (Match{{0, 17}, {0, 19}}));
    EXPECT_EQ(matchIn(lines, {1, 7}), (Match{{1, 6}, {2, 11}}));
    EXPECT_EQ(matchIn(lines, {2, 12}), (Match{{2, 11}, {1, 6}}));
    EXPECT_EQ(matchIn(lines, {0, 16}), std::nullopt);
    EXPECT_EQ(matchIn(lines, {3, 0}), std::nullopt);
}

TEST(BracketMatcherTest, EscapedAndCommentedBracketsDoNotCount)
{
    const QStringList lines{u"\\{ a { b \\} c % } {"_qs, u"% {"_qs, u"} \\\\}"_qs};
    EXPECT_EQ(BracketMatcher::bracketColumns(lines[0]), (std::vector<int>{5}));
    EXPECT_EQ(BracketMatcher::bracketColumns(lines[2]), (std::vector<int>{0, 4}));
    // The escaped brace and the commented one are skipped on the way.
    EXPECT_EQ(matchIn(lines, {0, 6}), (Match{{0, 5}, {2, 0}}));
    // A bracket in a comment or an escaped one has no mark of its own.
    EXPECT_EQ(matchIn(lines, {0, 17}), std::nullopt);
    EXPECT_EQ(matchIn(lines, {0, 1}), std::nullopt);
    EXPECT_EQ(matchIn(lines, {1, 3}), std::nullopt);
    // After a doubled backslash the brace counts again, and it has no partner.
    EXPECT_EQ(matchIn(lines, {2, 5}), std::nullopt);
}

TEST(BracketMatcherTest, PartnerFurtherThanTheLimitIsNotFound)
{
    QStringList lines{u"{"_qs};
    for (int i = 0; i < BracketMatcher::MaxLineDistance - 1; ++i)
        lines.append(u"本文"_qs);
    lines.append(u"}"_qs);
    EXPECT_EQ(matchIn(lines, {0, 1}), (Match{{0, 0}, {BracketMatcher::MaxLineDistance, 0}}));
    EXPECT_EQ(matchIn(lines, {BracketMatcher::MaxLineDistance, 1}),
              (Match{{BracketMatcher::MaxLineDistance, 0}, {0, 0}}));
    lines.insert(1, u"本文"_qs);
    EXPECT_EQ(matchIn(lines, {0, 1}), std::nullopt);
    EXPECT_EQ(matchIn(lines, {BracketMatcher::MaxLineDistance + 1, 0}), std::nullopt);
}
