#include "IconvEncoder.h"

#include "IconvName.h"

#include <algorithm>
#include <cerrno>

namespace {

// Four bytes per UTF-8 byte covers the worst case (ASCII into UTF-16 takes two).
constexpr std::size_t MaximumGrowth = 4;

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

std::size_t utf8CharacterLength(unsigned char lead)
{
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

} // namespace

IconvEncoder::IconvEncoder(KanjiCode code)
    : m_replacement(replacementFor(code))
    , m_handle(iconvName(code), "UTF-8")
{
}

void IconvEncoder::encode(std::string_view utf8, std::string &out)
{
    const char *input = utf8.data();
    std::size_t inputLeft = utf8.size();
    std::size_t used = out.size();
    while (inputLeft > 0) {
        out.resize(used + inputLeft * MaximumGrowth);
        char *output = out.data() + used;
        std::size_t outputLeft = out.size() - used;
        const std::size_t result = m_handle.convert(&input, &inputLeft, &output, &outputLeft);
        used = static_cast<std::size_t>(output - out.data());
        if (result != static_cast<std::size_t>(-1) || errno == E2BIG)
            continue;
        // The text is valid UTF-8, so a stop means a character this encoding lacks.
        const std::size_t length = std::min(utf8CharacterLength(static_cast<unsigned char>(*input)), inputLeft);
        appendReplacement(out, used);
        input += length;
        inputLeft -= length;
    }
    out.resize(used);
}

void IconvEncoder::finish(std::string &)
{
}

void IconvEncoder::appendReplacement(std::string &out, std::size_t &used)
{
    out.resize(used);
    out.append(m_replacement);
    used = out.size();
    ++m_replacements;
}
