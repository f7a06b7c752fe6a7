#pragma once

#include "KanjiCode.h"

#include <span>

// Works out the encoding of a text from its bytes: byte-order marks first, then
// ISO-2022-JP by its escape sequences, UTF-16 without a mark by the statistics of
// its 16-bit units, UTF-8 by validity unless it reads as rare letters only where
// EUC-JP reads as Japanese, and Shift_JIS against EUC-JP by a score over the text.
// Pure ASCII is UTF-8.
class EncodingDetector
{
public:
    static KanjiCode detect(std::span<const unsigned char> bytes);
};
