#include "CFunctionEntry.h"
#include "CompletionDictionary.h"
#include "DictionaryLocation.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// One line per entry: "name p1=[a|b] p2=[] s=[x]"; "s" only when the entry has an
// optional-argument list.
QString describe(const CompletionDictionary &dictionary)
{
    QStringList lines;
    for (const CFunctionEntry &entry : dictionary.functions()) {
        QString line = entry.name();
        for (int k = 0; k < entry.paramCount(); ++k)
            line +=
                QStringLiteral(" p%1=[%2]").arg(k + 1).arg(entry.paramLists()[static_cast<std::size_t>(k)].join(u'|'));
        if (entry.subparamList())
            line += QStringLiteral(" s=[%1]").arg(entry.subparamList()->join(u'|'));
        lines.append(line);
    }
    return lines.join(u'\n');
}

CompletionDictionary loadFunctions(const QByteArray &text)
{
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("TeXFunctions.dic"));
    writeFile(path, text);
    CompletionDictionary dictionary;
    dictionary.LoadFunctions(path);
    return dictionary;
}

struct LanguageCase
{
    const char *what;
    QByteArray text;
    QString expected;
};

void PrintTo(const LanguageCase &c, std::ostream *out)
{
    *out << c.what;
}

class DictionaryLanguage : public testing::TestWithParam<LanguageCase>
{
};

TEST_P(DictionaryLanguage, ReadsStatementsInFileOrder)
{
    EXPECT_EQ(describe(loadFunctions(GetParam().text)).toStdString(), GetParam().expected.toStdString())
        << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Statements, DictionaryLanguage,
    testing::Values(
        LanguageCase{"a second define is ignored", "define foo\ndefine foo\n", "foo"},
        LanguageCase{"keywords ignore case, names do not", "DEFINE Foo\nset foo.param.count 1\nSET Foo.PARAM.COUNT 1\n",
                     "Foo p1=[]"},
        LanguageCase{"the count only grows", "define foo\nset foo.param.count 2\nset foo.param.count 1\n",
                     "foo p1=[] p2=[]"},
        LanguageCase{"growing keeps the values",
                     "define foo\nset foo.param.count 1\nadd foo.param.1 x\nset foo.param.count 2\nadd foo.param.2 y\n",
                     "foo p1=[x] p2=[y]"},
        LanguageCase{"an add before its count is lost",
                     "define foo\nadd foo.param.1 lost\nset foo.param.count 1\nadd foo.param.1 x\n", "foo p1=[x]"},
        LanguageCase{"arguments outside the count are no-ops",
                     "define foo\nset foo.param.count 2\nadd foo.param.3 x\nadd foo.param.0 x\n", "foo p1=[] p2=[]"},
        LanguageCase{"the optional list keeps its values until removed",
                     "define foo\nset foo.subparam 1\nadd foo.subparam a\nset foo.subparam 1\n", "foo s=[a]"},
        LanguageCase{"a removed optional list takes no values",
                     "define foo\nset foo.subparam 1\nadd foo.subparam a\nset foo.subparam 0\nadd foo.subparam b\n",
                     "foo"},
        LanguageCase{"re-enabling starts empty",
                     "define foo\nset foo.subparam 1\nadd foo.subparam a\nset foo.subparam 0\nset foo.subparam 1\n"
                     "add foo.subparam b\n",
                     "foo s=[b]"},
        LanguageCase{"tabs separate like spaces, values keep inner and extra leading spaces",
                     "define\tfoo\nset\tfoo.param.count\t1\nadd foo.param.1 a b\nadd foo.param.1  c\n",
                     "foo p1=[a b| c]"},
        LanguageCase{"comments and blank lines", "# heading\n\n  define foo # trailing\nadd foo.subparam #x\n", "foo"},
        LanguageCase{"a dot in a defined name cannot be addressed",
                     "define a.b\nset a.b.param.count 1\nadd a.b.param.1 x\n", "a.b"},
        LanguageCase{"a keyword alone does nothing", "define\nset\nadd\ndefine foo\n", "foo"},
        LanguageCase{"statements about undefined names are no-ops",
                     "set foo.param.count 1\ndefine foo\nadd bar.param.1 x\n", "foo"},
        LanguageCase{"unknown keywords and fields are no-ops",
                     "define foo\nremove foo\nset foo.param.other 2\nset foo.color 1\nadd foo.other x\nset foo 1\n",
                     "foo"},
        LanguageCase{"a negative or absurd count is a no-op",
                     "define foo\nset foo.param.count -1\nset foo.param.count 2000000000\n", "foo"},
        LanguageCase{"numbers are read like the C library reads them",
                     "define foo\nset foo.param.count  +2xyz\nadd foo.param.2abc v\nset foo.subparam junk\n",
                     "foo p1=[] p2=[v]"},
        LanguageCase{"CR LF lines and a last line without end",
                     "define foo\r\nset foo.subparam 1\r\nadd foo.subparam a", "foo s=[a]"},
        LanguageCase{"a value after define is ignored", "define foo bar baz\n", "foo"}));

