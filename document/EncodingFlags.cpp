#include "EncodingFlags.h"

std::optional<TextEncoding> EncodingFlags::encoding() const
{
    for (const TextEncoding candidate : AllTextEncodings) {
        if (hasEncoding(candidate))
            return candidate;
    }
    return std::nullopt;
}

EncodingFlags EncodingFlags::withNewlineCode(NewlineCode newline) const
{
    const auto newlineBits = static_cast<quint16>(static_cast<unsigned>(newline) << NewlineShift);
    return EncodingFlags(static_cast<quint16>((m_value & ~NewlineMask) | newlineBits));
}
