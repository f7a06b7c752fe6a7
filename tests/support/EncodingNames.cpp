#include "EncodingNames.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <string>

namespace {

struct Names
{
    int code;
    const char *iconvName;
    const char *inputOption;
    std::string_view byteOrderMark;
};

constexpr Names AllNames[] = {
    {NKF_SHIFT_JIS, "CP932", "-S", {}},
    {NKF_EUC_JP, "EUC-JP-MS", "-E", {}},
    {NKF_ISO_2022_JP, "ISO-2022-JP", "-J", {}},
    {NKF_UTF8, "UTF-8", "-W8", "\xEF\xBB\xBF"},
    {NKF_UTF16_LE, "UTF-16LE", "-W16L", "\xFF\xFE"},
    {NKF_UTF16_BE, "UTF-16BE", "-W16B", "\xFE\xFF"},
};

const Names &namesOf(int code)
{
    const auto found = std::find_if(std::begin(AllNames), std::end(AllNames),
                                    [code](const Names &names) { return names.code == code; });
    if (found == std::end(AllNames))
        throw std::out_of_range("no encoding has the code " + std::to_string(code));
    return *found;
}

} // namespace

namespace EncodingNames {

const char *iconvName(int code)
{
    return namesOf(code).iconvName;
}

const char *inputOption(int code)
{
    return namesOf(code).inputOption;
}

std::string_view byteOrderMark(int code)
{
    return namesOf(code).byteOrderMark;
}

} // namespace EncodingNames
