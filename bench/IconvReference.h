#pragma once

#include <iconv.h>
#include <string>
#include <string_view>

// glibc's iconv converting a whole text with the encodings given: the yardstick the
// library is measured against, and the maker of the benchmark's inputs.
class IconvReference
{
public:
    IconvReference(const char *to, const char *from);
    ~IconvReference();
    IconvReference(const IconvReference &) = delete;
    IconvReference &operator=(const IconvReference &) = delete;

    // Throws std::runtime_error when the text does not convert.
    std::string convert(std::string_view input) const;

private:
    iconv_t m_descriptor;
};
