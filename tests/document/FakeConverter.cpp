// A stand-in for the conversion library whose behaviour the option string
// chooses, for the binding's failure paths. Built three times: complete, without
// NkfConvertSafe and without NkfGetKanjiCode. It includes the library's header, so
// that a change of the interface fails to compile here instead of passing unseen.
#include "nkf32.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

std::string options;
std::string calls;

bool asked(const char *behaviour)
{
    return options.find(behaviour) != std::string::npos;
}

} // namespace

extern "C" {

NKF32_EXPORT int SetNkfOption(const char *text)
{
    options = text;
    calls = "option;";
    return 1;
}

#ifndef FAKE_WITHOUT_CONVERT
// Echoes the input. Logs each call with its capacity and whether the buffer came
// zero-filled.
NKF32_EXPORT int NkfConvertSafe(char *output, std::uint32_t capacity, std::uint32_t *written, const char *input,
                                std::uint32_t length)
{
    if (output == nullptr) {
        calls += "size;";
        *written = length;
        return asked("fail-sizing") ? 0 : 1;
    }
    const bool zeroed = std::all_of(output, output + capacity, [](char c) { return c == '\0'; });
    calls += "convert " + std::to_string(capacity) + (zeroed ? " zeroed;" : " dirty;");
    if (asked("fail-conversion"))
        return 0;
    std::memcpy(output, input, length);
    *written = asked("overreport") ? capacity + 10 : length;
    return 1;
}
#endif

#ifndef FAKE_WITHOUT_KANJI_CODE
NKF32_EXPORT int NkfGetKanjiCode()
{
    calls += "code;";
    return asked("code-9") ? 9 : NKF_EUC_JP;
}
#endif

NKF32_EXPORT const char *FakeCallLog()
{
    return calls.c_str();
}
}
