#include "FileFollower.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <utility>
#include <vector>

namespace {

QString inFolder(const QString &folder, const QString &name)
{
    return QDir::isAbsolutePath(name) ? name : folder + u'/' + name;
}

QString canonicalFile(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() ? info.canonicalFilePath() : QString();
}

struct Pending
{
    QString path;
    // Where the names this file reads in are looked for.
    QString folder;
};

} // namespace

FileFollower::FileFollower(Facts facts, Limits limits)
    : m_facts(std::move(facts))
    , m_limits(limits)
{
}

QList<FileFollower::Followed> FileFollower::follow(const QStringList &roots, const QString &mainFolder,
                                                   const Cancelled &cancelled) const
{
    QList<Followed> followed;
    QSet<QString> seen;
    qint64 bytes = 0;
    std::vector<Pending> stack;
    for (auto root = roots.crbegin(); root != roots.crend(); ++root)
        stack.push_back(Pending{*root, mainFolder});
    while (!stack.empty() && followed.size() < m_limits.files && !(cancelled && cancelled())) {
        const Pending file = std::move(stack.back());
        stack.pop_back();
        if (file.path.isEmpty() || seen.contains(file.path))
            continue;
        seen.insert(file.path);
        const SourceStamp stamp = SourceStamp::of(file.path);
        if (!stamp.exists() || bytes + stamp.size > m_limits.bytes)
            continue;
        std::shared_ptr<const SourceFacts> facts = m_facts(stamp);
        if (!facts)
            continue;
        bytes += stamp.size;
        const QList<TexReferences::Inclusion> &inclusions = facts->references.inclusions;
        for (auto inclusion = inclusions.crbegin(); inclusion != inclusions.crend(); ++inclusion) {
            const QString path = resolve(file.folder, *inclusion);
            const QString folder = inclusion->ownFolder ? QFileInfo(path).path() : file.folder;
            stack.push_back(Pending{path, folder});
        }
        followed.append(Followed{stamp, std::move(facts)});
    }
    return followed;
}

QString FileFollower::resolve(const QString &folder, const QString &name, const QString &extension)
{
    const QString path = inFolder(folder, name);
    if (!path.endsWith(extension)) {
        const QString extended = canonicalFile(path + extension);
        if (!extended.isEmpty())
            return extended;
    }
    return canonicalFile(path);
}

QString FileFollower::resolve(const QString &folder, const TexReferences::Inclusion &inclusion)
{
    const QString base = inclusion.directory.isEmpty() ? folder : inFolder(folder, inclusion.directory);
    return resolve(base, inclusion.name);
}
