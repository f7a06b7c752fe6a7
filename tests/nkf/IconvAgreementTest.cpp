#include "IconvText.h"
#include "NkfRun.h"
#include "SampleTexts.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>

using namespace std::string_literals;

// The library decodes and encodes without calling iconv, through tables it takes
// from iconv once; every code must come out as iconv makes it, and every rejected
// sequence as one replacement.

namespace {

using SampleTexts::utf8Of;

const std::string_view Replacement = "\xEF\xBF\xBD";

bool inRange(char byte, int low, int high)
{
    const auto value = static_cast<unsigned char>(byte);
    return value >= low && value <= high;
}

// The shape of the code that a rejected sequence stands for.
std::size_t shiftJisRejectedLength(std::string_view bytes)
{
    const bool lead = inRange(bytes[0], 0x81, 0x9F) || inRange(bytes[0], 0xE0, 0xFC);
    const bool trail = bytes.size() > 1 && (inRange(bytes[1], 0x40, 0x7E) || inRange(bytes[1], 0x80, 0xFC));
    return lead && trail ? 2 : 1;
}

std::size_t eucJpRejectedLength(std::string_view bytes)
{
    const auto eucByte = [&](std::size_t i) { return i < bytes.size() && inRange(bytes[i], 0xA1, 0xFE); };
    if (bytes[0] == '\x8E')
        return bytes.size() > 1 && inRange(bytes[1], 0xA1, 0xDF) ? 2 : 1;
    if (bytes[0] == '\x8F')
        return eucByte(1) && eucByte(2) ? 3 : 1;
    return eucByte(0) && eucByte(1) ? 2 : 1;
}

std::size_t utf16RejectedLength(std::string_view bytes)
{
    return std::min<std::size_t>(2, bytes.size());
}

std::size_t utf8CharacterLength(std::string_view bytes)
{
    const auto lead = static_cast<unsigned char>(bytes[0]);
    return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

// Every pair of bytes, and for EUC-JP every 0x8F triple of its two-byte range,
// each followed by a line end, which no code contains.
std::string everyShortSequence(bool withTriples)
{
    std::string text;
    for (int first = 0; first < 256; ++first) {
        for (int second = 0; second < 256; ++second)
            text += {static_cast<char>(first), static_cast<char>(second), '\n'};
    }
    for (int second = 0xA0; withTriples && second < 256; ++second) {
        for (int third = 0xA0; third < 256; ++third)
            text += {'\x8F', static_cast<char>(second), static_cast<char>(third), '\n'};
    }
    return text;
}

// Random bytes mostly from the upper half, so that codes straddle the library's
// pieces in every way.
std::string byteSoup(std::size_t size, int seed)
{
    std::mt19937 generator(seed);
    std::string text(size, '\0');
    for (char &c : text)
        c = static_cast<char>(generator() % 4 == 0 ? generator() % 0x80 : 0x80 + generator() % 0x80);
    return text;
}

struct Decoding
{
    const char *option;
    const char *iconvName;
    std::size_t (*rejectedLength)(std::string_view);
};

void expectDecodedAsIconvDoes(const Decoding &decoding, const std::string &input)
{
    const IconvReplaced expected = iconvConvertReplacing(input, "UTF-8", decoding.iconvName, Replacement,
                                                         decoding.rejectedLength);
    const NkfRun run = NkfRun::convert(std::string(decoding.option) + " -w", input);
    EXPECT_TRUE(run.output == expected.text) << decoding.option << " " << input.size() << " bytes";
    EXPECT_EQ(run.replacedCount, expected.replacements) << decoding.option << " " << input.size() << " bytes";
}

} // namespace

TEST(IconvAgreement, ShiftJisAndEucJpDecodeAsIconvDecodes)
{
    const Decoding decodings[] = {{"-S", "CP932", shiftJisRejectedLength}, {"-E", "EUC-JP-MS", eucJpRejectedLength}};
    for (const Decoding &decoding : decodings) {
        const bool euc = decoding.iconvName == std::string_view("EUC-JP-MS");
        expectDecodedAsIconvDoes(decoding, everyShortSequence(euc));
        expectDecodedAsIconvDoes(decoding, byteSoup(1 << 20, 1));
        // Codes cut by the end of the input.
        for (const std::string_view cut : {"\x81", "a\x8E", "\x8F", "\x8F\xA1", "\x8F\xFF", "\xA4", "\xA0"})
            expectDecodedAsIconvDoes(decoding, std::string(cut));
    }
}

TEST(IconvAgreement, Utf16DecodesAsIconvDecodes)
{
    std::string units;
    for (int unit = 0; unit < 0x10000; ++unit)
        units += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    // Surrogates alone, in pairs and cut by the end, among other units.
    std::mt19937 generator(3);
    std::string surrogates;
    for (int i = 0; i < 1 << 19; ++i) {
        const int high = generator() % 3 == 0 ? 0xD8 + generator() % 8 : generator() % 0x100;
        surrogates += {static_cast<char>(generator() % 0x100), static_cast<char>(high)};
    }
    const Decoding decodings[] = {{"-W16L", "UTF-16LE", utf16RejectedLength},
                                  {"-W16B", "UTF-16BE", utf16RejectedLength}};
    for (const Decoding &decoding : decodings) {
        expectDecodedAsIconvDoes(decoding, units);
        // Ends cut within a unit or a surrogate pair, in either byte order.
        for (const std::string &end : {""s, "A"s, "\x00\xD8"s,
                                       "\x00\xD8"
                                       "A"s,
                                       "\xD8\x00"s,
                                       "\xD8\x00"
                                       "A"s})
            expectDecodedAsIconvDoes(decoding, surrogates + end);
    }
}

TEST(IconvAgreement, EveryCharacterEncodesAsIconvEncodes)
{
    std::string characters;
    // glibc leaves the language tags U+E0000 to U+E007F out where it cannot encode
    // them; the library replaces them like any other character it cannot encode.
    const auto isLanguageTag = [](char32_t character) { return character >= 0xE0000 && character <= 0xE007F; };
    for (char32_t character = 1; character <= 0x10FFFF; ++character) {
        if ((character < 0xD800 || character > 0xDFFF) && !isLanguageTag(character))
            characters += utf8Of(character);
    }
    struct Encoding
    {
        const char *option;
        const char *iconvName;
        std::string_view replacement;
    };
    const Encoding encodings[] = {
        {"-s", "CP932", "?"},
        {"-e", "EUC-JP-MS", "?"},
        {"-w16L0", "UTF-16LE", std::string_view("\xFD\xFF", 2)},
        {"-w16B0", "UTF-16BE", std::string_view("\xFF\xFD", 2)},
    };
    for (const Encoding &encoding : encodings) {
        const IconvReplaced expected = iconvConvertReplacing(characters, encoding.iconvName, "UTF-8",
                                                             encoding.replacement, utf8CharacterLength);
        const NkfRun run = NkfRun::convert(std::string("-W8 ") + encoding.option, characters);
        EXPECT_TRUE(run.output == expected.text) << encoding.option;
        EXPECT_EQ(run.replacedCount, expected.replacements) << encoding.option;
    }
}

TEST(IconvAgreement, ALargeKeptOutputComesBackWhole)
{
    // Large enough for the output to be kept in blocks whose unused pages go back
    // to the system between the sizing call and the conversion call.
    std::string utf8;
    for (int line = 0; utf8.size() < (12u << 20); ++line)
        utf8 += "\\item 第" + std::to_string(line) + "項：漢字とｶﾀｶﾅ、ひらがな。\n";
    const std::string shiftJis = iconvConvert(utf8, "CP932", "UTF-8");
    const NkfRun read = NkfRun::convert("-S -w", shiftJis);
    EXPECT_TRUE(read.output == utf8);
    const NkfRun written = NkfRun::convert("-W8 -s", utf8);
    EXPECT_TRUE(written.output == shiftJis);
}
