#include "DocumentScan.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

// The letters and digits of a case's text, enough to tell the cases apart in test
// names without the backslashes, braces and line breaks that test runners mangle.
std::string caseName(const QString &text)
{
    std::string name;
    for (const QChar c : text) {
        if (c.unicode() < 128 && c.isLetterOrNumber())
            name += static_cast<char>(c.unicode());
    }
    return name;
}

struct ContextCase
{
    QString text;
    QString word;
    int paramIndex;
    bool optional;
};

void PrintTo(const ContextCase &c, std::ostream *out)
{
    *out << caseName(c.text);
}

class ParseContextCases : public testing::TestWithParam<ContextCase>
{
};

TEST_P(ParseContextCases, FindsTheArgumentBeforeTheCaret)
{
    const ContextCase &c = GetParam();
    const DocumentScan::Context context = DocumentScan::ParseContext(c.text);
    EXPECT_EQ(context.word.toStdString(), c.word.toStdString()) << c.text.toStdString();
    EXPECT_EQ(context.paramIndex, c.paramIndex) << c.text.toStdString();
    EXPECT_EQ(context.optional, c.optional) << c.text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseContextCases,
    testing::Values(
        ContextCase{u"\\section{"_qs, u"section"_qs, 1, false},
        ContextCase{u"\\section[Short]{"_qs, u"section"_qs, 1, false},
        ContextCase{u"\\cite{a,"_qs, u"cite"_qs, 1, false}, ContextCase{u"\\foo{a}{b}{"_qs, u"foo"_qs, 3, false},
        ContextCase{u"\\foo{a} {"_qs, u"foo"_qs, 2, false}, ContextCase{u"\\foo{a}\n{"_qs, u"foo"_qs, 2, false},
        ContextCase{u"\\foo{a}["_qs, u"foo"_qs, 0, true}, ContextCase{u"\\foo[x]{"_qs, u"foo"_qs, 1, false},
        ContextCase{u"\\foo{a} x{"_qs, u"foo"_qs, 0, false},
        ContextCase{u"\\section{\\emph{a}"_qs, u"section"_qs, 1, false},
        ContextCase{u"\\emph{a}"_qs, u"emph"_qs, 0, false}, ContextCase{u"\\{"_qs, QString(), 0, false},
        ContextCase{u"\\begin{"_qs, u"begin"_qs, 1, false}, ContextCase{u"\\end {"_qs, u"end"_qs, 1, false},
        ContextCase{u"no command {"_qs, QString(), 0, false}, ContextCase{u"text \\"_qs, QString(), 0, false},
        ContextCase{u"\\usepackage[dvipdfmx,"_qs, u"usepackage"_qs, 0, true},
        ContextCase{u"\\ref{a} and \\\\{"_qs, u"\\"_qs, 1, false},
        ContextCase{u"\\includegraphics[width=1cm]{"_qs, u"includegraphics"_qs, 1, false},
        ContextCase{u"\\frac{1}{\\sqrt{2}}{"_qs, u"frac"_qs, 3, false},
        // The editor's raw text ends its lines with U+2029.
        ContextCase{u"\\foo{a}\u2029{"_qs, u"foo"_qs, 2, false}));

TEST(FindWord, NeedsADelimiterOrTheEndAfterTheKeyword)
{
    EXPECT_EQ(DocumentScan::FindWord(u"\\fix \\fi", u"\\fi", 0), 5);
    EXPECT_EQ(DocumentScan::FindWord(u"\\fi{x}", u"\\fi", 0), 0);
    EXPECT_EQ(DocumentScan::FindWord(u"a\\fi\\fi", u"\\fi", 2), 4);
    EXPECT_EQ(DocumentScan::FindWord(u"\\fix", u"\\fi", 0), -1);
    EXPECT_EQ(DocumentScan::FindWord(u"\\fi", u"\\fi", 3), -1);
    EXPECT_EQ(DocumentScan::FindWord(u"\\fi", u"\\fi", -1), -1);
}

TEST(FindEnvironment, MatchesAnyNameOfTheListAndReportsTheClosingBrace)
{
    qsizetype close = 0;
    EXPECT_EQ(DocumentScan::FindEnvironment(u"x\\begin {foo, comment} y", true, u"comment", 0, &close), 1);
    EXPECT_EQ(close, 21);
    EXPECT_EQ(DocumentScan::FindEnvironment(u"\\begin{Comment}\\begin{comment}", true, u"comment", 0, &close), 15);
    EXPECT_EQ(DocumentScan::FindEnvironment(u"\\end{comment", false, u"comment", 0, &close), 0);
    EXPECT_EQ(close, 11);
    EXPECT_EQ(DocumentScan::FindEnvironment(u"\\beginx\\begin{,,comment}", true, u"comment", 0, &close), 7);
    EXPECT_EQ(DocumentScan::FindEnvironment(u"\\begin{a, ,comment}", true, u"comment", 0, &close), -1);
    EXPECT_EQ(close, 18);
    EXPECT_EQ(DocumentScan::FindEnvironment(u"\\begin{", true, u"comment", 0, &close), -1);
    EXPECT_EQ(DocumentScan::FindEnvironment(u"\\begin  ", true, u"comment", 0, &close), -1);
}

struct StripCase
{
    QString text;
    QString expected;
};

void PrintTo(const StripCase &c, std::ostream *out)
{
    *out << caseName(c.text);
}

class StripCommentsCases : public testing::TestWithParam<StripCase>
{
};

