// A conversion library that measures but never converts, for the document's
// handling of a converter that fails.
#include <cstdint>

extern "C" {

__attribute__((visibility("default"))) int SetNkfOption(const char *)
{
    return 1;
}

__attribute__((visibility("default"))) int NkfConvertSafe(char *output, std::uint32_t, std::uint32_t *written,
                                                          const char *, std::uint32_t length)
{
    *written = length;
    return output == nullptr ? 1 : 0;
}

__attribute__((visibility("default"))) int NkfGetKanjiCode()
{
    return 0;
}
}
