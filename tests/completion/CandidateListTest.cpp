#include "CandidateList.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

CompletionDictionary dictionaryOf(const QByteArray &functions, const QByteArray &environments = {})
{
    QTemporaryDir directory;
    QFile functionsFile(directory.filePath(QStringLiteral("f.dic")));
    EXPECT_TRUE(functionsFile.open(QIODevice::WriteOnly));
    functionsFile.write(functions);
    functionsFile.close();
    QFile environmentsFile(directory.filePath(QStringLiteral("e.dic")));
    EXPECT_TRUE(environmentsFile.open(QIODevice::WriteOnly));
    environmentsFile.write(environments);
    environmentsFile.close();
    CompletionDictionary dictionary;
    dictionary.LoadFunctions(functionsFile.fileName());
    dictionary.LoadEnvironments(environmentsFile.fileName());
    return dictionary;
}

DocumentScan::Context context(const QString &word, int paramIndex, bool optional = false)
{
    return {word, paramIndex, optional};
}

std::optional<QStringList> noLabels(ArgumentKind::Kind)
{
    return std::nullopt;
}

TEST(CandidateList, CommandListHoldsTheFourteenFixedItemsSortedWithoutCase)
{
    const QStringList items = CandidateList::commandItems(dictionaryOf("define Zeta\ndefine alpha\ndefine Ref\n"));
    ASSERT_EQ(items.size(), 17);
    EXPECT_EQ(items.first(), QStringLiteral("\\ "));
    EXPECT_EQ(items.mid(1, 2), QStringList({QStringLiteral("\\#"), QStringLiteral("\\alpha")}));
    EXPECT_EQ(items.last(), QStringLiteral("\\Zeta"));
    // Duplicates stay, in a stable order: the dictionary's \Ref before the fixed \ref.
    const qsizetype ref = items.indexOf(QStringLiteral("\\Ref"));
    EXPECT_EQ(items.at(ref + 1), QStringLiteral("\\ref"));
    EXPECT_EQ(CandidateList::commandItems(CompletionDictionary()).size(), 14);
}

TEST(CandidateList, ArgumentListsComeFromEnvironmentsLabelsAndTheDictionary)
{
    const CompletionDictionary dictionary = dictionaryOf(
        "define foo\nset foo.param.count 2\nadd foo.param.1 b\nadd foo.param.1 A\nset foo.subparam 1\n"
        "define bar\nset bar.subparam 1\nset bar.param.count 1\n",
        "table\nfigure\nfigure\n");
    // The document's own lists come sorted from where they are kept.
    const auto labels = [](ArgumentKind::Kind kind) -> std::optional<QStringList> {
        if (kind == ArgumentKind::Label)
            return QStringList({QStringLiteral("a"), QStringLiteral("z")});
        return std::nullopt;
    };

    EXPECT_EQ(CandidateList::argumentItems(dictionary, context(QStringLiteral("begin"), 1), noLabels),
              QStringList({QStringLiteral("figure"), QStringLiteral("figure"), QStringLiteral("table")}));
    EXPECT_EQ(CandidateList::argumentItems(dictionary, context(QStringLiteral("ref"), 1), labels),
              QStringList({QStringLiteral("a"), QStringLiteral("z")}));
    EXPECT_EQ(CandidateList::argumentItems(dictionary, context(QStringLiteral("cref*"), 1), labels),
              QStringList({QStringLiteral("a"), QStringLiteral("z")}));
    EXPECT_EQ(CandidateList::argumentItems(dictionary, context(QStringLiteral("ref"), 2), labels), std::nullopt);
    EXPECT_EQ(CandidateList::argumentItems(dictionary, context(QStringLiteral("cite"), 1), labels), std::nullopt);
    EXPECT_EQ(CandidateList::argumentItems(dictionary, context(QStringLiteral("pageref"), 1), noLabels), std::nullopt);
    EXPECT_EQ(CandidateList::argumentItems(dictionary, context(QStringLiteral("foo"), 1), noLabels),
              QStringList({QStringLiteral("A"), QStringLiteral("b")}));
    EXPECT_EQ(CandidateList::argumentItems(dictionary, context(QStringLiteral("foo"), 2), noLabels), std::nullopt);
    EXPECT_EQ(CandidateList::argumentItems(dictionary, context(QStringLiteral("foo"), 3), noLabels), std::nullopt);
    EXPECT_EQ(CandidateList::argumentItems(dictionary, context(QStringLiteral("foo"), 0, true), noLabels),
              std::nullopt);
    EXPECT_EQ(CandidateList::argumentItems(dictionary, context(QStringLiteral("bar"), 0, true), noLabels),
              std::nullopt);
    EXPECT_EQ(CandidateList::argumentItems(dictionary, context(QStringLiteral("Foo"), 1), noLabels), std::nullopt);
    EXPECT_EQ(CandidateList::argumentItems(dictionary, context(QString(), 1), noLabels), std::nullopt);
    EXPECT_EQ(CandidateList::argumentItems(dictionary, context(QStringLiteral("begin"), 2), noLabels), std::nullopt);
}

TEST(CandidateList, EmptyEnvironmentListStillOpens)
{
    EXPECT_EQ(CandidateList::argumentItems(CompletionDictionary(), context(QStringLiteral("end"), 1), noLabels),
              QStringList());
}

TEST(CandidateList, PrefixMatchFoldsOnlyAsciiCase)
{
    EXPECT_EQ(CandidateList::MatchPrefix(u"\\sec", u"\\section"), CandidateList::ExactMatch);
    EXPECT_EQ(CandidateList::MatchPrefix(u"\\SEC", u"\\section"), CandidateList::CaseIgnoringMatch);
    EXPECT_EQ(CandidateList::MatchPrefix(u"\\sections", u"\\section"), CandidateList::NoMatch);
    EXPECT_EQ(CandidateList::MatchPrefix(u"", u""), CandidateList::ExactMatch);
    EXPECT_EQ(CandidateList::MatchPrefix(u"", u"x"), CandidateList::NoMatch);
    EXPECT_EQ(CandidateList::MatchPrefix(u"\u00c9", u"\u00e9"), CandidateList::NoMatch);
}

TEST(CandidateList, BestMatchPrefersTheFirstExactRow)
{
    const QStringList items = {QStringLiteral("\\Section"), QStringLiteral("\\section"), QStringLiteral("\\SECTION")};
    EXPECT_EQ(CandidateList::bestMatch(items, u"\\sec"), 1);
    EXPECT_EQ(CandidateList::bestMatch(items, u"\\SECT"), 2);
    EXPECT_EQ(CandidateList::bestMatch(items, u"\\sEc"), 0);
    EXPECT_EQ(CandidateList::bestMatch(items, u"\\x"), -1);
    EXPECT_EQ(CandidateList::bestMatch(items, u""), -1);
}

TEST(CandidateList, PagesAndStepsStopAtTheEnds)
{
    EXPECT_EQ(CandidateList::pageTarget(0, 30, true), 11);
    EXPECT_EQ(CandidateList::pageTarget(25, 30, true), 29);
    EXPECT_EQ(CandidateList::pageTarget(5, 30, false), 0);
    EXPECT_EQ(CandidateList::pageTarget(-1, 30, false), 0);
    EXPECT_EQ(CandidateList::stepTarget(-1, 30, false), 0);
    EXPECT_EQ(CandidateList::stepTarget(29, 30, true), -1);
    EXPECT_EQ(CandidateList::stepTarget(0, 30, false), -1);
    EXPECT_EQ(CandidateList::stepTarget(3, 30, true), 4);
}

} // namespace
