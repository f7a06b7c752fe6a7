#include "MultiByteDecoder.h"

#include "AsciiRun.h"

#include <algorithm>
#include <cstring>

namespace {

using Entry = MultiByteTable::Entry;

constexpr Entry Replacement{{'\xEF', '\xBF', '\xBD'}, 3};
// The output is made room for piece by piece, so that the room, written once
// before it is filled, is still in the cache when it is filled.
constexpr std::size_t Piece = 16 * 1024;
// One input byte becomes at most three output bytes (a half-width katakana or a
// replacement), and the last entry copied writes one byte past its character.
// ASCII is copied eight bytes at a time, but only while eight input bytes are left
// in the piece, so that it stays within the room of the bytes it copies.
constexpr std::size_t MaximumGrowth = 3;
constexpr std::size_t EntrySlack = sizeof(Entry) - 3;

bool inRange(unsigned char byte, unsigned char low, unsigned char high)
{
    return byte >= low && byte <= high;
}

// After a code without a character the decoder skips what has the shape of that
// code: a lead and a trail byte together, a lone byte on its own.
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

void put(const Entry &entry, char *&out)
{
    std::memcpy(out, &entry, sizeof entry);
    out += entry.length;
}

} // namespace

MultiByteDecoder::MultiByteDecoder(KanjiCode code)
    : m_code(code)
    , m_table(code == KanjiCode::ShiftJis ? MultiByteTable::shiftJis() : MultiByteTable::eucJp())
{
}

std::size_t MultiByteDecoder::decode(std::span<const unsigned char> rest, std::size_t window, Text &out)
{
    const std::size_t end = std::min(window, rest.size());
    std::size_t position = 0;
    while (position < end) {
        const std::size_t pieceEnd = std::min(position + Piece, end);
        const std::size_t used = out.size();
        out.resize(used + (pieceEnd - position) * MaximumGrowth + EntrySlack);
        char *const start = out.data() + used;
        char *written = start;
        position = decodePiece(rest, position, pieceEnd, written);
        out.resize(used + static_cast<std::size_t>(written - start));
    }
    return position;
}

// Decodes every code that starts before end; the last one may reach past it. A
// code cut by the end of the whole input is one replacement for all of its bytes:
// the loop stops early for it only.
std::size_t MultiByteDecoder::decodePiece(std::span<const unsigned char> rest, std::size_t position, std::size_t end,
                                          char *&out)
{
    // Locals, so that the compiler need not reload them after every write through
    // a char pointer, which may alias anything.
    const MultiByteTable &table = m_table;
    const unsigned char *const bytes = rest.data();
    char *write = out;
    while (position < end) {
        const unsigned char byte = bytes[position];
        if (byte < 0x80) {
            position = AsciiRun::copy(bytes, position, end, write);
            continue;
        }
        const Entry *entry = &table.single(byte);
        std::size_t length = 1;
        if (entry->length == MultiByteTable::NeedsMore) {
            if (position + 1 == rest.size())
                break;
            entry = &table.pair(byte, bytes[position + 1]);
            length = 2;
            if (entry->length == MultiByteTable::NeedsMore) {
                if (position + 2 == rest.size())
                    break;
                entry = &table.third(*entry, bytes[position + 2]);
                length = 3;
            }
        }
        if (entry->length == 0) {
            put(Replacement, write);
            ++m_replacements;
            position += invalidSequenceLength(rest.subspan(position));
            continue;
        }
        put(*entry, write);
        position += length;
    }
    if (position < end)
        position = replaceCutCode(rest, write);
    out = write;
    return position;
}

std::size_t MultiByteDecoder::replaceCutCode(std::span<const unsigned char> rest, char *&out)
{
    put(Replacement, out);
    ++m_replacements;
    return rest.size();
}

std::size_t MultiByteDecoder::invalidSequenceLength(std::span<const unsigned char> bytes) const
{
    return m_code == KanjiCode::ShiftJis ? shiftJisSequenceLength(bytes) : eucJpSequenceLength(bytes);
}
