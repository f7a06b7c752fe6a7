#include "Iso2022JpDecoder.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

namespace {

constexpr unsigned char Escape = 0x1B;
constexpr unsigned char ShiftOut = 0x0E;
constexpr unsigned char ShiftIn = 0x0F;
constexpr std::string_view ReplacementCharacter = "\xEF\xBF\xBD";
// Runs are cut at this length so that a piece of output stays small.
constexpr std::size_t LongestRun = 16 * 1024;

bool isGraphic(unsigned char byte)
{
    return byte >= 0x21 && byte <= 0x7E;
}

bool isKatakana(unsigned char byte)
{
    return byte >= 0x21 && byte <= 0x5F;
}

} // namespace

Iso2022JpDecoder::Iso2022JpDecoder()
    : m_eucDecoder(KanjiCode::EucJp)
{
}

std::size_t Iso2022JpDecoder::replacements() const
{
    return m_invalidSequences + m_eucDecoder.replacements();
}

std::size_t Iso2022JpDecoder::decode(std::span<const unsigned char> rest, std::size_t window,
                                     std::string &out)
{
    const std::size_t end = std::min(window, rest.size());
    std::size_t position = 0;
    while (position < end) {
        const Outcome outcome = decodeAt(rest.subspan(position));
        if (outcome.step == Step::Incomplete && end < rest.size())
            break;
        if (outcome.step != Step::Decoded) {
            flush(out);
            out.append(ReplacementCharacter);
            ++m_invalidSequences;
        }
        position += outcome.length;
    }
    flush(out);
    return position;
}

Iso2022JpDecoder::Outcome Iso2022JpDecoder::decodeAt(std::span<const unsigned char> bytes)
{
    const unsigned char byte = bytes[0];
    if (byte == Escape)
        return readEscape(bytes);
    if (byte == ShiftOut || byte == ShiftIn) {
        m_shiftedOut = byte == ShiftOut;
        return {Step::Decoded, 1};
    }
    if (byte >= 0x80)
        return {Step::Invalid, 1};
    return readCharacter(bytes);
}

Iso2022JpDecoder::Outcome Iso2022JpDecoder::readEscape(std::span<const unsigned char> bytes)
{
    struct Designation
    {
        std::string_view sequence;
        std::optional<Mode> mode;
    };
    // ESC ) I only designates the katakana set that SO/SI switch to; it changes
    // nothing by itself.
    static constexpr std::array<Designation, 7> designations{{
        {"\x1B$B", Mode::Jis0208},
        {"\x1B$@", Mode::Jis0208},
        {"\x1B(B", Mode::Ascii},
        {"\x1B(J", Mode::Ascii},
        {"\x1B(I", Mode::Katakana},
        {"\x1B$(D", Mode::Jis0212},
        {"\x1B)I", std::nullopt},
    }};
    bool cut = false;
    for (const Designation &designation : designations) {
        const std::size_t available = std::min(designation.sequence.size(), bytes.size());
        const bool matches = std::equal(designation.sequence.begin(),
                                        designation.sequence.begin() + available, bytes.begin(),
                                        [](char s, unsigned char b) { return static_cast<unsigned char>(s) == b; });
        if (!matches)
            continue;
        if (available < designation.sequence.size()) {
            cut = true;
            continue;
        }
        if (designation.mode)
            m_mode = *designation.mode;
        return {Step::Decoded, designation.sequence.size()};
    }
    if (cut)
        return {Step::Incomplete, bytes.size()};
    return {Step::Invalid, 1};
}

Iso2022JpDecoder::Outcome Iso2022JpDecoder::readCharacter(std::span<const unsigned char> bytes)
{
    const unsigned char byte = bytes[0];
    // Controls, blanks and line ends stand for themselves in every mode.
    if (!isGraphic(byte)) {
        m_eucBytes.push_back(static_cast<char>(byte));
        return {Step::Decoded, 1};
    }
    if (m_shiftedOut || m_mode == Mode::Katakana) {
        if (!isKatakana(byte))
            return {Step::Invalid, 1};
        m_eucBytes.push_back(static_cast<char>(0x8E));
        m_eucBytes.push_back(static_cast<char>(byte | 0x80));
        return {Step::Decoded, 1};
    }
    switch (m_mode) {
    case Mode::Jis0208:
        return readDoubleBytes(bytes);
    case Mode::Jis0212:
        return readDoubleByte(bytes, true);
    default:
        return readAsciiRun(bytes);
    }
}

Iso2022JpDecoder::Outcome Iso2022JpDecoder::readAsciiRun(std::span<const unsigned char> bytes)
{
    const std::span<const unsigned char> run = bytes.first(std::min(bytes.size(), LongestRun));
    const auto end = std::find_if(run.begin(), run.end(), [](unsigned char b) {
        return b >= 0x80 || b == Escape || b == ShiftOut || b == ShiftIn;
    });
    const auto length = static_cast<std::size_t>(end - run.begin());
    m_eucBytes.append(reinterpret_cast<const char *>(run.data()), length);
    return {Step::Decoded, length};
}

// Most of a Japanese text is long runs of JIS X 0208 characters; they are taken
// in one go.
Iso2022JpDecoder::Outcome Iso2022JpDecoder::readDoubleBytes(std::span<const unsigned char> bytes)
{
    const std::size_t limit = std::min(bytes.size(), LongestRun);
    std::size_t length = 0;
    while (length + 1 < limit && isGraphic(bytes[length]) && isGraphic(bytes[length + 1]))
        length += 2;
    if (length == 0)
        return readDoubleByte(bytes, false);
    const std::size_t start = m_eucBytes.size();
    m_eucBytes.resize(start + length);
    for (std::size_t i = 0; i < length; ++i)
        m_eucBytes[start + i] = static_cast<char>(bytes[i] | 0x80);
    return {Step::Decoded, length};
}

Iso2022JpDecoder::Outcome Iso2022JpDecoder::readDoubleByte(std::span<const unsigned char> bytes,
                                                           bool supplementary)
{
    if (bytes.size() < 2)
        return {Step::Incomplete, 1};
    if (!isGraphic(bytes[1]))
        return {Step::Invalid, 1};
    if (supplementary)
        m_eucBytes.push_back(static_cast<char>(0x8F));
    m_eucBytes.push_back(static_cast<char>(bytes[0] | 0x80));
    m_eucBytes.push_back(static_cast<char>(bytes[1] | 0x80));
    return {Step::Decoded, 2};
}

void Iso2022JpDecoder::flush(std::string &out)
{
    const std::span<const unsigned char> bytes(reinterpret_cast<const unsigned char *>(m_eucBytes.data()),
                                               m_eucBytes.size());
    std::size_t position = 0;
    while (position < bytes.size())
        position += m_eucDecoder.decode(bytes.subspan(position), bytes.size(), out);
    m_eucBytes.clear();
}
