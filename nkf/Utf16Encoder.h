#pragma once

#include "ByteOrder.h"
#include "Encoder.h"

// Encodes UTF-8 into UTF-16 of either byte order. A sequence that is not UTF-8
// becomes U+FFFD.
class Utf16Encoder : public Encoder
{
public:
    explicit Utf16Encoder(ByteOrder order);

    void encode(std::string_view utf8, Text &out) override;
    void finish(Text &out) override;
    std::size_t replacements() const override { return m_replacements; }

private:
    template<ByteOrder order>
    std::size_t encodePiece(std::string_view utf8, std::size_t position, std::size_t end, char *&out);

    ByteOrder m_order;
    std::size_t m_replacements = 0;
};
