#pragma once

#include <QString>

// Which version of a file was read: its modification time and size. A file that is
// written again gets a new stamp.
struct SourceStamp
{
    QString path;
    qint64 modified = 0;
    qint64 size = -1;

    // The stamp the file has now; size -1 when it is not a readable regular file.
    static SourceStamp of(const QString &path);
    bool exists() const { return size >= 0; }
    bool operator==(const SourceStamp &) const = default;
};
