#include "DocumentCollector.h"

#include "CandidateList.h"
#include "MainFileFinder.h"

#include <QFileInfo>
#include <QSet>

#include <utility>

namespace {

const QString DatabaseExtension = QStringLiteral(".bib");

} // namespace

DocumentCollector::DocumentCollector(Read read, FileFollower::Limits limits)
    : m_read(std::move(read))
    , m_limits(limits)
{
}

DocumentSnapshot DocumentCollector::collect(const QString &documentPath, const FileFollower::Cancelled &cancelled)
{
    DocumentSnapshot snapshot;
    snapshot.documentPath = QFileInfo(documentPath).canonicalFilePath();
    if (snapshot.documentPath.isEmpty())
        return snapshot;
    const FileFollower::Facts facts = [this](const SourceStamp &stamp) { return sourceFacts(stamp); };
    snapshot.mainPath = MainFileFinder::find(snapshot.documentPath, facts, cancelled);
    const QString mainFolder = QFileInfo(snapshot.mainPath).path();

    const QList<FileFollower::Followed> sources =
        FileFollower(facts, m_limits).follow({snapshot.mainPath, snapshot.documentPath}, mainFolder, cancelled);
    for (const FileFollower::Followed &source : sources)
        snapshot.stamps.append(source.stamp);
    // Putting the labels of many files in order takes a while; most readings find
    // the files as they were.
    if (snapshot.stamps != m_labelsRead.stamps || snapshot.documentPath != m_labelsRead.documentPath) {
        QStringList labels;
        for (const FileFollower::Followed &source : sources) {
            if (source.stamp.path != snapshot.documentPath)
                labels += source.facts->labels;
        }
        m_labelsRead = {snapshot.documentPath, snapshot.stamps, DocumentLabels(labels)};
    }
    snapshot.labels = m_labelsRead.labels;
    readDatabases(sources, mainFolder, snapshot, cancelled);
    snapshot.files = FileNameLister::list(mainFolder);
    return snapshot;
}

std::shared_ptr<const SourceFacts> DocumentCollector::sourceFacts(const SourceStamp &stamp)
{
    return m_sources.get(stamp, m_read, &SourceFacts::of);
}

void DocumentCollector::readDatabases(const QList<FileFollower::Followed> &sources, const QString &mainFolder,
                                      DocumentSnapshot &snapshot, const FileFollower::Cancelled &cancelled)
{
    QSet<QString> seen;
    QList<SourceStamp> stamps;
    QList<std::shared_ptr<const QList<BibReader::Entry>>> databases;
    qint64 bytes = 0;
    for (const FileFollower::Followed &source : sources) {
        for (const QString &name : source.facts->references.bibliographies) {
            if (cancelled && cancelled())
                return;
            const QString path = databasePath(mainFolder, name);
            if (path.isEmpty() || seen.contains(path))
                continue;
            seen.insert(path);
            const SourceStamp stamp = SourceStamp::of(path);
            if (!stamp.exists() || bytes + stamp.size > m_limits.bytes)
                continue;
            auto entries = m_databases.get(stamp, m_read, [](QString text) { return BibReader::read(text); });
            if (!entries)
                continue;
            bytes += stamp.size;
            stamps.append(stamp);
            databases.append(std::move(entries));
        }
    }
    snapshot.stamps += stamps;
    if (stamps != m_citationsRead.stamps)
        m_citationsRead = {stamps, citationsOf(databases)};
    snapshot.citations = m_citationsRead.citations.keys;
    snapshot.notes = m_citationsRead.citations.notes;
}

// The keys of the databases, each once, with the note of the first entry that has it.
DocumentCollector::Citations
DocumentCollector::citationsOf(const QList<std::shared_ptr<const QList<BibReader::Entry>>> &databases)
{
    Citations citations;
    for (const auto &entries : databases) {
        for (const BibReader::Entry &entry : *entries) {
            if (citations.notes.contains(entry.key))
                continue;
            citations.notes.insert(entry.key, BibReader::note(entry));
            citations.keys.append(entry.key);
        }
    }
    citations.keys = CandidateList::sorted(std::move(citations.keys));
    return citations;
}

// A database named relative to the main file's folder, ".bib" added when missing;
// else one installed with TeX.
QString DocumentCollector::databasePath(const QString &mainFolder, const QString &name)
{
    const QString local = FileFollower::resolve(mainFolder, name, DatabaseExtension);
    if (!local.isEmpty())
        return local;
    const QString installed = m_kpsewhich.find(name.endsWith(DatabaseExtension) ? name : name + DatabaseExtension);
    return installed.isEmpty() ? QString() : QFileInfo(installed).canonicalFilePath();
}
