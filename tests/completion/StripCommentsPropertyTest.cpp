#include "DocumentScan.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <array>
#include <random>

namespace {

// The removal rules applied one removal at a time, each shifting the rest of the
// text: slow, but plainly what the rules say.
QString strippedOneRemovalAtATime(QString text)
{
    for (qsizetype from = 0;;) {
        const qsizetype percent = text.indexOf(QLatin1Char('%'), from);
        if (percent < 0)
            break;
        if (percent > 0 && text[percent - 1] == QLatin1Char('\\')) {
            from = percent + 1;
            if (from >= text.size())
                break;
            continue;
        }
        qsizetype end = percent + 1;
        while (end < text.size() && text[end] != QLatin1Char('\r') && text[end] != QLatin1Char('\n'))
            ++end;
        text.remove(percent, std::min(end + 1, text.size()) - percent);
        if (text.size() <= percent)
            break;
        from = percent;
    }
    for (qsizetype from = 0;;) {
        const qsizetype begin = DocumentScan::FindWord(text, u"\\if01", from);
        if (begin < 0)
            break;
        const qsizetype fi = DocumentScan::FindWord(text, u"\\fi", begin + 5);
        text.remove(begin, (fi < 0 ? text.size() : fi + 3) - begin);
        if (text.size() <= begin)
            break;
        from = begin;
    }
    for (qsizetype from = 0;;) {
        const qsizetype begin = DocumentScan::FindEnvironment(text, true, u"comment", from);
        if (begin < 0)
            break;
        qsizetype close = 0;
        DocumentScan::FindEnvironment(text, false, u"comment", begin, &close);
        text.remove(begin, close + 1 - begin);
        if (text.size() <= begin)
            break;
        from = begin;
    }
    return text;
}

QString randomTeX(std::mt19937 &random)
{
    static const std::array<const char *, 24> pieces = {
        "%",
        "\\%",
        "\n",
        "\r\n",
        "\\if01",
        "\\fi",
        "\\fix",
        " ",
        "a",
        "{",
        "}",
        ",",
        "\\",
        "\\end",
        "\\begin",
        "{comment}",
        "\\begin{comment}",
        "\\end{comment}",
        "{x, comment}",
        "\\label{a}",
        "\\ref{b}",
        "\\begin {comment",
        "\\end{x}",
        "%\\if01",
    };
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    std::uniform_int_distribution<int> length(0, 40);
    QString text;
    for (int i = length(random); i > 0; --i)
        text += QLatin1StringView(pieces[pick(random)]);
    return text;
}

TEST(StripCommentsProperty, MatchesTheRulesAppliedOneRemovalAtATime)
{
    std::mt19937 random(20261207);
    for (int round = 0; round < 20000; ++round) {
        const QString text = randomTeX(random);
        QString linear = text;
        DocumentScan::StripComments(linear);
        ASSERT_EQ(linear.toStdString(), strippedOneRemovalAtATime(text).toStdString()) << text.toStdString();
    }
}

TEST(StripCommentsProperty, AFollowedPositionStillPointsAtItsCharacter)
{
    std::mt19937 random(7);
    for (int round = 0; round < 5000; ++round) {
        const QString text = randomTeX(random);
        if (text.isEmpty())
            continue;
        const qsizetype original = std::uniform_int_distribution<qsizetype>(0, text.size() - 1)(random);
        qsizetype position = original;
        QString result = text;
        DocumentScan::StripComments(result, position);
        if (position >= 0) {
            ASSERT_EQ(result[position], text[original]) << text.toStdString();
        }
    }
}

// Texts of label commands cut and joined by "%" comments, with every kind of
// line end.
QString randomLabels(std::mt19937 &random)
{
    static const std::array<const char16_t *, 22> pieces = {
        u"%",       u"\\%",       u"\n",          u"\r\n", u"\u2029", u" ",         u"a",       u"{",
        u"}",       u"\\",        u"el",          u"{a}",  u"{b }",   u"\\lab",     u"\\label", u"\\ref",
        u"\\eqref", u"\\pageref", u"%\\label{c}", u"\\re", u"f{",     u"{\u3000d}",
    };
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    std::uniform_int_distribution<int> length(0, 30);
    QString text;
    for (int i = length(random); i > 0; --i)
        text += QStringView(pieces[pick(random)]);
    return text;
}

TEST(ScanLabelsProperty, ReadsAroundCommentsAsIfTheyWereCutOut)
{
    std::mt19937 random(20261208);
    for (int round = 0; round < 20000; ++round) {
        const QString text = randomLabels(random);
        const qsizetype caret = std::uniform_int_distribution<qsizetype>(0, text.size())(random);
        QString stripped = text;
        qsizetype skip = caret - 1;
        DocumentScan::StripComments(stripped, skip);
        ASSERT_EQ(DocumentScan::ScanLabels(text, caret), DocumentScan::ScanLabels(stripped, skip + 1))
            << text.toStdString() << " @" << caret;
    }
}

} // namespace
