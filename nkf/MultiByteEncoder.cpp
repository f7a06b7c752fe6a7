#include "MultiByteEncoder.h"

#include "AsciiRun.h"
#include "Utf8Character.h"

#include <algorithm>
#include <cstring>

namespace {

// The output is made room for piece by piece, so that the room, written once
// before it is filled, is still in the cache when it is filled.
constexpr std::size_t Piece = 16 * 1024;

// A character of two UTF-8 bytes takes up to three bytes in EUC-JP (JIS X 0212);
// none grows more. The last character of a piece may reach three bytes past it,
// and copying a code writes one byte past it.
constexpr std::size_t roomFor(std::size_t pieceSize)
{
    return (pieceSize + 3) / 2 * 3 + 4;
}

} // namespace

MultiByteEncoder::MultiByteEncoder(KanjiCode code)
    : m_table(code == KanjiCode::ShiftJis ? CharacterCodeTable::shiftJis() : CharacterCodeTable::eucJp())
{
}

void MultiByteEncoder::encode(std::string_view utf8, Text &out)
{
    std::size_t position = 0;
    while (position < utf8.size()) {
        const std::size_t end = std::min(position + Piece, utf8.size());
        const std::size_t used = out.size();
        out.resize(used + roomFor(end - position));
        char *const start = out.data() + used;
        char *written = start;
        position = encodePiece(utf8, position, end, written);
        out.resize(used + static_cast<std::size_t>(written - start));
    }
}

void MultiByteEncoder::finish(Text &)
{
}

// Encodes every character that starts before end; the last one may reach past
// it, but not past the end of the text, where a cut character is ill-formed.
std::size_t MultiByteEncoder::encodePiece(std::string_view utf8, std::size_t position, std::size_t end,
                                          char *&out)
{
    const CharacterCodeTable &table = m_table;
    const auto *const bytes = reinterpret_cast<const unsigned char *>(utf8.data());
    char *write = out;
    while (position < end) {
        if (bytes[position] < 0x80) {
            position = AsciiRun::copy(bytes, position, end, write);
            continue;
        }
        const Utf8Character character = Utf8Character::at({bytes + position, utf8.size() - position});
        position += character.length;
        if (character.wellFormed && character.codePoint < 0x10000) {
            const CharacterCodeTable::Entry &code = table.code(character.codePoint);
            if (code.length > 0) {
                std::memcpy(write, &code, sizeof code);
                write += code.length;
                continue;
            }
        }
        *write++ = '?';
        ++m_replacements;
    }
    out = write;
    return position;
}
