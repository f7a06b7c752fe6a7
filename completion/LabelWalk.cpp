#include "LabelWalk.h"

#include "LabelTable.h"
#include "TexText.h"

#include <algorithm>
#include <array>

namespace {

// Trimming is a call into the library, and most labels have no blank at either end.
QStringView trimmedLabel(QStringView label)
{
    if (label.isEmpty() || (!label.front().isSpace() && !label.back().isSpace()))
        return label;
    return label.trimmed();
}

// One of the four label commands, searched for as if the others did not exist:
// each remembers where its own search may go on.
class LabelSearch
{
public:
    explicit LabelSearch(QStringView keyword)
        : m_keyword(keyword)
    {
    }

    struct Found
    {
        QStringView label;
        qsizetype position;
    };

    // The label of the command at index, if the keyword stands there and takes one.
    // reach receives the index of the last character read to decide.
    std::optional<Found> examine(QStringView text, qsizetype at, qsizetype skip, qsizetype &reach)
    {
        reach = at + 1;
        if (m_done || at < m_from)
            return std::nullopt;
        if (!TexText::keywordAt(text, at, m_keyword, reach))
            return std::nullopt;
        const qsizetype after = at + m_keyword.size();
        qsizetype brace = after;
        while (brace < text.size() && TexText::isLineBlank(text[brace]))
            ++brace;
        reach = brace;
        if (brace >= text.size() || text[brace] != QLatin1Char('{') || brace == skip) {
            m_from = after;
            return std::nullopt;
        }
        if (brace == text.size() - 1) {
            m_done = true;
            return std::nullopt;
        }
        qsizetype end = brace + 1;
        for (int depth = 1; end < text.size(); ++end) {
            const char16_t c = text[end].unicode();
            // Letters, digits and punctuation between the line ends and "{" make
            // up most labels and need no further test.
            if (c > u'\r' && c < u'{')
                continue;
            if (TexText::isLineEnd(QChar(c)))
                break;
            if (c == u'{')
                ++depth;
            else if (c == u'}' && --depth == 0)
                break;
        }
        reach = end;
        m_from = end > brace + 1 ? end - 1 : brace;
        return Found{trimmedLabel(text.sliced(brace + 1, end - brace - 1)), brace + 1};
    }

private:
    QStringView m_keyword;
    qsizetype m_from = 0;
    bool m_done = false;
};

// Whether "\\if01" or a "comment" environment stands at the backslash at index:
// then more than "%" comments is hidden from TeX. reach receives the index of the
// last character read to decide.
bool opensHiddenBlock(QStringView text, qsizetype at, qsizetype &reach)
{
    if (TexText::keywordAt(text, at, u"\\if01", reach))
        return true;
    qsizetype keywordEnd = 0;
    if (!TexText::keywordAt(text, at, u"\\begin", keywordEnd)) {
        reach = std::max(reach, keywordEnd);
        return false;
    }
    qsizetype brace = 0;
    qsizetype close = 0;
    const bool hidden = TexText::namesEnvironmentAt(text, at, u"\\begin", u"comment", brace, close);
    reach = close >= 0 ? close : text.size() - 1;
    return hidden;
}

// The rank of the label keyword that a backslash followed by letter may start:
// "\\label", "\\ref", "\\eqref", "\\pageref"; -1 for none.
int labelKeywordRank(char16_t letter)
{
    switch (letter) {
    case u'l':
        return 0;
    case u'r':
        return 1;
    case u'e':
        return 2;
    case u'p':
        return 3;
    default:
        return -1;
    }
}

} // namespace

std::optional<QStringList> LabelWalk::collect(QStringView text, const std::vector<TextRange> &comments, qsizetype skip,
                                              bool stopAtHiddenBlocks)
{
    std::array<LabelSearch, LabelTable::MaxRank + 1> searches = {LabelSearch{u"\\label"}, LabelSearch{u"\\ref"},
                                                                 LabelSearch{u"\\eqref"}, LabelSearch{u"\\pageref"}};
    LabelTable table(text.size());
    auto comment = comments.begin();
    qsizetype at = text.indexOf(QLatin1Char('\\'));
    while (at >= 0 && at + 1 < text.size()) {
        while (comment != comments.end() && comment->to <= at)
            ++comment;
        if (comment != comments.end() && comment->from <= at) {
            at = text.indexOf(QLatin1Char('\\'), comment->to);
            continue;
        }
        const qsizetype nextComment = comment != comments.end() ? comment->from : text.size();
        qsizetype reach = at;
        // Most backslashes start none of the words looked for, and the letter after
        // them tells which one they might start.
        const char16_t letter = text[at + 1].unicode();
        const int rank = labelKeywordRank(letter);
        if (rank >= 0) {
            if (const auto found = searches[static_cast<std::size_t>(rank)].examine(text, at, skip, reach))
                table.add(found->label, rank, found->position);
        } else if (stopAtHiddenBlocks && (letter == u'i' || letter == u'b') && opensHiddenBlock(text, at, reach)) {
            return std::nullopt;
        }
        if (nextComment < text.size() && reach >= nextComment)
            return std::nullopt;
        at = text.indexOf(QLatin1Char('\\'), at + 1);
    }
    return table.inReportOrder();
}
