#pragma once

#include "CommandTarget.h"

#include <QObject>
#include <QString>

class QPlainTextEdit;

// The one open document: its file and the text in the editor's control.
class CQuillmereDoc : public QObject, public CommandTarget
{
    Q_OBJECT

public:
    explicit CQuillmereDoc(QObject *parent = nullptr);

    // The control that holds the document's text.
    void attachEditor(QPlainTextEdit *editor);

    bool OnNewDocument();
    bool OnOpenDocument(const QString &path);

    const QString &pathName() const { return m_pathName; }
    // The file name, or "無題" for a document that has never been saved.
    QString title() const;

signals:
    void titleChanged();

private:
    void setPathName(const QString &path);

    QPlainTextEdit *m_editor = nullptr;
    QString m_pathName;
};
