#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class ConverterLibrary;
class QFile;

// Reads a source file that is not open in the editor the way opening it would: its
// encoding detected and its text converted through the converter when that is
// loaded, as UTF-8 otherwise, line ends turned into LF. It shows no message: a file
// that cannot be read or converted simply gives nothing. Safe to use from any
// thread while the library stays loaded.
class SourceFileReader
{
public:
    explicit SourceFileReader(const ConverterLibrary &library);

    std::optional<QString> read(const QString &path) const;

    // The whole of an open file, or nothing when it cannot be read. Large files go
    // into memory asked for in huge pages.
    static std::optional<QByteArray> readWholeFile(QFile &file);
    // Line ends of every kind become LF, the only one the editor keeps.
    static QString withLfLineEnds(QString text);

private:
    std::optional<QString> decode(const QByteArray &bytes) const;

    const ConverterLibrary &m_library;
};
