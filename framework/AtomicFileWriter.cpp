#include "AtomicFileWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

// Written with the system calls themselves: the write loop must see every short
// write and error (a full disk, a file-size limit), which a buffered device can
// report as success while the file is cut short.
namespace {

class FileDescriptor
{
public:
    explicit FileDescriptor(int fd)
        : m_fd(fd)
    {
    }
    ~FileDescriptor() { close(); }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;

    int get() const { return m_fd; }
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int m_fd;
};

// Removes the temporary file unless the rename has taken it over.
class TemporaryPath
{
public:
    explicit TemporaryPath(QByteArray path)
        : m_path(std::move(path))
    {
    }
    ~TemporaryPath()
    {
        if (!m_path.isEmpty())
            ::unlink(m_path.constData());
    }
    TemporaryPath(const TemporaryPath &) = delete;
    TemporaryPath &operator=(const TemporaryPath &) = delete;

    const char *get() const { return m_path.constData(); }
    void release() { m_path.clear(); }

private:
    QByteArray m_path;
};

QString resolvedTarget(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}

mode_t permissionsFor(const QByteArray &target)
{
    struct stat existing = {};
    if (::stat(target.constData(), &existing) == 0)
        return existing.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool writeAll(int fd, QByteArrayView bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        left -= written;
    }
    return true;
}

void syncDirectory(const QString &directory)
{
    const FileDescriptor fd(::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0)
        ::fsync(fd.get());
}

QString temporaryPrefix(const QString &fileName)
{
    return u'.' + fileName + QStringLiteral(".saving-");
}

// The writing process's id of one of our temporary files, or none for any other name.
std::optional<pid_t> writerOf(const QString &entry, const QString &fileName)
{
    static const QRegularExpression tail(QStringLiteral("^(\\d{1,9})-[A-Za-z0-9]{6}$"));
    const QString prefix = temporaryPrefix(fileName);
    if (!entry.startsWith(prefix))
        return std::nullopt;
    const QRegularExpressionMatch match = tail.match(QStringView(entry).mid(prefix.size()));
    if (!match.hasMatch())
        return std::nullopt;
    return static_cast<pid_t>(match.captured(1).toInt());
}

bool hasGone(pid_t process)
{
    return process > 0 && process != ::getpid() && ::kill(process, 0) != 0 && errno == ESRCH;
}

AtomicFileWriter::Fill fillWith(const QByteArray &bytes)
{
    return [&bytes](const std::function<bool(QByteArrayView)> &write) { return write(bytes); };
}

} // namespace

void AtomicFileWriter::removeStaleTemporaries(const QString &path)
{
    const QFileInfo targetInfo(resolvedTarget(path));
    const QDir directory = targetInfo.absoluteDir();
    const QString fileName = targetInfo.fileName();
    // Every entry is looked at: a wildcard filter would take brackets in the name
    // for a pattern.
    const QStringList entries = directory.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &entry : entries) {
        const std::optional<pid_t> writer = writerOf(entry, fileName);
        const QFileInfo info(directory.filePath(entry));
        if (writer && hasGone(*writer) && info.isFile() && !info.isSymLink())
            QFile::remove(info.filePath());
    }
}

bool AtomicFileWriter::write(const QString &path, const QByteArray &bytes)
{
    return write(path, fillWith(bytes), std::nullopt);
}

bool AtomicFileWriter::write(const QString &path, const QByteArray &bytes, mode_t permissions)
{
    return write(path, fillWith(bytes), std::optional<mode_t>(permissions));
}

bool AtomicFileWriter::write(const QString &path, const Fill &fill, mode_t permissions)
{
    return write(path, fill, std::optional<mode_t>(permissions));
}

bool AtomicFileWriter::write(const QString &path, const Fill &fill, std::optional<mode_t> permissions)
{
    removeStaleTemporaries(path);
    const QString target = resolvedTarget(path);
    const QFileInfo targetInfo(target);
    const QByteArray targetName = QFile::encodeName(target);
    QByteArray pattern = QFile::encodeName(targetInfo.absolutePath() + u'/' + temporaryPrefix(targetInfo.fileName())
                                           + QString::number(::getpid()) + QStringLiteral("-XXXXXX"));
    FileDescriptor fd(::mkstemp(pattern.data()));
    if (fd.get() < 0)
        return false;
    TemporaryPath temporary(pattern);
    const mode_t mode = permissions ? *permissions : permissionsFor(targetName);
    const auto writePiece = [&fd](QByteArrayView piece) { return writeAll(fd.get(), piece); };
    if (::fchmod(fd.get(), mode) != 0 || !fill(writePiece) || ::fsync(fd.get()) != 0 || !fd.close())
        return false;
    if (::rename(temporary.get(), targetName.constData()) != 0)
        return false;
    temporary.release();
    syncDirectory(targetInfo.absolutePath());
    return true;
}
