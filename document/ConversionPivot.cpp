#include "ConversionPivot.h"

namespace {

QByteArray inputOption(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::ShiftJis:
        return "-S";
    case TextEncoding::EucJp:
        return "-E";
    case TextEncoding::Iso2022Jp:
        return "-J";
    case TextEncoding::Utf8:
        return "-W8";
    case TextEncoding::Utf16LittleEndian:
        return "-W16L";
    case TextEncoding::Utf16BigEndian:
        return "-W16B";
    }
    return {};
}

QByteArray outputOption(TextEncoding encoding, bool byteOrderMark)
{
    switch (encoding) {
    case TextEncoding::ShiftJis:
        return "-s";
    case TextEncoding::EucJp:
        return "-e";
    case TextEncoding::Iso2022Jp:
        return "-j";
    case TextEncoding::Utf8:
        return byteOrderMark ? "-w8" : "-w";
    case TextEncoding::Utf16LittleEndian:
        return byteOrderMark ? "-w16L" : "-w16L0";
    case TextEncoding::Utf16BigEndian:
        return byteOrderMark ? "-w16B" : "-w16B0";
    }
    return {};
}

QByteArray newlineOption(NewlineCode newline)
{
    switch (newline) {
    case NewlineCode::Lf:
        return "-Lu";
    case NewlineCode::CrLf:
        return "-Lw";
    case NewlineCode::Cr:
        return "-Lm";
    case NewlineCode::NotSet:
        break;
    }
    return {};
}

QByteArray joined(QByteArray options, const QByteArray &option)
{
    if (!option.isEmpty())
        options += ' ' + option;
    return options;
}

QByteArray pivotOutputOptions(const ConversionPivot &pivot)
{
    return joined(outputOption(pivot.encoding, false), newlineOption(pivot.newline));
}

} // namespace

QByteArray ConversionPivot::readOptions() const
{
    return pivotOutputOptions(*this);
}

QByteArray ConversionPivot::rereadOptions(TextEncoding encoding) const
{
    return inputOption(encoding) + ' ' + pivotOutputOptions(*this);
}

QByteArray BuildSaveOptions(EncodingFlags saveEncoding, const ConversionPivot &pivot)
{
    QByteArray options = inputOption(pivot.encoding);
    for (const TextEncoding encoding : AllTextEncodings) {
        if (saveEncoding.hasEncoding(encoding))
            options = joined(options, outputOption(encoding, saveEncoding.hasByteOrderMark()));
    }
    return joined(options, newlineOption(saveEncoding.newlineCode()));
}
