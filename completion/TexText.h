#pragma once

#include <QChar>
#include <QStringView>

#include <algorithm>

// The small questions every reading of TeX source for completion asks: where lines
// end, whether a character is escaped, where a control word or an environment
// stands. Texts are the editor's, positions indices of UTF-16 code units.
namespace TexText {

// The editor's own text separates its lines with U+2029; it is read as a line end
// like LF and CR, so that the whole text needs no conversion before a scan.
inline bool isLineEnd(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar::ParagraphSeparator;
}

inline bool isLineBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || isLineEnd(c);
}

inline bool isEscaped(QStringView text, qsizetype index)
{
    return index > 0 && text[index - 1] == QLatin1Char('\\');
}

// Whether keyword stands at index; reach receives the index of the last character
// compared. A plain comparison, written out and inline because it runs at every
// backslash of the document and most backslashes fail on the next character.
inline bool keywordAt(QStringView text, qsizetype index, QStringView keyword, qsizetype &reach)
{
    qsizetype matched = 0;
    while (matched < keyword.size() && index + matched < text.size() && text[index + matched] == keyword[matched])
        ++matched;
    reach = std::min(index + matched, text.size() - 1);
    if (matched == keyword.size()) {
        reach = index + matched - 1;
        return true;
    }
    return false;
}

inline bool keywordAt(QStringView text, qsizetype index, QStringView keyword)
{
    qsizetype reach = 0;
    return keywordAt(text, index, keyword, reach);
}

// First occurrence of keyword at or after start that ends the text or is followed
// by a delimiter; -1 if none.
qsizetype findWord(QStringView text, QStringView keyword, qsizetype start);

// First "\begin" (isBegin) or "\end" at or after start whose brace argument lists
// envName; -1 if none. closeIndex, when given, receives the index of that
// argument's closing brace, or the text's last index when there is no match or the
// argument is not closed.
qsizetype findEnvironment(QStringView text, bool isBegin, QStringView envName, qsizetype start,
                          qsizetype *closeIndex = nullptr);

// Whether the keyword ("\\begin" or "\\end") at index takes a brace argument that
// lists envName. brace receives the index after the blanks that follow the keyword,
// closeIndex that of the argument's closing brace, or -1 when it is not closed.
bool namesEnvironmentAt(QStringView text, qsizetype at, QStringView keyword, QStringView envName, qsizetype &brace,
                        qsizetype &closeIndex);

} // namespace TexText
