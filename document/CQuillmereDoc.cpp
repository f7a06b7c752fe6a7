#include "CQuillmereDoc.h"

#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>

CQuillmereDoc::CQuillmereDoc(QObject *parent)
    : QObject(parent)
{
}

void CQuillmereDoc::attachEditor(QPlainTextEdit *editor)
{
    m_editor = editor;
}

QString CQuillmereDoc::title() const
{
    return m_pathName.isEmpty() ? QStringLiteral("無題") : QFileInfo(m_pathName).fileName();
}

void CQuillmereDoc::setPathName(const QString &path)
{
    m_pathName = path;
    emit titleChanged();
}

bool CQuillmereDoc::OnNewDocument()
{
    if (m_editor)
        m_editor->setPlainText(QString());
    setPathName(QString());
    return true;
}

bool CQuillmereDoc::OnOpenDocument(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QString text = QString::fromUtf8(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    if (m_editor)
        m_editor->setPlainText(text);
    setPathName(QFileInfo(path).absoluteFilePath());
    return true;
}
