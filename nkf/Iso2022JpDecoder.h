#pragma once

#include "Decoder.h"
#include "JisTable.h"

#include <string>

// Decodes ISO-2022-JP over the eucJP-ms mapping. Accepts ESC $ B and ESC $ @
// (JIS X 0208), ESC ( B and ESC ( J (ASCII), ESC ( I and SO/SI (half-width
// katakana) and ESC $ ( D (JIS X 0212, where the IBM extensions live).
class Iso2022JpDecoder : public Decoder
{
public:
    Iso2022JpDecoder();

    std::size_t decode(std::span<const unsigned char> rest, std::size_t window, Text &out) override;
    std::size_t replacements() const override { return m_replacements; }

private:
    enum class Mode { Ascii, Jis0208, Katakana, Jis0212 };
    enum class Step { Decoded, Invalid, Incomplete };
    struct Outcome
    {
        Step step;
        std::size_t length;
    };

    Outcome decodeAt(std::span<const unsigned char> bytes, Text &out);
    Outcome readEscape(std::span<const unsigned char> bytes);
    Outcome readCharacter(std::span<const unsigned char> bytes, Text &out);
    static Outcome readAsciiRun(std::span<const unsigned char> bytes, Text &out);
    Outcome readDoubleBytes(std::span<const unsigned char> bytes, JisTable::Set set, Text &out);

    const JisTable &m_table;
    Mode m_mode = Mode::Ascii;
    bool m_shiftedOut = false;
    std::size_t m_replacements = 0;
};
