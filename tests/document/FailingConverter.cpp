// A conversion library that measures but never converts, for the document's
// handling of a converter that fails. Its header keeps it true to the interface.
#include "nkf32.h"

#include <cstdint>

extern "C" {

NKF32_EXPORT int SetNkfOption(const char *)
{
    return 1;
}

NKF32_EXPORT int NkfConvertSafe(char *output, std::uint32_t, std::uint32_t *written, const char *, std::uint32_t length)
{
    *written = length;
    return output == nullptr ? 1 : 0;
}

NKF32_EXPORT int NkfGetKanjiCode()
{
    return NKF_SHIFT_JIS;
}
}