TEST(DictionaryFiles, MissingFilesLeaveEverythingEmpty)
{
    QTemporaryDir directory;
    CompletionDictionary dictionary;
    dictionary.LoadFunctions(directory.filePath(QStringLiteral("TeXFunctions.dic")));
    dictionary.LoadEnvironments(directory.filePath(QStringLiteral("BeginEnd.dic")));
    EXPECT_TRUE(dictionary.functions().empty());
    EXPECT_TRUE(dictionary.environments().isEmpty());
}

TEST(DictionaryFiles, EnvironmentLinesAreTrimmedCutAtHashAndKeepDuplicates)
{
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("BeginEnd.dic"));
    writeFile(path, "   figure   # floats\r\n\ttable*\n\n# only a comment\nmy env\nfigure");
    CompletionDictionary dictionary;
    dictionary.LoadEnvironments(path);
    EXPECT_EQ(dictionary.environments(), QStringList({QStringLiteral("figure"), QStringLiteral("table*"),
                                                      QStringLiteral("my env"), QStringLiteral("figure")}));
}

TEST(DictionaryFiles, ReloadingStartsAfresh)
{
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("TeXFunctions.dic"));
    writeFile(path, "define foo\n");
    CompletionDictionary dictionary;
    dictionary.LoadFunctions(path);
    dictionary.LoadFunctions(path);
    EXPECT_EQ(dictionary.functions().size(), 1U);
    EXPECT_EQ(dictionary.FindFunction(u"foo"), 0);
    EXPECT_EQ(dictionary.FindFunction(u"Foo"), -1);
}

TEST(DictionaryFiles, UserFileWinsOverTheShippedOne)
{
    QTemporaryDir module;
    QTemporaryDir user;
    writeFile(module.filePath(QStringLiteral("TeXFunctions.dic")), "define shipped\n");
    writeFile(module.filePath(QStringLiteral("BeginEnd.dic")), "shipped\n");
    writeFile(user.filePath(QStringLiteral("BeginEnd.dic")), "mine\n");

    const DictionaryLocation location(module.path(), user.path());
    EXPECT_EQ(location.filePath(QStringLiteral("TeXFunctions.dic")),
              module.filePath(QStringLiteral("TeXFunctions.dic")));
    EXPECT_EQ(location.filePath(QStringLiteral("BeginEnd.dic")), user.filePath(QStringLiteral("BeginEnd.dic")));
    EXPECT_EQ(DictionaryLocation(QStringLiteral("/"), QString()).filePath(QStringLiteral("BeginEnd.dic")),
              QStringLiteral("/BeginEnd.dic"));
    EXPECT_EQ(DictionaryLocation().filePath(QStringLiteral("BeginEnd.dic")), QStringLiteral("./BeginEnd.dic"));
}

TEST(FunctionEntry, CopiesOwnTheirLists)
{
    CFunctionEntry original(QStringLiteral("foo"));
    original.SetParamCount(1);
    original.addParamValue(1, QStringLiteral("x"));
    original.EnableSubparams(1);

    CFunctionEntry copy;
    copy.Copy(original);
    original.addParamValue(1, QStringLiteral("y"));
    original.EnableSubparams(0);

    EXPECT_EQ(copy.name(), QStringLiteral("foo"));
    ASSERT_EQ(copy.paramCount(), 1);
    EXPECT_EQ(copy.paramLists()[0], QStringList{QStringLiteral("x")});
    EXPECT_TRUE(copy.subparamList().has_value());
}

} // namespace

namespace {

// The dictionaries the program ships, as the build puts them beside the executable.
TEST(ShippedDictionaries, OfferThePLaTeXVocabulary)
{
    const DictionaryLocation location(QStringLiteral(QUILLMERE_BUILD_DIR), QString());
    CompletionDictionary dictionary;
    dictionary.LoadFunctions(location.filePath(QStringLiteral("TeXFunctions.dic")));
    dictionary.LoadEnvironments(location.filePath(QStringLiteral("BeginEnd.dic")));

    EXPECT_GE(dictionary.functions().size(), 400U);
    EXPECT_GE(dictionary.environments().size(), 60);
    EXPECT_TRUE(dictionary.environments().contains(QStringLiteral("align*")));

    const auto entry = [&dictionary](const char *name) -> const CFunctionEntry & {
        const int index = dictionary.FindFunction(QString::fromLatin1(name));
        EXPECT_GE(index, 0) << name;
        return dictionary.functions().at(static_cast<std::size_t>(std::max(index, 0)));
    };
    EXPECT_TRUE(entry("documentclass").paramLists().at(0).contains(QStringLiteral("jsarticle")));
    EXPECT_TRUE(entry("documentclass").subparamList()->contains(QStringLiteral("a4j")));
    EXPECT_TRUE(entry("usepackage").subparamList()->contains(QStringLiteral("dvipdfmx")));
    EXPECT_TRUE(entry("bibliographystyle").paramLists().at(0).contains(QStringLiteral("jplain")));
    EXPECT_TRUE(entry("setlength").paramLists().at(0).contains(QStringLiteral("\\kanjiskip")));
    EXPECT_TRUE(entry("includegraphics").subparamList()->contains(QStringLiteral("trim=0 0 0 0")));
    EXPECT_EQ(entry("mcfamily").paramCount(), 0);
}

} // namespace
