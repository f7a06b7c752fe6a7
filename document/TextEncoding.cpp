#include "TextEncoding.h"

#include "nkf32.h"

// An encoding's index is the code the converter reports for it.
static_assert(textEncodingIndex(TextEncoding::ShiftJis) == NKF_SHIFT_JIS);
static_assert(textEncodingIndex(TextEncoding::EucJp) == NKF_EUC_JP);
static_assert(textEncodingIndex(TextEncoding::Iso2022Jp) == NKF_ISO_2022_JP);
static_assert(textEncodingIndex(TextEncoding::Utf8) == NKF_UTF8);
static_assert(textEncodingIndex(TextEncoding::Utf16LittleEndian) == NKF_UTF16_LE);
static_assert(textEncodingIndex(TextEncoding::Utf16BigEndian) == NKF_UTF16_BE);

std::optional<TextEncoding> textEncodingFromCode(int code)
{
    if (code < 0 || code >= static_cast<int>(AllTextEncodings.size()))
        return std::nullopt;
    return AllTextEncodings[static_cast<std::size_t>(code)];
}

bool startsWithByteOrderMark(TextEncoding encoding, const QByteArray &bytes)
{
    switch (encoding) {
    case TextEncoding::Utf8:
        return bytes.startsWith("\xEF\xBB\xBF");
    case TextEncoding::Utf16LittleEndian:
        return bytes.startsWith("\xFF\xFE");
    case TextEncoding::Utf16BigEndian:
        return bytes.startsWith("\xFE\xFF");
    default:
        return false;
    }
}

QString menuText(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::ShiftJis:
        return QStringLiteral("シフトJIS");
    case TextEncoding::EucJp:
        return QStringLiteral("EUC-JP");
    case TextEncoding::Iso2022Jp:
        return QStringLiteral("ISO-2022-JP");
    case TextEncoding::Utf8:
        return QStringLiteral("UTF-8");
    case TextEncoding::Utf16LittleEndian:
        return QStringLiteral("UTF-16(Little endian)");
    case TextEncoding::Utf16BigEndian:
        return QStringLiteral("UTF-16(Big endian)");
    }
    return {};
}

QString dialogListText(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf16LittleEndian:
        return QStringLiteral("UTF-16 (Little endian)");
    case TextEncoding::Utf16BigEndian:
        return QStringLiteral("UTF-16 (Big endian)");
    default:
        return menuText(encoding);
    }
}
