#include "Converter.h"

#include "ByteOrderMark.h"
#include "Decoder.h"
#include "Encoder.h"
#include "EncodingDetector.h"
#include "InputFingerprint.h"
#include "Iso2022JpDecoder.h"
#include "Iso2022JpEncoder.h"
#include "MultiByteDecoder.h"
#include "MultiByteEncoder.h"
#include "NewlineConverter.h"
#include "Utf16Decoder.h"
#include "Utf16Encoder.h"
#include "Utf8Decoder.h"

#include <cstring>
#include <limits>
#include <memory>
#include <stdexcept>

namespace {

// Pieces small enough to stay in the cache between the stages.
constexpr std::size_t Window = 16 * 1024;
// Text on its way through the stages of a conversion into another encoding is held
// in smaller pieces still: their memory adds to that of the output, which is kept
// for the conversion call while the caller's buffer is allocated.
constexpr std::size_t StagedWindow = 4 * 1024;
// Room for a decoded piece (three bytes for one byte of half-width katakana) and
// for its line ends converted (two bytes for one): reserved once, so that the
// pieces do not leave a trail of outgrown blocks behind.
constexpr std::size_t DecodedRoom = 3 * StagedWindow;
constexpr std::size_t NormalisedRoom = 2 * DecodedRoom;

std::unique_ptr<Decoder> decoderFor(KanjiCode code, KanjiCode outputCode)
{
    switch (code) {
    case KanjiCode::ShiftJis:
    case KanjiCode::EucJp:
        return std::make_unique<MultiByteDecoder>(code);
    case KanjiCode::Iso2022Jp:
        return std::make_unique<Iso2022JpDecoder>();
    case KanjiCode::Utf8:
        return std::make_unique<Utf8Decoder>(outputCode == KanjiCode::Utf8 ? Utf8Decoder::Checking::Here
                                                                           : Utf8Decoder::Checking::LeftToEncoder);
    case KanjiCode::Utf16LittleEndian:
        return std::make_unique<Utf16Decoder>(ByteOrder::LittleEndian);
    case KanjiCode::Utf16BigEndian:
        return std::make_unique<Utf16Decoder>(ByteOrder::BigEndian);
    }
    throw std::invalid_argument("unknown input encoding");
}

// None for UTF-8: the decoded text is the output.
std::unique_ptr<Encoder> encoderFor(KanjiCode code)
{
    switch (code) {
    case KanjiCode::ShiftJis:
    case KanjiCode::EucJp:
        return std::make_unique<MultiByteEncoder>(code);
    case KanjiCode::Iso2022Jp:
        return std::make_unique<Iso2022JpEncoder>();
    case KanjiCode::Utf8:
        return nullptr;
    case KanjiCode::Utf16LittleEndian:
        return std::make_unique<Utf16Encoder>(ByteOrder::LittleEndian);
    case KanjiCode::Utf16BigEndian:
        return std::make_unique<Utf16Encoder>(ByteOrder::BigEndian);
    }
    throw std::invalid_argument("unknown output encoding");
}

// Room for the usual output at once: the pages are touched only as they are written,
// so a generous reservation costs address space, not memory.
std::size_t expectedOutputSize(std::size_t inputSize)
{
    return inputSize * 2 + 64;
}

// The output was given room for the usual case; what it did not use goes back to
// the system while the output waits for the conversion call, which needs as much
// memory again for the caller's buffer. The string's terminator stays.
void releaseUnusedRoom(Text &output)
{
    HugePageAllocator<char>::releaseTail(output.data(), output.size() + 1, output.capacity());
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
    Result result = resultFor(input);
    m_lastInputCode = result.inputCode;
    m_lastReplacedCount = result.replacedCount;
    if (result.output.size() > std::numeric_limits<std::uint32_t>::max()) {
        *written = 0;
        return false;
    }
    *written = static_cast<std::uint32_t>(result.output.size());
    const bool measuring = output == nullptr;
    if (measuring || result.output.size() > capacity) {
        releaseUnusedRoom(result.output);
        m_kept = KeptResult{{input.data(), input.size(), result.inputFingerprint}, std::move(result)};
        return measuring;
    }
    std::memcpy(output, result.output.data(), result.output.size());
    return true;
}

// The kept result serves only the very input it was made from: the same address
// and length, and the same bytes there.
bool Converter::keptResultFits(std::span<const unsigned char> input) const
{
    return m_kept && m_kept->input.address == input.data() && m_kept->input.length == input.size()
           && m_kept->input.fingerprint == InputFingerprint::of(input);
}

Converter::Result Converter::resultFor(std::span<const unsigned char> input)
{
    if (keptResultFits(input)) {
        Result kept = std::move(m_kept->result);
        m_kept.reset();
        return kept;
    }
    m_kept.reset();
    return run(input);
}

Converter::Result Converter::run(std::span<const unsigned char> input) const
{
    const auto givenCode = m_options.input();
    const KanjiCode inputCode = givenCode ? *givenCode : EncodingDetector::detect(input);
    const std::size_t markLength = ByteOrderMark::lengthAtStart(inputCode, input);
    const KanjiCode outputCode = m_options.output();
    const auto decoder = decoderFor(inputCode, outputCode);
    const auto encoder = encoderFor(outputCode);
    std::optional<NewlineConverter> newlines;
    if (const auto lineEnd = m_options.lineEnd())
        newlines.emplace(*lineEnd);

    Result result{{}, inputCode, 0, 0};
    Text &output = result.output;
    // The fingerprint is taken piece by piece as the input goes through, while each
    // piece is in the cache.
    InputFingerprint fingerprint;
    fingerprint.add(input.first(markLength));
    input = input.subspan(markLength);
    output.reserve(expectedOutputSize(input.size()));
    if (m_options.writesByteOrderMark())
        output.append(ByteOrderMark::of(outputCode));
    // UTF-8 output needs no encoding step: the decoder writes straight into the
    // output, and line ends that take no more room are converted where they stand.
    // Each stage left out saves a copy of the text.
    const bool decodesIntoOutput = !encoder && (!newlines || newlines->convertsInPlace());
    Text decoded;
    Text normalised;
    if (!decodesIntoOutput) {
        decoded.reserve(DecodedRoom);
        if (newlines)
            normalised.reserve(NormalisedRoom);
    }
    for (std::size_t position = 0; position < input.size();) {
        const std::span<const unsigned char> rest = input.subspan(position);
        if (decodesIntoOutput) {
            const std::size_t start = output.size();
            const std::size_t consumed = decoder->decode(rest, Window, output);
            fingerprint.add(rest.first(consumed));
            position += consumed;
            if (newlines)
                newlines->convertInPlace(output, start);
            continue;
        }
        decoded.clear();
        const std::size_t consumed = decoder->decode(rest, StagedWindow, decoded);
        fingerprint.add(rest.first(consumed));
        position += consumed;
        if (!newlines) {
            encoder->encode(decoded, output);
        } else if (!encoder) {
            newlines->convert(decoded, output);
        } else {
            normalised.clear();
            newlines->convert(decoded, normalised);
            encoder->encode(normalised, output);
        }
    }
    if (encoder)
        encoder->finish(output);
    const std::size_t encoderReplacements = encoder ? encoder->replacements() : 0;
    // In a Unicode output every invalid input sequence stands as U+FFFD; in the others
    // that U+FFFD could not be encoded either and the encoder counted it as its "?".
    result.replacedCount = encoderReplacements + (isUnicode(outputCode) ? decoder->replacements() : 0);
    result.inputFingerprint = fingerprint.value();
    return result;
}
