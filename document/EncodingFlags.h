#pragma once

#include "NewlineCode.h"
#include "TextEncoding.h"

#include <QString>
#include <QtGlobal>

#include <optional>

// The 16-bit word that says how a file is encoded: one bit per TextEncoding (bits
// 0 to 5), the byte-order mark (bit 13) and the NewlineCode (bits 14 and 15). All
// other bits are zero.
class EncodingFlags
{
public:
    static constexpr quint16 EncodingMask = 0x003F;
    static constexpr quint16 ByteOrderMarkBit = 0x2000;
    static constexpr quint16 NewlineMask = 0xC000;
    static constexpr int NewlineShift = 14;

    // The text format of this platform: UTF-8, LF, no mark (0x4008).
    static constexpr EncodingFlags platformDefault()
    {
        return EncodingFlags(TextEncoding::Utf8, false, NewlineCode::Lf);
    }

    constexpr EncodingFlags() = default;
    // Bits outside the layout are dropped.
    constexpr explicit EncodingFlags(quint16 value)
        : m_value(value & (EncodingMask | ByteOrderMarkBit | NewlineMask))
    {
    }
    constexpr EncodingFlags(TextEncoding encoding, bool byteOrderMark, NewlineCode newline)
        : m_value(static_cast<quint16>(encodingBit(encoding) | (byteOrderMark ? ByteOrderMarkBit : 0)
                                       | (static_cast<unsigned>(newline) << NewlineShift)))
    {
    }

    constexpr quint16 value() const { return m_value; }
    constexpr bool hasEncoding(TextEncoding encoding) const { return (m_value & encodingBit(encoding)) != 0; }
    // The lowest encoding bit that is set; none when no bit is.
    std::optional<TextEncoding> encoding() const;
    constexpr bool hasByteOrderMark() const { return (m_value & ByteOrderMarkBit) != 0; }
    constexpr NewlineCode newlineCode() const
    {
        return static_cast<NewlineCode>((m_value & NewlineMask) >> NewlineShift);
    }

    EncodingFlags withNewlineCode(NewlineCode newline) const;
    // The status bar's short form: "Shift_JIS CRLF", "UTF-8 BOM LF", "UTF-16LE CR".
    QString statusText() const;

    constexpr bool operator==(const EncodingFlags &) const = default;

private:
    quint16 m_value = 0;
};
