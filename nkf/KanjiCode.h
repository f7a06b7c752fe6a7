#pragma once

#include "nkf32.h"

// The encodings the library reads and writes. Their values are the codes of the C
// interface, so that NkfGetKanjiCode can hand them out as they are.
enum class KanjiCode {
    ShiftJis = NKF_SHIFT_JIS,
    EucJp = NKF_EUC_JP,
    Iso2022Jp = NKF_ISO_2022_JP,
    Utf8 = NKF_UTF8,
    Utf16LittleEndian = NKF_UTF16_LE,
    Utf16BigEndian = NKF_UTF16_BE,
};

constexpr bool isUnicode(KanjiCode code)
{
    return code == KanjiCode::Utf8 || code == KanjiCode::Utf16LittleEndian || code == KanjiCode::Utf16BigEndian;
}
