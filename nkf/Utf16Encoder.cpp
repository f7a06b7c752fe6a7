#include "Utf16Encoder.h"

#include "PiecewiseEncoding.h"
#include "Utf8Character.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace {

constexpr char32_t ReplacementCharacter = 0xFFFD;

// ASCII doubles, and so does a lone byte replaced; every other character takes no
// more than its UTF-8. The last character of a piece may reach three bytes past it.
constexpr std::size_t roomFor(std::size_t pieceSize)
{
    return (pieceSize + 3) * 2;
}

template<ByteOrder order>
void putUnit(char32_t unit, char *&out)
{
    const auto high = static_cast<char>(unit >> 8);
    const auto low = static_cast<char>(unit & 0xFF);
    const char bytes[2] = {order == ByteOrder::LittleEndian ? low : high,
                           order == ByteOrder::LittleEndian ? high : low};
    std::memcpy(out, bytes, sizeof bytes);
    out += sizeof bytes;
}

template<ByteOrder order>
void putCharacter(char32_t character, char *&out)
{
    if (character < 0x10000) {
        putUnit<order>(character, out);
        return;
    }
    const char32_t offset = character - 0x10000;
    putUnit<order>(0xD800 | (offset >> 10), out);
    putUnit<order>(0xDC00 | (offset & 0x3FF), out);
}

// Four ASCII bytes at once, the most common run in a source file.
bool fourAsciiBytesAt(const unsigned char *bytes)
{
    std::uint32_t word;
    std::memcpy(&word, bytes, sizeof word);
    return (word & 0x80808080u) == 0;
}

template<ByteOrder order>
void putFourAscii(const unsigned char *bytes, char *&out)
{
    const auto ascii = [&](std::size_t i) { return static_cast<char>(bytes[i]); };
    const std::array<char, 8> units = order == ByteOrder::LittleEndian
                                          ? std::array{ascii(0), '\0', ascii(1), '\0', ascii(2), '\0', ascii(3), '\0'}
                                          : std::array{'\0', ascii(0), '\0', ascii(1), '\0', ascii(2), '\0', ascii(3)};
    std::memcpy(out, units.data(), units.size());
    out += units.size();
}

} // namespace

Utf16Encoder::Utf16Encoder(ByteOrder order)
    : m_order(order)
{
}

void Utf16Encoder::encode(std::string_view utf8, Text &out)
{
    PiecewiseEncoding::encode(utf8, out, roomFor, [&](std::size_t position, std::size_t end, char *&written) {
        return m_order == ByteOrder::LittleEndian ? encodePiece<ByteOrder::LittleEndian>(utf8, position, end, written)
                                                  : encodePiece<ByteOrder::BigEndian>(utf8, position, end, written);
    });
}

void Utf16Encoder::finish(Text &)
{
}

// Encodes every character that starts before end; the last one may reach past
// it, but not past the end of the text, where a cut character is ill-formed.
template<ByteOrder order>
std::size_t Utf16Encoder::encodePiece(std::string_view utf8, std::size_t position, std::size_t end, char *&out)
{
    const auto *const bytes = reinterpret_cast<const unsigned char *>(utf8.data());
    char *write = out;
    while (position < end) {
        if (position + 4 <= end && fourAsciiBytesAt(bytes + position)) {
            putFourAscii<order>(bytes + position, write);
            position += 4;
            continue;
        }
        const Utf8Character character = Utf8Character::at({bytes + position, utf8.size() - position});
        position += character.length;
        if (!character.wellFormed) {
            putCharacter<order>(ReplacementCharacter, write);
            ++m_replacements;
            continue;
        }
        putCharacter<order>(character.codePoint, write);
    }
    out = write;
    return position;
}
