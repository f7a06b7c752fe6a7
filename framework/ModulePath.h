#pragma once

#include <QString>

// Where the running program lives: the directory of the real executable (links
// resolved), "/"-separated and without a trailing "/" except for the root itself,
// and the executable's name without its extension.
class ModulePath
{
public:
    explicit ModulePath(const QString &executablePath);

    const QString &directory() const { return m_directory; }
    const QString &baseName() const { return m_baseName; }
    // A file beside the executable.
    QString filePath(const QString &fileName) const;

private:
    QString m_directory;
    QString m_baseName;
};
