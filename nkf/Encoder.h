#pragma once

#include "Text.h"

#include <cstddef>
#include <string_view>

// Turns UTF-8 into the bytes of one encoding, appending them to the output.
class Encoder
{
public:
    virtual ~Encoder() = default;

    virtual void encode(std::string_view utf8, Text &out) = 0;
    // Ends the text (a stateful encoding returns to its initial state).
    virtual void finish(Text &out) = 0;
    // Characters the encoding could not represent, each written as a replacement.
    virtual std::size_t replacements() const = 0;
};
