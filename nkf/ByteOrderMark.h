#pragma once

#include "KanjiCode.h"

#include <cstddef>
#include <span>
#include <string_view>

// The marks that open a UTF text; the other encodings have none.
class ByteOrderMark
{
public:
    static std::string_view of(KanjiCode code);
    // The length of the mark of that encoding at the start of the bytes, or 0.
    static std::size_t lengthAtStart(KanjiCode code, std::span<const unsigned char> bytes);
};
