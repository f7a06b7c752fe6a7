#pragma once

#include "CharacterCodeTable.h"
#include "Encoder.h"
#include "KanjiCode.h"

// Encodes UTF-8 into Shift_JIS (CP932) or EUC-JP (eucJP-ms) through a table of
// every character's code, the way iconv would. A character without a code, or a
// sequence that is not UTF-8, becomes "?".
class MultiByteEncoder : public Encoder
{
public:
    // Shift_JIS or EUC-JP.
    explicit MultiByteEncoder(KanjiCode code);

    void encode(std::string_view utf8, Text &out) override;
    void finish(Text &out) override;
    std::size_t replacements() const override { return m_replacements; }

private:
    std::size_t encodePiece(std::string_view utf8, std::size_t position, std::size_t end, char *&out);

    const CharacterCodeTable &m_table;
    std::size_t m_replacements = 0;
};
