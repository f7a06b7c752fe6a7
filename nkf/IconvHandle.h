#pragma once

#include <cstddef>
#include <iconv.h>

// One iconv conversion descriptor, closed when the object goes. Opening a
// conversion that the C library lacks throws std::runtime_error.
class IconvHandle
{
public:
    IconvHandle(const char *to, const char *from);
    ~IconvHandle();
    IconvHandle(const IconvHandle &) = delete;
    IconvHandle &operator=(const IconvHandle &) = delete;

    // iconv(3) itself: advances the pointers, returns (size_t)-1 with errno set on
    // a stop.
    std::size_t convert(const char **input, std::size_t *inputLeft, char **output, std::size_t *outputLeft) const;

private:
    iconv_t m_descriptor;
};
