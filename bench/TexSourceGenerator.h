#pragma once

#include <cstddef>
#include <string>

// Generates a Japanese TeX source in UTF-8 with CR+LF line ends: markup, inline
// mathematics and sentences of kana, kanji and full-width symbols, about 60 % of
// its characters Japanese. The same size always gives the same text.
class TexSourceGenerator
{
public:
    // Generates until the text would take about shiftJisBytes bytes in Shift_JIS.
    static std::string generate(std::size_t shiftJisBytes);
};
