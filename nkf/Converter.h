#pragma once

#include "ConversionOptions.h"
#include "KanjiCode.h"
#include "Text.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// The library's state and the conversion itself: options, the last conversion's
// input encoding and replacement count, and the output of a sizing call kept for
// the conversion call that follows it.
class Converter
{
public:
    void setOptions(std::string_view text);

    // The contract of NkfConvertSafe (see nkf32.h).
    bool convert(char *output, std::uint32_t capacity, std::uint32_t *written, std::span<const unsigned char> input);

    KanjiCode lastInputCode() const { return m_lastInputCode; }
    std::size_t lastReplacedCount() const { return m_lastReplacedCount; }

private:
    struct InputIdentity
    {
        const unsigned char *address;
        std::size_t length;
        std::uint64_t fingerprint;
    };
    struct Result
    {
        Text output;
        KanjiCode inputCode;
        std::size_t replacedCount;
        std::uint64_t inputFingerprint;
    };
    struct KeptResult
    {
        InputIdentity input;
        Result result;
    };

    bool keptResultFits(std::span<const unsigned char> input) const;
    Result resultFor(std::span<const unsigned char> input);
    Result run(std::span<const unsigned char> input) const;

    ConversionOptions m_options;
    std::optional<KeptResult> m_kept;
    KanjiCode m_lastInputCode = KanjiCode::Utf8;
    std::size_t m_lastReplacedCount = 0;
};
