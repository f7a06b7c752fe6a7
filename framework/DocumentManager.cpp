#include "DocumentManager.h"

#include "FrameworkDocument.h"
#include "ModalHost.h"
#include "RecentFileList.h"

#include <QFileDialog>
#include <QFileInfo>

DocumentManager::DocumentManager(FrameworkDocument &document, RecentFileList &recentFiles, FileType fileType,
                                 QWidget *window)
    : QObject(window)
    , m_document(document)
    , m_recentFiles(recentFiles)
    , m_fileType(std::move(fileType))
    , m_window(window)
{
    connect(&m_watcher, &DocumentFileWatcher::changedOnDisk, this, &DocumentManager::askAboutChangeOnDisk);
    connect(&m_watcher, &DocumentFileWatcher::removedFromDisk, this, &DocumentManager::reportRemovalFromDisk);
}

QString DocumentManager::openFailedMessage()
{
    return QStringLiteral("ドキュメントを開くことに失敗しました。");
}

QStringList DocumentManager::nameFilters() const
{
    // The dialog shows only the labels; the pattern in the last parentheses is the
    // one it applies. "*" rather than "*.*", so files without a dot show too.
    return {m_fileType.filterLabel + QStringLiteral(" (") + m_fileType.pattern + u')',
            QStringLiteral("すべてのファイル (*.*) (*)")};
}

bool DocumentManager::currentFolderExists() const
{
    const QString path = m_document.GetPathName();
    return !path.isEmpty() && QFileInfo(QFileInfo(path).absolutePath()).isDir();
}

