#pragma once

#include "ByteOrder.h"
#include "Decoder.h"

// Decodes UTF-16 of either byte order. An unpaired surrogate is one U+FFFD, and so
// is what is left at the end of the input when it cannot be a whole character: an
// odd byte, or a high surrogate without (all of) its low one.
class Utf16Decoder : public Decoder
{
public:
    explicit Utf16Decoder(ByteOrder order);

    std::size_t decode(std::span<const unsigned char> rest, std::size_t window, Text &out) override;
    std::size_t replacements() const override { return m_replacements; }

private:
    template<ByteOrder order>
    std::size_t decodePiece(std::span<const unsigned char> rest, std::size_t position, std::size_t end, char *&out);

    ByteOrder m_order;
    std::size_t m_replacements = 0;
};
