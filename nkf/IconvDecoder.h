#pragma once

#include "Decoder.h"
#include "IconvHandle.h"
#include "KanjiCode.h"

// Decodes Shift_JIS (CP932), EUC-JP (eucJP-ms), UTF-8 and UTF-16 with iconv.
class IconvDecoder : public Decoder
{
public:
    explicit IconvDecoder(KanjiCode code);

    std::size_t decode(std::span<const unsigned char> rest, std::size_t window,
                       Text &out) override;
    std::size_t replacements() const override { return m_replacements; }

private:
    std::size_t invalidSequenceLength(std::span<const unsigned char> bytes) const;
    void appendReplacement(Text &out, std::size_t &used);

    KanjiCode m_code;
    IconvHandle m_handle;
    std::size_t m_replacements = 0;
};
