#include "TexSyntax.h"

#include <QString>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Kind = TexSyntax::Kind;
using State = TexSyntax::State;
using Mode = State::Mode;

constexpr Kind Cs = Kind::ControlSequence;
constexpr Kind Comment = Kind::Comment;
constexpr Kind Math = Kind::Math;
constexpr Kind Env = Kind::Environment;
constexpr Kind Ref = Kind::Reference;
constexpr Kind Magic = Kind::Magic;

using Piece = std::pair<Kind, QString>;

struct Case
{
    QString line;
    State start;
    std::vector<Piece> pieces;
    State end;
};

State env(const char16_t *name)
{
    return TexSyntax::stateAfterBegin(QStringView(name));
}

// The spans as the text each one covers, so that a span one column off fails.
std::vector<Piece> piecesOf(const QString &line, const std::vector<TexSyntax::Span> &spans)
{
    std::vector<Piece> pieces;
    for (const TexSyntax::Span &span : spans)
        pieces.emplace_back(span.kind, line.mid(span.start, span.length));
    return pieces;
}

void expectCases(const std::vector<Case> &cases)
{
    for (const Case &c : cases) {
        std::vector<TexSyntax::Span> spans;
        const State end = TexSyntax::scanLine(c.line, c.start, &spans);
        EXPECT_EQ(piecesOf(c.line, spans), c.pieces) << c.line.toStdString();
        EXPECT_EQ(end, c.end) << c.line.toStdString();
        EXPECT_EQ(TexSyntax::scanLine(c.line, c.start, nullptr), c.end) << c.line.toStdString();
    }
}

} // namespace

TEST(TexSyntaxTest, ControlSequencesAndComments)
{
    expectCases({
        {u"\\section{はじめに}"_qs, {}, {{Cs, u"\\section"_qs}}, {}},
        {u"本文\\\\ 改行\\%と\\ 空白"_qs, {}, {{Cs, u"\\\\"_qs}, {Cs, u"\\%"_qs}, {Cs, u"\\ "_qs}}, {}},
        {u"値は50\\%である % 注釈：日本語の $コメント$"_qs,
         {},
         {{Cs, u"\\%"_qs}, {Comment, u"% 注釈：日本語の $コメント$"_qs}},
         {}},
        {u"価格は\\$100 \\\\$x$"_qs, {}, {{Cs, u"\\$"_qs}, {Cs, u"\\\\"_qs}, {Math, u"$x$"_qs}}, {}},
        {u"末尾\\"_qs, {}, {{Cs, u"\\"_qs}}, {}},
        // Japanese characters are letters of a control word, as pTeX reads them.
        {u"\\TeXは \\item、"_qs, {}, {{Cs, u"\\TeXは"_qs}, {Cs, u"\\item"_qs}}, {}},
        {u"%#!platex paper.tex"_qs, {}, {{Magic, u"%#!platex paper.tex"_qs}}, {}},
        {u"  % !TeX program = platex"_qs, {}, {{Magic, u"% !TeX program = platex"_qs}}, {}},
        {u"文 %#! not magic"_qs, {}, {{Comment, u"%#! not magic"_qs}}, {}},
        {u"\\verb|%$\\|と\\verb*+{+"_qs, {}, {{Cs, u"\\verb"_qs}, {Cs, u"\\verb*"_qs}}, {}},
        {u"\\verb"_qs, {}, {{Cs, u"\\verb"_qs}}, {}},
    });
}

TEST(TexSyntaxTest, MathCarriesAcrossLinesUntilItCloses)
{
    const State inlineMath{Mode::InlineMath, 0};
    const State display{Mode::DisplayMath, 0};
    expectCases({
        {u"式 $x^2 + \\alpha$ と $$"_qs, {}, {{Math, u"$x^2 + \\alpha$"_qs}, {Math, u"$$"_qs}}, display},
        {u"a = b $ c $$ 後"_qs, display, {{Math, u"a = b $ c $$"_qs}}, {}},
        {u"$a$$b$"_qs, {}, {{Math, u"$a$$b$"_qs}}, {}},
        {u"文 $a + b"_qs, {}, {{Math, u"$a + b"_qs}}, inlineMath},
        {u"x % y"_qs, inlineMath, {{Math, u"x "_qs}, {Comment, u"% y"_qs}}, inlineMath},
        {u"\\(a\\) と \\[b"_qs, {}, {{Math, u"\\(a\\)"_qs}, {Math, u"\\[b"_qs}}, {Mode::BracketMath, 0}},
        {u"c\\] 後 \\)"_qs, {Mode::BracketMath, 0}, {{Math, u"c\\]"_qs}, {Cs, u"\\)"_qs}}, {}},
        // A blank line ends a paragraph, and TeX ends an unclosed $ there.
        {u""_qs, inlineMath, {}, {}},
        {u" \t"_qs, display, {}, {}},
        {u"　"_qs, inlineMath, {{Math, u"　"_qs}}, inlineMath},
    });
}

