#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <sys/types.h>

// Replaces a file's contents so that the old file survives any failure: the bytes
// go to a temporary file in the same directory, are flushed to disk and only then
// renamed over the target, which keeps its permissions. For a symbolic link the
// file it points to is replaced, and the link stays.
class AtomicFileWriter
{
public:
    static bool write(const QString &path, const QByteArray &bytes);
    // The same, with the file's permission bits given rather than kept.
    static bool write(const QString &path, const QByteArray &bytes, mode_t permissions);

private:
    static bool write(const QString &path, const QByteArray &bytes, std::optional<mode_t> permissions);
};
