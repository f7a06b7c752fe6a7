#pragma once

#include "CFunctionEntry.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

// The vocabulary of the completion popup: the control sequences of TeXFunctions.dic
// with their argument candidates, and the environment names of BeginEnd.dic. Both
// files are ASCII, read byte by byte; a file that cannot be read leaves its part
// empty, and a line that is no valid statement is passed over without a word.
class CompletionDictionary
{
public:
    static constexpr const char *FunctionsFileName = "TeXFunctions.dic";
    static constexpr const char *EnvironmentsFileName = "BeginEnd.dic";

    // Empties the function list, then reads the statements of the file at path.
    void LoadFunctions(const QString &path);
    // Empties the environment list, then reads one name per line of the file at path.
    void LoadEnvironments(const QString &path);

    // Index of the entry with exactly this name (case-sensitive), or -1.
    int FindFunction(QStringView name) const;

    const std::vector<CFunctionEntry> &functions() const { return m_functions; }
    const QStringList &environments() const { return m_environments; }

private:
    void applyStatement(const QString &line);
    void define(const QString &name);
    static void applySet(CFunctionEntry &entry, QStringView field, QStringView sub, const QString &value);
    static void applyAdd(CFunctionEntry &entry, QStringView field, QStringView sub, const QString &value);

    std::vector<CFunctionEntry> m_functions;
    // Loading looks every statement's name up; the index keeps that from growing
    // with the square of the dictionary's size.
    QHash<QString, int> m_index;
    QStringList m_environments;
};
