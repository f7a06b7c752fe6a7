#pragma once

// The encodings the library reads and writes; the values are the codes that
// NkfGetKanjiCode reports.
enum class KanjiCode {
    ShiftJis = 0,
    EucJp = 1,
    Iso2022Jp = 2,
    Utf8 = 3,
    Utf16LittleEndian = 4,
    Utf16BigEndian = 5,
};

constexpr bool isUnicode(KanjiCode code)
{
    return code == KanjiCode::Utf8 || code == KanjiCode::Utf16LittleEndian
           || code == KanjiCode::Utf16BigEndian;
}
