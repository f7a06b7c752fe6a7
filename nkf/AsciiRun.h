#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

// Copies runs of ASCII, which every encoding here keeps as it is, eight bytes at a
// time: the bulk of a source file, between its Japanese phrases.
class AsciiRun
{
public:
    // Copies the ASCII from position up to end, or up to the first byte that is not
    // ASCII, and returns where it stopped. All eight bytes of a word are written
    // also when the run ends within it, so the output needs room for up to seven
    // bytes past the copied ones; they are written over next.
    static std::size_t copy(const unsigned char *bytes, std::size_t position, std::size_t end, char *&out)
    {
        for (; position + 8 <= end; position += 8) {
            std::uint64_t word;
            std::memcpy(&word, bytes + position, sizeof word);
            std::memcpy(out, &word, sizeof word);
            if (const std::uint64_t high = word & HighBits; high != 0) {
                const std::size_t ascii = bytesBefore(high);
                out += ascii;
                return position + ascii;
            }
            out += sizeof word;
        }
        while (position < end && bytes[position] < 0x80)
            *out++ = static_cast<char>(bytes[position++]);
        return position;
    }

private:
    static constexpr std::uint64_t HighBits = 0x8080808080808080ull;

    // How many bytes of a word, in memory order, come before the first one with its
    // high bit set.
    static std::size_t bytesBefore(std::uint64_t highBits)
    {
        if constexpr (std::endian::native == std::endian::little)
            return static_cast<std::size_t>(std::countr_zero(highBits)) / 8;
        else
            return static_cast<std::size_t>(std::countl_zero(highBits)) / 8;
    }
};
