#include "TexText.h"

#include <QList>

namespace TexText {

namespace {

bool isWordDelimiter(QChar c)
{
    switch (c.unicode()) {
    case ' ':
    case '\t':
    case '\r':
    case '\n':
    case '{':
    case '}':
    case '[':
    case ']':
    case '(':
    case ')':
    case ',':
    case '\\':
    case QChar::ParagraphSeparator:
        return true;
    default:
        return false;
    }
}

// Index of the first occurrence of keyword at or after from. Looking for its first
// character with the vectorised character search and comparing only there keeps a
// pass over a large document fast: the keywords are control words, and backslashes
// are rare next to ordinary text.
qsizetype indexOfKeyword(QStringView text, QStringView keyword, qsizetype from)
{
    if (keyword.isEmpty())
        return from <= text.size() ? from : -1;
    const QChar first = keyword.front();
    for (qsizetype at = text.indexOf(first, from); at >= 0; at = text.indexOf(first, at + 1)) {
        if (keywordAt(text, at, keyword))
            return at;
    }
    return -1;
}

// Index of the brace that closes the group opened just before from, or -1 when the
// text ends first.
qsizetype closingBrace(QStringView text, qsizetype from)
{
    int depth = 1;
    for (qsizetype i = from; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('{'))
            ++depth;
        else if (text[i] == QLatin1Char('}') && --depth == 0)
            return i;
    }
    return -1;
}

bool listsName(QStringView argument, QStringView name)
{
    const auto pieces = argument.trimmed().split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QStringView piece : pieces) {
        const QStringView candidate = piece.trimmed();
        if (candidate.isEmpty())
            return false;
        if (candidate == name)
            return true;
    }
    return false;
}

} // namespace

qsizetype findWord(QStringView text, QStringView keyword, qsizetype start)
{
    if (start < 0 || start >= text.size())
        return -1;
    for (qsizetype at = indexOfKeyword(text, keyword, start); at >= 0; at = indexOfKeyword(text, keyword, at + 1)) {
        const qsizetype after = at + keyword.size();
        if (after >= text.size() || isWordDelimiter(text[after]))
            return at;
    }
    return -1;
}

qsizetype findEnvironment(QStringView text, bool isBegin, QStringView envName, qsizetype start, qsizetype *closeIndex)
{
    if (closeIndex)
        *closeIndex = text.size() - 1;
    if (start < 0 || start >= text.size())
        return -1;
    const QStringView keyword = isBegin ? QStringView(u"\\begin") : QStringView(u"\\end");
    for (qsizetype at = indexOfKeyword(text, keyword, start); at >= 0;) {
        qsizetype brace = 0;
        qsizetype close = 0;
        if (namesEnvironmentAt(text, at, keyword, envName, brace, close)) {
            if (closeIndex && close >= 0)
                *closeIndex = close;
            return at;
        }
        if (brace >= text.size() - 1)
            return -1;
        at = indexOfKeyword(text, keyword, text[brace] == QLatin1Char('{') ? brace + 1 : brace);
    }
    return -1;
}

bool namesEnvironmentAt(QStringView text, qsizetype at, QStringView keyword, QStringView envName, qsizetype &brace,
                        qsizetype &closeIndex)
{
    brace = at + keyword.size();
    while (brace < text.size() && isLineBlank(text[brace]))
        ++brace;
    closeIndex = -1;
    if (brace >= text.size() - 1 || text[brace] != QLatin1Char('{'))
        return false;
    closeIndex = closingBrace(text, brace + 1);
    const qsizetype argumentEnd = closeIndex < 0 ? text.size() : closeIndex;
    return listsName(text.sliced(brace + 1, argumentEnd - brace - 1), envName);
}

} // namespace TexText
