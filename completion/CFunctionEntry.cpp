#include "CFunctionEntry.h"

#include <utility>

CFunctionEntry::CFunctionEntry(QString name)
    : m_name(std::move(name))
{
}

void CFunctionEntry::Copy(const CFunctionEntry &other)
{
    *this = other;
}

void CFunctionEntry::SetParamCount(int n)
{
    if (n <= paramCount() || n > MaxParamCount)
        return;
    m_paramLists.resize(static_cast<std::size_t>(n));
}

void CFunctionEntry::EnableSubparams(int on)
{
    if (on == 0)
        m_subparamList.reset();
    else if (!m_subparamList)
        m_subparamList.emplace();
}

bool CFunctionEntry::addParamValue(int k, const QString &value)
{
    if (k < 1 || k > paramCount())
        return false;
    m_paramLists[static_cast<std::size_t>(k - 1)].append(value);
    return true;
}

bool CFunctionEntry::addSubparamValue(const QString &value)
{
    if (!m_subparamList)
        return false;
    m_subparamList->append(value);
    return true;
}
