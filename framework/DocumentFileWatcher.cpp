#include "DocumentFileWatcher.h"

#include <QFileInfo>

namespace {

constexpr int SettleMs = 150;

} // namespace

DocumentFileWatcher::DocumentFileWatcher(QObject *parent)
    : QObject(parent)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(SettleMs);
    connect(&m_settle, &QTimer::timeout, this, &DocumentFileWatcher::checkFile);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &DocumentFileWatcher::noticeEvent);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &DocumentFileWatcher::noticeEvent);
}

void DocumentFileWatcher::watch(const QString &path, const FileStamp &stamp)
{
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_settle.stop();
    m_path = path;
    m_stamp = stamp;
    m_removed = false;
    if (m_path.isEmpty())
        return;
    m_watcher.addPath(QFileInfo(m_path).absolutePath());
    followFile();
}

void DocumentFileWatcher::followFile()
{
    // A watch follows the file it was set on, not the name: after a rename over
    // the name, the new file needs a watch of its own.
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    if (QFileInfo::exists(m_path))
        m_watcher.addPath(m_path);
}

void DocumentFileWatcher::noticeEvent()
{
    if (!m_path.isEmpty())
        m_settle.start();
}

void DocumentFileWatcher::checkFile()
{
    if (!m_stamp.statusDiffers(m_path))
        return;
    followFile();
    if (!QFileInfo::exists(m_path)) {
        if (!m_removed) {
            m_removed = true;
            emit removedFromDisk();
        }
        return;
    }
    const bool returned = std::exchange(m_removed, false);
    // Only the status changed (its permissions, say): the contents decide.
    if (!returned && !m_stamp.differsOnDisk(m_path)) {
        m_stamp = FileStamp::read(m_path);
        return;
    }
    emit changedOnDisk();
}
