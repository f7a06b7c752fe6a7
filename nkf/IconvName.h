#pragma once

// The iconv names of the mappings that the code tables are taken from; ISO-2022-JP
// uses the EUC-JP one.
constexpr const char *ShiftJisMapping = "CP932";
constexpr const char *EucJpMapping = "EUC-JP-MS";
