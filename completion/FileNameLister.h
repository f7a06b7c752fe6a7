#pragma once

#include <QString>
#include <QStringList>

// The files a document may name in \input, \includegraphics or \bibliography: those
// of the right kinds in its folder and the folders below, two levels deep, as paths
// relative to its folder with "/" between the parts, in the order the folders are
// read. Hidden folders are passed over, and a folder full of other things does not
// make the listing endless.
class FileNameLister
{
public:
    struct Names
    {
        QStringList sources;
        QStringList graphics;
        QStringList databases;
        bool operator==(const Names &) const = default;
    };

    static constexpr int Depth = 2;
    static constexpr int MaxEntries = 20000;

    static Names list(const QString &folder);
};
