#pragma once

#include <QString>

// What the document handling needs of a document: reading a file, writing it,
// starting afresh, and whether the text has unsaved changes. The path and the
// title are kept here.
class FrameworkDocument
{
public:
    virtual ~FrameworkDocument() = default;

    // False when the file could not be read at all; the caller reports it.
    virtual bool OnOpenDocument(const QString &path) = 0;
    // False when nothing was saved; the document has already told the user why.
    virtual bool OnSaveDocument(const QString &path) = 0;
    virtual bool OnNewDocument() = 0;
    virtual bool IsModified() const = 0;

    const QString &GetPathName() const { return m_pathName; }
    void SetPathName(const QString &path);
    // The file name, or "無題" while the document has no file.
    QString GetTitle() const;

    static QString untitledName();
    static QString saveFailedMessage();

protected:
    virtual void OnPathNameChanged() {}

private:
    QString m_pathName;
};
