#include "UnholdableCharacters.h"

#include <algorithm>

namespace {

// The text control's own marks for the start and the end of a frame.
constexpr char16_t BeginningOfFrame = 0xFDD0;
constexpr char16_t EndOfFrame = 0xFDD1;

// A file's whole text goes through this, character by character: as a lambda it is
// inlined in the search, where a call through a function pointer for each made the
// search several times slower than reading the memory.
constexpr auto unholdable = [](QChar character) {
    return character == QChar::ParagraphSeparator || character == BeginningOfFrame || character == EndOfFrame;
};

} // namespace

bool UnholdableCharacters::isUnholdable(QChar character)
{
    return unholdable(character);
}

UnholdableCharacters UnholdableCharacters::in(QStringView text)
{
    UnholdableCharacters found;
    const auto first = std::find_if(text.begin(), text.end(), unholdable);
    if (first == text.end())
        return found;
    found.m_firstLine = std::count(text.begin(), first, u'\n') + 1;
    found.m_count = std::count_if(first, text.end(), unholdable);
    return found;
}
