#include "Converter.h"

#include "ByteOrderMark.h"
#include "Decoder.h"
#include "Encoder.h"
#include "EncodingDetector.h"
#include "IconvDecoder.h"
#include "IconvEncoder.h"
#include "Iso2022JpDecoder.h"
#include "Iso2022JpEncoder.h"
#include "NewlineConverter.h"
#include "Utf8Encoder.h"

#include <cstring>
#include <functional>
#include <limits>
#include <memory>

namespace {

// Pieces small enough to stay in the cache between the stages.
constexpr std::size_t Window = 64 * 1024;

std::unique_ptr<Decoder> decoderFor(KanjiCode code)
{
    if (code == KanjiCode::Iso2022Jp)
        return std::make_unique<Iso2022JpDecoder>();
    return std::make_unique<IconvDecoder>(code);
}

std::unique_ptr<Encoder> encoderFor(KanjiCode code)
{
    if (code == KanjiCode::Utf8)
        return std::make_unique<Utf8Encoder>();
    if (code == KanjiCode::Iso2022Jp)
        return std::make_unique<Iso2022JpEncoder>();
    return std::make_unique<IconvEncoder>(code);
}

// Room for the usual output at once: the pages are touched only as they are written,
// so a generous reservation costs address space, not memory.
std::size_t expectedOutputSize(std::size_t inputSize)
{
    return inputSize * 2 + 64;
}

} // namespace

void Converter::setOptions(std::string_view text)
{
    m_options = ConversionOptions::parse(text);
    m_kept.reset();
}

bool Converter::convert(char *output, std::uint32_t capacity, std::uint32_t *written,
                        std::span<const unsigned char> input)
{
    if (written == nullptr || (output == nullptr && capacity != 0))
        return false;
    const InputIdentity identity = identify(input);
    Result result = resultFor(input, identity);
    m_lastInputCode = result.inputCode;
    m_lastReplacedCount = result.replacedCount;
    if (result.output.size() > std::numeric_limits<std::uint32_t>::max()) {
        *written = 0;
        return false;
    }
    *written = static_cast<std::uint32_t>(result.output.size());
    const bool measuring = output == nullptr;
    if (measuring || result.output.size() > capacity) {
        m_kept = KeptResult{identity, std::move(result)};
        return measuring;
    }
    std::memcpy(output, result.output.data(), result.output.size());
    return true;
}

Converter::InputIdentity Converter::identify(std::span<const unsigned char> input)
{
    const std::string_view bytes(reinterpret_cast<const char *>(input.data()), input.size());
    return {input.data(), input.size(), std::hash<std::string_view>{}(bytes)};
}

Converter::Result Converter::resultFor(std::span<const unsigned char> input, const InputIdentity &identity)
{
    if (m_kept && m_kept->input == identity) {
        Result kept = std::move(m_kept->result);
        m_kept.reset();
        return kept;
    }
    m_kept.reset();
    return run(input);
}

Converter::Result Converter::run(std::span<const unsigned char> input) const
{
    const KanjiCode inputCode = m_options.input().value_or(EncodingDetector::detect(input));
    input = input.subspan(ByteOrderMark::lengthAtStart(inputCode, input));
    const KanjiCode outputCode = m_options.output();
    const auto decoder = decoderFor(inputCode);
    const auto encoder = encoderFor(outputCode);
    std::optional<NewlineConverter> newlines;
    if (const auto lineEnd = m_options.lineEnd())
        newlines.emplace(*lineEnd);

    Result result{{}, inputCode, 0};
    std::string &output = result.output;
    output.reserve(expectedOutputSize(input.size()));
    if (m_options.writesByteOrderMark())
        output.append(ByteOrderMark::of(outputCode));
    std::string decoded;
    std::string normalised;
    for (std::size_t position = 0; position < input.size();) {
        decoded.clear();
        position += decoder->decode(input.subspan(position), Window, decoded);
        if (newlines) {
            normalised.clear();
            newlines->convert(decoded, normalised);
            encoder->encode(normalised, output);
        } else {
            encoder->encode(decoded, output);
        }
    }
    encoder->finish(output);
    // In a Unicode output every invalid input sequence stands as U+FFFD; in the others
    // that U+FFFD could not be encoded either and the encoder counted it as its "?".
    result.replacedCount = encoder->replacements() + (isUnicode(outputCode) ? decoder->replacements() : 0);
    return result;
}
