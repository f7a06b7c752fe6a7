#pragma once

#include "KanjiCode.h"

// The iconv name of each encoding; ISO-2022-JP goes through the EUC-JP mapping.
constexpr const char *iconvName(KanjiCode code)
{
    switch (code) {
    case KanjiCode::ShiftJis:
        return "CP932";
    case KanjiCode::EucJp:
    case KanjiCode::Iso2022Jp:
        return "EUC-JP-MS";
    case KanjiCode::Utf8:
        return "UTF-8";
    case KanjiCode::Utf16LittleEndian:
        return "UTF-16LE";
    case KanjiCode::Utf16BigEndian:
        return "UTF-16BE";
    }
    return "UTF-8";
}
