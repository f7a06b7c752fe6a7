#pragma once

#include <QStringList>

class ProfileStore;

// The most recently used files, newest first, kept in the settings file under
// "Recent File List" as "File1" to "FileN".
class RecentFileList
{
public:
    static constexpr const char *Section = "Recent File List";

    explicit RecentFileList(int capacity);

    void read(const ProfileStore &profile);
    void write(const ProfileStore &profile) const;

    void add(const QString &path);
    void remove(int index);
    const QStringList &files() const { return m_files; }
    int capacity() const { return m_capacity; }

private:
    int m_capacity;
    QStringList m_files;
};
