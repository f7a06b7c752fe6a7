#include "UnholdableCharacters.h"

#include <algorithm>

namespace {

// The text control's own marks for the start and the end of a frame.
constexpr char16_t BeginningOfFrame = 0xFDD0;
constexpr char16_t EndOfFrame = 0xFDD1;

} // namespace

bool UnholdableCharacters::isUnholdable(QChar character)
{
    return character == QChar::ParagraphSeparator || character == BeginningOfFrame || character == EndOfFrame;
}

UnholdableCharacters UnholdableCharacters::in(QStringView text)
{
    UnholdableCharacters found;
    const auto first = std::find_if(text.begin(), text.end(), isUnholdable);
    if (first == text.end())
        return found;
    found.m_firstLine = std::count(text.begin(), first, u'\n') + 1;
    found.m_count = std::count_if(first, text.end(), isUnholdable);
    return found;
}
