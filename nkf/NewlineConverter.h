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
    // Whether convertInPlace may be used: the chosen line end is one byte, so no
    // line end of the text grows.
    bool convertsInPlace() const { return m_lineEnd.size() == 1; }
    // Converts the text from the given position to its end where it stands, saving
    // a copy of the whole output when reading.
    void convertInPlace(Text &text, std::size_t from);

private:
    std::string_view m_lineEnd;
    bool m_afterCarriageReturn = false;
};
