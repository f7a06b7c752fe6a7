#pragma once

#include "DocumentLabels.h"
#include "FileNameLister.h"
#include "SourceStamp.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// What completion knows of the document's files besides the text being edited, as
// read at one time: labels, citation keys with what is shown beside them, and the
// file names near the main file.
struct DocumentSnapshot
{
    // The file being edited and the document's main file, canonical.
    QString documentPath;
    QString mainPath;
    // Every file read, the document's sources first.
    QList<SourceStamp> stamps;
    // The labels of the sources other than the file being edited.
    DocumentLabels labels;
    // The keys of the bibliography databases, each once, in list order.
    QStringList citations;
    QHash<QString, QString> notes;
    FileNameLister::Names files;

    // Whether other reads the same versions of the same files.
    bool sameAs(const DocumentSnapshot &other) const
    {
        return mainPath == other.mainPath && stamps == other.stamps && files == other.files;
    }
};
