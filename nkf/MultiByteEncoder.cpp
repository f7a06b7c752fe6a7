#include "MultiByteEncoder.h"

#include "AsciiRun.h"
#include "PiecewiseEncoding.h"
#include "Utf8Character.h"

#include <algorithm>
#include <cstring>

namespace {

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
    PiecewiseEncoding::encode(utf8, out, roomFor, [&](std::size_t position, std::size_t end, char *&written) {
        return encodePiece(utf8, position, end, written);
    });
}

void MultiByteEncoder::finish(Text &)
{
}

// Encodes every character that starts before end; the last one may reach past
// it, but not past the end of the text, where a cut character is ill-formed.
std::size_t MultiByteEncoder::encodePiece(std::string_view utf8, std::size_t position, std::size_t end, char *&out)
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
