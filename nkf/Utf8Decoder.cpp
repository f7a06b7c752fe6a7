#include "Utf8Decoder.h"

#include "Utf8Sequence.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace {

constexpr std::string_view ReplacementCharacter = "\xEF\xBF\xBD";
constexpr std::uint64_t HighBits = 0x8080808080808080ull;

bool eightAsciiBytesAt(std::span<const unsigned char> bytes, std::size_t position)
{
    if (position + 8 > bytes.size())
        return false;
    std::uint64_t word;
    std::memcpy(&word, bytes.data() + position, sizeof word);
    return (word & HighBits) == 0;
}

} // namespace

Utf8Decoder::Utf8Decoder(Checking checking)
    : m_checking(checking)
{
}

std::size_t Utf8Decoder::decode(std::span<const unsigned char> rest, std::size_t window, Text &out)
{
    return m_checking == Checking::Here ? copyCheckingSequences(rest, window, out)
                                        : copyWholeCharacters(rest, window, out);
}

std::size_t Utf8Decoder::copyCheckingSequences(std::span<const unsigned char> rest, std::size_t window, Text &out)
{
    const std::size_t end = std::min(window, rest.size());
    const auto text = [&](std::size_t from, std::size_t to) {
        return std::string_view(reinterpret_cast<const char *>(rest.data()) + from, to - from);
    };
    std::size_t runStart = 0;
    std::size_t position = 0;
    while (position < end) {
        if (eightAsciiBytesAt(rest, position)) {
            position += 8;
            continue;
        }
        const std::span<const unsigned char> here = rest.subspan(position);
        if (const std::size_t length = Utf8Sequence::wellFormedLength(here)) {
            position += length;
            continue;
        }
        out.append(text(runStart, position));
        out.append(ReplacementCharacter);
        ++m_replacements;
        position += Utf8Sequence::invalidLength(here);
        runStart = position;
    }
    out.append(text(runStart, position));
    return position;
}

std::size_t Utf8Decoder::copyWholeCharacters(std::span<const unsigned char> rest, std::size_t window, Text &out)
{
    std::size_t end = std::min(window, rest.size());
    // A character has at most three continuation bytes; the piece ends before the
    // lead byte of one that the window would cut.
    for (int step = 0; step < 3 && end > 1 && end < rest.size() && (rest[end] & 0xC0) == 0x80; ++step)
        --end;
    out.append(reinterpret_cast<const char *>(rest.data()), end);
    return end;
}
