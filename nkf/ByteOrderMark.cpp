#include "ByteOrderMark.h"

#include <algorithm>

std::string_view ByteOrderMark::of(KanjiCode code)
{
    switch (code) {
    case KanjiCode::Utf8:
        return "\xEF\xBB\xBF";
    case KanjiCode::Utf16LittleEndian:
        return "\xFF\xFE";
    case KanjiCode::Utf16BigEndian:
        return "\xFE\xFF";
    default:
        return {};
    }
}

std::size_t ByteOrderMark::lengthAtStart(KanjiCode code, std::span<const unsigned char> bytes)
{
    const std::string_view mark = of(code);
    if (mark.empty() || bytes.size() < mark.size())
        return 0;
    const bool present = std::equal(mark.begin(), mark.end(), bytes.begin(),
                                    [](char m, unsigned char b) { return static_cast<unsigned char>(m) == b; });
    return present ? mark.size() : 0;
}
