#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

// The lines of a settings file, with an index of its sections and of the keys of
// each section looked at, so that a look-up in a large file does not walk it all.
// Names match without regard to case and the first of duplicates wins.
class ProfileFile
{
public:
    ProfileFile() = default;
    ProfileFile(QStringList lines, bool crlf);
    static ProfileFile fromText(const QString &text);

    // Only blanks and tabs are trimmed: an ideographic space belongs to the value.
    static QStringView trimBlanks(QStringView text);

    // The text after the "=" of the entry, as it stands in the file.
    std::optional<QString> rawValue(const QString &section, const QString &key) const;
    // Replaces the entry's line, or adds it at the end of its section, adding the
    // section at the end of the file when there is none.
    void setEntry(const QString &section, const QString &key, const QString &line);
    // False when there was no such entry.
    bool removeEntry(const QString &section, const QString &key);

    QByteArray toUtf8() const;

private:
    struct SectionRange
    {
        qsizetype header = -1; // index of the "[name]" line
        qsizetype end = 0;     // one past the section's last line
    };

    std::optional<SectionRange> findSection(const QString &section) const;
    std::optional<qsizetype> findEntry(const QString &section, const QString &key) const;
    void indexSections() const;
    const QHash<QString, qsizetype> &keysOf(const QString &foldedSection, const SectionRange &range) const;
    void forgetIndex();

    QStringList m_lines;
    bool m_crlf = false;
    // Built when first needed; lines added or removed make them stale.
    mutable std::optional<QHash<QString, SectionRange>> m_sections;
    mutable QHash<QString, QHash<QString, qsizetype>> m_keys;
};
