#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// Encodes or decodes with glibc's iconv directly, for expectations that do not
// come from the code under test. Throws std::runtime_error, naming the two
// encodings, the byte and iconv's reason, when the text does not convert: a test
// must never compare against a text cut short without a word.
std::string iconvConvert(std::string_view input, const char *to, const char *from);
// The same for the text of a test file: its bytes in iconv's encoding.
QByteArray iconvEncode(const QString &text, const char *encoding);

struct IconvReplaced
{
    std::string text;
    std::size_t replacements;
};

// Converts with iconv the way the library is meant to: each sequence iconv rejects
// becomes the replacement and is skipped by the length that rejectedLength gives
// for the bytes from its start; a sequence cut by the end of the input becomes one
// replacement for all that is left.
IconvReplaced iconvConvertReplacing(std::string_view input, const char *to, const char *from,
                                    std::string_view replacement,
                                    const std::function<std::size_t(std::string_view)> &rejectedLength);
