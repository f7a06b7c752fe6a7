#pragma once

#include "Encoder.h"
#include "MultiByteEncoder.h"

#include <string>

// Encodes ISO-2022-JP over the eucJP-ms mapping: JIS X 0208 after ESC $ B,
// half-width katakana after ESC ( I, JIS X 0212 (the IBM extensions) after
// ESC $ ( D. Characters it cannot carry safely become "?". Every line end and the
// end of the text are reached in ASCII, so each line can be read on its own.
class Iso2022JpEncoder : public Encoder
{
public:
    Iso2022JpEncoder();

    void encode(std::string_view utf8, Text &out) override;
    void finish(Text &out) override;
    std::size_t replacements() const override { return m_eucEncoder.replacements() + m_unsafe; }

private:
    enum class Mode { Ascii, Jis0208, Katakana, Jis0212 };

    void switchTo(Mode mode, Text &out);

    MultiByteEncoder m_eucEncoder;
    Text m_eucBytes;
    Mode m_mode = Mode::Ascii;
    // Characters EUC-JP has a code for that ISO-2022-JP cannot carry.
    std::size_t m_unsafe = 0;
};
