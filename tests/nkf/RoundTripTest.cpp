#include "IconvText.h"
#include "NkfRun.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

// Every character that some CP932 code decodes to, in UTF-8, one after another.
// ASCII controls are left out: ESC, SO and SI are ISO-2022-JP's own switches.
std::string cp932Repertoire()
{
    std::set<std::string> characters;
    const auto add = [&](const std::string &code) {
        try {
            characters.insert(iconvConvert(code, "UTF-8", "CP932"));
        } catch (const std::runtime_error &) {
            // Not a CP932 code.
        }
    };
    for (int byte = 0x20; byte <= 0xFF; ++byte)
        add(std::string(1, static_cast<char>(byte)));
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= 0xFC; ++trail)
            add(std::string{static_cast<char>(lead), static_cast<char>(trail)});
    }
    std::string text = "\t\n";
    for (const std::string &character : characters)
        text += character;
    return text;
}

const std::string &repertoire()
{
    static const std::string text = cp932Repertoire();
    return text;
}

struct Option
{
    const char *input;
    const char *output;
};

const Option options[] = {
    {"-S", "-s"}, {"-E", "-e"}, {"-J", "-j"}, {"-W8", "-w"}, {"-W16L", "-w16L0"}, {"-W16B", "-w16B0"},
};

} // namespace

TEST(RoundTrip, EveryCp932CharacterSurvivesEveryEncoding)
{
    ASSERT_GT(repertoire().size(), 40000u);
    for (const Option &option : options) {
        const NkfRun encoded = NkfRun::convert(std::string("-W8 ") + option.output, repertoire());
        ASSERT_TRUE(encoded.converted);
        EXPECT_EQ(encoded.replacedCount, 0u) << option.output;
        const NkfRun decoded = NkfRun::convert(std::string(option.input) + " -w", encoded.output);
        EXPECT_EQ(decoded.replacedCount, 0u) << option.input;
        EXPECT_TRUE(decoded.output == repertoire()) << option.input;
        // Detection finds the same encoding for the whole repertoire.
        EXPECT_TRUE(NkfRun::convert("-w", encoded.output).output == repertoire()) << option.output;
    }
}

TEST(RoundTrip, CanonicalCodesComeBackUnchanged)
{
    const std::string shiftJis = iconvConvert(repertoire(), "CP932", "UTF-8");
    const std::string eucJp = iconvConvert(repertoire(), "EUC-JP-MS", "UTF-8");
    EXPECT_TRUE(NkfRun::convert("-W8 -s", repertoire()).output == shiftJis);
    EXPECT_TRUE(NkfRun::convert("-W8 -e", repertoire()).output == eucJp);
    for (const Option &option : options) {
        const std::string there = std::string("-S ") + option.output;
        const std::string back = std::string(option.input) + " -s";
        EXPECT_TRUE(NkfRun::convert(back, NkfRun::convert(there, shiftJis).output).output == shiftJis) << option.output;
        const std::string eucThere = std::string("-E ") + option.output;
        const std::string eucBack = std::string(option.input) + " -e";
        EXPECT_TRUE(NkfRun::convert(eucBack, NkfRun::convert(eucThere, eucJp).output).output == eucJp) << option.output;
    }
}

TEST(RoundTrip, DoublyCodedCharactersComeBackInTheirCanonicalForm)
{
    // NEC row 13 against JIS row 2 (because), NEC-selected IBM extension against
    // the IBM extension (a kanji), NEC's small roman numeral against IBM's.
    EXPECT_EQ(NkfRun::convert("-S -s", "\x87\x9A").output, "\x81\xE6");
    EXPECT_EQ(NkfRun::convert("-S -s", "\xED\x40").output, "\xFA\x5C");
    EXPECT_EQ(NkfRun::convert("-S -s", "\xEE\xEF").output, "\xFA\x40");
    // The IBM extensions travel in ISO-2022-JP as JIS X 0212.
    EXPECT_EQ(NkfRun::convert("-S -j", "\xFA\x40").output, "\x1B$(Dss\x1B(B");
    EXPECT_EQ(NkfRun::convert("-J -s", "\x1B$(Dss\x1B(B").output, "\xFA\x40");
}

TEST(RoundTrip, IsoInputFormsComeBackAsTheEncoderWritesThem)
{
    // ESC $ @ for JIS X 0208, ESC ( J for ASCII, SO/SI for half-width katakana.
    const std::string oldForms = "\x1B$@F|K\\\x1B(Jabc\x0E\x31\x0F"
                                 "d";
    const NkfRun run = NkfRun::convert("-J -j", oldForms);
    EXPECT_EQ(run.output, "\x1B$BF|K\\\x1B(Babc\x1B(I1\x1B(B"
                          "d");
    EXPECT_EQ(NkfRun::convert("-J -w", oldForms).output, "日本abcｱd");
}

TEST(RoundTrip, IsoOutputReturnsToAsciiBeforeEveryLineEndAndAtTheEnd)
{
    EXPECT_EQ(NkfRun::convert("-W8 -j", "日本\r\n語").output, "\x1B$BF|K\\\x1B(B\r\n\x1B$B8l\x1B(B");
    EXPECT_EQ(NkfRun::convert("-W8 -j", "ｱ\nabc").output, "\x1B(I1\x1B(B\nabc");
}

TEST(RoundTrip, CharactersAstrideThePieceBoundariesStayWhole)
{
    // The library works in pieces of 64 KiB and 16 KiB; every character must come
    // through whole wherever a boundary falls.
    const std::string japanese = "日本語のｶﾅ文字";
    for (const std::size_t prefix : {16383u, 16384u, 65533u, 65534u, 65535u, 65536u}) {
        const std::string text = std::string(prefix, 'a') + japanese + "\n";
        for (const Option &option : options) {
            const NkfRun encoded = NkfRun::convert(std::string("-W8 ") + option.output, text);
            const NkfRun decoded = NkfRun::convert(std::string(option.input) + " -w", encoded.output);
            EXPECT_EQ(encoded.replacedCount + decoded.replacedCount, 0u) << prefix << option.input;
            EXPECT_TRUE(decoded.output == text) << prefix << option.input;
        }
    }
}
