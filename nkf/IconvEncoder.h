#pragma once

#include "Encoder.h"
#include "IconvHandle.h"
#include "KanjiCode.h"

// Encodes UTF-8 into Shift_JIS (CP932), EUC-JP (eucJP-ms) and UTF-16 with iconv. A
// character without a code in the encoding becomes "?", a sequence that is not
// UTF-8 "?" or, in UTF-16, U+FFFD.
class IconvEncoder : public Encoder
{
public:
    explicit IconvEncoder(KanjiCode code);

    void encode(std::string_view utf8, Text &out) override;
    void finish(Text &out) override;
    std::size_t replacements() const override { return m_replacements; }

private:
    void appendReplacement(Text &out, std::size_t &used);

    std::string_view m_replacement;
    IconvHandle m_handle;
    std::size_t m_replacements = 0;
};
