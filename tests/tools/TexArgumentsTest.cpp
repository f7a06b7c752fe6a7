#include "ExternalProgram.h"
#include "ProgramInvocation.h"
#include "TexArguments.h"

#include <gtest/gtest.h>

namespace {

struct ArgumentCase
{
    const char *executable;
    const char *optionTemplate;
    TextEncoding encoding;
    bool typesetsDocument;
    QStringList expected;
};

QStringList runArguments(const ArgumentCase &c)
{
    const ExternalProgram entry("step", c.executable, c.optionTemplate);
    const ProgramInvocation own = BuildProgramInvocation(entry, "paper");
    return WithTexArguments(own, c.encoding, c.typesetsDocument).arguments;
}

const QStringList Typesetting = {"-interaction=nonstopmode", "-file-line-error", "-synctex=1"};

TEST(TexArgumentsTest, TheDocumentsEncodingAndTheNonstopOptionsGoFirst)
{
    const ArgumentCase cases[] = {
        {"platex", "\"%s.tex\"", TextEncoding::ShiftJis, true,
         QStringList{"-kanji=sjis"} + Typesetting + QStringList{"paper.tex"}},
        {"platex", "\"%s.tex\"", TextEncoding::EucJp, true,
         QStringList{"-kanji=euc"} + Typesetting + QStringList{"paper.tex"}},
        {"platex", "\"%s.tex\"", TextEncoding::Iso2022Jp, true,
         QStringList{"-kanji=jis"} + Typesetting + QStringList{"paper.tex"}},
        {"/usr/bin/platex", "\"%s.tex\"", TextEncoding::Utf8, true,
         QStringList{"-kanji=utf8"} + Typesetting + QStringList{"paper.tex"}},
        {"uplatex-dev", "%s", TextEncoding::Utf8, true,
         QStringList{"-kanji=utf8"} + Typesetting + QStringList{"paper"}},
        {"euptex", "%s", TextEncoding::EucJp, true, QStringList{"-kanji=euc"} + Typesetting + QStringList{"paper"}},
        // pBibTeX reads the document's encoding but has no prompt to avoid.
        {"pbibtex", "\"%s\"", TextEncoding::ShiftJis, false, {"-kanji=sjis", "paper"}},
        {"/opt/bin/upbibtex", "\"%s\"", TextEncoding::EucJp, false, {"-kanji=euc", "paper"}},
        // Engines that take no -kanji still must not stop at a prompt.
        {"pdflatex", "\"%s.tex\"", TextEncoding::ShiftJis, true, Typesetting + QStringList{"paper.tex"}},
        {"lualatex-dev", "%s", TextEncoding::Utf8, true, Typesetting + QStringList{"paper"}},
        {"xelatex", "%s", TextEncoding::Utf8, true, Typesetting + QStringList{"paper"}},
        // A wrapper script or any other tool gets nothing.
        {"latexmk", "-pdfdvi %s", TextEncoding::ShiftJis, true, {"-pdfdvi", "paper"}},
        {"/home/me/bin/mytex.sh", "%s", TextEncoding::ShiftJis, true, {"paper"}},
        {"dvipdfmx", "\"%s.dvi\"", TextEncoding::ShiftJis, false, {"paper.dvi"}},
        {"platexx", "%s", TextEncoding::ShiftJis, true, {"paper"}},
        // Only the pLaTeX step typesets the document; pLaTeX elsewhere gets its encoding alone.
        {"platex", "%s", TextEncoding::ShiftJis, false, {"-kanji=sjis", "paper"}},
        // UTF-16 is never handed to a TeX program as an encoding.
        {"platex", "%s", TextEncoding::Utf16LittleEndian, true, Typesetting + QStringList{"paper"}},
    };
    for (const ArgumentCase &c : cases)
        EXPECT_EQ(runArguments(c), c.expected) << c.executable << " " << c.optionTemplate;
}

TEST(TexArgumentsTest, WhatTheUserWroteIsNeverDoubledOrOverridden)
{
    const ArgumentCase cases[] = {
        {"platex", "-kanji=euc \"%s.tex\"", TextEncoding::ShiftJis, true,
         Typesetting + QStringList{"-kanji=euc", "paper.tex"}},
        {"platex", "--kanji=sjis %s", TextEncoding::Utf8, true, Typesetting + QStringList{"--kanji=sjis", "paper"}},
        {"platex", "-kanji utf8 %s", TextEncoding::EucJp, true, Typesetting + QStringList{"-kanji", "utf8", "paper"}},
        // A different option that merely starts with the same letters does not count.
        {"uplatex",
         "-kanji-internal=euc %s",
         TextEncoding::Utf8,
         false,
         {"-kanji=utf8", "-kanji-internal=euc", "paper"}},
        {"platex",
         "-interaction=batchmode %s",
         TextEncoding::Utf8,
         true,
         {"-kanji=utf8", "-file-line-error", "-synctex=1", "-interaction=batchmode", "paper"}},
        {"platex",
         "-no-file-line-error -synctex=0 %s",
         TextEncoding::Utf8,
         true,
         {"-kanji=utf8", "-interaction=nonstopmode", "-no-file-line-error", "-synctex=0", "paper"}},
        {"platex",
         "--file-line-error-style --interaction scrollmode %s",
         TextEncoding::Utf8,
         true,
         {"-kanji=utf8", "-synctex=1", "--file-line-error-style", "--interaction", "scrollmode", "paper"}},
        // A file named after an option is a file, not the option.
        {"platex", "-- -kanji=euc.tex", TextEncoding::Utf8, false, {"-kanji=utf8", "--", "-kanji=euc.tex"}},
        // Options written into the executable field count as the user's own.
        {"platex -kanji=sjis -interaction=errorstopmode",
         "\"%s.tex\"",
         TextEncoding::Utf8,
         true,
         {"-file-line-error", "-synctex=1", "-kanji=sjis", "-interaction=errorstopmode", "paper.tex"}},
    };
    for (const ArgumentCase &c : cases)
        EXPECT_EQ(runArguments(c), c.expected) << c.executable << " " << c.optionTemplate;

    EXPECT_EQ(RequestedKanjiValue({"-kanji=euc", "x"}), "euc");
    EXPECT_EQ(RequestedKanjiValue({"--kanji", "sjis"}), "sjis");
    EXPECT_EQ(RequestedKanjiValue({"-kanji"}), "");
    EXPECT_EQ(RequestedKanjiValue({"-kanji-internal=euc", "paper"}), std::nullopt);
}

} // namespace
