#pragma once

#include "Decoder.h"

// Checks UTF-8 input and copies it: the pivot of this platform passes here on every
// save, so it is done without a conversion step. When the text is encoded next, the
// encoder's own strict reading of UTF-8 does the checking, and this decoder only
// cuts the input into pieces at character starts.
class Utf8Decoder : public Decoder
{
public:
    enum class Checking { Here, LeftToEncoder };

    explicit Utf8Decoder(Checking checking);

    std::size_t decode(std::span<const unsigned char> rest, std::size_t window, Text &out) override;
    std::size_t replacements() const override { return m_replacements; }

private:
    std::size_t copyCheckingSequences(std::span<const unsigned char> rest, std::size_t window, Text &out);
    static std::size_t copyWholeCharacters(std::span<const unsigned char> rest, std::size_t window, Text &out);

    Checking m_checking;
    std::size_t m_replacements = 0;
};