TEST_P(StripCommentsCases, RemovesWhatTeXDoesNotRead)
{
    QString text = GetParam().text;
    DocumentScan::StripComments(text);
    EXPECT_EQ(text.toStdString(), GetParam().expected.toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StripCommentsCases,
    testing::Values(StripCase{u"a%b\nc"_qs, u"ac"_qs}, StripCase{u"a\\%b\nc"_qs, u"a\\%b\nc"_qs},
                    StripCase{u"a%1\n%2\r\nb%"_qs, u"a\nb"_qs}, StripCase{u"x\\if01 y \\fix \\fi z"_qs, u"x z"_qs},
                    StripCase{u"x\\if01 y"_qs, u"x"_qs}, StripCase{u"a\\begin{comment}b\\end{comment}c"_qs, u"ac"_qs},
                    StripCase{u"a\\begin{foo, comment}b\\end {comment}c\\begin{comment}d"_qs, u"ac"_qs},
                    StripCase{u"a\\begin{Comment}b\\end{Comment}"_qs, u"a\\begin{Comment}b\\end{Comment}"_qs}));

struct LabelCase
{
    QString text;
    qsizetype caret;
    QStringList labels;
};

void PrintTo(const LabelCase &c, std::ostream *out)
{
    *out << caseName(c.text) << '@' << c.caret;
}

class ScanLabelsCases : public testing::TestWithParam<LabelCase>
{
};

TEST_P(ScanLabelsCases, CollectsTheLabelsInUse)
{
    const LabelCase &c = GetParam();
    EXPECT_EQ(DocumentScan::ScanLabels(c.text, c.caret).join(u'|').toStdString(), c.labels.join(u'|').toStdString())
        << c.text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ScanLabelsCases,
    testing::Values(
        LabelCase{u"\\ref{fig:a} \\label{fig:a} \\eqref{ eq1 } \\pageref{p}"_qs, 0, {u"fig:a"_qs, u"eq1"_qs, u"p"_qs}},
        LabelCase{u"\\label{ab\ncd}"_qs, 0, {u"ab"_qs}},
        LabelCase{u"\\ref{} \\label{a{b}c} \\label{\u3000x\u3000}"_qs, 0, {u"a{b}c"_qs, u"x"_qs}},
        LabelCase{u"\\label \n {spaced} \\labelsep{no} \\reflectbox{no}"_qs, 0, {u"spaced"_qs}},
        LabelCase{u"% \\label{a}\n50\\% \\label{b}"_qs, 0, {u"b"_qs}},
        LabelCase{u"\\if01 \\label{a}\\fix \\fi \\label{b}"_qs, 0, {u"b"_qs}},
        LabelCase{u"\\label{a}\\if01 \\label{b}"_qs, 0, {u"a"_qs}},
        LabelCase{
            u"\\begin{foo, comment}\\label{a}\\end{comment}\\begin{Comment}\\label{b}\\end{Comment}"_qs, 0, {u"b"_qs}},
        LabelCase{u"\\label{a}\\begin{comment}\\label{b}\\end{x}\\label{c}"_qs, 0, {u"a"_qs}},
        LabelCase{u"\\label{"_qs, 7, {}}, LabelCase{u"\\label{done} \\ref{do"_qs, 18, {u"done"_qs}},
        // Comments before the caret shift the stripped copy: the group being typed is
        // still the one left out, and the finished label is still offered.
        LabelCase{u"%1234567890\n\\label{done} \\ref{do} rest"_qs, 30, {u"done"_qs}},
        LabelCase{u"%1234567890\n\\ref{typing} \\label{done}"_qs, 17, {u"done"_qs}},
        // Taking a comment out joins what stood before it to the next line.
        LabelCase{u"\\ref%c\n{x}"_qs, 0, {u"x"_qs}}, LabelCase{u"\\label{ab%c\ncd}"_qs, 0, {u"abcd"_qs}},
        LabelCase{u"\\lab%c\nel{y} \\ref{z}"_qs, 0, {u"y"_qs, u"z"_qs}},
        LabelCase{u"\\if0%\n1 \\label{a}\\fi \\label{b}"_qs, 0, {u"b"_qs}},
        LabelCase{u"\\label{a} % \\label{x}\n\\ref{b}%\n"_qs, 0, {u"a"_qs, u"b"_qs}},
        // The editor's raw text ends its lines with U+2029.
        LabelCase{u"\\label{a\u2029b} %\\label{c}\u2029\\ref{d}"_qs, 0, {u"a"_qs, u"d"_qs}}));

TEST(ScanLabels, KeepsThousandsOfLabelsInTheOrderOfTheirKeywords)
{
    // Labels referred to before they are defined are still reported with the
    // labels, in the order of their definitions; each label once.
    QString text;
    QStringList expected;
    for (int i = 2999; i >= 0; --i)
        text += QStringLiteral("\\ref{r%1} ").arg(i);
    for (int i = 0; i < 3000; ++i) {
        text += QStringLiteral("\\label{r%1}\n\\eqref{e%2} \\ref{r%1}\n").arg(2999 - i).arg(i % 7);
        expected.append(QStringLiteral("r%1").arg(2999 - i));
    }
    for (int i = 0; i < 7; ++i)
        expected.append(QStringLiteral("e%1").arg(i));
    EXPECT_EQ(DocumentScan::ScanLabels(text, 0), expected);
}

TEST(StrippedPosition, FollowsACharacterOrReportsItsRemoval)
{
    QString text = u"a%bc\nd{e"_qs;
    qsizetype kept = 6;
    DocumentScan::StripComments(text, kept);
    EXPECT_EQ(text, u"ad{e"_qs);
    EXPECT_EQ(kept, 2);
    text = u"a%bc\nd{e"_qs;
    qsizetype removed = 2;
    DocumentScan::StripComments(text, removed);
    EXPECT_EQ(removed, -1);
}

} // namespace
