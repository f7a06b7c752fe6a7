#include "IconvText.h"

#include <iconv.h>
#include <memory>
#include <stdexcept>
#include <type_traits>

namespace {

struct IconvCloser
{
    void operator()(iconv_t descriptor) const { iconv_close(descriptor); }
};
using IconvDescriptor = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser>;

} // namespace

std::string iconvConvert(std::string_view input, const char *to, const char *from)
{
    const iconv_t opened = iconv_open(to, from);
    if (opened == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("iconv_open failed");
    const IconvDescriptor descriptor(opened);
    std::string output(input.size() * 4 + 16, '\0');
    char *in = const_cast<char *>(input.data());
    std::size_t inLeft = input.size();
    char *out = output.data();
    std::size_t outLeft = output.size();
    if (iconv(descriptor.get(), &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)
        || iconv(descriptor.get(), nullptr, nullptr, &out, &outLeft) == static_cast<std::size_t>(-1))
        throw std::runtime_error("iconv failed");
    output.resize(output.size() - outLeft);
    return output;
}
