#include "NkfRun.h"

#include "nkf32.h"

#include <iconv.h>
#include <stdexcept>
#include <string>

NkfRun NkfRun::convert(std::string_view options, std::string_view input)
{
    NkfRun run;
    SetNkfOption(std::string(options).c_str());
    run.sized = NkfConvertSafe(nullptr, 0, &run.reportedSize, input.data(),
                               static_cast<std::uint32_t>(input.size()))
                != 0;
    if (!run.sized)
        return run;
    run.output.assign(run.reportedSize, '\0');
    std::uint32_t written = 0;
    run.converted = NkfConvertSafe(run.output.data(), run.reportedSize, &written, input.data(),
                                   static_cast<std::uint32_t>(input.size()))
                    != 0;
    run.output.resize(written);
    run.kanjiCode = NkfGetKanjiCode();
    run.replacedCount = NkfGetReplacedCount();
    return run;
}

std::string iconvConvert(std::string_view input, const char *to, const char *from)
{
    const iconv_t descriptor = iconv_open(to, from);
    if (descriptor == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("iconv_open failed");
    std::string output(input.size() * 4 + 16, '\0');
    char *in = const_cast<char *>(input.data());
    std::size_t inLeft = input.size();
    char *out = output.data();
    std::size_t outLeft = output.size();
    const std::size_t result = iconv(descriptor, &in, &inLeft, &out, &outLeft);
    const std::size_t flushed = iconv(descriptor, nullptr, nullptr, &out, &outLeft);
    iconv_close(descriptor);
    if (result == static_cast<std::size_t>(-1) || flushed == static_cast<std::size_t>(-1))
        throw std::runtime_error("iconv failed");
    output.resize(output.size() - outLeft);
    return output;
}
