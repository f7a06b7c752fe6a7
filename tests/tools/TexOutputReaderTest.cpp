#include "TexOutputReader.h"

#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

#include <ostream>

void PrintTo(const OutputFinding &finding, std::ostream *out)
{
    *out << static_cast<int>(finding.kind) << ' ' << finding.file.toStdString() << ':' << finding.line << ": "
         << finding.message.toStdString() << " @" << finding.consoleLine << '-' << finding.lastConsoleLine;
}

namespace {

using Kind = OutputFinding::Kind;
constexpr Kind Error = Kind::Error;
constexpr Kind Warning = Kind::Warning;
constexpr Kind BadBox = Kind::BadBox;

const QString Fixtures = QStringLiteral(QUILLMERE_SOURCE_DIR "/tests/tools/texoutput/");

// A finding as a fixture's table states it: the file relative to the fixture's
// folder, and the console line counted from the first tool's prompt line.
struct Expected
{
    Kind kind;
    const char *file;
    int line;
    const char *message;
    int consoleLine;
};

QString fixtureText(const QString &fixture, const QString &log)
{
    QFile file(Fixtures + fixture + u'/' + log);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Reads the logs as the console shows a chain of tools run in the fixture's
// folder: each after its prompt line.
std::vector<OutputFinding> readLogs(const QString &fixture, const QStringList &logs)
{
    TexOutputReader reader;
    const QString directory = Fixtures + fixture;
    for (const QString &log : logs) {
        const QString text = fixtureText(fixture, log);
        EXPECT_FALSE(text.isEmpty()) << log.toStdString();
        reader.beginTool(directory);
        reader.read(QString(directory + QStringLiteral(">tool \"paper (2).tex\"\n")));
        reader.read(text);
    }
    return reader.findings();
}

void expectFindings(const QString &fixture, const QStringList &logs, const std::vector<Expected> &table)
{
    const std::vector<OutputFinding> findings = readLogs(fixture, logs);
    ASSERT_EQ(findings.size(), table.size()) << testing::PrintToString(findings);
    for (std::size_t i = 0; i < table.size(); ++i) {
        const Expected &expected = table[i];
        const OutputFinding &found = findings[i];
        const QString file = *expected.file ? Fixtures + fixture + u'/' + QString::fromUtf8(expected.file) : QString();
        EXPECT_EQ(found.kind, expected.kind) << i;
        EXPECT_EQ(found.file, file) << i;
        EXPECT_EQ(found.line, expected.line) << i;
        EXPECT_EQ(found.message, QString::fromUtf8(expected.message)) << i;
        EXPECT_EQ(found.consoleLine, expected.consoleLine) << i;
    }
}

TEST(TexOutputReaderTest, PlatexOnAUtf8DocumentWithFileLineErrors)
{
    expectFindings(
        "utf8-error", {"platex-fle.log"},
        {
            {Warning, "paper.tex", 4, R"(LaTeX Warning: Reference `sec:none' on page 1 undefined on input line 4.)",
             11},
            {Warning, "paper.tex", 5, R"(LaTeX Warning: Citation `nokey' on page 1 undefined on input line 5.)", 14},
            {Error, "paper.tex", 7, R"(Undefined control sequence.)", 16},
            {BadBox, "paper.tex", 8, R"(Overfull \hbox (127.33243pt too wide) detected at line 8)", 20},
            {Error, "", 0, R"(File ended while scanning use of \textbf .)", 25},
            {Error, "", 0, R"(Emergency stop.)", 30},
        });
}

TEST(TexOutputReaderTest, PlatexOnAUtf8DocumentWithoutFileLineErrors)
{
    expectFindings(
        "utf8-error", {"platex.log"},
        {
            {Warning, "paper.tex", 4, R"(LaTeX Warning: Reference `sec:none' on page 1 undefined on input line 4.)",
             10},
            {Warning, "paper.tex", 5, R"(LaTeX Warning: Citation `nokey' on page 1 undefined on input line 5.)", 13},
            {Error, "paper.tex", 7, R"(Undefined control sequence.)", 15},
            {BadBox, "paper.tex", 8, R"(Overfull \hbox (127.33243pt too wide) detected at line 8)", 19},
            {Error, "", 0, R"(File ended while scanning use of \textbf .)", 24},
            {Error, "", 0, R"(Emergency stop.)", 29},
        });
}

TEST(TexOutputReaderTest, WarningsOfLatexPackagesAndFontsAndBadBoxes)
{
    expectFindings(
        "warnings", {"platex-fle.log"},
        {
            {Warning, "paper.tex", 4, R"(LaTeX Warning: Reference `sec:none' on page 1 undefined on input line 4.)",
             11},
            {Warning, "paper.tex", 5, R"(LaTeX Warning: Citation `nokey' on page 1 undefined on input line 5.)", 14},
            {Warning, "paper.tex", 6, R"(Package mypkg Warning: 最初の行 次の行 on input line 6.)", 17},
            {Warning, "paper.tex", 7,
             R"(LaTeX Font Warning: Font shape `OT1/cmr/m/xyz' undefined using `OT1/cmr/m/n' instead on input line 7.)",
             21},
            {BadBox, "paper.tex", 8, R"(Overfull \hbox (127.33243pt too wide) detected at line 8)", 25},
            {BadBox, "paper.tex", 10, R"(Underfull \hbox (badness 10000) in paragraph at lines 10--12)", 28},
            {Error, "paper.tex", 13, R"(Undefined control sequence.)", 30},
            {Warning, "paper.tex", 0,
             R"(LaTeX Font Warning: Some font shapes were not available, defaults substituted.)", 35},
            {Warning, "paper.tex", 0, R"(LaTeX Warning: There were undefined references.)", 38},
            {Warning, "paper.tex", 0,
             R"(LaTeX Warning: Label(s) may have changed. Rerun to get cross-references right.)", 41},
        });
    expectFindings(
        "warnings", {"platex.log"},
        {
            {Warning, "paper.tex", 4, R"(LaTeX Warning: Reference `sec:none' on page 1 undefined on input line 4.)",
             10},
            {Warning, "paper.tex", 5, R"(LaTeX Warning: Citation `nokey' on page 1 undefined on input line 5.)", 13},
            {Warning, "paper.tex", 6, R"(Package mypkg Warning: 最初の行 次の行 on input line 6.)", 16},
            {Warning, "paper.tex", 7,
             R"(LaTeX Font Warning: Font shape `OT1/cmr/m/xyz' undefined using `OT1/cmr/m/n' instead on input line 7.)",
             20},
            {BadBox, "paper.tex", 8, R"(Overfull \hbox (127.33243pt too wide) detected at line 8)", 24},
            {BadBox, "paper.tex", 10, R"(Underfull \hbox (badness 10000) in paragraph at lines 10--12)", 27},
            {Error, "paper.tex", 13, R"(Undefined control sequence.)", 29},
            {Warning, "paper.tex", 0,
             R"(LaTeX Font Warning: Some font shapes were not available, defaults substituted.)", 34},
            {Warning, "paper.tex", 0, R"(LaTeX Warning: There were undefined references.)", 37},
        });
}

TEST(TexOutputReaderTest, PlatexOnAShiftJisDocument)
{
    expectFindings("sjis", {"platex-fle.log"},
                   {
                       {Error, "paper.tex", 7, R"(Undefined control sequence.)", 10},
                       {Warning, "paper.tex", 0,
                        R"(LaTeX Warning: Label(s) may have changed. Rerun to get cross-references right.)", 15},
                   });
    // Without -file-line-error the warning read from the .aux file belongs to it.
    expectFindings("sjis", {"platex.log"},
                   {
                       {Warning, "paper.aux", 0, R"(LaTeX Warning: Label `sec:a' multiply defined.)", 10},
                       {Error, "paper.tex", 7, R"(Undefined control sequence.)", 13},
                       {Warning, "paper.tex", 0, R"(LaTeX Warning: There were multiply-defined labels.)", 18},
                   });
}

// The book includes two chapters, one of which inputs sub/part.tex; a box shown
// in the output holds an opening parenthesis of the text that opens no file.
TEST(TexOutputReaderTest, ErrorsInIncludedChaptersBelongToTheChapters)
{
    expectFindings(
        "book", {"platex-fle.log"},
        {
            {Warning, "sub/part.tex", 2, R"(LaTeX Warning: Reference `missing' on page 1 undefined on input line 2.)",
             14},
            {BadBox, "sub/part.tex", 3, R"(Overfull \hbox (86.72162pt too wide) detected at line 3)", 17},
            {BadBox, "chap1.tex", 4, R"(Overfull \hbox (74.27173pt too wide) detected at line 4)", 20},
            {Error, "chap1.tex", 5, R"(Undefined control sequence.)", 22},
            {Warning, "chap2.tex", 2, R"(LaTeX Warning: Citation `zzz' on page 3 undefined on input line 2.)", 28},
            {Error, "chap2.tex", 4, R"(Undefined control sequence.)", 30},
            {Warning, "book.tex", 0, R"(LaTeX Warning: There were undefined references.)", 35},
        });
    expectFindings(
        "book", {"platex.log"},
        {
            {Warning, "sub/part.tex", 2, R"(LaTeX Warning: Reference `missing' on page 1 undefined on input line 2.)",
             12},
            {BadBox, "sub/part.tex", 3, R"(Overfull \hbox (86.72162pt too wide) detected at line 3)", 15},
            {BadBox, "chap1.tex", 4, R"(Overfull \hbox (74.27173pt too wide) detected at line 4)", 18},
            {Error, "chap1.tex", 5, R"(Undefined control sequence.)", 20},
            {Warning, "chap2.tex", 2, R"(LaTeX Warning: Citation `zzz' on page 3 undefined on input line 2.)", 26},
            {Error, "chap2.tex", 4, R"(Undefined control sequence.)", 28},
            {Warning, "book.tex", 0, R"(LaTeX Warning: There were undefined references.)", 33},
        });
}

TEST(TexOutputReaderTest, AFileNameWithBlanks)
{
    expectFindings("blanks", {"platex-fle.log"},
                   {
                       {Error, "part one.tex", 2, R"(Undefined control sequence.)", 11},
                   });
    expectFindings("blanks", {"platex.log"},
                   {
                       {Error, "part one.tex", 2, R"(Undefined control sequence.)", 9},
                   });
}

TEST(TexOutputReaderTest, UplatexThenPbibtexThenDvipdfmxInOneConsole)
{
    expectFindings(
        "uplatex", {"uplatex-fle.log", "pbibtex.log", "dvipdfmx.log"},
        {
            {Warning, "paper.tex", 4, R"(LaTeX Warning: Citation `knuth84' on page 1 undefined on input line 4.)", 11},
            {Warning, "paper.tex", 4, R"(LaTeX Warning: Citation `missingkey' on page 1 undefined on input line 4.)",
             14},
            {Warning, "paper.tex", 6, R"(LaTeX Warning: Reference `nowhere' on page 1 undefined on input line 6.)", 17},
            {Error, "paper.tex", 10, R"(Undefined control sequence.)", 20},
            {Warning, "paper.tex", 10, R"(LaTeX Warning: Citation `nojournal' undefined on input line 10.)", 24},
            {Warning, "paper.tex", 0, R"(LaTeX Warning: There were undefined references.)", 28},
            {Warning, "paper.tex", 0,
             R"(LaTeX Warning: Label(s) may have changed. Rerun to get cross-references right.)", 31},
            {Warning, "refs.bib", 7, R"(Warning--I'm ignoring knuth84's extra "year" field)", 42},
            {Error, "refs.bib", 13, R"(I was expecting a `,' or a `}')", 44},
            {Warning, "", 0, R"(Warning--I didn't find a database entry for "missingkey")", 49},
            {Warning, "", 0, R"(Warning--empty journal in nojournal)", 50},
        });
    expectFindings(
        "uplatex", {"uplatex.log"},
        {
            {Warning, "paper.aux", 0, R"(LaTeX Warning: Label `x' multiply defined.)", 10},
            {Warning, "paper.tex", 4, R"(LaTeX Warning: Citation `knuth84' on page 1 undefined on input line 4.)", 14},
            {Warning, "paper.tex", 4, R"(LaTeX Warning: Citation `missingkey' on page 1 undefined on input line 4.)",
             17},
            {Warning, "paper.tex", 6, R"(LaTeX Warning: Reference `nowhere' on page 1 undefined on input line 6.)", 20},
            {Error, "paper.tex", 10, R"(Undefined control sequence.)", 23},
            {Warning, "paper.tex", 10, R"(LaTeX Warning: Citation `nojournal' undefined on input line 10.)", 27},
            {Warning, "paper.tex", 0, R"(LaTeX Warning: There were undefined references.)", 31},
            {Warning, "paper.tex", 0, R"(LaTeX Warning: There were multiply-defined labels.)", 34},
        });
    expectFindings("uplatex", {"upbibtex.log"},
                   {
                       {Warning, "refs.bib", 7, R"(Warning--I'm ignoring knuth84's extra "year" field)", 5},
                       {Error, "refs.bib", 13, R"(I was expecting a `,' or a `}')", 7},
                       {Warning, "", 0, R"(Warning--I didn't find a database entry for "missingkey")", 12},
                       {Warning, "", 0, R"(Warning--empty journal in nojournal)", 13},
                   });
    expectFindings("uplatex", {"pbibtex-nodatabase.log"},
                   {
                       {Error, "nodatabase.aux", 5, R"(I couldn't open database file nothere.bib)", 4},
                       {Error, "nodatabase.aux", 0, R"(I found no database files)", 9},
                       {Warning, "", 0, R"(Warning--I didn't find a database entry for "knuth84")", 10},
                       {Warning, "", 0, R"(Warning--I didn't find a database entry for "missingkey")", 11},
                       {Warning, "", 0, R"(Warning--I didn't find a database entry for "nojournal")", 12},
                   });
}

TEST(TexOutputReaderTest, DriverComplaintsAreListedWithoutALine)
{
    expectFindings("drivers",
                   {"dvipdfmx-special.log", "dvipdfmx-missing.log", "dvipdfmx-broken.log", "dvips-missing.log",
                    "dvips-broken.log", "dvips-special.log"},
                   {
                       {Warning, "", 0, R"(dvipdfmx:warning: >> xxx "pdf:unknowncmd")", 3},
                       {Error, "", 0, R"(dvipdfmx:fatal: Image inclusion failed. Could not find file: missing.png)", 4},
                       {Error, "", 0, R"(dvipdfmx:fatal: Could not open specified DVI (or XDV) file: missing.dvi)", 9},
                       {Error, "", 0, R"(dvipdfmx:fatal: Something is wrong. Are you sure this is a DVI file?)", 15},
                       {Error, "", 0, R"(dvips: DVI file can't be opened: missing.dvi: No such file or directory)", 20},
                       {Error, "", 0, R"(dvips: ! unexpected eof on DVI file)", 24},
                       {Warning, "", 0, R"(dvips: Unknown keyword (pdf:unknowncmd) in \special will be ignored)", 33},
                       {Warning, "", 0, R"(dvips: No \special psfile was given; figure will be blank)", 34},
                       {Warning, "", 0, R"(dvips: Unknown keyword (pdf:image) in \special will be ignored)", 35},
                       {Warning, "", 0, R"(dvips: Unknown keyword ((missing.png)) in \special will be ignored)", 36},
                       {Warning, "", 0, R"(dvips: No \special psfile was given; figure will be blank)", 37},
                   });
    expectFindings("warnings", {"dvipdfmx.log", "dvips.log"}, {});
}

TEST(TexOutputReaderTest, AnErrorTakesItsContextLinesAndAWarningItsContinuation)
{
    const std::vector<OutputFinding> errors = readLogs("utf8-error", {"platex-fle.log"});
    ASSERT_EQ(errors.size(), 6u);
    EXPECT_EQ(errors[2].context, QString::fromUtf8("l.7 \\undefinedcommand\n                      を使う。"));
    EXPECT_EQ(errors[2].lastConsoleLine, 18);
    // The line TeX shows under an overfull box belongs to the box.
    EXPECT_EQ(errors[3].lastConsoleLine, 21);
    EXPECT_EQ(errors[1].lastConsoleLine, 14);

    const std::vector<OutputFinding> warnings = readLogs("warnings", {"platex-fle.log"});
    ASSERT_GE(warnings.size(), 3u);
    EXPECT_EQ(warnings[2].consoleLine, 17);
    EXPECT_EQ(warnings[2].lastConsoleLine, 18);
}

TEST(TexOutputReaderTest, OutputArrivingInPiecesReadsAsIfItCameWhole)
{
    const QString directory = Fixtures + "book";
    const QString text = fixtureText("book", "platex.log");
    TexOutputReader whole;
    whole.beginTool(directory);
    whole.read(text);
    TexOutputReader pieces;
    pieces.beginTool(directory);
    for (qsizetype at = 0; at < text.size(); at += 7)
        pieces.read(QStringView(text).mid(at, 7));
    EXPECT_EQ(pieces.findings(), whole.findings());
    EXPECT_EQ(pieces.lineCount(), whole.lineCount());
    EXPECT_EQ(whole.findings().size(), 7u);
}

TEST(TexOutputReaderTest, OverlongLinesAreCountedButNotReadAndDeepNestingDoesNotLoseTheFile)
{
    TexOutputReader reader;
    reader.beginTool(Fixtures + "book");
    reader.read(u"prompt\n");
    reader.read(QString(QStringLiteral("! ") + QString(TexOutputReader::MaxLineLength, u'x') + u'\n'));
    reader.read(QString(50000, u'('));
    reader.read(QString(50000, u')'));
    reader.read(u"\n(./chap2.tex (see the transcript (for more) here)\n! Short.\nl.3 \\x\n   \n");
    ASSERT_EQ(reader.findings().size(), 1u);
    const OutputFinding &error = reader.findings().front();
    EXPECT_EQ(error.message, "Short.");
    EXPECT_EQ(error.file, Fixtures + "book/chap2.tex");
    EXPECT_EQ(error.line, 3);
    EXPECT_EQ(error.consoleLine, 4);
    EXPECT_EQ(reader.lineCount(), 7);

    reader.clear();
    EXPECT_TRUE(reader.findings().empty());
    EXPECT_EQ(reader.lineCount(), 0);
}

TEST(TexOutputReaderTest, FileNamesAreResolvedAgainstTheToolsFolder)
{
    TexOutputReader reader;
    reader.beginTool(Fixtures + "book");
    reader.read(
        u"prompt\n(chap1.tex (sub/part.tex\n! One.\n) (\"chap2.tex\"\n! Two.\n) (/nowhere/gone.tex\n! Three.\n");
    reader.read(u"(2020.10) (chap2\n! Four.\n");
    ASSERT_EQ(reader.findings().size(), 4u);
    EXPECT_EQ(reader.findings()[0].file, Fixtures + "book/sub/part.tex");
    EXPECT_EQ(reader.findings()[1].file, Fixtures + "book/chap2.tex");
    EXPECT_EQ(reader.findings()[2].file, "/nowhere/gone.tex");
    // A parenthesis that names no file leaves the findings with the file around it;
    // a name without extension stands for the .tex file TeX reads.
    EXPECT_EQ(reader.findings()[3].file, Fixtures + "book/chap2.tex");
}

TEST(TexOutputReaderTest, ColonsAndNumbersThatAreNotAFileLineAreLeftAlone)
{
    TexOutputReader reader;
    reader.beginTool(Fixtures + "book");
    reader.read(
        u"prompt\nTime 12:34: ten\n ./chap1.tex:3: indented\nchap1.tex:x: no line\nNot A Package Warning: no\n");
    EXPECT_TRUE(reader.findings().empty());
    reader.read(u"chap1.tex:3:\n");
    ASSERT_EQ(reader.findings().size(), 1u);
    EXPECT_EQ(reader.findings()[0].line, 3);
}

} // namespace
