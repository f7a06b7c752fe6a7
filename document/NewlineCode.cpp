#include "NewlineCode.h"

namespace {

constexpr char16_t CarriageReturn = u'\r';
constexpr char16_t LineFeed = u'\n';

NewlineCode detectInBytes(const QByteArray &bytes)
{
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (bytes[i] == '\n')
            return NewlineCode::Lf;
        if (bytes[i] != '\r')
            continue;
        if (i + 1 < size && bytes[i + 1] == '\n')
            return NewlineCode::CrLf;
        return NewlineCode::Cr;
    }
    return NewlineCode::CrLf;
}

NewlineCode detectInUtf16(const QByteArray &bytes, bool bigEndian)
{
    const auto unitAt = [&](qsizetype index) {
        const auto first = static_cast<unsigned char>(bytes[2 * index]);
        const auto second = static_cast<unsigned char>(bytes[2 * index + 1]);
        return static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    };
    const qsizetype units = bytes.size() / 2;
    for (qsizetype i = 0; i < units; ++i) {
        const char16_t unit = unitAt(i);
        if (unit == LineFeed)
            return NewlineCode::Lf;
        if (unit != CarriageReturn)
            continue;
        if (i + 1 < units && unitAt(i + 1) == LineFeed)
            return NewlineCode::CrLf;
        return NewlineCode::Cr;
    }
    return NewlineCode::CrLf;
}

} // namespace

NewlineCode DetectNewlineCode(const QByteArray &bytes, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf16LittleEndian:
        return detectInUtf16(bytes, false);
    case TextEncoding::Utf16BigEndian:
        return detectInUtf16(bytes, true);
    default:
        // In the other encodings no byte of a multi-byte character is CR or LF.
        return detectInBytes(bytes);
    }
}
