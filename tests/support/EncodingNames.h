#pragma once

#include "nkf32.h"

#include <array>
#include <string_view>

// How tests name each of the converter's six encodings, given by its code in
// nkf32.h (a TextEncoding's index is the same code): to glibc's iconv, in the
// converter's options, and by the byte-order mark it may start with.
namespace EncodingNames {

inline constexpr std::array<int, 6> AllCodes{NKF_SHIFT_JIS, NKF_EUC_JP,   NKF_ISO_2022_JP,
                                             NKF_UTF8,      NKF_UTF16_LE, NKF_UTF16_BE};

// iconv's name for the very character set the converter uses: CP932 for Shift_JIS,
// EUC-JP-MS for EUC-JP, and no byte-order mark for the UTF encodings.
const char *iconvName(int code);
// The converter's option that reads the input in this encoding.
const char *inputOption(int code);
// The mark a file in this encoding may start with; empty where there is none.
std::string_view byteOrderMark(int code);

} // namespace EncodingNames
