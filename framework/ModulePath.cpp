#include "ModulePath.h"

#include <QFileInfo>

ModulePath::ModulePath(const QString &executablePath)
{
    const QString canonical = QFileInfo(executablePath).canonicalFilePath();
    const QString path = canonical.isEmpty() ? executablePath : canonical;
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0)
        m_directory = QStringLiteral(".");
    else if (slash == 0)
        m_directory = QStringLiteral("/");
    else
        m_directory = path.left(slash);
    m_baseName = QFileInfo(path).completeBaseName();
}

QString ModulePath::filePath(const QString &fileName) const
{
    return m_directory.endsWith(u'/') ? m_directory + fileName : m_directory + u'/' + fileName;
}
