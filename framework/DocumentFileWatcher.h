#pragma once

#include "FileStamp.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

// Watches the document's file for other programs' changes: a write to it, a file
// renamed over it (as most editors and version control do), its removal and its
// return. Our own saves pass unnoticed, since each one hands over the stamp of the
// file it wrote; so do the other files of the folder, which the tool runs write.
class DocumentFileWatcher : public QObject
{
    Q_OBJECT

public:
    explicit DocumentFileWatcher(QObject *parent = nullptr);

    // Watches path, known as stamp; an empty path stops watching.
    void watch(const QString &path, const FileStamp &stamp);
    const QString &path() const { return m_path; }

signals:
    void changedOnDisk();
    // Said once per removal; the file's return counts as a change.
    void removedFromDisk();

private:
    void noticeEvent();
    void checkFile();
    void followFile();

    QFileSystemWatcher m_watcher;
    // A program writing the file in several pieces is asked about once it is done.
    QTimer m_settle;
    QString m_path;
    FileStamp m_stamp;
    bool m_removed = false;
};
