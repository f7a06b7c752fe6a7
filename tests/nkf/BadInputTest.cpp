#include "NkfRun.h"
#include "nkf32.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace std::string_literals;

namespace {

const std::string Replacement = "\xEF\xBF\xBD";

} // namespace

TEST(BadInput, InvalidSequencesBecomeOneReplacementEach)
{
    struct Case
    {
        const char *options;
        std::string input;
        std::string expected;
        std::uint32_t replaced;
    };
    const Case cases[] = {
        {"-S -w",
         "a\x80"
         "b",
         "a" + Replacement + "b", 1},
        {"-S -w", "\x82 x", Replacement + " x", 1}, // lead byte without trail
        {"-S -w",
         "\x85\x40"
         "a",
         Replacement + "a", 1},                   // well formed, no character
        {"-S -w", "a\x82", "a" + Replacement, 1}, // cut off at the end
        {"-E -w", "\xA4\xA2\xA4", "あ" + Replacement, 1},
        {"-E -w", "\x8E a", Replacement + " a", 1},
        {"-W8 -w",
         "\xE3\x81"
         "A",
         Replacement + "A", 1},                                                 // cut character
        {"-W8 -w", "\xC0\xAF", Replacement + Replacement, 2},                   // overlong form
        {"-W8 -w", "\xED\xA0\x80", Replacement + Replacement + Replacement, 3}, // surrogate
        {"-W8 -w", "\xE6\x97", Replacement, 1},
        {"-W16L -w", "A\0B"s, "A" + Replacement, 1}, // odd length
        {"-W16L -w",
         "\x00\xD8"
         "A\0"s,
         Replacement + "A", 1},                         // unpaired surrogate
        {"-W16B -w", "\xD8\x00"s, Replacement, 1},      // surrogate cut off
        {"-J -w", "abc\x1B$", "abc" + Replacement, 1},  // escape cut in the middle
        {"-J -w", "\x1B$B\x30", Replacement, 1},        // character cut in the middle
        {"-J -w", "\x1B$A!!", Replacement + "$A!!", 1}, // unknown escape
        {"-J -w",
         "a\xA4"
         "b",
         "a" + Replacement + "b", 1},                      // 8-bit byte
        {"-J -w", "\x1B$B\x29\x21\x1B(B", Replacement, 1}, // row without characters
        {"-W8 -s",
         "\xE3\x81"
         "A",
         "?A", 1}, // not UTF-8, into Shift_JIS
        {"-W8 -j",
         "a\xFF"
         "b",
         "a?b", 1},
        {"-W8 -w16L0",
         "\xC0"
         "A",
         "\xFD\xFF"
         "A\0"s,
         1}, // not UTF-8, into UTF-16
    };
    for (const Case &c : cases) {
        const NkfRun run = NkfRun::convert(c.options, c.input);
        EXPECT_TRUE(run.converted);
        EXPECT_EQ(run.output, c.expected) << c.options << " " << testing::PrintToString(c.input);
        EXPECT_EQ(run.replacedCount, c.replaced) << c.options << " " << testing::PrintToString(c.input);
    }
}

TEST(BadInput, NonUnicodeOutputsGetAQuestionMarkCountedOnce)
{
    const NkfRun invalid = NkfRun::convert("-S -e", "a\x80"
                                                    "b");
    EXPECT_EQ(invalid.output, "a?b");
    EXPECT_EQ(invalid.replacedCount, 1u);
    // Characters that the output cannot hold: an emoji, a Hangul syllable, and a
    // language tag, which is invisible but still a character of the text.
    for (const char *options : {"-W8 -s", "-W8 -e", "-W8 -j"}) {
        const NkfRun run = NkfRun::convert(options, "a😀한󠁁b");
        EXPECT_EQ(run.output, "a???b") << options;
        EXPECT_EQ(run.replacedCount, 3u) << options;
    }
    // A replacement character that the text already had is kept, not counted.
    const NkfRun kept = NkfRun::convert("-W8 -w16L0", Replacement);
    EXPECT_EQ(kept.output, "\xFD\xFF");
    EXPECT_EQ(kept.replacedCount, 0u);
}

TEST(BadInput, RandomBytesConvertInEveryEncodingAndDetection)
{
    std::mt19937 generator(20261207);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string noise(1 << 18, '\0');
    for (char &c : noise)
        c = static_cast<char>(byte(generator));
    for (const char *input : {"", "-S", "-E", "-J", "-W8", "-W16L", "-W16B"}) {
        for (const char *output : {"-s", "-e", "-j", "-w", "-w16L"}) {
            const NkfRun run = NkfRun::convert(std::string(input) + " " + output + " -Lw", noise);
            EXPECT_TRUE(run.converted) << input << output;
            EXPECT_GT(run.replacedCount, 0u) << input << output;
            EXPECT_GE(run.kanjiCode, NKF_SHIFT_JIS);
            EXPECT_LE(run.kanjiCode, NKF_UTF16_BE);
        }
    }
}

TEST(BadInput, EmptyInputConvertsToEmptyOutput)
{
    for (const char *options : {"-s", "-S -e -Lw", "-J -j", "-W16L -w16L0"}) {
        const NkfRun run = NkfRun::convert(options, "");
        EXPECT_TRUE(run.converted) << options;
        EXPECT_EQ(run.output, "") << options;
    }
}

TEST(BadInput, InputsOfSeveralHundredMegabytesConvert)
{
    // 320 MiB of Shift_JIS text with CR+LF, read with detection into UTF-8 with LF.
    const std::string line = "\x93\xFA\x96{\x8C\xEA\x82\xCC\x95\xB6\x81"
                             "B abc\r\n";
    const std::size_t lines = (320u << 20) / line.size();
    std::string input;
    input.reserve(lines * line.size());
    for (std::size_t i = 0; i < lines; ++i)
        input += line;
    const NkfRun run = NkfRun::convert("-w -Lu", input);
    ASSERT_TRUE(run.converted);
    EXPECT_EQ(run.kanjiCode, NKF_SHIFT_JIS);
    const std::string expectedLine = "日本語の文。 abc\n";
    EXPECT_EQ(run.output.size(), lines * expectedLine.size());
    EXPECT_EQ(run.output.substr(run.output.size() - expectedLine.size()), expectedLine);
    EXPECT_EQ(run.replacedCount, 0u);
}
