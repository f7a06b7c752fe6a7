#include "IconvHandle.h"

#include <stdexcept>
#include <string>

IconvHandle::IconvHandle(const char *to, const char *from)
    : m_descriptor(iconv_open(to, from))
{
    if (m_descriptor == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error(std::string("no conversion from ") + from + " to " + to);
}

IconvHandle::~IconvHandle()
{
    iconv_close(m_descriptor);
}

std::size_t IconvHandle::convert(const char **input, std::size_t *inputLeft, char **output,
                                 std::size_t *outputLeft) const
{
    // glibc's iconv takes a non-const input pointer but never writes through it.
    return iconv(m_descriptor, const_cast<char **>(input), inputLeft, output, outputLeft);
}
