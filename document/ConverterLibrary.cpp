#include "ConverterLibrary.h"

#include <QDir>

ConverterLibrary::ConverterLibrary(const QString &moduleDirectory)
{
    if (!m_library.load(QDir(moduleDirectory).filePath(QString::fromLatin1(FileName))))
        m_library.load(QString::fromLatin1(FileName));
}
