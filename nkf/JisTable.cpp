#include "JisTable.h"

#include "IconvHandle.h"
#include "IconvName.h"

#include <string>

namespace {

bool isGraphic(unsigned char byte)
{
    return byte >= 0x21 && byte <= 0x7E;
}

template<typename Entry>
void fill(Entry &entry, const IconvHandle &eucToUtf8, const std::string &euc)
{
    const char *input = euc.data();
    std::size_t inputLeft = euc.size();
    char *output = entry.bytes.data();
    std::size_t outputLeft = entry.bytes.size();
    if (eucToUtf8.convert(&input, &inputLeft, &output, &outputLeft) != static_cast<std::size_t>(-1))
        entry.length = static_cast<std::uint8_t>(entry.bytes.size() - outputLeft);
}

char high(int byte)
{
    return static_cast<char>(byte | 0x80);
}

} // namespace

const JisTable &JisTable::instance()
{
    static const JisTable table;
    return table;
}

JisTable::JisTable()
{
    const IconvHandle eucToUtf8("UTF-8", EucJpMapping);
    for (int first = 0x21; first <= 0x7E; ++first) {
        for (int second = 0x21; second <= 0x7E; ++second) {
            const std::size_t at = index(static_cast<unsigned char>(first), static_cast<unsigned char>(second));
            fill(m_jis0208[at], eucToUtf8, std::string{high(first), high(second)});
            fill(m_jis0212[at], eucToUtf8, std::string{'\x8F', high(first), high(second)});
        }
    }
    for (int second = 0x21; second <= 0x5F; ++second)
        fill(m_katakana[static_cast<std::size_t>(second - 0x21)], eucToUtf8, std::string{'\x8E', high(second)});
}

std::size_t JisTable::index(unsigned char first, unsigned char second)
{
    return static_cast<std::size_t>((first - 0x21) * CellsPerRow + (second - 0x21));
}

std::string_view JisTable::utf8(Set set, unsigned char first, unsigned char second) const
{
    if (!isGraphic(second) || (set != Set::Katakana && !isGraphic(first)))
        return {};
    const Entry *entry = nullptr;
    switch (set) {
    case Set::Jis0208:
        entry = &m_jis0208[index(first, second)];
        break;
    case Set::Jis0212:
        entry = &m_jis0212[index(first, second)];
        break;
    case Set::Katakana:
        entry = &m_katakana[static_cast<std::size_t>(second - 0x21)];
        break;
    }
    return std::string_view(entry->bytes.data(), entry->length);
}
