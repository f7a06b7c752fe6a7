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

} // namespace

Iso2022JpDecoder::Iso2022JpDecoder()
    : m_table(JisTable::instance())
{
}

std::size_t Iso2022JpDecoder::decode(std::span<const unsigned char> rest, std::size_t window, Text &out)
{
    const std::size_t end = std::min(window, rest.size());
    std::size_t position = 0;
    while (position < end) {
        const Outcome outcome = decodeAt(rest.subspan(position), out);
        if (outcome.step != Step::Decoded) {
            out.append(ReplacementCharacter);
            ++m_replacements;
        }
        position += outcome.length;
    }
    return position;
}

Iso2022JpDecoder::Outcome Iso2022JpDecoder::decodeAt(std::span<const unsigned char> bytes, Text &out)
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
    return readCharacter(bytes, out);
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
        const bool matches = std::equal(designation.sequence.begin(), designation.sequence.begin() + available,
                                        bytes.begin(),
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
    // An escape sequence cut off by the end of the text is one bad sequence.
    if (cut)
        return {Step::Incomplete, bytes.size()};
    return {Step::Invalid, 1};
}

Iso2022JpDecoder::Outcome Iso2022JpDecoder::readCharacter(std::span<const unsigned char> bytes, Text &out)
{
    const unsigned char byte = bytes[0];
    // Controls, blanks and line ends stand for themselves in every mode.
    if (!isGraphic(byte)) {
        out.push_back(static_cast<char>(byte));
        return {Step::Decoded, 1};
    }
    if (m_shiftedOut || m_mode == Mode::Katakana) {
        const std::string_view katakana = m_table.utf8(JisTable::Set::Katakana, 0, byte);
        if (katakana.empty())
            return {Step::Invalid, 1};
        out.append(katakana);
        return {Step::Decoded, 1};
    }
    switch (m_mode) {
    case Mode::Jis0208:
        return readDoubleBytes(bytes, JisTable::Set::Jis0208, out);
    case Mode::Jis0212:
        return readDoubleBytes(bytes, JisTable::Set::Jis0212, out);
    default:
        return readAsciiRun(bytes, out);
    }
}

Iso2022JpDecoder::Outcome Iso2022JpDecoder::readAsciiRun(std::span<const unsigned char> bytes, Text &out)
{
    const std::span<const unsigned char> run = bytes.first(std::min(bytes.size(), LongestRun));
    const auto end = std::find_if(run.begin(), run.end(), [](unsigned char b) {
        return b >= 0x80 || b == Escape || b == ShiftOut || b == ShiftIn;
    });
    const auto length = static_cast<std::size_t>(end - run.begin());
    out.append(reinterpret_cast<const char *>(run.data()), length);
    return {Step::Decoded, length};
}

// Most of a Japanese text is long runs of two-byte characters; they are taken in
// one go, up to the first code that has no character.
Iso2022JpDecoder::Outcome Iso2022JpDecoder::readDoubleBytes(std::span<const unsigned char> bytes, JisTable::Set set,
                                                            Text &out)
{
    if (bytes.size() < 2)
        return {Step::Incomplete, 1};
    const std::size_t limit = std::min(bytes.size(), LongestRun);
    std::size_t length = 0;
    while (length + 1 < limit && isGraphic(bytes[length])) {
        const std::string_view character = m_table.utf8(set, bytes[length], bytes[length + 1]);
        if (character.empty())
            break;
        out.append(character);
        length += 2;
    }
    if (length > 0)
        return {Step::Decoded, length};
    // A code without a character takes both its bytes with it; a second byte that
    // is no code byte is left to be read on its own.
    return {Step::Invalid, isGraphic(bytes[1]) ? std::size_t{2} : std::size_t{1}};
}