TEST(TexSyntaxTest, EnvironmentsAndTheirArguments)
{
    expectCases({
        {u"\\begin{equation}"_qs, {}, {{Cs, u"\\begin{"_qs}, {Env, u"equation"_qs}, {Cs, u"}"_qs}}, env(u"equation")},
        {u"E = mc^2 \\label{eq:アインシュタイン} \\end{equation} 後"_qs,
         env(u"equation"),
         {{Math, u"E = mc^2 \\label{"_qs},
          {Ref, u"eq:アインシュタイン"_qs},
          {Math, u"} "_qs},
          {Cs, u"\\end{"_qs},
          {Env, u"equation"_qs},
          {Cs, u"}"_qs}},
         {}},
        // Only the environment's own \end closes it; inner ones nest.
        {u"\\end{equation}"_qs,
         env(u"align*"),
         {{Math, u"\\end{"_qs}, {Env, u"equation"_qs}, {Math, u"}"_qs}},
         env(u"align*")},
        {u"\\begin{split} a \\end{split}"_qs,
         env(u"gather"),
         {{Math, u"\\begin{"_qs}, {Env, u"split"_qs}, {Math, u"} a \\end{"_qs}, {Env, u"split"_qs}, {Math, u"}"_qs}},
         env(u"gather")},
        {u""_qs, env(u"multline*"), {}, env(u"multline*")},
        {u"\\begin{itemize}"_qs, {}, {{Cs, u"\\begin{"_qs}, {Env, u"itemize"_qs}, {Cs, u"}"_qs}}, {}},
        {u"\\begin {displaymath}x"_qs,
         {},
         {{Cs, u"\\begin {"_qs}, {Env, u"displaymath"_qs}, {Cs, u"}"_qs}, {Math, u"x"_qs}},
         env(u"displaymath")},
        {u"\\begin{eqnarray"_qs, {}, {{Cs, u"\\begin{"_qs}, {Env, u"eqnarray"_qs}}, env(u"eqnarray")},
        {u"$\\begin{equation}$"_qs, {}, {{Math, u"$\\begin{"_qs}, {Env, u"equation"_qs}, {Math, u"}$"_qs}}, {}},
        {u"\\ref{fig:図1}と\\cite[p.~3]{knuth84}\\eqref {未完"_qs,
         {},
         {{Cs, u"\\ref"_qs},
          {Ref, u"fig:図1"_qs},
          {Cs, u"\\cite"_qs},
          {Ref, u"knuth84"_qs},
          {Cs, u"\\eqref"_qs},
          {Ref, u"未完"_qs}},
         {}},
        {u"\\label"_qs, {}, {{Cs, u"\\label"_qs}}, {}},
    });
}

TEST(TexSyntaxTest, VerbatimAndCommentBodiesAreReadAsTheyStand)
{
    expectCases({
        {u"\\begin{verbatim}$%"_qs, {}, {{Cs, u"\\begin{"_qs}, {Env, u"verbatim"_qs}, {Cs, u"}"_qs}}, env(u"verbatim")},
        {u"\\section{x} $ % \\end{verbatim*} \\end{verbatim}$a$"_qs,
         env(u"verbatim"),
         {{Cs, u"\\end{"_qs}, {Env, u"verbatim"_qs}, {Cs, u"}"_qs}, {Math, u"$a$"_qs}},
         {}},
        {u"\\begin{comment}消した$文"_qs,
         {},
         {{Cs, u"\\begin{"_qs}, {Env, u"comment"_qs}, {Cs, u"}"_qs}, {Comment, u"消した$文"_qs}},
         env(u"comment")},
        {u""_qs, env(u"comment"), {}, env(u"comment")},
        {u"残り\\end{comment}"_qs,
         env(u"comment"),
         {{Comment, u"残り"_qs}, {Cs, u"\\end{"_qs}, {Env, u"comment"_qs}, {Cs, u"}"_qs}},
         {}},
    });
}

TEST(TexSyntaxTest, ColumnsHoldOnWideAndAstralCharacters)
{
    // 𠮷 lies outside the BMP: two UTF-16 units, one character.
    const QString line = u"\\𠮷野家 $𠮷$　\\section"_qs;
    std::vector<TexSyntax::Span> spans;
    TexSyntax::scanLine(line, {}, &spans);
    ASSERT_EQ(spans.size(), 3u);
    EXPECT_EQ(spans[0], (TexSyntax::Span{0, 5, Cs}));
    EXPECT_EQ(spans[1], (TexSyntax::Span{6, 4, Math}));
    EXPECT_EQ(spans[2], (TexSyntax::Span{11, 8, Cs}));

    // A control symbol that is a surrogate pair takes both of its units.
    spans.clear();
    TexSyntax::scanLine(u"\\😀x"_qs, {}, &spans);
    ASSERT_EQ(spans.size(), 1u);
    EXPECT_EQ(spans[0], (TexSyntax::Span{0, 3, Cs}));
}

TEST(TexSyntaxTest, StatesRoundTripThroughNumbers)
{
    const std::vector<State> states{{},
                                    {Mode::InlineMath, 0},
                                    {Mode::DisplayMath, 0},
                                    {Mode::ParenMath, 0},
                                    {Mode::BracketMath, 0},
                                    env(u"equation"),
                                    env(u"alignat*"),
                                    env(u"lstlisting"),
                                    env(u"comment")};
    for (const State &state : states) {
        EXPECT_GE(state.toInt(), 0);
        EXPECT_LT(state.toInt(), 1 << 15);
        EXPECT_EQ(State::fromInt(state.toInt()), state);
    }
    EXPECT_NE(env(u"equation"), env(u"equation*"));
    EXPECT_EQ(env(u"itemize"), State{});
    for (const int nonsense : {-1, 1 << 14, (3 << 3) | 1, (200 << 3) | 5, (16 << 3) | 5})
        EXPECT_EQ(State::fromInt(nonsense), State{}) << nonsense;
}