QString DocumentManager::askFileName(bool forSaving, const QString &proposed) const
{
    QFileDialog dialog(m_window, forSaving ? QStringLiteral("名前を付けて保存") : QStringLiteral("開く"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(nameFilters());
    dialog.setAcceptMode(forSaving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(forSaving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (forSaving) {
        dialog.setDefaultSuffix(m_fileType.extension);
        if (!proposed.isEmpty())
            dialog.selectFile(proposed);
    } else if (currentFolderExists()) {
        // The next file wanted most likely lies beside the one open now.
        dialog.setDirectory(QFileInfo(m_document.GetPathName()).absolutePath());
    }
    if (ModalHost::runDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

bool DocumentManager::OnFileNew()
{
    if (!SaveModified())
        return false;
    const bool created = m_document.OnNewDocument();
    if (created)
        m_document.SetPathName(QString());
    watchDocumentFile();
    emit documentChanged();
    return created;
}

bool DocumentManager::OnFileOpen()
{
    const QString path = askFileName(false, QString());
    return !path.isEmpty() && OpenDocumentFile(path);
}

bool DocumentManager::OpenDocumentFile(const QString &path)
{
    // The file is asked about before anything else, so that declining it leaves
    // the open document exactly as it was, not even saved.
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (QFileInfo(absolute).isFile() && !m_document.ConfirmOpen(absolute))
        return false;
    if (!SaveModified())
        return false;
    if (!QFileInfo(absolute).isFile() || !m_document.OnOpenDocument(absolute)) {
        ModalHost::showMessage(m_window, openFailedMessage(), QMessageBox::Warning);
        emit documentChanged();
        return false;
    }
    m_document.SetPathName(absolute);
    m_recentFiles.add(absolute);
    watchDocumentFile();
    emit documentChanged();
    emit documentOpened(absolute);
    return true;
}

bool DocumentManager::OpenRecentFile(int index)
{
    const QString path = m_recentFiles.files().value(index);
    if (path.isEmpty())
        return false;
    if (!QFileInfo(path).isFile()) {
        ModalHost::showMessage(m_window, openFailedMessage(), QMessageBox::Warning);
        m_recentFiles.remove(index);
        return false;
    }
    return OpenDocumentFile(path);
}

bool DocumentManager::DoFileSave()
{
    const QString path = m_document.GetPathName();
    const QFileInfo info(path);
    // A file whose folder was removed since it was read cannot be written back;
    // asking for a name keeps the text rather than failing.
    if (path.isEmpty() || (info.exists() && !info.isWritable()) || !currentFolderExists())
        return DoSave(QString());
    return DoSave(path);
}

bool DocumentManager::DoSave(const QString &path)
{
    QString target = path;
    if (target.isEmpty()) {
        const QString current = m_document.GetPathName();
        target = askFileName(true, current.isEmpty() || !currentFolderExists() ? m_document.GetTitle() : current);
        if (target.isEmpty())
            return false;
    }
    target = QFileInfo(target).absoluteFilePath();
    if (!mayOverwrite(target))
        return false;
    const bool saved = m_document.OnSaveDocument(target);
    if (saved) {
        m_document.SetPathName(target);
        m_recentFiles.add(target);
        watchDocumentFile();
    }
    emit documentChanged();
    return saved;
}

bool DocumentManager::SaveModified()
{
    if (!m_document.IsModified())
        return true;
    const QString name = m_document.GetPathName().isEmpty() ? m_document.GetTitle() : m_document.GetPathName();
    const QMessageBox::StandardButton answer = ModalHost::showMessage(
        m_window, QStringLiteral("%1 への変更を保存しますか?").arg(name), QMessageBox::Warning,
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Cancel)
        return false;
    return answer == QMessageBox::No || DoFileSave();
}

void DocumentManager::watchDocumentFile()
{
    m_watcher.watch(m_document.GetPathName(), m_document.diskStamp());
}

// Only the file the document was read from or written to can have been changed
// behind its back; a save under another name has the save dialog's own question.
bool DocumentManager::mayOverwrite(const QString &target) const
{
    if (target != m_document.GetPathName() || !m_document.diskStamp().differsOnDisk(target))
        return true;
    const QMessageBox::StandardButton answer = ModalHost::showMessage(
        m_window,
        QStringLiteral("%1 は、読み込みまたは保存の後に他のプログラムによって変更されています。\n\n"
                       "上書きして保存しますか? 他のプログラムによる変更は失われます。")
            .arg(target),
        QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return answer == QMessageBox::Yes;
}

void DocumentManager::askAboutChangeOnDisk()
{
    if (m_askingAboutChange)
        return;
    m_askingAboutChange = true;
    const bool modified = m_document.IsModified();
    const QString question = modified ? QStringLiteral(
                                 "%1 は他のプログラムによって変更されました。\n\n再読み込みしますか? 再読み込みすると、"
                                 "エディタで加えた保存していない変更は失われます。")
                                      : QStringLiteral(
                                          "%1 は他のプログラムによって変更されました。\n\n再読み込みしますか?");
    const QMessageBox::StandardButton answer = ModalHost::showMessage(
        m_window, question.arg(m_document.GetPathName()), QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
        modified ? QMessageBox::No : QMessageBox::Yes,
        {{QMessageBox::Yes, QStringLiteral("再読み込み")}, {QMessageBox::No, QStringLiteral("エディタの内容を残す")}});
    if (answer == QMessageBox::Yes && m_document.ConfirmOpen(m_document.GetPathName()) && m_document.ReloadDocument()) {
        watchDocumentFile();
    } else {
        // The editor's text stands against the file now on disk: it is unsaved.
        // The file on disk is not read, so a save still asks before it overwrites
        // the other program's change.
        m_document.SetModifiedFlag(true);
        m_watcher.watch(m_document.GetPathName(), FileStamp::read(m_document.GetPathName()));
    }
    m_askingAboutChange = false;
    emit documentChanged();
}

void DocumentManager::reportRemovalFromDisk()
{
    // Marked as changed, the text is written back by the next save.
    m_document.SetModifiedFlag(true);
    emit documentChanged();
    ModalHost::showMessage(m_window,
                           QStringLiteral("%1 は他のプログラムによって削除されました。\n\n保存すると、エディタの内容で"
                                          "ファイルが作り直されます。")
                               .arg(m_document.GetPathName()),
                           QMessageBox::Warning);
}
