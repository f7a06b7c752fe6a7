#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The settings file, with the semantics users of Windows INI files rely on:
// section and key names match without regard to case, the first of duplicate
// sections or keys wins, a value loses its surrounding blanks and one pair of
// matching surrounding quotes on reading and is cut to the caller's buffer, and a
// missing file or key gives the default. Writing keeps every other line, comment
// and the order of the file, and replaces the file atomically. The file is written
// as UTF-8; a file that is not valid UTF-8 is read as CP932, as Windows wrote it.
class ProfileStore
{
public:
    static constexpr int DefaultBufferSize = 4096;

    ProfileStore() = default;
    explicit ProfileStore(QString path);

    void setPath(const QString &path);
    const QString &path() const { return m_path; }

    QString readString(const QString &section, const QString &key, const QString &defaultValue,
                       int bufferSize = DefaultBufferSize) const;
    int readInt(const QString &section, const QString &key, int defaultValue) const;

    // Returns false when the file could not be written; callers may ignore it.
    bool writeString(const QString &section, const QString &key, const QString &value) const;
    bool writeInt(const QString &section, const QString &key, int value) const;
    bool removeKey(const QString &section, const QString &key) const;

private:
    struct FileLines
    {
        QStringList lines;
        bool crlf = false;
        bool readable = true;
    };

    FileLines readLines() const;
    bool writeLines(const FileLines &file) const;
    std::optional<QString> rawValue(const QString &section, const QString &key) const;

    QString m_path;
};
