#include "DictionaryLocation.h"

#include <QFileInfo>

#include <utility>

namespace {

QString joined(const QString &directory, const QString &fileName)
{
    return directory.endsWith(QLatin1Char('/')) ? directory + fileName : directory + QLatin1Char('/') + fileName;
}

} // namespace

DictionaryLocation::DictionaryLocation(QString moduleDirectory, QString userDirectory)
    : m_moduleDirectory(std::move(moduleDirectory))
    , m_userDirectory(std::move(userDirectory))
{
}

QString DictionaryLocation::filePath(const QString &fileName) const
{
    if (!m_userDirectory.isEmpty()) {
        const QString userFile = joined(m_userDirectory, fileName);
        if (QFileInfo(userFile).isFile())
            return userFile;
    }
    return joined(m_moduleDirectory.isEmpty() ? QStringLiteral(".") : m_moduleDirectory, fileName);
}
