#include "ProfileFile.h"

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QString folded(QStringView name)
{
    return name.toString().toCaseFolded();
}

std::optional<QStringView> sectionOf(QStringView line)
{
    const QStringView text = ProfileFile::trimBlanks(line);
    if (!text.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = text.indexOf(u']');
    return ProfileFile::trimBlanks(close < 0 ? text.mid(1) : text.mid(1, close - 1));
}

std::optional<QStringView> keyOf(QStringView line)
{
    if (ProfileFile::trimBlanks(line).startsWith(u';') || sectionOf(line))
        return std::nullopt;
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0)
        return std::nullopt;
    return ProfileFile::trimBlanks(line.left(equals));
}

} // namespace

ProfileFile::ProfileFile(QStringList lines, bool crlf)
    : m_lines(std::move(lines))
    , m_crlf(crlf)
{
}

ProfileFile ProfileFile::fromText(const QString &text)
{
    // New lines follow the line end that the file already uses.
    const qsizetype firstBreak = text.indexOf(u'\n');
    const bool crlf = firstBreak > 0 && text[firstBreak - 1] == u'\r';
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    for (QString &line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    return ProfileFile(std::move(lines), crlf);
}

void ProfileFile::indexSections() const
{
    if (m_sections)
        return;
    QHash<QString, SectionRange> sections;
    SectionRange *open = nullptr;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const auto name = sectionOf(m_lines[i]);
        if (!name)
            continue;
        if (open)
            open->end = i;
        open = nullptr;
        const QString key = folded(*name);
        if (!sections.contains(key))
            open = &sections.insert(key, SectionRange{i, m_lines.size()}).value();
    }
    m_sections = std::move(sections);
}

std::optional<ProfileFile::SectionRange> ProfileFile::findSection(const QString &section) const
{
    indexSections();
    const auto found = m_sections->constFind(folded(section));
    if (found == m_sections->constEnd())
        return std::nullopt;
    return *found;
}

const QHash<QString, qsizetype> &ProfileFile::keysOf(const QString &foldedSection, const SectionRange &range) const
{
    const auto known = m_keys.constFind(foldedSection);
    if (known != m_keys.constEnd())
        return *known;
    QHash<QString, qsizetype> keys;
    for (qsizetype i = range.header + 1; i < range.end; ++i) {
        const auto name = keyOf(m_lines[i]);
        if (!name)
            continue;
        const QString foldedKey = folded(*name);
        if (!keys.contains(foldedKey))
            keys.insert(foldedKey, i);
    }
    return m_keys.insert(foldedSection, std::move(keys)).value();
}

std::optional<qsizetype> ProfileFile::findEntry(const QString &section, const QString &key) const
{
    const auto range = findSection(section);
    if (!range)
        return std::nullopt;
    const QHash<QString, qsizetype> &keys = keysOf(folded(section), *range);
    const auto found = keys.constFind(folded(key));
    if (found == keys.constEnd())
        return std::nullopt;
    return *found;
}

std::optional<QString> ProfileFile::rawValue(const QString &section, const QString &key) const
{
    const auto line = findEntry(section, key);
    if (!line)
        return std::nullopt;
    const QString &text = m_lines[*line];
    return text.mid(text.indexOf(u'=') + 1);
}

void ProfileFile::forgetIndex()
{
    m_sections.reset();
    m_keys.clear();
}

void ProfileFile::setEntry(const QString &section, const QString &key, const QString &line)
{
    if (const auto existing = findEntry(section, key)) {
        // The key keeps its line, so the index stays true.
        m_lines[*existing] = line;
        return;
    }
    const auto range = findSection(section);
    forgetIndex();
    if (!range) {
        if (!m_lines.isEmpty() && !ProfileFile::trimBlanks(m_lines.back()).isEmpty())
            m_lines.append(QString());
        m_lines.append(u'[' + section + u']');
        m_lines.append(line);
        return;
    }
    qsizetype insertAt = range->end;
    while (insertAt > range->header + 1 && ProfileFile::trimBlanks(m_lines[insertAt - 1]).isEmpty())
        --insertAt;
    m_lines.insert(insertAt, line);
}

bool ProfileFile::removeEntry(const QString &section, const QString &key)
{
    const auto line = findEntry(section, key);
    if (!line)
        return false;
    forgetIndex();
    m_lines.removeAt(*line);
    return true;
}

QByteArray ProfileFile::toUtf8() const
{
    const QString eol = m_crlf ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QString text;
    for (const QString &line : m_lines)
        text += line + eol;
    return text.toUtf8();
}

QStringView ProfileFile::trimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}
