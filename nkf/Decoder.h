#pragma once

#include "Text.h"

#include <cstddef>
#include <span>

// Turns input bytes of one encoding into UTF-8, replacing every invalid sequence
// with U+FFFD. The input is handed over in windows; a character or escape sequence
// cut by the end of a window is left for the next one or completed from the bytes
// after the window, and only at the end of the whole input is a cut sequence
// replaced.
class Decoder
{
public:
    virtual ~Decoder() = default;

    // Decodes from the start of rest (everything not yet decoded) about window bytes
    // and returns how many bytes it consumed, which may be a few more than window.
    virtual std::size_t decode(std::span<const unsigned char> rest, std::size_t window, Text &out) = 0;
    // Invalid sequences replaced so far.
    virtual std::size_t replacements() const = 0;
};
