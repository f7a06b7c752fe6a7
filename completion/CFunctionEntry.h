#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// One control sequence of the function dictionary with the candidates offered for
// its mandatory arguments and for its optional argument. A plain value: copies own
// their lists.
class CFunctionEntry
{
public:
    // TeX itself takes at most nine arguments; a dictionary asking for more lists is
    // mistaken, and honouring a huge count would exhaust memory.
    static constexpr int MaxParamCount = 9;

    explicit CFunctionEntry(QString name = {});

    // Replaces every field by a copy of other's.
    void Copy(const CFunctionEntry &other);

    // Grows the argument lists to n, keeping the existing values. A count that is not
    // larger than the current one, or that lies outside 0..MaxParamCount, changes
    // nothing.
    void SetParamCount(int n);
    // on != 0 gives the entry an optional-argument list (an existing one keeps its
    // values); on == 0 removes the list with its values.
    void EnableSubparams(int on);

    // Appends to the list of argument k, counted from 1; false when there is none.
    bool addParamValue(int k, const QString &value);
    // Appends to the optional-argument list; false when the entry has none.
    bool addSubparamValue(const QString &value);

    const QString &name() const { return m_name; }
    int paramCount() const { return static_cast<int>(m_paramLists.size()); }
    const std::vector<QStringList> &paramLists() const { return m_paramLists; }
    const std::optional<QStringList> &subparamList() const { return m_subparamList; }

private:
    QString m_name;
    std::vector<QStringList> m_paramLists;
    std::optional<QStringList> m_subparamList;
};
