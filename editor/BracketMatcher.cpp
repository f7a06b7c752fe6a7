#include "BracketMatcher.h"

#include <algorithm>

namespace {

constexpr QStringView Openers = u"{[(";
constexpr QStringView Closers = u"}])";

bool isBracket(QChar c)
{
    return Openers.contains(c) || Closers.contains(c);
}

QChar partnerOf(QChar bracket)
{
    const qsizetype open = Openers.indexOf(bracket);
    return open >= 0 ? Closers[open] : Openers[Closers.indexOf(bracket)];
}

// Walks the counting brackets line by line from a bracket towards its partner.
class PartnerSearch
{
public:
    PartnerSearch(const BracketMatcher::LineText &lineText, int lineCount, BracketMatcher::Position from, QChar bracket)
        : m_lineText(lineText)
        , m_lineCount(lineCount)
        , m_from(from)
        , m_bracket(bracket)
        , m_partner(partnerOf(bracket))
        , m_forward(Openers.contains(bracket))
    {
    }

    std::optional<BracketMatcher::Position> run()
    {
        const int step = m_forward ? 1 : -1;
        const int last = m_forward ? std::min(m_lineCount - 1, m_from.line + BracketMatcher::MaxLineDistance)
                                   : std::max(0, m_from.line - BracketMatcher::MaxLineDistance);
        for (int line = m_from.line; m_forward ? line <= last : line >= last; line += step) {
            if (const auto column = searchLine(line))
                return BracketMatcher::Position{line, *column};
        }
        return std::nullopt;
    }

private:
    std::optional<int> searchLine(int line)
    {
        const QString text = m_lineText(line);
        std::vector<int> columns = BracketMatcher::bracketColumns(text);
        if (!m_forward)
            std::reverse(columns.begin(), columns.end());
        for (const int column : columns) {
            if (line == m_from.line && (m_forward ? column <= m_from.column : column >= m_from.column))
                continue;
            const QChar c = text[column];
            if (c == m_bracket)
                ++m_depth;
            else if (c == m_partner && m_depth-- == 0)
                return column;
        }
        return std::nullopt;
    }

    const BracketMatcher::LineText &m_lineText;
    const int m_lineCount;
    const BracketMatcher::Position m_from;
    const QChar m_bracket;
    const QChar m_partner;
    const bool m_forward;
    int m_depth = 0;
};

} // namespace

std::vector<int> BracketMatcher::bracketColumns(QStringView line)
{
    std::vector<int> columns;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == u'%')
            break;
        if (c == u'\\')
            ++i;
        else if (isBracket(c))
            columns.push_back(static_cast<int>(i));
    }
    return columns;
}

std::optional<BracketMatcher::Match> BracketMatcher::match(const LineText &lineText, int lineCount, Position caret)
{
    if (caret.line < 0 || caret.line >= lineCount)
        return std::nullopt;
    const QString text = lineText(caret.line);
    // Most carets have no bracket beside them: then the line need not be read for
    // which of its brackets count.
    const auto bracketAt = [&text](int column) {
        return column >= 0 && column < text.size() && isBracket(text[column]);
    };
    if (!bracketAt(caret.column - 1) && !bracketAt(caret.column))
        return std::nullopt;
    const std::vector<int> columns = bracketColumns(text);
    for (const int column : {caret.column - 1, caret.column}) {
        if (std::find(columns.begin(), columns.end(), column) == columns.end())
            continue;
        const Position bracket{caret.line, column};
        const QChar c = text[column];
        if (const auto partner = PartnerSearch(lineText, lineCount, bracket, c).run())
            return Match{bracket, *partner};
    }
    return std::nullopt;
}
