#pragma once

#include "ProfileFile.h"

#include <QHash>
#include <QString>

#include <functional>
#include <optional>
#include <sys/types.h>

// The settings file, with the semantics users of Windows INI files rely on:
// section and key names match without regard to case, the first of duplicate
// sections or keys wins, a value loses its surrounding blanks and one pair of
// matching surrounding quotes on reading and is cut to the caller's buffer, and a
// missing file or key gives the default. Writing keeps every other line, comment
// and the order of the file, and replaces the file atomically. The file is written
// as UTF-8; a file that is not valid UTF-8 is read as CP932, as Windows wrote it.
//
// The file is parsed once and kept while it stays as it was (same file, size and
// modification time), so a large file costs one read, not one per setting; a file
// another program changed is read again. Only regular files are opened.
class ProfileStore
{
public:
    static constexpr int DefaultBufferSize = 4096;

    // Holds back the writes of its lifetime and writes the file once at its end,
    // as the settings written at exit are.
    class WriteBatch
    {
    public:
        explicit WriteBatch(const ProfileStore &store);
        ~WriteBatch();
        WriteBatch(const WriteBatch &) = delete;
        WriteBatch &operator=(const WriteBatch &) = delete;

    private:
        const ProfileStore &m_store;
    };

    ProfileStore() = default;
    explicit ProfileStore(QString path);

    void setPath(const QString &path);
    const QString &path() const { return m_path; }
    // Where the original of a file that is neither UTF-8 nor CP932 is kept before
    // the first write replaces it.
    QString backupPath() const { return m_path + QStringLiteral(".bak"); }
    // The file is neither UTF-8 nor CP932: what was read of it may be garbled.
    bool isUndecodable() const;

    QString readString(const QString &section, const QString &key, const QString &defaultValue,
                       int bufferSize = DefaultBufferSize) const;
    int readInt(const QString &section, const QString &key, int defaultValue) const;

    // Returns false when the file could not be written; callers may ignore it.
    bool writeString(const QString &section, const QString &key, const QString &value) const;
    bool writeInt(const QString &section, const QString &key, int value) const;
    bool removeKey(const QString &section, const QString &key) const;

private:
    struct Stamp
    {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = -1;
        long long modifiedNs = 0;
        bool operator==(const Stamp &) const = default;
    };
    struct Loaded
    {
        Stamp stamp;
        ProfileFile file;
        bool readable = true;
        bool undecodable = false;
    };

    static std::optional<Stamp> stampOf(const QString &path);
    static Loaded load(const QString &path);
    const Loaded &current() const;
    std::optional<QString> rawValue(const QString &section, const QString &key) const;
    bool change(const std::function<void(ProfileFile &)> &edit) const;
    bool flush() const;
    bool keepOriginalAside() const;

    QString m_path;
    // The file is the store's state; these only spare reading and writing it again,
    // which is why the const operations may change them.
    mutable std::optional<Loaded> m_loaded;
    // Values cut to the reader's buffer, by section and key: writing one back as it
    // was read leaves the entry in the file as it stands.
    mutable QHash<QString, QString> m_cutValues;
    mutable int m_batchDepth = 0;
    mutable bool m_unwritten = false;
};
