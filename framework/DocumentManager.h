#pragma once

#include "DocumentFileWatcher.h"

#include <QObject>
#include <QString>

class FrameworkDocument;
class RecentFileList;
class QWidget;

// The handling every document program shares: new, open, save and save as with
// their dialogs, the question about unsaved changes, the recent-file list and the
// failure messages of file operations.
class DocumentManager : public QObject
{
    Q_OBJECT

public:
    struct FileType
    {
        QString filterLabel; // "TeX Files (*.tex)"
        QString pattern;     // "*.tex"
        QString extension;   // "tex"
    };

    DocumentManager(FrameworkDocument &document, RecentFileList &recentFiles, FileType fileType, QWidget *window);

    bool OnFileNew();
    bool OnFileOpen();
    bool OpenDocumentFile(const QString &path);
    bool OpenRecentFile(int index);
    // Saves under the current name, or asks for one when there is none or the
    // file cannot be written.
    bool DoFileSave();
    // Saves under path; an empty path asks for one first.
    bool DoSave(const QString &path);
    // Asks whether to save unsaved changes: false when the user cancels or the
    // save fails, so whatever was about to happen must not.
    bool SaveModified();

    static QString openFailedMessage();

signals:
    // The path or the modified state may have changed.
    void documentChanged();
    // The file at path was read into the document.
    void documentOpened(const QString &path);

private:
    QString askFileName(bool forSaving, const QString &proposed) const;
    // The open file's folder is there: false while no file is open.
    bool currentFolderExists() const;
    void watchDocumentFile();
    void askAboutChangeOnDisk();
    void reportRemovalFromDisk();
    bool mayOverwrite(const QString &target) const;
    QStringList nameFilters() const;

    FrameworkDocument &m_document;
    RecentFileList &m_recentFiles;
    FileType m_fileType;
    QWidget *m_window;
    DocumentFileWatcher m_watcher;
    bool m_askingAboutChange = false;
};
