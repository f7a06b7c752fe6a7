#include "NkfRun.h"
#include "SampleTexts.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>

// ISO-2022-JP has room for ASCII without its own switches, JIS X 0208, JIS X 0212
// and half-width katakana, which is EUC-JP without the C1 controls: every character
// must come back as it comes back from EUC-JP (a few, like U+00A2, share a code
// with a similar one), or become one counted "?" and leave its neighbours alone,
// and the stream must stay readable by any reader.

namespace {

using SampleTexts::utf8Of;

std::string hex(char32_t character)
{
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(character));
    return text;
}

bool isSurrogate(char32_t character)
{
    return character >= 0xD800 && character <= 0xDFFF;
}

bool isSwitchOrC1Control(char32_t character)
{
    return character == 0x0E || character == 0x0F || character == 0x1B || (character >= 0x80 && character <= 0x9F);
}

// Seven bits only, no SO or SI, and every escape one of the four designations the
// writer may use.
void expectCleanStream(std::string_view bytes, char32_t character)
{
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        ASSERT_LT(byte, 0x80) << hex(character);
        ASSERT_TRUE(byte != 0x0E && byte != 0x0F) << hex(character);
        if (byte != 0x1B)
            continue;
        const std::string_view after = bytes.substr(i + 1);
        ASSERT_TRUE(after.starts_with("(B") || after.starts_with("$B") || after.starts_with("(I")
                    || after.starts_with("$(D"))
            << hex(character);
    }
}

} // namespace

TEST(Iso2022JpWriting, EveryBmpCharacterComesBackOrBecomesOneCountedQuestionMark)
{
    std::string text;
    for (char32_t character = 1; character <= 0xFFFF; ++character) {
        if (character != '\n' && !isSurrogate(character))
            text += utf8Of(character) + "Y\n";
    }
    const NkfRun written = NkfRun::convert("-W8 -j", text);
    ASSERT_TRUE(written.converted);
    expectCleanStream(written.output, 0);
    const NkfRun read = NkfRun::convert("-J -w", written.output);
    ASSERT_TRUE(read.converted);
    EXPECT_EQ(read.replacedCount, 0u);
    const std::string viaEucJp = NkfRun::convert("-E -w", NkfRun::convert("-W8 -e", text).output).output;

    std::size_t replaced = 0;
    std::size_t lineStart = 0;
    std::size_t eucLineStart = 0;
    for (char32_t character = 1; character <= 0xFFFF; ++character) {
        if (character == '\n' || isSurrogate(character))
            continue;
        const std::size_t lineEnd = read.output.find('\n', lineStart);
        const std::size_t eucLineEnd = viaEucJp.find('\n', eucLineStart);
        ASSERT_NE(lineEnd, std::string::npos) << hex(character);
        const std::string line = read.output.substr(lineStart, lineEnd - lineStart);
        const std::string eucLine = viaEucJp.substr(eucLineStart, eucLineEnd - eucLineStart);
        lineStart = lineEnd + 1;
        eucLineStart = eucLineEnd + 1;
        ASSERT_TRUE(line == eucLine || line == "?Y") << hex(character);
        // Only what ISO-2022-JP has no room for is given up beyond EUC-JP.
        if (line != eucLine) {
            EXPECT_TRUE(isSwitchOrC1Control(character)) << hex(character);
        }
        replaced += line == "?Y" && character != '?' ? 1 : 0;
    }
    EXPECT_EQ(lineStart, read.output.size());
    EXPECT_EQ(written.replacedCount, replaced);
    // The switches and the C1 controls are among them, the rest is what EUC-JP
    // cannot encode either.
    EXPECT_GT(replaced, 35u);
}

TEST(Iso2022JpWriting, ACharacterAtTheVeryEndComesBackOrBecomesOneQuestionMark)
{
    for (char32_t character = 1; character <= 0xFFFF; ++character) {
        if (isSurrogate(character))
            continue;
        const NkfRun written = NkfRun::convert("-W8 -j", "x" + utf8Of(character));
        expectCleanStream(written.output, character);
        const std::string back = NkfRun::convert("-J -w", written.output).output;
        const std::string viaEucJp =
            NkfRun::convert("-E -w", NkfRun::convert("-W8 -e", "x" + utf8Of(character)).output).output;
        const bool replaced = back == "x?" && character != '?';
        ASSERT_TRUE(back == viaEucJp || replaced) << hex(character);
        ASSERT_EQ(written.replacedCount, replaced ? 1u : 0u) << hex(character);
    }
}

TEST(Iso2022JpWriting, AC1ControlNoLongerSwallowsTheNextCharacter)
{
    const NkfRun written = NkfRun::convert("-W8 -j", "x\xC2\x8AY\nz");
    EXPECT_EQ(written.output, "x?Y\nz");
    EXPECT_EQ(written.replacedCount, 1u);
    const NkfRun switches = NkfRun::convert("-W8 -j", "a\x0E"
                                                      "b\x0F"
                                                      "c\x1B"
                                                      "d");
    EXPECT_EQ(switches.output, "a?b?c?d");
    EXPECT_EQ(switches.replacedCount, 3u);
}
