#include "EncodingFlags.h"

#include <QStringList>

namespace {

QString shortName(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::ShiftJis:
        return QStringLiteral("Shift_JIS");
    case TextEncoding::EucJp:
        return QStringLiteral("EUC-JP");
    case TextEncoding::Iso2022Jp:
        return QStringLiteral("ISO-2022-JP");
    case TextEncoding::Utf8:
        return QStringLiteral("UTF-8");
    case TextEncoding::Utf16LittleEndian:
        return QStringLiteral("UTF-16LE");
    case TextEncoding::Utf16BigEndian:
        return QStringLiteral("UTF-16BE");
    }
    return {};
}

QString shortName(NewlineCode newline)
{
    switch (newline) {
    case NewlineCode::Lf:
        return QStringLiteral("LF");
    case NewlineCode::CrLf:
        return QStringLiteral("CRLF");
    case NewlineCode::Cr:
        return QStringLiteral("CR");
    case NewlineCode::NotSet:
        break;
    }
    return {};
}

} // namespace

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

QString EncodingFlags::statusText() const
{
    QStringList parts;
    if (const std::optional<TextEncoding> shown = encoding())
        parts.append(shortName(*shown));
    if (hasByteOrderMark())
        parts.append(QStringLiteral("BOM"));
    if (const QString newline = shortName(newlineCode()); !newline.isEmpty())
        parts.append(newline);
    return parts.join(u' ');
}
