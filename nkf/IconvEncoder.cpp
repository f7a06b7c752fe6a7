#include "IconvEncoder.h"

#include "IconvName.h"
#include "Utf8Sequence.h"

#include <algorithm>
#include <cerrno>
#include <span>

namespace {

// Two bytes per UTF-8 byte covers every output: ASCII into UTF-16 takes two,
// a two-byte character into eucJP-ms three.
constexpr std::size_t MaximumGrowth = 2;
// glibc converts from UTF-8 in two steps and, when the second step meets a character
// it cannot encode, converts the whole piece again up to that point. Text full of
// such characters is therefore fed in short pieces, clean text in long ones.
constexpr std::size_t SmallestPiece = 64;
constexpr std::size_t LargestPiece = 16 * 1024;

// A piece of at most limit bytes that ends at the start of a character (a character
// has at most three continuation bytes).
std::size_t pieceLength(std::string_view utf8, std::size_t limit)
{
    if (utf8.size() <= limit)
        return utf8.size();
    std::size_t length = limit;
    for (int step = 0; step < 3 && length > 1 && (static_cast<unsigned char>(utf8[length]) & 0xC0) == 0x80; ++step)
        --length;
    return length;
}

std::string_view replacementFor(KanjiCode code)
{
    switch (code) {
    case KanjiCode::Utf16LittleEndian:
        return std::string_view("\xFD\xFF", 2);
    case KanjiCode::Utf16BigEndian:
        return std::string_view("\xFF\xFD", 2);
    default:
        return "?";
    }
}

} // namespace

IconvEncoder::IconvEncoder(KanjiCode code)
    : m_replacement(replacementFor(code))
    , m_handle(iconvName(code), "UTF-8")
{
}

void IconvEncoder::encode(std::string_view utf8, Text &out)
{
    const char *input = utf8.data();
    std::size_t inputLeft = utf8.size();
    std::size_t used = out.size();
    std::size_t piece = LargestPiece;
    while (inputLeft > 0) {
        std::size_t pieceLeft = pieceLength(std::string_view(input, inputLeft), piece);
        const std::size_t pieceSize = pieceLeft;
        if (out.size() - used < pieceSize * MaximumGrowth)
            out.resize(used + pieceSize * MaximumGrowth);
        char *output = out.data() + used;
        std::size_t outputLeft = out.size() - used;
        const std::size_t result = m_handle.convert(&input, &pieceLeft, &output, &outputLeft);
        const int error = errno;
        used = static_cast<std::size_t>(output - out.data());
        inputLeft -= pieceSize - pieceLeft;
        if (result != static_cast<std::size_t>(-1)) {
            piece = std::min(piece * 2, LargestPiece);
            continue;
        }
        if (error == E2BIG) {
            out.resize(out.size() + pieceSize * MaximumGrowth);
            continue;
        }
        // A stop is either a character this encoding lacks or a sequence that is not
        // UTF-8; either way it is replaced once.
        const std::span<const unsigned char> here(reinterpret_cast<const unsigned char *>(input), inputLeft);
        const std::size_t wellFormed = Utf8Sequence::wellFormedLength(here);
        const std::size_t length = wellFormed > 0 ? wellFormed : Utf8Sequence::invalidLength(here);
        appendReplacement(out, used);
        input += length;
        inputLeft -= length;
        piece = SmallestPiece;
    }
    out.resize(used);
}

void IconvEncoder::finish(Text &)
{
}

void IconvEncoder::appendReplacement(Text &out, std::size_t &used)
{
    if (out.size() - used < m_replacement.size())
        out.resize(used + m_replacement.size());
    out.replace(used, m_replacement.size(), m_replacement);
    used += m_replacement.size();
    ++m_replacements;
}
