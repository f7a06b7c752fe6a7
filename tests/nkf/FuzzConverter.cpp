// libFuzzer target: random options and random input through the whole calling
// sequence. The first bytes choose the options; the sizing contract must hold for
// every input.
#include "nkf32.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr std::array<const char *, 21> options{
    "-S",     "-E",    "-J",     "-W8",   "-W16L", "-W16B", "-s",  "-e", "-j", "-w", "-w8",
    "-w16L0", "-w16L", "-w16B0", "-w16B", "-Lu",   "-Lw",   "-Lm", "-x", "-W", "",
};

std::string optionsFrom(const std::uint8_t *&data, std::size_t &size)
{
    if (size == 0)
        return {};
    std::size_t count = data[0] % 5;
    ++data;
    --size;
    std::string text;
    for (; count > 0 && size > 0; --count, ++data, --size) {
        text += options[data[0] % options.size()];
        text += ' ';
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string chosen = optionsFrom(data, size);
    SetNkfOption(chosen.c_str());
    const char *input = reinterpret_cast<const char *>(data);
    const auto length = static_cast<std::uint32_t>(size);
    std::uint32_t needed = 0;
    if (NkfConvertSafe(nullptr, 0, &needed, input, length) == 0)
        std::abort();
    // One byte short must fail without touching the buffer (ASan sees any overrun).
    // new char[0] still gives a real pointer, so this is never a sizing call.
    if (needed > 0) {
        const std::unique_ptr<char[]> shortBuffer(new char[needed - 1]);
        std::uint32_t written = 0;
        if (NkfConvertSafe(shortBuffer.get(), needed - 1, &written, input, length) != 0)
            std::abort();
    }
    std::vector<char> buffer(needed);
    std::uint32_t written = 0;
    if (NkfConvertSafe(buffer.data(), needed, &written, input, length) == 0 || written != needed)
        std::abort();
    const int code = NkfGetKanjiCode();
    if (code < NKF_SHIFT_JIS || code > NKF_UTF16_BE)
        std::abort();
    return 0;
}
