#include "Utf16Decoder.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// The output is made room for piece by piece, so that the room, written once
// before it is filled, is still in the cache when it is filled.
constexpr std::size_t Piece = 16 * 1024;
// Each unit that starts in a piece becomes at most three output bytes, and so does
// a lone byte at the end; a surrogate pair that starts at the end of the piece
// takes one more, and the last character written may write one more byte still.
constexpr std::size_t roomFor(std::size_t pieceSize)
{
    return (pieceSize + 1) / 2 * 3 + 2;
}

bool isHighSurrogate(unsigned int unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(unsigned int unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

template<ByteOrder order>
unsigned int unitAt(const unsigned char *bytes)
{
    if constexpr (order == ByteOrder::LittleEndian)
        return bytes[0] | (static_cast<unsigned int>(bytes[1]) << 8);
    else
        return (static_cast<unsigned int>(bytes[0]) << 8) | bytes[1];
}

// Four units at once when they are all ASCII: by far the most common run in a
// source file.
template<ByteOrder order>
bool fourAsciiUnitsAt(const unsigned char *bytes)
{
    constexpr std::uint64_t LittleEndianHighBits = 0xFF80FF80FF80FF80ull;
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    if constexpr (order == ByteOrder::BigEndian)
        return (word & (LittleEndianHighBits >> 8 | LittleEndianHighBits << 8)) == 0;
    else
        return (word & LittleEndianHighBits) == 0;
}

template<ByteOrder order>
void putFourAscii(const unsigned char *bytes, char *&out)
{
    constexpr std::size_t low = order == ByteOrder::LittleEndian ? 0 : 1;
    const char ascii[4] = {static_cast<char>(bytes[low]), static_cast<char>(bytes[low + 2]),
                           static_cast<char>(bytes[low + 4]), static_cast<char>(bytes[low + 6])};
    std::memcpy(out, ascii, sizeof ascii);
    out += sizeof ascii;
}

// Characters of three bytes, the bulk of Japanese text, are written four bytes at
// a time.
void putCodePoint(char32_t codePoint, char *&out)
{
    const auto byte = [](char32_t bits) { return static_cast<char>(bits); };
    if (codePoint < 0x80) {
        *out++ = byte(codePoint);
    } else if (codePoint < 0x800) {
        const char bytes[2] = {byte(0xC0 | (codePoint >> 6)), byte(0x80 | (codePoint & 0x3F))};
        std::memcpy(out, bytes, sizeof bytes);
        out += 2;
    } else if (codePoint < 0x10000) {
        const char bytes[4] = {byte(0xE0 | (codePoint >> 12)), byte(0x80 | ((codePoint >> 6) & 0x3F)),
                               byte(0x80 | (codePoint & 0x3F)), 0};
        std::memcpy(out, bytes, sizeof bytes);
        out += 3;
    } else {
        const char bytes[4] = {byte(0xF0 | (codePoint >> 18)), byte(0x80 | ((codePoint >> 12) & 0x3F)),
                               byte(0x80 | ((codePoint >> 6) & 0x3F)), byte(0x80 | (codePoint & 0x3F))};
        std::memcpy(out, bytes, sizeof bytes);
        out += 4;
    }
}

void putReplacement(char *&out)
{
    putCodePoint(0xFFFD, out);
}

} // namespace

Utf16Decoder::Utf16Decoder(ByteOrder order)
    : m_order(order)
{
}

std::size_t Utf16Decoder::decode(std::span<const unsigned char> rest, std::size_t window, Text &out)
{
    const std::size_t end = std::min(window, rest.size());
    std::size_t position = 0;
    while (position < end) {
        const std::size_t pieceEnd = std::min(position + Piece, end);
        const std::size_t used = out.size();
        out.resize(used + roomFor(pieceEnd - position));
        char *const start = out.data() + used;
        char *written = start;
        position = m_order == ByteOrder::LittleEndian
                       ? decodePiece<ByteOrder::LittleEndian>(rest, position, pieceEnd, written)
                       : decodePiece<ByteOrder::BigEndian>(rest, position, pieceEnd, written);
        out.resize(used + static_cast<std::size_t>(written - start));
    }
    return position;
}

// Decodes every character that starts before end; a surrogate pair may reach past
// it.
template<ByteOrder order>
std::size_t Utf16Decoder::decodePiece(std::span<const unsigned char> rest, std::size_t position, std::size_t end,
                                      char *&out)
{
    const unsigned char *const bytes = rest.data();
    while (position < end) {
        if (position + 8 <= end && fourAsciiUnitsAt<order>(bytes + position)) {
            putFourAscii<order>(bytes + position, out);
            position += 8;
            continue;
        }
        // Left at the end of the input: a lone byte, or a surrogate pair cut short.
        const std::size_t left = rest.size() - position;
        if (left < 2 || (left < 4 && isHighSurrogate(unitAt<order>(bytes + position)))) {
            putReplacement(out);
            ++m_replacements;
            return rest.size();
        }
        const unsigned int unit = unitAt<order>(bytes + position);
        if (!isHighSurrogate(unit) && !isLowSurrogate(unit)) {
            putCodePoint(unit, out);
            position += 2;
            continue;
        }
        const unsigned int next = isHighSurrogate(unit) ? unitAt<order>(bytes + position + 2) : 0;
        if (!isLowSurrogate(next)) {
            putReplacement(out);
            ++m_replacements;
            position += 2;
            continue;
        }
        putCodePoint(0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00), out);
        position += 4;
    }
    return position;
}
