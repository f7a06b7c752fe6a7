#include "BibReader.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QStringList keysOf(const QList<BibReader::Entry> &entries)
{
    QStringList keys;
    for (const BibReader::Entry &entry : entries)
        keys.append(entry.key);
    return keys;
}

TEST(BibReader, ReadsEntriesInBracesAndParenthesesAndPassesOverTheRest)
{
    const QList<BibReader::Entry> entries = BibReader::read(
        u"Text before any entry is a comment.\n"
        u"@String{jsai = \"人工知能学会誌\"}\n"
        u"@preamble{ \"\\newcommand{\\noop}[1]{}\" }\n"
        u"@comment{ @article{commented, title={No}} }\n"
        u"@Article{sato:2019,\n"
        u"  author = {佐藤 {花子} and Tanaka, Ichiro},\n"
        u"  title  = \"{日本語}の \" # {題名 {\\LaTeX}} # \" です\",\n"
        u"  journal = jsai, year = 2019,\n"
        u"}\n"
        u"@book ( kimura-1999 , TITLE = {Parens (and) braces}, Author = \"Kimura\" )\n"
        u"@misc{bare}\n"
        u"@misc{, title={no key}}\n"
        u"mail@example.com is not an entry\n"
        u"@inproceedings{last, title={Last}}"_s);
    EXPECT_EQ(keysOf(entries), QStringList({"sato:2019", "kimura-1999", "bare", "last"}));
    EXPECT_EQ(entries[0].author, u"佐藤 花子 and Tanaka, Ichiro"_s);
    EXPECT_EQ(entries[0].title, u"日本語の 題名 \\LaTeX です"_s);
    EXPECT_EQ(entries[1].title, u"Parens (and) braces"_s);
    EXPECT_EQ(entries[1].author, u"Kimura"_s);
    EXPECT_TRUE(entries[2].title.isEmpty());
}

TEST(BibReader, ABrokenEntryKeepsItsKeyAndTheNextEntriesAreRead)
{
    const QList<BibReader::Entry> entries = BibReader::read(u"@article{first, title={First}}\n"
                                                            u"@article{unclosed, title={Never closed,\n"
                                                            u"  author = {Nobody}\n"
                                                            u"@book{after, title={After}}\n"
                                                            u"@article{noequals, title {x}, author={Y}}\n"
                                                            u"  @misc{indented, title=\"Quoted \n"
                                                            u"@misc{end, title={End}}\n"_s);
    EXPECT_EQ(keysOf(entries), QStringList({"first", "unclosed", "after", "noequals", "indented", "end"}));
    EXPECT_TRUE(entries[1].title.isEmpty());
    EXPECT_EQ(entries[2].title, u"After"_s);
    EXPECT_EQ(entries[5].title, u"End"_s);
    EXPECT_TRUE(BibReader::read(u"@article{cut, title={Cut").size() == 1);
    EXPECT_TRUE(BibReader::read(u"@").isEmpty());
    EXPECT_TRUE(BibReader::read(u"@article").isEmpty());
}

TEST(BibReader, NotesNameTheFirstAuthorAndAShortenedTitle)
{
    EXPECT_EQ(BibReader::note({"k", u"山田 太郎 and 鈴木 花子 AND Third"_s, u"猫"_s}), u"山田 太郎 ほか: 猫"_s);
    EXPECT_EQ(BibReader::note({"k", u"Knuth, Donald E."_s, {}}), u"Knuth, Donald E."_s);
    EXPECT_EQ(BibReader::note({"k", {}, u"Title"_s}), u"Title"_s);
    EXPECT_EQ(BibReader::note({"k", {}, {}}), QString());
    const QString note = BibReader::note({"k", QString(30, u'著'), QString(60, u'題')});
    EXPECT_EQ(note, QString(19, u'著') + QChar(0x2026) + u": "_s + QString(39, u'題') + QChar(0x2026));
    // "and" inside a name is not a separator.
    EXPECT_EQ(BibReader::note({"k", u"Anderson, Sandy"_s, {}}), u"Anderson, Sandy"_s);
}

} // namespace
