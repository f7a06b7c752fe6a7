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

    // Converts into a zero-filled buffer of the given capacity, as a caller of the
    // library would; throws std::runtime_error when the text does not convert or
    // does not fit.
    std::string convert(std::string_view input, std::size_t capacity) const;
    // The same with room for any output.
    std::string convert(std::string_view input) const;

private:
    iconv_t m_descriptor;
};
