#pragma once

#include "Utf8Sequence.h"

#include <cstddef>
#include <span>

// The next character of UTF-8 text for an encoder: its code point and length, or
// the length of the ill-formed sequence in its place.
struct Utf8Character
{
    char32_t codePoint;
    std::size_t length;
    bool wellFormed;

    static Utf8Character at(std::span<const unsigned char> bytes)
    {
        const std::size_t length = Utf8Sequence::wellFormedLength(bytes);
        if (length == 0)
            return {0, Utf8Sequence::invalidLength(bytes), false};
        char32_t codePoint = length == 1 ? bytes[0] : bytes[0] & (0x7F >> length);
        for (std::size_t i = 1; i < length; ++i)
            codePoint = (codePoint << 6) | (bytes[i] & 0x3F);
        return {codePoint, length, true};
    }
};
