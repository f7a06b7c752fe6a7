#include "nkf32.h"

#include "Converter.h"

#include <mutex>
#include <new>
#include <span>

namespace {

std::mutex &stateLock()
{
    static std::mutex lock;
    return lock;
}

Converter &converter()
{
    static Converter instance;
    return instance;
}

} // namespace

extern "C" {

int SetNkfOption(const char *options)
{
    if (options == nullptr)
        return 0;
    const std::lock_guard guard(stateLock());
    converter().setOptions(options);
    return 1;
}

int NkfConvertSafe(char *output, uint32_t capacity, uint32_t *written, const char *input, uint32_t length)
{
    if (input == nullptr && length != 0)
        return 0;
    const std::span<const unsigned char> bytes(reinterpret_cast<const unsigned char *>(input), length);
    const std::lock_guard guard(stateLock());
    // Nothing may escape through the C boundary; running out of memory, or an iconv
    // conversion missing from the C library, is a failed conversion.
    try {
        return converter().convert(output, capacity, written, bytes) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

int NkfGetKanjiCode(void)
{
    const std::lock_guard guard(stateLock());
    return static_cast<int>(converter().lastInputCode());
}

uint32_t NkfGetReplacedCount(void)
{
    const std::lock_guard guard(stateLock());
    return static_cast<uint32_t>(converter().lastReplacedCount());
}
}
