#pragma once

#include <QByteArray>
#include <QString>

// The whole contents of files, for tests that prepare and check real files.
namespace FileBytes {

// Creates or replaces the file; false when it cannot be written.
bool write(const QString &path, const QByteArray &bytes);
// The file's bytes; empty when it cannot be read.
QByteArray read(const QString &path);

} // namespace FileBytes
