#pragma once

#include <array>
#include <cstdint>

// The Shift_JIS (CP932) or EUC-JP (eucJP-ms) code of every character of the Basic
// Multilingual Plane, taken once from iconv, so that text encodes into these
// encodings without a conversion call. Neither encoding has a code for a character
// beyond that plane.
class CharacterCodeTable
{
public:
    // A code of up to three bytes followed by its length, so that an encoder copies
    // all four bytes at once and advances by the length; 0 for a character without
    // a code.
    struct Entry
    {
        std::array<char, 3> bytes;
        std::uint8_t length;
    };

    static const CharacterCodeTable &shiftJis();
    static const CharacterCodeTable &eucJp();

    const Entry &code(char32_t character) const { return m_codes[character]; }

private:
    static constexpr std::size_t PlaneSize = 0x10000;

    explicit CharacterCodeTable(const char *iconvName);

    std::array<Entry, PlaneSize> m_codes{};
};
