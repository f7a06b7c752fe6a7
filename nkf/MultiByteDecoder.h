#pragma once

#include "Decoder.h"
#include "KanjiCode.h"
#include "MultiByteTable.h"

// Decodes Shift_JIS (CP932) and EUC-JP (eucJP-ms) through a table of every code,
// the way iconv would: a code without a character, or a byte that starts none, is
// one U+FFFD.
class MultiByteDecoder : public Decoder
{
public:
    // Shift_JIS or EUC-JP.
    explicit MultiByteDecoder(KanjiCode code);

    std::size_t decode(std::span<const unsigned char> rest, std::size_t window, Text &out) override;
    std::size_t replacements() const override { return m_replacements; }

private:
    std::size_t decodePiece(std::span<const unsigned char> rest, std::size_t position, std::size_t end, char *&out);
    std::size_t replaceCutCode(std::span<const unsigned char> rest, char *&out);
    std::size_t invalidSequenceLength(std::span<const unsigned char> bytes) const;

    KanjiCode m_code;
    const MultiByteTable &m_table;
    std::size_t m_replacements = 0;
};
