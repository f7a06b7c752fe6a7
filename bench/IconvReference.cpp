#include "IconvReference.h"

#include <stdexcept>

IconvReference::IconvReference(const char *to, const char *from)
    : m_descriptor(iconv_open(to, from))
{
    if (m_descriptor == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
}

IconvReference::~IconvReference()
{
    iconv_close(m_descriptor);
}

std::string IconvReference::convert(std::string_view input) const
{
    return convert(input, input.size() * 4 + 16);
}

std::string IconvReference::convert(std::string_view input, std::size_t capacity) const
{
    iconv(m_descriptor, nullptr, nullptr, nullptr, nullptr);
    std::string output(capacity, '\0');
    char *in = const_cast<char *>(input.data());
    std::size_t inLeft = input.size();
    char *out = output.data();
    std::size_t outLeft = output.size();
    if (iconv(m_descriptor, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)
        || iconv(m_descriptor, nullptr, nullptr, &out, &outLeft) == static_cast<std::size_t>(-1))
        throw std::runtime_error("iconv failed on the benchmark text");
    output.resize(output.size() - outLeft);
    return output;
}
