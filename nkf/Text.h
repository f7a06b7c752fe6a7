#pragma once

#include "HugePageAllocator.h"

#include <string>

// Converted text on its way through the library, in blocks that may be huge pages.
using Text = std::basic_string<char, std::char_traits<char>, HugePageAllocator<char>>;
