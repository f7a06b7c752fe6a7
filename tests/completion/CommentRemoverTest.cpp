#include "CommentRemover.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

std::vector<std::pair<qsizetype, qsizetype>> asPairs(const std::vector<TextRange> &ranges)
{
    std::vector<std::pair<qsizetype, qsizetype>> pairs;
    for (const TextRange &range : ranges)
        pairs.emplace_back(range.from, range.to);
    return pairs;
}

TEST(CommentRemover, FindsEachPercentCommentWithItsLineEnd)
{
    using Ranges = std::vector<std::pair<qsizetype, qsizetype>>;
    // An escaped percent sign is text; of CR+LF only the CR belongs to the comment,
    // as TeX ends the line there; the last comment may end with the text.
    EXPECT_EQ(asPairs(CommentRemover::percentComments(u"a%b\nc\\%d%e\r\nf%")), (Ranges{{1, 4}, {8, 11}, {13, 14}}));
    EXPECT_EQ(asPairs(CommentRemover::percentComments(u"%\u2029%%x\u2029")), (Ranges{{0, 2}, {2, 6}}));
    EXPECT_TRUE(CommentRemover::percentComments(u"50\\% off\n").empty());
    EXPECT_TRUE(CommentRemover::percentComments(u"").empty());
}

TEST(CommentRemover, FollowsPositionsThroughAllThreePasses)
{
    const QString original = u"ab%c\nd\\if01 x\\fi e\\begin{comment}y\\end{comment}f"_qs;
    const auto stripped = [&original](qsizetype position) {
        QString text = original;
        CommentRemover::strip(text, position);
        EXPECT_EQ(text, u"abd ef"_qs);
        return position;
    };
    EXPECT_EQ(stripped(0), 0);
    EXPECT_EQ(stripped(1), 1);
    EXPECT_EQ(stripped(original.indexOf(u'c')), -1);
    EXPECT_EQ(stripped(original.indexOf(u'\n')), -1);
    EXPECT_EQ(stripped(original.indexOf(u'd')), 2);
    EXPECT_EQ(stripped(original.indexOf(u'x')), -1);
    EXPECT_EQ(stripped(original.indexOf(u" e")), 3);
    EXPECT_EQ(stripped(original.indexOf(u'y')), -1);
    EXPECT_EQ(stripped(original.size() - 1), 5);
    // The caret after the last character, and no position at all.
    EXPECT_EQ(stripped(original.size()), 6);
    EXPECT_EQ(stripped(-1), -1);
}

TEST(CommentRemover, LeavesATextWithoutCommentsAndItsSharedCopiesAlone)
{
    const QString original = u"\\section{本文} 100\\%"_qs;
    QString text = original;
    qsizetype position = 5;
    CommentRemover::strip(text, position);
    EXPECT_EQ(text, original);
    EXPECT_EQ(position, 5);

    // Stripping works on the text's own buffer, never on a copy that shares it.
    const QString shared = u"a%b\nc"_qs;
    QString copy = shared;
    qsizetype unused = -1;
    CommentRemover::strip(copy, unused);
    EXPECT_EQ(copy, u"ac"_qs);
    EXPECT_EQ(shared, u"a%b\nc"_qs);
}

} // namespace
