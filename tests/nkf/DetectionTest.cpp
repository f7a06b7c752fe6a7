#include "EncodingNames.h"
#include "IconvText.h"
#include "NkfRun.h"
#include "SampleTexts.h"
#include "nkf32.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

using namespace std::string_literals;

namespace {

using EncodingNames::AllCodes;
using EncodingNames::iconvName;

// glibc's own encoders produce the input, so the detector is not judged by its own
// library's output.
void expectDetected(const std::string &text, const char *what)
{
    for (const int code : AllCodes) {
        const std::string bytes = iconvConvert(text, iconvName(code), "UTF-8");
        const NkfRun run = NkfRun::convert("-w", bytes);
        ASSERT_TRUE(run.converted);
        EXPECT_EQ(run.kanjiCode, code) << what << " in " << iconvName(code);
        EXPECT_EQ(run.output, text) << what << " in " << iconvName(code);
        EXPECT_EQ(run.replacedCount, 0u);
    }
}

} // namespace

TEST(Detection, FindsEveryEncodingOfLongAndShortTexts)
{
    expectDetected(SampleTexts::longDocument(), "long document");
    expectDetected(SampleTexts::markupWithFewWords(), "markup with a few words");
    expectDetected(SampleTexts::singleSentence(), "single sentence");
}

TEST(Detection, ReadsByteOrderMarksAndLeavesThemOutOfTheText)
{
    const std::string text = SampleTexts::markupWithFewWords();
    for (const int code : AllCodes) {
        const std::string_view mark = EncodingNames::byteOrderMark(code);
        if (mark.empty())
            continue;
        const std::string bytes = std::string(mark) + iconvConvert(text, iconvName(code), "UTF-8");
        const NkfRun detected = NkfRun::convert("-w", bytes);
        EXPECT_EQ(detected.kanjiCode, code) << iconvName(code);
        EXPECT_EQ(detected.output, text) << iconvName(code);
        const std::string given = std::string(EncodingNames::inputOption(code)) + " -w";
        EXPECT_EQ(NkfRun::convert(given, bytes).output, text) << iconvName(code);
    }
    // A mark alone is an empty text.
    EXPECT_EQ(NkfRun::convert("-w", "\xEF\xBB\xBF").output, "");
}

TEST(Detection, DecidesShiftJisAgainstEucJpByTheWholeScore)
{
    // Half-width katakana first: as EUC-JP the opening bytes pair up into kanji,
    // but the kana that follow only make sense as Shift_JIS.
    const std::string text = "ｱｲｳｴｵ　これは半角カナで始まる文です。";
    const NkfRun run = NkfRun::convert("-w", iconvConvert(text, "CP932", "UTF-8"));
    EXPECT_EQ(run.kanjiCode, NKF_SHIFT_JIS);
    EXPECT_EQ(run.output, text);
    // And the reverse: bytes that fit Shift_JIS at first, EUC-JP as a whole.
    const std::string eucText = "ﾃｽﾄの文章はここから始まります。";
    const NkfRun euc = NkfRun::convert("-w", iconvConvert(eucText, "EUC-JP-MS", "UTF-8"));
    EXPECT_EQ(euc.kanjiCode, NKF_EUC_JP);
    EXPECT_EQ(euc.output, eucText);
}

TEST(Detection, ReportsAsciiAndEmptyInputAsUtf8)
{
    EXPECT_EQ(NkfRun::convert("-s", "\\documentclass{article}\r\n").kanjiCode, NKF_UTF8);
    EXPECT_EQ(NkfRun::convert("-s", "").kanjiCode, NKF_UTF8);
    // ASCII that happens to read as CJK in 16-bit units is still ASCII.
    EXPECT_EQ(NkfRun::convert("-s", "relax").kanjiCode, NKF_UTF8);
}

TEST(Detection, ReportsTheGivenInputEncoding)
{
    const std::string ascii = "plain text\n";
    for (const int code : AllCodes) {
        const char *option = EncodingNames::inputOption(code);
        EXPECT_EQ(NkfRun::convert(option, ascii).kanjiCode, code) << option;
    }
}

TEST(Detection, WeighsShortTextsThatAreBothWellFormedUtf8AndEucJp)
{
    // Each EUC-JP text is well-formed UTF-8 too, made only of rare letters.
    const std::string report = "\\documentclass{article}\n\\date{2024年}\n% v2\n"
                               "\\begin{document}\n\\maketitle\n\\end{document}\n";
    ASSERT_EQ(iconvConvert(report, "EUC-JP-MS", "UTF-8").size(), 86u);
    for (const std::string &text : {report, "年"s, "表"s, "年表"s, "藤 友"s, "\\section{文}"s, "有"s}) {
        const NkfRun run = NkfRun::convert("-w", iconvConvert(text, "EUC-JP-MS", "UTF-8"));
        EXPECT_EQ(run.kanjiCode, 1) << text;
        EXPECT_EQ(run.output, text) << text;
    }
    // Common accented letters and other scripts keep UTF-8, even where the bytes
    // read as kanji in EUC-JP; so do rare letters whose EUC-JP reading fails, and
    // rare letters beside common ones.
    for (const std::string &text : {"Café"s, "Müller"s, "naïve"s, "façade"s, "Ångström"s, "Dvořák"s, "αβγ"s, "ə"s,
                                    "ǯé"s, "ǯ 日本"s, "年"s, "\\cite{Gödel}"s}) {
        const NkfRun run = NkfRun::convert("-w", text);
        EXPECT_EQ(run.kanjiCode, 3) << text;
        EXPECT_EQ(run.output, text) << text;
    }
}
