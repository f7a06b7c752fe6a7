#include "ProfileStore.h"

#include "AtomicFileWriter.h"
#include "CodePage.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <climits>

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

// Only blanks and tabs are trimmed: an ideographic space belongs to the value.
QString trimBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

std::optional<QString> sectionOf(const QString &line)
{
    const QString text = trimBlanks(line);
    if (!text.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = text.indexOf(u']');
    return trimBlanks(close < 0 ? text.mid(1) : text.mid(1, close - 1));
}

bool isComment(const QString &line)
{
    return trimBlanks(line).startsWith(u';');
}

std::optional<QString> keyOf(const QString &line)
{
    if (isComment(line) || sectionOf(line))
        return std::nullopt;
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0)
        return std::nullopt;
    return trimBlanks(line.left(equals));
}

QString valueOf(const QString &line)
{
    return line.mid(line.indexOf(u'=') + 1);
}

QString unquote(const QString &value)
{
    const QString text = trimBlanks(value);
    if (text.size() >= 2 && (text.front() == u'"' || text.front() == u'\'') && text.back() == text.front())
        return text.mid(1, text.size() - 2);
    return text;
}

QString decodeSettings(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringDecoder::Utf16LE).decode(bytes.mid(2));
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    if (CodePage::isValidUtf8(bytes))
        return QString::fromUtf8(bytes);
    return CodePage::fromCp932(bytes);
}

struct SectionRange
{
    qsizetype header = -1; // index of the "[name]" line, -1 when absent
    qsizetype end = 0;     // one past the section's last line
};

SectionRange findSection(const QStringList &lines, const QString &section)
{
    SectionRange range;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const auto name = sectionOf(lines[i]);
        if (!name)
            continue;
        if (range.header >= 0) {
            range.end = i;
            return range;
        }
        if (sameName(*name, section))
            range.header = i;
    }
    range.end = lines.size();
    return range;
}

qsizetype findKey(const QStringList &lines, const SectionRange &range, const QString &key)
{
    for (qsizetype i = range.header + 1; i < range.end; ++i) {
        const auto name = keyOf(lines[i]);
        if (name && sameName(*name, key))
            return i;
    }
    return -1;
}

} // namespace

ProfileStore::ProfileStore(QString path)
    : m_path(std::move(path))
{
}

void ProfileStore::setPath(const QString &path)
{
    m_path = path;
}

ProfileStore::FileLines ProfileStore::readLines() const
{
    FileLines file;
    QFile in(m_path);
    if (!in.exists())
        return file;
    if (QFileInfo(m_path).isDir() || !in.open(QIODevice::ReadOnly)) {
        file.readable = false;
        return file;
    }
    const QByteArray bytes = in.readAll();
    const QString text = decodeSettings(bytes);
    // New lines follow the line end that the file already uses.
    const qsizetype firstBreak = text.indexOf(u'\n');
    file.crlf = firstBreak > 0 && text[firstBreak - 1] == u'\r';
    file.lines = text.split(u'\n');
    if (!file.lines.isEmpty() && file.lines.back().isEmpty())
        file.lines.removeLast();
    for (QString &line : file.lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    return file;
}

bool ProfileStore::writeLines(const FileLines &file) const
{
    const QString eol = file.crlf ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QString text;
    for (const QString &line : file.lines)
        text += line + eol;
    return AtomicFileWriter::write(m_path, text.toUtf8());
}

std::optional<QString> ProfileStore::rawValue(const QString &section, const QString &key) const
{
    if (m_path.isEmpty())
        return std::nullopt;
    const FileLines file = readLines();
    const SectionRange range = findSection(file.lines, section);
    if (range.header < 0)
        return std::nullopt;
    const qsizetype line = findKey(file.lines, range, key);
    if (line < 0)
        return std::nullopt;
    return valueOf(file.lines[line]);
}

QString ProfileStore::readString(const QString &section, const QString &key, const QString &defaultValue,
                                 int bufferSize) const
{
    const auto raw = rawValue(section, key);
    const QString value = raw ? unquote(*raw) : defaultValue;
    return value.left(qMax(0, bufferSize - 1));
}

int ProfileStore::readInt(const QString &section, const QString &key, int defaultValue) const
{
    const auto raw = rawValue(section, key);
    if (!raw)
        return defaultValue;
    // Like the classic reader: the leading decimal number, 0 when there is none.
    const QString text = trimBlanks(*raw);
    qsizetype digitsEnd = (text.startsWith(u'-') || text.startsWith(u'+')) ? 1 : 0;
    while (digitsEnd < text.size() && text[digitsEnd].isDigit() && text[digitsEnd].unicode() < 128)
        ++digitsEnd;
    bool ok = false;
    const long long value = text.left(digitsEnd).toLongLong(&ok);
    if (!ok)
        return 0;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

bool ProfileStore::writeString(const QString &section, const QString &key, const QString &value) const
{
    // A line break in a name or value would turn into lines of their own and
    // corrupt the file for the next reader.
    const auto hasBreak = [](const QString &s) { return s.contains(u'\n') || s.contains(u'\r'); };
    if (m_path.isEmpty() || hasBreak(section) || hasBreak(key) || hasBreak(value))
        return false;

    FileLines file = readLines();
    if (!file.readable)
        return false;

    const QString entry = key + u'=' + value;
    const SectionRange range = findSection(file.lines, section);
    if (range.header < 0) {
        if (!file.lines.isEmpty() && !trimBlanks(file.lines.back()).isEmpty())
            file.lines.append(QString());
        file.lines.append(u'[' + section + u']');
        file.lines.append(entry);
        return writeLines(file);
    }
    const qsizetype line = findKey(file.lines, range, key);
    if (line >= 0) {
        file.lines[line] = entry;
        return writeLines(file);
    }
    qsizetype insertAt = range.end;
    while (insertAt > range.header + 1 && trimBlanks(file.lines[insertAt - 1]).isEmpty())
        --insertAt;
    file.lines.insert(insertAt, entry);
    return writeLines(file);
}

bool ProfileStore::writeInt(const QString &section, const QString &key, int value) const
{
    return writeString(section, key, QString::number(value));
}

bool ProfileStore::removeKey(const QString &section, const QString &key) const
{
    FileLines file = readLines();
    if (!file.readable)
        return false;
    const SectionRange range = findSection(file.lines, section);
    const qsizetype line = range.header < 0 ? -1 : findKey(file.lines, range, key);
    if (line < 0)
        return true;
    file.lines.removeAt(line);
    return writeLines(file);
}
