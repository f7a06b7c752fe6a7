#include "nkf32.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const std::string input = "\\section{日本語}\n本文。\n";

std::uint32_t inputLength()
{
    return static_cast<std::uint32_t>(input.size());
}

} // namespace

TEST(Sizing, MeasuringThenConvertingGivesTheWholeOutput)
{
    SetNkfOption("-W8 -w16L -Lw");
    std::uint32_t needed = 0;
    ASSERT_NE(NkfConvertSafe(nullptr, 0, &needed, input.data(), inputLength()), 0);
    // Mark, 18 characters and two line ends of two units each.
    EXPECT_EQ(needed, 2u + 2u * 18u + 2u * 2u);
    std::string buffer(needed, '\0');
    std::uint32_t written = 0;
    ASSERT_NE(NkfConvertSafe(buffer.data(), needed, &written, input.data(), inputLength()), 0);
    EXPECT_EQ(written, needed);
    EXPECT_EQ(buffer.substr(0, 4), std::string("\xFF\xFE\\\0", 4));
}

TEST(Sizing, TooSmallABufferFailsWithoutWritingIntoIt)
{
    SetNkfOption("-W8 -s");
    std::uint32_t needed = 0;
    ASSERT_NE(NkfConvertSafe(nullptr, 0, &needed, input.data(), inputLength()), 0);
    std::string buffer(needed + 8, '#');
    std::uint32_t written = 0;
    EXPECT_EQ(NkfConvertSafe(buffer.data(), needed - 1, &written, input.data(), inputLength()), 0);
    EXPECT_EQ(buffer, std::string(needed + 8, '#'));
    EXPECT_EQ(written, needed);
    // The same buffer, now large enough: the output, and nothing past it.
    ASSERT_NE(NkfConvertSafe(buffer.data(), needed, &written, input.data(), inputLength()), 0);
    EXPECT_EQ(buffer.substr(needed), std::string(8, '#'));
}

TEST(Sizing, RejectsArgumentsThatCannotBeRight)
{
    SetNkfOption("-W8 -w");
    std::uint32_t written = 0;
    char buffer[4];
    EXPECT_EQ(NkfConvertSafe(nullptr, 0, nullptr, input.data(), inputLength()), 0);
    EXPECT_EQ(NkfConvertSafe(nullptr, 4, &written, input.data(), inputLength()), 0);
    EXPECT_EQ(NkfConvertSafe(buffer, 4, &written, nullptr, 3), 0);
    EXPECT_EQ(SetNkfOption(nullptr), 0);
    // No input at all is an empty text.
    EXPECT_NE(NkfConvertSafe(nullptr, 0, &written, nullptr, 0), 0);
    EXPECT_EQ(written, 0u);
}

TEST(Sizing, TheConversionCallNeverReusesAMeasurementOfOtherInput)
{
    // The same buffer, the same length, other content between the two calls.
    std::string changing = "abc\n";
    SetNkfOption("-W8 -w16B0");
    std::uint32_t needed = 0;
    ASSERT_NE(NkfConvertSafe(nullptr, 0, &needed, changing.data(), 4), 0);
    changing = "xyz\n";
    std::string buffer(needed, '\0');
    std::uint32_t written = 0;
    ASSERT_NE(NkfConvertSafe(buffer.data(), needed, &written, changing.data(), 4), 0);
    EXPECT_EQ(buffer, std::string("\0x\0y\0z\0\n", 8));

    // New options between the calls count as well.
    SetNkfOption("-W8 -w");
    ASSERT_NE(NkfConvertSafe(nullptr, 0, &needed, changing.data(), 4), 0);
    SetNkfOption("-W8 -w -Lw");
    EXPECT_EQ(NkfConvertSafe(buffer.data(), needed, &written, changing.data(), 4), 0);
    EXPECT_EQ(written, 5u);
}
