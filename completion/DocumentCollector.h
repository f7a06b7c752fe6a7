#pragma once

#include "BibReader.h"
#include "DocumentSnapshot.h"
#include "FileCache.h"
#include "FileFollower.h"
#include "KpseWhich.h"
#include "SourceFacts.h"

#include <QString>

// Reads what completion needs of the files of a document: from the file being
// edited it finds the main file, follows the sources from there, reads the
// bibliography databases they name and lists the file names near the main file.
// What it read of a file is kept until the file changes, so reading again after a
// save costs little more than looking at the files' stamps. Everything it does
// takes time (disks, the converter, kpsewhich): it is meant to run away from the
// user interface, one call at a time.
class DocumentCollector
{
public:
    using Read = FileCache<SourceFacts>::Read;

    explicit DocumentCollector(Read read, FileFollower::Limits limits = {});

    DocumentSnapshot collect(const QString &documentPath, const FileFollower::Cancelled &cancelled = {});

private:
    struct Citations
    {
        QStringList keys;
        QHash<QString, QString> notes;
    };
    // What was made of the files as stamped, kept for the next reading.
    struct LabelsRead
    {
        QString documentPath;
        QList<SourceStamp> stamps;
        DocumentLabels labels;
    };
    struct CitationsRead
    {
        QList<SourceStamp> stamps;
        Citations citations;
    };

    static Citations citationsOf(const QList<std::shared_ptr<const QList<BibReader::Entry>>> &databases);
    std::shared_ptr<const SourceFacts> sourceFacts(const SourceStamp &stamp);
    void readDatabases(const QList<FileFollower::Followed> &sources, const QString &mainFolder,
                       DocumentSnapshot &snapshot, const FileFollower::Cancelled &cancelled);
    QString databasePath(const QString &mainFolder, const QString &name);

    Read m_read;
    FileFollower::Limits m_limits;
    FileCache<SourceFacts> m_sources;
    FileCache<QList<BibReader::Entry>> m_databases;
    KpseWhich m_kpsewhich;
    LabelsRead m_labelsRead;
    CitationsRead m_citationsRead;
};
