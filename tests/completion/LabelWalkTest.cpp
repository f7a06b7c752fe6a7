#include "LabelWalk.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

constexpr qsizetype NoSkip = -1;

std::optional<QStringList> walk(QStringView text, qsizetype skip = NoSkip, bool stopAtHiddenBlocks = true)
{
    return LabelWalk::collect(text, CommentRemover::percentComments(text), skip, stopAtHiddenBlocks);
}

TEST(LabelWalk, ReportsKeywordByKeywordEachLabelOnce)
{
    EXPECT_EQ(walk(u"\\pageref{p}\\eqref{e}\\ref{r}\\label{l}\\ref{l}\\pageref{r}"),
              (QStringList{u"l"_qs, u"r"_qs, u"e"_qs, u"p"_qs}));
    EXPECT_EQ(walk(u"\\labelsep{no} \\reflectbox{no} \\label{ 図 }"), QStringList{u"図"_qs});
    EXPECT_EQ(walk(u""), QStringList());
}

TEST(LabelWalk, StepsOverTheCommentsItIsGiven)
{
    const QStringView text = u"\\label{a} % \\label{x}\n\\ref{b}%\n";
    EXPECT_EQ(walk(text), (QStringList{u"a"_qs, u"b"_qs}));
    // Without the comments' places it reads them as text.
    EXPECT_EQ(LabelWalk::collect(text, {}, NoSkip, true), (QStringList{u"a"_qs, u"x"_qs, u"b"_qs}));
}

TEST(LabelWalk, GivesUpWhereACommandRunsIntoAComment)
{
    EXPECT_FALSE(walk(u"\\ref%c\n{x}").has_value());
    EXPECT_FALSE(walk(u"\\label{ab%c\ncd}").has_value());
    EXPECT_EQ(walk(u"\\label{a}%c\n\\ref{b}"), (QStringList{u"a"_qs, u"b"_qs}));
}

TEST(LabelWalk, GivesUpAtHiddenBlocksOnlyWhenAsked)
{
    const QStringView conditional = u"\\label{a}\\if01 \\label{b}\\fi";
    EXPECT_FALSE(walk(conditional).has_value());
    EXPECT_EQ(walk(conditional, NoSkip, false), (QStringList{u"a"_qs, u"b"_qs}));
    EXPECT_FALSE(walk(u"\\begin {x, comment}\\label{a}\\end{comment}").has_value());
    // Environment names are compared exactly, and "\\iffalse" is not "\\if01".
    EXPECT_EQ(walk(u"\\begin{Comment}\\label{a}\\end{Comment}\\iffalse"), QStringList{u"a"_qs});
}

TEST(LabelWalk, LeavesOutTheGroupBeingTyped)
{
    const QStringView text = u"\\label{done} \\ref{do \\label{more}";
    const qsizetype typing = text.indexOf(u"{do ");
    EXPECT_EQ(walk(text, typing), (QStringList{u"done"_qs, u"more"_qs}));
    EXPECT_EQ(walk(text), (QStringList{u"done"_qs, u"more"_qs, u"do \\label{more}"_qs}));
}

} // namespace
