#pragma once

#include <QByteArray>
#include <QString>

// Replaces a file's contents so that the old file survives any failure: the bytes
// go to a temporary file in the same directory, are flushed to disk and only then
// renamed over the target, which keeps its permissions. For a symbolic link the
// file it points to is replaced, and the link stays.
class AtomicFileWriter
{
public:
    static bool write(const QString &path, const QByteArray &bytes);
};
