#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// The UTF-8 of every JIS X 0208 and JIS X 0212 code and of the half-width
// katakana, taken once from iconv's eucJP-ms mapping. ISO-2022-JP input then
// decodes character by character without a conversion call.
class JisTable
{
public:
    enum class Set { Jis0208, Jis0212, Katakana };

    static const JisTable &instance();

    // The character of a code of two 7-bit bytes (the first ignored for katakana);
    // empty for a code without one.
    std::string_view utf8(Set set, unsigned char first, unsigned char second) const;

private:
    struct Entry
    {
        std::array<char, 4> bytes{};
        std::uint8_t length = 0;
    };
    static constexpr int CellsPerRow = 94;
    static constexpr int Cells = CellsPerRow * CellsPerRow;

    JisTable();
    static std::size_t index(unsigned char first, unsigned char second);

    std::array<Entry, Cells> m_jis0208;
    std::array<Entry, Cells> m_jis0212;
    std::array<Entry, CellsPerRow> m_katakana;
};
