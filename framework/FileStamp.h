#pragma once

#include <QByteArrayView>
#include <QString>

// What is known of a file as it was last read or written: its identity on disk,
// size, modification and status-change times, and a hash of its contents. Another
// program's change to the file is told from it.
class FileStamp
{
public:
    FileStamp() = default;

    // The file at path as it stands now, holding contents (just read or written).
    static FileStamp of(const QString &path, QByteArrayView contents);
    // The file at path as it stands now, its contents read for the hash. Not known
    // when it cannot be read.
    static FileStamp read(const QString &path);

    // True when the file at path exists and is not this file any more: its size or
    // modification time differs, or, when those are equal, its contents.
    bool differsOnDisk(const QString &path) const;
    // True when anything about the file at path may have changed, its contents or
    // only its status: a cheap check of its status that reads nothing.
    bool statusDiffers(const QString &path) const;

private:
    struct Status
    {
        bool exists = false;
        qint64 size = 0;
        qint64 modified = 0; // nanoseconds
        qint64 changed = 0;  // nanoseconds
        quint64 device = 0;
        quint64 inode = 0;

        bool operator==(const Status &) const = default;
    };
    static Status statusOf(const QString &path);
    static size_t hashOf(QByteArrayView contents);

    bool m_known = false;
    Status m_status;
    size_t m_hash = 0;
};
