#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class IconvHandle;

// The UTF-8 of every code of Shift_JIS (CP932) or EUC-JP (eucJP-ms), taken once
// from iconv, so that input in these encodings decodes without a conversion call.
// Codes are one to three bytes long; a byte sequence that iconv calls incomplete
// is the start of a longer code.
class MultiByteTable
{
public:
    // The character of a code as its UTF-8 bytes followed by their count, so that
    // a decoder copies all four bytes at once and advances by the count. The count
    // is 0 for a code without a character and NeedsMore for the start of a longer
    // code.
    struct Entry
    {
        std::array<char, 3> utf8;
        std::uint8_t length;
    };
    static constexpr std::uint8_t NeedsMore = 0xFF;

    static const MultiByteTable &shiftJis();
    static const MultiByteTable &eucJp();

    const Entry &single(unsigned char byte) const { return m_singles[byte]; }
    // Two bytes, of which the first needs more. Indexed by the bytes alone, so that
    // the look-up need not wait for the first byte's entry.
    const Entry &pair(unsigned char first, unsigned char second) const { return m_pairs[first * BlockSize + second]; }
    // The third byte after a pair that needs more.
    const Entry &third(const Entry &pair, unsigned char byte) const
    {
        return m_thirds[static_cast<unsigned char>(pair.utf8[0]) * BlockSize + byte];
    }

private:
    static constexpr std::size_t BlockSize = 256;

    explicit MultiByteTable(const char *iconvName);
    void fillPairs(unsigned char first, const IconvHandle &toUtf8);
    std::size_t fillThirds(const std::string &pair, const IconvHandle &toUtf8);

    // Held in the table itself, so that a decoder finds them at fixed offsets.
    std::array<Entry, BlockSize> m_singles{};
    std::array<Entry, BlockSize * BlockSize> m_pairs{};
    std::vector<Entry> m_thirds;
};
