#pragma once

#include "FileStamp.h"

#include <QString>

// What the document handling needs of a document: reading a file, writing it,
// starting afresh, and whether the text has unsaved changes. The path and the
// title are kept here.
class FrameworkDocument
{
public:
    virtual ~FrameworkDocument() = default;

    // Asked before a file is opened or read again, while the document still holds
    // what it held: false when the user chose not to show it, which needs no
    // further word.
    virtual bool ConfirmOpen(const QString &) { return true; }
    // False when the file could not be read at all; the caller reports it.
    virtual bool OnOpenDocument(const QString &path) = 0;
    // False when nothing was saved; the document has already told the user why.
    virtual bool OnSaveDocument(const QString &path) = 0;
    virtual bool OnNewDocument() = 0;
    virtual bool IsModified() const = 0;
    virtual void SetModifiedFlag(bool modified) = 0;
    // Reads the document's file again, as another program left it; by default as
    // opening it does.
    virtual bool ReloadDocument() { return OnOpenDocument(m_pathName); }

    // The file as the document last read or wrote it.
    const FileStamp &diskStamp() const { return m_diskStamp; }

    const QString &GetPathName() const { return m_pathName; }
    void SetPathName(const QString &path);
    // The file name, or "無題" while the document has no file.
    QString GetTitle() const;

    static QString untitledName();
    static QString saveFailedMessage();

protected:
    virtual void OnPathNameChanged() {}
    void setDiskStamp(const FileStamp &stamp) { m_diskStamp = stamp; }

private:
    QString m_pathName;
    FileStamp m_diskStamp;
};
