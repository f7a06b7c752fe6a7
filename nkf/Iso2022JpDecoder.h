#pragma once

#include "Decoder.h"
#include "IconvDecoder.h"

#include <string>

// Decodes ISO-2022-JP by turning it into eucJP-ms bytes, which iconv then maps.
// Accepts ESC $ B and ESC $ @ (JIS X 0208), ESC ( B and ESC ( J (ASCII), ESC ( I
// and SO/SI (half-width katakana) and ESC $ ( D (JIS X 0212, where the IBM
// extensions live).
class Iso2022JpDecoder : public Decoder
{
public:
    Iso2022JpDecoder();

    std::size_t decode(std::span<const unsigned char> rest, std::size_t window,
                       std::string &out) override;
    std::size_t replacements() const override;

private:
    enum class Mode { Ascii, Jis0208, Katakana, Jis0212 };
    enum class Step { Decoded, Invalid, Incomplete };
    struct Outcome
    {
        Step step;
        std::size_t length;
    };

    Outcome decodeAt(std::span<const unsigned char> bytes);
    Outcome readEscape(std::span<const unsigned char> bytes);
    Outcome readCharacter(std::span<const unsigned char> bytes);
    Outcome readAsciiRun(std::span<const unsigned char> bytes);
    Outcome readDoubleBytes(std::span<const unsigned char> bytes);
    Outcome readDoubleByte(std::span<const unsigned char> bytes, bool supplementary);
    void flush(std::string &out);

    IconvDecoder m_eucDecoder;
    std::string m_eucBytes;
    Mode m_mode = Mode::Ascii;
    bool m_shiftedOut = false;
    std::size_t m_invalidSequences = 0;
};
