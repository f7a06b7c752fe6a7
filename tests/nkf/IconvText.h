#pragma once

#include <string>
#include <string_view>

// Encodes or decodes with glibc's iconv directly, for expectations that do not
// come from the library under test. Throws std::runtime_error when the text does
// not convert.
std::string iconvConvert(std::string_view input, const char *to, const char *from);
