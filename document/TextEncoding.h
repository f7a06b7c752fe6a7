#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>

// The six encodings, in the order used everywhere: the index is at once the
// converter's code, the bit number in EncodingFlags and the position in the
// save-encoding dialog's list.
enum class TextEncoding {
    ShiftJis = 0,
    EucJp = 1,
    Iso2022Jp = 2,
    Utf8 = 3,
    Utf16LittleEndian = 4,
    Utf16BigEndian = 5,
};

inline constexpr std::array<TextEncoding, 6> AllTextEncodings{
    TextEncoding::ShiftJis,          TextEncoding::EucJp,          TextEncoding::Iso2022Jp, TextEncoding::Utf8,
    TextEncoding::Utf16LittleEndian, TextEncoding::Utf16BigEndian,
};

constexpr int textEncodingIndex(TextEncoding encoding)
{
    return static_cast<int>(encoding);
}

// The encoding of a converter code; none for a code outside 0 to 5.
std::optional<TextEncoding> textEncodingFromCode(int code);

constexpr quint16 encodingBit(TextEncoding encoding)
{
    return static_cast<quint16>(1u << textEncodingIndex(encoding));
}

// Only the UTF encodings carry a byte-order mark.
constexpr bool carriesByteOrderMark(TextEncoding encoding)
{
    return textEncodingIndex(encoding) >= textEncodingIndex(TextEncoding::Utf8);
}

// Whether the bytes begin with that encoding's byte-order mark.
bool startsWithByteOrderMark(TextEncoding encoding, const QByteArray &bytes);

QString menuText(TextEncoding encoding);
QString dialogListText(TextEncoding encoding);
