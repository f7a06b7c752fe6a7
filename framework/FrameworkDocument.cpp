#include "FrameworkDocument.h"

#include <QFileInfo>

void FrameworkDocument::SetPathName(const QString &path)
{
    m_pathName = path;
    OnPathNameChanged();
}

QString FrameworkDocument::GetTitle() const
{
    return m_pathName.isEmpty() ? untitledName() : QFileInfo(m_pathName).fileName();
}

QString FrameworkDocument::untitledName()
{
    return QStringLiteral("無題");
}

QString FrameworkDocument::saveFailedMessage()
{
    return QStringLiteral("ドキュメントの保存に失敗しました。");
}
