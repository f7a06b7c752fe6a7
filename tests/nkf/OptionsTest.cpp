#include "NkfRun.h"
#include "nkf32.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

TEST(Options, NewlineOptionsTurnEveryLineEndIntoTheChosenOne)
{
    const std::string mixed = "a\r\nb\rc\nd\r\r\ne\n";
    EXPECT_EQ(NkfRun::convert("-W8 -w -Lu", mixed).output, "a\nb\nc\nd\n\ne\n");
    EXPECT_EQ(NkfRun::convert("-W8 -w -Lw", mixed).output, "a\r\nb\r\nc\r\nd\r\n\r\ne\r\n");
    EXPECT_EQ(NkfRun::convert("-W8 -w -Lm", mixed).output, "a\rb\rc\rd\r\re\r");
    EXPECT_EQ(NkfRun::convert("-W8 -w", mixed).output, mixed);
}

TEST(Options, NewlinesAreWrittenInTheOutputsOwnCodeUnits)
{
    EXPECT_EQ(NkfRun::convert("-W8 -w16L0 -Lw", "a\nb").output, "a\0\r\0\n\0b\0"s);
    EXPECT_EQ(NkfRun::convert("-W8 -w16B0 -Lm", "a\r\nb").output, "\0a\0\r\0b"s);
    EXPECT_EQ(NkfRun::convert("-W16L -w -Lu", "a\0\r\0\n\0"s).output, "a\n");
}

TEST(Options, CarriageReturnAndLineFeedSplitAcrossPiecesStayOneLineEnd)
{
    // The library works in pieces of 64 KiB; put CR+LF astride the boundary.
    for (std::size_t before : {65535u, 65536u, 65534u}) {
        const std::string text = std::string(before, 'a') + "\r\nb";
        const NkfRun run = NkfRun::convert("-W8 -w -Lm", text);
        EXPECT_EQ(run.output, std::string(before, 'a') + "\rb") << before;
    }
}

TEST(Options, OutputOptionsChooseEncodingAndMark)
{
    const std::string text = "日本";
    EXPECT_EQ(NkfRun::convert("-W8 -s", text).output, "\x93\xFA\x96{");
    EXPECT_EQ(NkfRun::convert("-W8 -e", text).output, "\xC6\xFC\xCB\xDC");
    EXPECT_EQ(NkfRun::convert("-W8 -j", text).output, "\x1B$BF|K\\\x1B(B");
    EXPECT_EQ(NkfRun::convert("-W8 -w", text).output, text);
    EXPECT_EQ(NkfRun::convert("-W8 -w8", text).output, "\xEF\xBB\xBF" + text);
    EXPECT_EQ(NkfRun::convert("-W8 -w16L0", text).output, "\xE5\x65\x2C\x67");
    EXPECT_EQ(NkfRun::convert("-W8 -w16L", text).output, "\xFF\xFE\xE5\x65\x2C\x67");
    EXPECT_EQ(NkfRun::convert("-W8 -w16B0", text).output, "\x65\xE5\x67\x2C");
    EXPECT_EQ(NkfRun::convert("-W8 -w16B", text).output, "\xFE\xFF\x65\xE5\x67\x2C");
    // Without an output option the text comes out as UTF-8 without mark.
    EXPECT_EQ(NkfRun::convert("-S", "\x93\xFA\x96{").output, text);
    // A mark is written even for an empty text.
    EXPECT_EQ(NkfRun::convert("-W8 -w16B", "").output, "\xFE\xFF");
}

TEST(Options, InputOptionsOverrideDetection)
{
    // These bytes read as EUC-JP; told otherwise, the library obeys.
    const std::string eucBytes = "\xC6\xFC\xCB\xDC";
    EXPECT_EQ(NkfRun::convert("-w", eucBytes).output, "日本");
    const NkfRun asShiftJis = NkfRun::convert("-S -w", eucBytes);
    EXPECT_EQ(asShiftJis.kanjiCode, NKF_SHIFT_JIS);
    EXPECT_EQ(asShiftJis.output, "ﾆ\xEF\xBF\xBDﾜ");
}

TEST(Options, EachOptionStringReplacesThePreviousAndUnknownOptionsAreIgnored)
{
    EXPECT_EQ(NkfRun::convert("-x --guess -W8 -Z4 -s -Lw -m0", "日\n").output, "\x93\xFA\r\n");
    // The next string has no newline option: line ends stay as they are.
    EXPECT_EQ(NkfRun::convert("-W8 -s", "日\n").output, "\x93\xFA\n");
    // The last option of a kind wins.
    EXPECT_EQ(NkfRun::convert("-W8 -e -s -Lw -Lu", "日\r\n").output, "\x93\xFA\n");
}
