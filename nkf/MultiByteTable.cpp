#include "MultiByteTable.h"

#include "IconvHandle.h"
#include "IconvName.h"

#include <cerrno>
#include <stdexcept>

namespace {

using Entry = MultiByteTable::Entry;

// What iconv makes of one code on its own: its character, or no character, or the
// start of a longer code.
Entry read(const IconvHandle &toUtf8, const std::string &code)
{
    Entry entry{};
    const char *input = code.data();
    std::size_t inputLeft = code.size();
    char *output = entry.utf8.data();
    std::size_t outputLeft = entry.utf8.size();
    if (toUtf8.convert(&input, &inputLeft, &output, &outputLeft) != static_cast<std::size_t>(-1)) {
        entry.length = static_cast<std::uint8_t>(entry.utf8.size() - outputLeft);
        return entry;
    }
    switch (errno) {
    case EILSEQ:
        return entry;
    case EINVAL:
        entry.length = MultiByteTable::NeedsMore;
        return entry;
    default:
        // A character longer than three bytes in UTF-8 would not fit an entry.
        throw std::runtime_error("unexpected iconv mapping of a " + std::to_string(code.size()) + "-byte code");
    }
}

std::string bytes(std::initializer_list<std::size_t> values)
{
    std::string text;
    for (const std::size_t value : values)
        text += static_cast<char>(value);
    return text;
}

} // namespace

const MultiByteTable &MultiByteTable::shiftJis()
{
    static const MultiByteTable table(ShiftJisMapping);
    return table;
}

const MultiByteTable &MultiByteTable::eucJp()
{
    static const MultiByteTable table(EucJpMapping);
    return table;
}

MultiByteTable::MultiByteTable(const char *iconvName)
{
    const IconvHandle toUtf8("UTF-8", iconvName);
    for (std::size_t first = 0; first < BlockSize; ++first) {
        m_singles[first] = read(toUtf8, bytes({first}));
        if (m_singles[first].length == NeedsMore)
            fillPairs(static_cast<unsigned char>(first), toUtf8);
    }
}

void MultiByteTable::fillPairs(unsigned char first, const IconvHandle &toUtf8)
{
    for (std::size_t second = 0; second < BlockSize; ++second) {
        const std::string code = bytes({first, second});
        Entry &entry = m_pairs[first * BlockSize + second];
        entry = read(toUtf8, code);
        if (entry.length == NeedsMore)
            entry.utf8[0] = static_cast<char>(fillThirds(code, toUtf8));
    }
}

// Returns the number of the block of third bytes it filled.
std::size_t MultiByteTable::fillThirds(const std::string &pair, const IconvHandle &toUtf8)
{
    const std::size_t block = m_thirds.size() / BlockSize;
    // The block number has to fit the first byte of the pair's entry.
    if (block >= BlockSize)
        throw std::runtime_error("too many incomplete two-byte codes for the code table");
    m_thirds.resize(m_thirds.size() + BlockSize);
    for (std::size_t third = 0; third < BlockSize; ++third) {
        const Entry entry = read(toUtf8, pair + static_cast<char>(third));
        // No code of these encodings is longer than three bytes.
        if (entry.length == NeedsMore)
            throw std::runtime_error("iconv asks for more than three bytes of a code");
        m_thirds[block * BlockSize + third] = entry;
    }
    return block;
}
