#pragma once

#include "ProcessIdentity.h"
#include "RecoveryFile.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The folder of crash-recovery files. Each running program writes one file, named
// after its process, so the files of a program that has gone are told from those
// of one that still runs without reading them.
class RecoveryFolder
{
public:
    struct Found
    {
        QString filePath;
        RecoveryFile contents;
    };
    struct Scan
    {
        // Whole files whose writer has gone, newest first.
        std::vector<Found> found;
        // Damaged files, each renamed aside under the name given here.
        QStringList setAside;
    };

    explicit RecoveryFolder(QString directory);

    // $XDG_STATE_HOME/quillmere/recovery, by default ~/.local/state/quillmere/recovery.
    static QString defaultDirectory();

    const QString &directory() const { return m_directory; }
    QString fileOf(const ProcessIdentity &writer) const;
    // Creates the folder, readable by its owner only; false when it cannot be made.
    bool create() const;

    Scan leftBehind() const;

private:
    static std::optional<ProcessIdentity> writerOf(const QString &fileName);
    static QString setAside(const QString &filePath);

    QString m_directory;
};
