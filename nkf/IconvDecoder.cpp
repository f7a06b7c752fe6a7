#include "IconvDecoder.h"

#include "IconvName.h"
#include "Utf8Sequence.h"

#include <algorithm>
#include <cerrno>
#include <string_view>

namespace {

constexpr std::string_view ReplacementCharacter = "\xEF\xBF\xBD";
// Room for the output of a window, as a share of its input: enough for Japanese
// text in any of the encodings (two bytes become three); half-width katakana and
// replacements may need more, and get it.
std::size_t roomFor(std::size_t inputSize)
{
    return inputSize + inputSize / 2 + 16;
}

bool inRange(unsigned char byte, unsigned char low, unsigned char high)
{
    return byte >= low && byte <= high;
}

std::size_t shiftJisSequenceLength(std::span<const unsigned char> bytes)
{
    const unsigned char lead = bytes[0];
    const bool isLead = inRange(lead, 0x81, 0x9F) || inRange(lead, 0xE0, 0xFC);
    if (!isLead || bytes.size() < 2)
        return 1;
    const unsigned char trail = bytes[1];
    return inRange(trail, 0x40, 0x7E) || inRange(trail, 0x80, 0xFC) ? 2 : 1;
}

std::size_t eucJpSequenceLength(std::span<const unsigned char> bytes)
{
    const auto isEucByte = [&](std::size_t i) { return i < bytes.size() && inRange(bytes[i], 0xA1, 0xFE); };
    const unsigned char lead = bytes[0];
    if (lead == 0x8E)
        return bytes.size() >= 2 && inRange(bytes[1], 0xA1, 0xDF) ? 2 : 1;
    if (lead == 0x8F)
        return isEucByte(1) && isEucByte(2) ? 3 : 1;
    return isEucByte(0) && isEucByte(1) ? 2 : 1;
}

} // namespace

IconvDecoder::IconvDecoder(KanjiCode code)
    : m_code(code)
    , m_handle("UTF-8", iconvName(code))
{
}

std::size_t IconvDecoder::decode(std::span<const unsigned char> rest, std::size_t window,
                                 Text &out)
{
    const char *input = reinterpret_cast<const char *>(rest.data());
    const char *const start = input;
    std::size_t inputLeft = std::min(window, rest.size());
    const bool lastWindow = inputLeft == rest.size();
    std::size_t used = out.size();
    out.resize(used + roomFor(inputLeft));
    while (inputLeft > 0) {
        char *output = out.data() + used;
        std::size_t outputLeft = out.size() - used;
        const std::size_t result = m_handle.convert(&input, &inputLeft, &output, &outputLeft);
        const int error = errno;
        used = static_cast<std::size_t>(output - out.data());
        if (result != static_cast<std::size_t>(-1))
            break;
        if (error == E2BIG) {
            out.resize(out.size() + roomFor(inputLeft));
            continue;
        }
        if (error == EINVAL && !lastWindow)
            break;
        const std::size_t consumed = static_cast<std::size_t>(input - start);
        const std::size_t invalid = error == EINVAL
                                        ? inputLeft
                                        : invalidSequenceLength(rest.subspan(consumed));
        appendReplacement(out, used);
        input += invalid;
        inputLeft -= std::min(invalid, inputLeft);
    }
    out.resize(used);
    return static_cast<std::size_t>(input - start);
}

std::size_t IconvDecoder::invalidSequenceLength(std::span<const unsigned char> bytes) const
{
    switch (m_code) {
    case KanjiCode::ShiftJis:
        return shiftJisSequenceLength(bytes);
    case KanjiCode::EucJp:
    case KanjiCode::Iso2022Jp:
        return eucJpSequenceLength(bytes);
    case KanjiCode::Utf8:
        return Utf8Sequence::invalidLength(bytes);
    case KanjiCode::Utf16LittleEndian:
    case KanjiCode::Utf16BigEndian:
        return std::min<std::size_t>(2, bytes.size());
    }
    return 1;
}

void IconvDecoder::appendReplacement(Text &out, std::size_t &used)
{
    if (out.size() - used < ReplacementCharacter.size())
        out.resize(used + ReplacementCharacter.size());
    out.replace(used, ReplacementCharacter.size(), ReplacementCharacter);
    used += ReplacementCharacter.size();
    ++m_replacements;
}
