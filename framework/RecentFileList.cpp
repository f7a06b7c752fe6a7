#include "RecentFileList.h"

#include "ProfileStore.h"

namespace {

QString keyOf(int index)
{
    return QStringLiteral("File%1").arg(index + 1);
}

} // namespace

RecentFileList::RecentFileList(int capacity)
    : m_capacity(capacity)
{
}

void RecentFileList::read(const ProfileStore &profile)
{
    m_files.clear();
    for (int i = 0; i < m_capacity; ++i) {
        const QString path = profile.readString(QString::fromLatin1(Section), keyOf(i), QString());
        if (!path.isEmpty() && !m_files.contains(path))
            m_files.append(path);
    }
}

void RecentFileList::write(const ProfileStore &profile) const
{
    const QString section = QString::fromLatin1(Section);
    for (int i = 0; i < m_capacity; ++i) {
        if (i < m_files.size())
            profile.writeString(section, keyOf(i), m_files[i]);
        else
            profile.removeKey(section, keyOf(i));
    }
}

void RecentFileList::add(const QString &path)
{
    m_files.removeAll(path);
    m_files.prepend(path);
    while (m_files.size() > m_capacity)
        m_files.removeLast();
}

void RecentFileList::remove(int index)
{
    if (index >= 0 && index < m_files.size())
        m_files.removeAt(index);
}
