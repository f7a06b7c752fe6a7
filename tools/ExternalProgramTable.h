#pragma once

#include "ExternalProgram.h"

#include <vector>

// The ordered table of outside programs. Positions run from 0; a position outside
// the table is a programming error and throws std::out_of_range.
class ExternalProgramTable
{
public:
    int GetCount() const { return static_cast<int>(m_entries.size()); }
    const ExternalProgram &GetAt(int position) const;
    int Add(const ExternalProgram &entry);
    void SetAt(int position, const ExternalProgram &entry);
    void RemoveAll() { m_entries.clear(); }

    // Names match with A to Z folded onto a to z, every other character by code.
    ExternalProgram FindByName(const QString &name) const;
    int IndexOfName(const QString &name) const;

    bool operator==(const ExternalProgramTable &other) const = default;

private:
    std::vector<ExternalProgram> m_entries;
};
