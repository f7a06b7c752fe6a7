#include "CharacterCodeTable.h"

#include "IconvHandle.h"
#include "IconvName.h"

#include <cerrno>
#include <stdexcept>
#include <string>

namespace {

bool isSurrogate(char32_t character)
{
    return character >= 0xD800 && character <= 0xDFFF;
}

std::string utf8Of(char32_t character)
{
    const auto byte = [](char32_t bits) { return static_cast<char>(bits); };
    if (character < 0x80)
        return {byte(character)};
    if (character < 0x800)
        return {byte(0xC0 | (character >> 6)), byte(0x80 | (character & 0x3F))};
    return {byte(0xE0 | (character >> 12)), byte(0x80 | ((character >> 6) & 0x3F)), byte(0x80 | (character & 0x3F))};
}

CharacterCodeTable::Entry read(const IconvHandle &fromUtf8, const std::string &utf8)
{
    CharacterCodeTable::Entry entry{};
    const char *input = utf8.data();
    std::size_t inputLeft = utf8.size();
    char *output = entry.bytes.data();
    std::size_t outputLeft = entry.bytes.size();
    if (fromUtf8.convert(&input, &inputLeft, &output, &outputLeft) != static_cast<std::size_t>(-1)) {
        entry.length = static_cast<std::uint8_t>(entry.bytes.size() - outputLeft);
        return entry;
    }
    // A code longer than three bytes would not fit an entry.
    if (errno != EILSEQ)
        throw std::runtime_error("unexpected iconv code of a " + std::to_string(utf8.size()) + "-byte character");
    return entry;
}

} // namespace

const CharacterCodeTable &CharacterCodeTable::shiftJis()
{
    static const CharacterCodeTable table(ShiftJisMapping);
    return table;
}

const CharacterCodeTable &CharacterCodeTable::eucJp()
{
    static const CharacterCodeTable table(EucJpMapping);
    return table;
}

CharacterCodeTable::CharacterCodeTable(const char *iconvName)
{
    const IconvHandle fromUtf8(iconvName, "UTF-8");
    for (char32_t character = 0; character < PlaneSize; ++character) {
        if (!isSurrogate(character))
            m_codes[character] = read(fromUtf8, utf8Of(character));
    }
}
