#include "ProfileStore.h"

#include "AtomicFileWriter.h"
#include "CodePage.h"
#include "ProfileFile.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString trimBlanks(const QString &text)
{
    return ProfileFile::trimBlanks(text).toString();
}

QString unquote(const QString &value)
{
    const QString text = trimBlanks(value);
    if (text.size() >= 2 && (text.front() == u'"' || text.front() == u'\'') && text.back() == text.front())
        return text.mid(1, text.size() - 2);
    return text;
}

struct DecodedSettings
{
    QString text;
    bool undecodable = false;
};

DecodedSettings decodeSettings(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xFE"))
        return {QStringDecoder(QStringDecoder::Utf16LE).decode(bytes.mid(2)), false};
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return {QString::fromUtf8(bytes.mid(3)), false};
    if (CodePage::isValidUtf8(bytes))
        return {QString::fromUtf8(bytes), false};
    // CP932 has no character that decodes to U+FFFD: one stands for a bad sequence.
    QString text = CodePage::fromCp932(bytes);
    const bool undecodable = text.contains(QChar::ReplacementCharacter);
    return {std::move(text), undecodable};
}

QString cutValueKey(const QString &section, const QString &key)
{
    return section.toCaseFolded() + u'\n' + key.toCaseFolded();
}

long long modifiedNs(const struct stat &status)
{
    return static_cast<long long>(status.st_mtim.tv_sec) * 1000000000LL + status.st_mtim.tv_nsec;
}

} // namespace

ProfileStore::WriteBatch::WriteBatch(const ProfileStore &store)
    : m_store(store)
{
    ++m_store.m_batchDepth;
}

ProfileStore::WriteBatch::~WriteBatch()
{
    if (--m_store.m_batchDepth == 0)
        m_store.flush();
}

ProfileStore::ProfileStore(QString path)
    : m_path(std::move(path))
{
}

void ProfileStore::setPath(const QString &path)
{
    m_path = path;
    m_loaded.reset();
    m_cutValues.clear();
}

std::optional<ProfileStore::Stamp> ProfileStore::stampOf(const QString &path)
{
    struct stat status = {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return Stamp{status.st_dev, status.st_ino, status.st_size, modifiedNs(status)};
}

// Opened without waiting, so that a pipe or a device in the file's place cannot
// stop the program; only a regular file is read.
ProfileStore::Loaded ProfileStore::load(const QString &path)
{
    Loaded loaded;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        // A missing file is an empty one that the first write creates.
        loaded.readable = errno == ENOENT || errno == ENOTDIR;
        return loaded;
    }
    struct stat status = {};
    QFile file;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)
        || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        loaded.readable = false;
        return loaded;
    }
    loaded.stamp = Stamp{status.st_dev, status.st_ino, status.st_size, modifiedNs(status)};
    const DecodedSettings decoded = decodeSettings(file.readAll());
    if (file.error() != QFileDevice::NoError) {
        loaded.readable = false;
        return loaded;
    }
    loaded.file = ProfileFile::fromText(decoded.text);
    loaded.undecodable = decoded.undecodable;
    return loaded;
}

// The parsed file, read again only when the file on disk is no longer the one
// parsed. Held-back writes are the newest state and are never read over.
const ProfileStore::Loaded &ProfileStore::current() const
{
    if (m_loaded && m_unwritten)
        return *m_loaded;
    const Stamp stamp = stampOf(m_path).value_or(Stamp{});
    if (!m_loaded || !m_loaded->readable || m_loaded->stamp != stamp)
        m_loaded = load(m_path);
    return *m_loaded;
}

bool ProfileStore::isUndecodable() const
{
    return !m_path.isEmpty() && current().undecodable;
}

std::optional<QString> ProfileStore::rawValue(const QString &section, const QString &key) const
{
    if (m_path.isEmpty())
        return std::nullopt;
    return current().file.rawValue(section, key);
}

QString ProfileStore::readString(const QString &section, const QString &key, const QString &defaultValue,
                                 int bufferSize) const
{
    const auto raw = rawValue(section, key);
    const QString value = raw ? unquote(*raw) : defaultValue;
    const qsizetype room = qMax(0, bufferSize - 1);
    if (raw && value.size() > room)
        m_cutValues.insert(cutValueKey(section, key), value.left(room));
    return value.left(room);
}

int ProfileStore::readInt(const QString &section, const QString &key, int defaultValue) const
{
    const auto raw = rawValue(section, key);
    if (!raw)
        return defaultValue;
    // Like the classic reader: the leading decimal number, 0 when there is none.
    const QString text = trimBlanks(*raw);
    qsizetype digitsEnd = (text.startsWith(u'-') || text.startsWith(u'+')) ? 1 : 0;
    while (digitsEnd < text.size() && text[digitsEnd].isDigit() && text[digitsEnd].unicode() < 128)
        ++digitsEnd;
    bool ok = false;
    const long long value = text.left(digitsEnd).toLongLong(&ok);
    if (!ok)
        return 0;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

bool ProfileStore::writeString(const QString &section, const QString &key, const QString &value) const
{
    // A line break in a name or value would turn into lines of their own and
    // corrupt the file for the next reader.
    const auto hasBreak = [](const QString &s) { return s.contains(u'\n') || s.contains(u'\r'); };
    if (m_path.isEmpty() || hasBreak(section) || hasBreak(key) || hasBreak(value))
        return false;
    // A value the file holds already is not written again: settings are written
    // at every start and exit, and a large file costs a second each time. A value
    // the reader had cut is written back as it was read: the entry keeps its whole
    // value.
    const auto raw = rawValue(section, key);
    if (raw && *raw == value && current().readable)
        return true;
    const auto cut = m_cutValues.constFind(cutValueKey(section, key));
    if (raw && cut != m_cutValues.constEnd() && *cut == value && unquote(*raw).size() > value.size()
        && unquote(*raw).startsWith(value))
        return true;
    return change([&](ProfileFile &file) { file.setEntry(section, key, key + u'=' + value); });
}

bool ProfileStore::writeInt(const QString &section, const QString &key, int value) const
{
    return writeString(section, key, QString::number(value));
}

bool ProfileStore::removeKey(const QString &section, const QString &key) const
{
    if (m_path.isEmpty() || !current().readable)
        return false;
    if (!rawValue(section, key))
        return true;
    return change([&](ProfileFile &file) { file.removeEntry(section, key); });
}

bool ProfileStore::change(const std::function<void(ProfileFile &)> &edit) const
{
    if (!current().readable)
        return false;
    edit(m_loaded->file);
    m_unwritten = true;
    return m_batchDepth > 0 || flush();
}

// A failed write leaves the file as it was, and what is kept in memory is
// forgotten with it, so that the next read sees the file.
bool ProfileStore::flush() const
{
    if (!m_unwritten)
        return true;
    m_unwritten = false;
    const bool written = (!m_loaded->undecodable || keepOriginalAside())
                         && AtomicFileWriter::write(m_path, m_loaded->file.toUtf8());
    if (!written) {
        m_loaded.reset();
        return false;
    }
    m_loaded->undecodable = false;
    m_loaded->stamp = stampOf(m_path).value_or(Stamp{});
    return true;
}

// The first write of a file that is neither UTF-8 nor CP932 turns it into UTF-8
// and cannot give back what was garbled on reading: the original is kept aside.
bool ProfileStore::keepOriginalAside() const
{
    QFile original(m_path);
    if (!original.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = original.readAll();
    return original.error() == QFileDevice::NoError && AtomicFileWriter::write(backupPath(), bytes);
}
