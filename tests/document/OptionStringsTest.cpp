#include "ConversionPivot.h"

#include <gtest/gtest.h>

namespace {

const ConversionPivot windowsPivot{TextEncoding::ShiftJis, NewlineCode::CrLf};
const ConversionPivot platformPivot = ConversionPivot::platform();

} // namespace

TEST(OptionStrings, ReadingProducesThePivot)
{
    EXPECT_EQ(platformPivot.readOptions(), "-w -Lu");
    EXPECT_EQ(windowsPivot.readOptions(), "-s -Lw");
    const char *platform[] = {"-S -w -Lu", "-E -w -Lu", "-J -w -Lu", "-W8 -w -Lu", "-W16L -w -Lu", "-W16B -w -Lu"};
    const char *windows[] = {"-S -s -Lw", "-E -s -Lw", "-J -s -Lw", "-W8 -s -Lw", "-W16L -s -Lw", "-W16B -s -Lw"};
    for (const TextEncoding encoding : AllTextEncodings) {
        const auto index = static_cast<std::size_t>(textEncodingIndex(encoding));
        EXPECT_EQ(platformPivot.rereadOptions(encoding), platform[index]);
        EXPECT_EQ(windowsPivot.rereadOptions(encoding), windows[index]);
    }
}

TEST(OptionStrings, SaveOptionsFollowTheFlags)
{
    EXPECT_EQ(BuildSaveOptions(EncodingFlags(TextEncoding::Utf8, true, NewlineCode::Lf), windowsPivot), "-S -w8 -Lu");
    EXPECT_EQ(BuildSaveOptions(EncodingFlags(TextEncoding::EucJp, false, NewlineCode::Cr), windowsPivot), "-S -e -Lm");
    EXPECT_EQ(BuildSaveOptions(EncodingFlags(TextEncoding::Utf8, true, NewlineCode::Lf), platformPivot), "-W8 -w8 -Lu");
    EXPECT_EQ(BuildSaveOptions(EncodingFlags::platformDefault(), platformPivot), "-W8 -w -Lu");
    // The mark means nothing to the non-UTF encodings.
    EXPECT_EQ(BuildSaveOptions(EncodingFlags(TextEncoding::Iso2022Jp, true, NewlineCode::CrLf), platformPivot),
              "-W8 -j -Lw");
    EXPECT_EQ(BuildSaveOptions(EncodingFlags(TextEncoding::Utf16LittleEndian, false, NewlineCode::CrLf), platformPivot),
              "-W8 -w16L0 -Lw");
    EXPECT_EQ(BuildSaveOptions(EncodingFlags(TextEncoding::Utf16BigEndian, true, NewlineCode::NotSet), platformPivot),
              "-W8 -w16B");
    // Several encoding bits each add their option, in index order.
    EXPECT_EQ(BuildSaveOptions(EncodingFlags(0x2011), platformPivot), "-W8 -s -w16L");
}
