#pragma once

#include "ConversionOptions.h"

#include "Text.h"

#include <string_view>

// Turns every CR, LF and CR+LF of UTF-8 text into one chosen line end. The text may
// come in pieces: a CR+LF split between two pieces still counts as one line end.
class NewlineConverter
{
public:
    explicit NewlineConverter(LineEnd lineEnd);

    void convert(std::string_view text, Text &out);

private:
    std::string_view m_lineEnd;
    bool m_afterCarriageReturn = false;
};
