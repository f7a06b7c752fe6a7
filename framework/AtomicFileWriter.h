#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <optional>
#include <sys/types.h>

// Replaces a file's contents so that the old file survives any failure: the bytes
// go to a temporary file in the same directory, are flushed to disk and only then
// renamed over the target, which keeps its permissions. For a symbolic link the
// file it points to is replaced, and the link stays.
//
// The temporary file is named ".NAME.saving-PID-XXXXXX" after the target and the
// writing process, so that one left behind by a save that was killed can be told
// from a save still running, and removed.
class AtomicFileWriter
{
public:
    static bool write(const QString &path, const QByteArray &bytes);
    // The same, with the file's permission bits given rather than kept.
    static bool write(const QString &path, const QByteArray &bytes, mode_t permissions);
    // The file's bytes handed over piece by piece, so that a large file needs no
    // buffer of its whole size: fill passes each piece to the function it is given.
    // When fill returns false, or a piece cannot be written, nothing is replaced.
    using Fill = std::function<bool(const std::function<bool(QByteArrayView)> &write)>;
    static bool write(const QString &path, const Fill &fill, mode_t permissions);
    // Removes the temporary files of path that saves of processes which have gone
    // left behind; those of running processes, this one's included, stay.
    static void removeStaleTemporaries(const QString &path);

private:
    static bool write(const QString &path, const Fill &fill, std::optional<mode_t> permissions);
};
