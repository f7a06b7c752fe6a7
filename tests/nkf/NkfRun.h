#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// One conversion through the library's exports, in the order every caller uses:
// options, sizing call, a buffer of the reported size, conversion.
struct NkfRun
{
    bool sized = false;
    bool converted = false;
    std::uint32_t reportedSize = 0;
    std::string output;
    int kanjiCode = -1;
    std::uint32_t replacedCount = 0;

    static NkfRun convert(std::string_view options, std::string_view input);
};
