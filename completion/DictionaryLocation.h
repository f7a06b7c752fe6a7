#pragma once

#include <QString>

// Where the dictionaries are read from: a file of that name in the user's own
// configuration directory wins, so users can extend the vocabulary without touching
// the installed program; otherwise the shipped file beside the executable is used.
class DictionaryLocation
{
public:
    // No directories known: files are looked for in the current directory.
    DictionaryLocation() = default;
    DictionaryLocation(QString moduleDirectory, QString userDirectory);

    QString filePath(const QString &fileName) const;

private:
    QString m_moduleDirectory;
    QString m_userDirectory;
};
