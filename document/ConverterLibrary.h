#pragma once

#include "SharedLibrary.h"

#include <QString>

// The kanji code conversion library, libnkf32.so. It is looked for beside the
// executable first, then through the system's library search; a missing library
// is not an error, the program then works without conversions.
class ConverterLibrary
{
public:
    static constexpr const char *FileName = "libnkf32.so";

    ConverterLibrary() = default;
    explicit ConverterLibrary(const QString &moduleDirectory);

    bool isLoaded() const { return m_library.isLoaded(); }
    void unload() { m_library.unload(); }

    // Looks an operation up by its exported name; null when the library or the
    // operation is missing.
    template<typename Function>
    Function *operation(const char *name) const
    {
        return reinterpret_cast<Function *>(m_library.symbol(name));
    }

private:
    SharedLibrary m_library;
};
