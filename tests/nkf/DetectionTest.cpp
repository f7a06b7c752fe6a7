#include "IconvText.h"
#include "NkfRun.h"
#include "SampleTexts.h"
#include "nkf32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Encoded
{
    const char *iconvName;
    int code;
};

// glibc's own encoders produce the input, so the detector is not judged by its own
// library's output.
const std::vector<Encoded> encodings{
    {"CP932", NKF_SHIFT_JIS}, {"EUC-JP-MS", NKF_EUC_JP},    {"ISO-2022-JP", NKF_ISO_2022_JP},
    {"UTF-8", NKF_UTF8},      {"UTF-16LE", NKF_UTF16_LE}, {"UTF-16BE", NKF_UTF16_BE},
};

std::string markFor(int code)
{
    switch (code) {
    case NKF_UTF8:
        return "\xEF\xBB\xBF";
    case NKF_UTF16_LE:
        return "\xFF\xFE";
    case NKF_UTF16_BE:
        return "\xFE\xFF";
    default:
        return {};
    }
}

void expectDetected(const std::string &text, const char *what)
{
    for (const Encoded &encoded : encodings) {
        const std::string bytes = iconvConvert(text, encoded.iconvName, "UTF-8");
        const NkfRun run = NkfRun::convert("-w", bytes);
        ASSERT_TRUE(run.converted);
        EXPECT_EQ(run.kanjiCode, encoded.code) << what << " in " << encoded.iconvName;
        EXPECT_EQ(run.output, text) << what << " in " << encoded.iconvName;
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
    for (const Encoded &encoded : encodings) {
        const std::string mark = markFor(encoded.code);
        if (mark.empty())
            continue;
        const std::string bytes = mark + iconvConvert(text, encoded.iconvName, "UTF-8");
        const NkfRun detected = NkfRun::convert("-w", bytes);
        EXPECT_EQ(detected.kanjiCode, encoded.code) << encoded.iconvName;
        EXPECT_EQ(detected.output, text) << encoded.iconvName;
        const char *given[] = {"", "", "", "-W8 -w", "-W16L -w", "-W16B -w"};
        EXPECT_EQ(NkfRun::convert(given[encoded.code], bytes).output, text) << encoded.iconvName;
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
    const char *options[] = {"-S", "-E", "-J", "-W8", "-W16L", "-W16B"};
    for (int code = 0; code < 6; ++code)
        EXPECT_EQ(NkfRun::convert(options[code], ascii).kanjiCode, code) << options[code];
}
