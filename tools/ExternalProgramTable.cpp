#include "ExternalProgramTable.h"

#include <stdexcept>

namespace {

char16_t foldAsciiCase(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool sameName(const QString &a, const QString &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (foldAsciiCase(a[i].unicode()) != foldAsciiCase(b[i].unicode()))
            return false;
    }
    return true;
}

void checkPosition(int position, int count)
{
    if (position < 0 || position >= count)
        throw std::out_of_range("external program position out of range");
}

} // namespace

const ExternalProgram &ExternalProgramTable::GetAt(int position) const
{
    checkPosition(position, GetCount());
    return m_entries[static_cast<std::size_t>(position)];
}

int ExternalProgramTable::Add(const ExternalProgram &entry)
{
    m_entries.push_back(entry);
    return GetCount() - 1;
}

void ExternalProgramTable::SetAt(int position, const ExternalProgram &entry)
{
    checkPosition(position, GetCount());
    m_entries[static_cast<std::size_t>(position)] = entry;
}

ExternalProgram ExternalProgramTable::FindByName(const QString &name) const
{
    const int position = IndexOfName(name);
    return position < 0 ? ExternalProgram() : GetAt(position);
}

int ExternalProgramTable::IndexOfName(const QString &name) const
{
    for (int i = 0; i < GetCount(); ++i) {
        if (sameName(m_entries[static_cast<std::size_t>(i)].name(), name))
            return i;
    }
    return -1;
}
