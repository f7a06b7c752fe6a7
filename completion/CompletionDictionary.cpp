#include "CompletionDictionary.h"

#include <QByteArray>
#include <QFile>

#include <algorithm>
#include <climits>
#include <utility>

namespace {

bool isBlank(QChar c)
{
    switch (c.unicode()) {
    case ' ':
    case '\t':
    case '\n':
    case '\v':
    case '\f':
    case '\r':
        return true;
    default:
        return false;
    }
}

QStringView trimmedBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

QStringView withoutComment(QStringView line)
{
    const qsizetype hash = line.indexOf(QLatin1Char('#'));
    return hash < 0 ? line : line.first(hash);
}

// Each byte is one character; LF ends a line and a CR right before it goes with it.
QStringList readLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines;
    for (QByteArray &line : file.readAll().split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        lines.append(QString::fromLatin1(line));
    }
    return lines;
}

// Reads a decimal number the way the C library does: leading blanks, an optional
// sign, digits up to the first non-digit, and 0 when there are none.
int leadingNumber(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        negative = text[i++] == QLatin1Char('-');
    long long value = 0;
    for (; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i)
        value = std::min<long long>(value * 10 + (text[i].unicode() - '0'), INT_MAX + 1LL);
    value = negative ? -value : value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

bool isWord(QStringView text, const char *word)
{
    return text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

// Splits at the first occurrence of separator; the second part is empty without one.
std::pair<QStringView, QStringView> splitOnce(QStringView text, QChar separator)
{
    const qsizetype at = text.indexOf(separator);
    if (at < 0)
        return {text, {}};
    return {text.first(at), text.sliced(at + 1)};
}

} // namespace

void CompletionDictionary::LoadFunctions(const QString &path)
{
    m_functions.clear();
    m_index.clear();
    for (QString &line : readLines(path))
        applyStatement(line.replace(QLatin1Char('\t'), QLatin1Char(' ')));
}

void CompletionDictionary::LoadEnvironments(const QString &path)
{
    m_environments.clear();
    for (const QString &line : readLines(path)) {
        const QStringView name = trimmedBlanks(withoutComment(line));
        if (!name.isEmpty())
            m_environments.append(name.toString());
    }
}

int CompletionDictionary::FindFunction(QStringView name) const
{
    return m_index.value(name.toString(), -1);
}

void CompletionDictionary::applyStatement(const QString &line)
{
    const QStringView statement = trimmedBlanks(withoutComment(line));
    const qsizetype space = statement.indexOf(QLatin1Char(' '));
    if (space < 0)
        return;
    const QStringView keyword = statement.first(space);
    QStringView operands = statement.sliced(space + 1);
    while (!operands.isEmpty() && isBlank(operands.front()))
        operands = operands.sliced(1);
    const auto [target, value] = splitOnce(operands, QLatin1Char(' '));

    if (isWord(keyword, "define")) {
        define(target.toString());
        return;
    }
    const bool isSet = isWord(keyword, "set");
    if (!isSet && !isWord(keyword, "add"))
        return;
    if (!target.contains(QLatin1Char('.')))
        return;
    const auto [name, remainder] = splitOnce(target, QLatin1Char('.'));
    const auto [field, sub] = splitOnce(remainder, QLatin1Char('.'));
    const int index = FindFunction(name);
    if (index < 0)
        return;
    CFunctionEntry &entry = m_functions[static_cast<std::size_t>(index)];
    if (isSet)
        applySet(entry, field, sub, value.toString());
    else
        applyAdd(entry, field, sub, value.toString());
}

void CompletionDictionary::define(const QString &name)
{
    if (FindFunction(name) >= 0)
        return;
    m_index.insert(name, static_cast<int>(m_functions.size()));
    m_functions.emplace_back(name);
}

void CompletionDictionary::applySet(CFunctionEntry &entry, QStringView field, QStringView sub, const QString &value)
{
    if (isWord(field, "param") && isWord(sub, "count"))
        entry.SetParamCount(leadingNumber(value));
    else if (isWord(field, "subparam"))
        entry.EnableSubparams(leadingNumber(value));
}

void CompletionDictionary::applyAdd(CFunctionEntry &entry, QStringView field, QStringView sub, const QString &value)
{
    if (isWord(field, "param"))
        entry.addParamValue(leadingNumber(sub), value);
    else if (isWord(field, "subparam"))
        entry.addSubparamValue(value);
}
