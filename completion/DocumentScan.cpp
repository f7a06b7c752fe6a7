#include "DocumentScan.h"

#include <QSet>

#include <algorithm>
#include <array>
#include <numeric>
#include <utility>
#include <vector>

namespace {

bool isLineBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

bool isLineEnd(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

bool isWordDelimiter(QChar c)
{
    switch (c.unicode()) {
    case ' ': case '\t': case '\r': case '\n': case '{': case '}': case '[': case ']': case '(': case ')':
    case ',': case '\\':
        return true;
    default:
        return false;
    }
}

// Whether keyword stands at index. A plain comparison, written out because it runs at
// every backslash of the document and most backslashes fail on the next character.
bool keywordAt(QStringView text, qsizetype index, QStringView keyword)
{
    return text.size() - index >= keyword.size() && std::equal(keyword.begin(), keyword.end(), text.begin() + index);
}

bool isEscaped(QStringView text, qsizetype index)
{
    return index > 0 && text[index - 1] == QLatin1Char('\\');
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

// Takes ranges out of a text in place, in the order they appear, moving each kept
// run down over what was removed, and follows one position of the text into the
// result. Everything from the start of the last removed range on is still the
// original text, so the searches that find the next range read it undisturbed.
class RangeRemover
{
public:
    RangeRemover(QString &text, qsizetype &position)
        : m_text(text)
        , m_position(position)
    {
    }

    void remove(qsizetype from, qsizetype to)
    {
        if (to <= from)
            return;
        moveKeptRun(from);
        followPosition(from, to);
        m_kept = to;
    }

    void finish()
    {
        if (m_kept == 0)
            return;
        moveKeptRun(m_text.size());
        m_text.truncate(m_written);
        if (!m_positionSettled && m_position >= 0)
            m_position -= m_removed;
    }

private:
    void moveKeptRun(qsizetype end)
    {
        QChar *data = m_text.data();
        if (m_written != m_kept)
            std::copy(data + m_kept, data + end, data + m_written);
        m_written += end - m_kept;
    }

    void followPosition(qsizetype from, qsizetype to)
    {
        if (m_positionSettled || m_position < 0)
            return;
        if (m_position < from) {
            m_position -= m_removed;
            m_positionSettled = true;
        } else if (m_position < to) {
            m_position = -1;
            m_positionSettled = true;
        } else {
            m_removed += to - from;
        }
    }

    QString &m_text;
    qsizetype &m_position;
    qsizetype m_kept = 0;
    qsizetype m_written = 0;
    qsizetype m_removed = 0;
    bool m_positionSettled = false;
};

void removePercentComments(QString &text, qsizetype &position)
{
    const QStringView view(text);
    RangeRemover remover(text, position);
    for (qsizetype percent = view.indexOf(QLatin1Char('%')); percent >= 0;) {
        if (isEscaped(view, percent)) {
            percent = view.indexOf(QLatin1Char('%'), percent + 1);
            continue;
        }
        qsizetype end = percent + 1;
        while (end < view.size() && !isLineEnd(view[end]))
            ++end;
        end = std::min(end + 1, view.size());
        remover.remove(percent, end);
        percent = view.indexOf(QLatin1Char('%'), end);
    }
    remover.finish();
}

void removeConditionalBlocks(QString &text, qsizetype &position)
{
    const QStringView view(text);
    RangeRemover remover(text, position);
    for (qsizetype begin = DocumentScan::FindWord(view, u"\\if01", 0); begin >= 0;) {
        const qsizetype fi = DocumentScan::FindWord(view, u"\\fi", begin + 5);
        const qsizetype end = fi < 0 ? view.size() : fi + 3;
        remover.remove(begin, end);
        begin = DocumentScan::FindWord(view, u"\\if01", end);
    }
    remover.finish();
}

void removeCommentEnvironments(QString &text, qsizetype &position)
{
    const QStringView view(text);
    RangeRemover remover(text, position);
    for (qsizetype begin = DocumentScan::FindEnvironment(view, true, u"comment", 0); begin >= 0;) {
        qsizetype close = 0;
        DocumentScan::FindEnvironment(view, false, u"comment", begin, &close);
        remover.remove(begin, close + 1);
        begin = DocumentScan::FindEnvironment(view, true, u"comment", close + 1);
    }
    remover.finish();
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

// The backslash of the command whose argument the caret is in: the nearest one
// outside every group opened before the caret, else the nearest one at all.
qsizetype commandBackslash(QStringView text)
{
    int braces = 0;
    int brackets = 0;
    qsizetype fallback = -1;
    for (qsizetype i = text.size() - 1; i >= 0; --i) {
        if (isEscaped(text, i))
            continue;
        switch (text[i].unicode()) {
        case '{': ++braces; break;
        case '}': --braces; break;
        case '[': ++brackets; break;
        case ']': --brackets; break;
        case '\\':
            if (std::max(braces, brackets) > 0)
                return i;
            if (fallback < 0)
                fallback = i;
            break;
        default:
            break;
        }
    }
    return fallback;
}

// Where the name after the backslash ends; -1 when the text ends first.
qsizetype nameEnd(QStringView text, qsizetype backslash)
{
    for (qsizetype i = backslash + 1; i < text.size(); ++i) {
        const QChar c = text[i];
        if (isLineBlank(c))
            return i;
        if ((c == QLatin1Char('{') || c == QLatin1Char('[')) && i > backslash + 1)
            return i;
    }
    return -1;
}

void readArguments(QStringView text, qsizetype from, DocumentScan::Context &context)
{
    int braces = 0;
    int brackets = 0;
    qsizetype lastBrace = -1;
    qsizetype lastBracket = -1;
    for (qsizetype i = from; i < text.size(); ++i) {
        if (braces < 0 || brackets < 0)
            break;
        const QChar c = text[i];
        if (braces == 0 && brackets == 0) {
            if (isLineBlank(c))
                continue;
            if (c == QLatin1Char('{')) {
                ++context.paramIndex;
                lastBrace = i;
                ++braces;
            } else if (c == QLatin1Char('[')) {
                lastBracket = i;
                ++brackets;
            } else {
                context.paramIndex = 0;
                return;
            }
            continue;
        }
        switch (c.unicode()) {
        case '{': ++braces; break;
        case '}': --braces; break;
        case '[': ++brackets; break;
        case ']': --brackets; break;
        default: break;
        }
    }
    if (braces == 0 || lastBrace < 0)
        context.paramIndex = 0;
    context.optional = brackets != 0 && lastBracket >= 0;
    if (context.paramIndex != 0 && context.optional) {
        if (lastBrace < lastBracket)
            context.paramIndex = 0;
        else
            context.optional = false;
    }
}

// The occurrences of one of the four label commands, found in the order of the text;
// each remembers where the search for the next one may begin.
class LabelSearch
{
public:
    explicit LabelSearch(QStringView keyword)
        : m_keyword(keyword)
    {
    }

    void examine(QStringView text, qsizetype at, qsizetype skip)
    {
        if (m_done || at < m_from || !keywordAt(text, at, m_keyword))
            return;
        const qsizetype after = at + m_keyword.size();
        qsizetype brace = after;
        while (brace < text.size() && isLineBlank(text[brace]))
            ++brace;
        if (brace >= text.size() || text[brace] != QLatin1Char('{') || brace == skip) {
            m_from = after;
            return;
        }
        if (brace == text.size() - 1) {
            m_done = true;
            return;
        }
        qsizetype end = brace + 1;
        for (int depth = 1; end < text.size() && !isLineEnd(text[end]); ++end) {
            if (text[end] == QLatin1Char('{'))
                ++depth;
            else if (text[end] == QLatin1Char('}') && --depth == 0)
                break;
        }
        m_spans.emplace_back(brace + 1, end - brace - 1);
        m_from = end > brace + 1 ? end - 1 : brace;
    }

    // Characters in all the labels found, before trimming.
    qsizetype length() const
    {
        return std::accumulate(m_spans.begin(), m_spans.end(), qsizetype(0),
                               [](qsizetype sum, const auto &span) { return sum + span.second; });
    }

    std::vector<QStringView> labels(QStringView text) const
    {
        std::vector<QStringView> labels;
        labels.reserve(m_spans.size());
        for (const auto &[start, length] : m_spans)
            labels.push_back(text.sliced(start, length).trimmed());
        return labels;
    }

private:
    QStringView m_keyword;
    qsizetype m_from = 0;
    bool m_done = false;
    std::vector<std::pair<qsizetype, qsizetype>> m_spans;
};

// A label with its hash, which is compared first: most entries a lookup passes are
// told apart without reading their text.
struct SeenLabel
{
    bool operator==(const SeenLabel &other) const { return hash == other.hash && text == other.text; }

    QStringView text;
    std::size_t hash;
};

std::size_t qHash(const SeenLabel &label, std::size_t seed)
{
    return label.hash ^ seed;
}

} // namespace

DocumentScan::Context DocumentScan::ParseContext(QStringView text)
{
    Context context;
    const qsizetype backslash = commandBackslash(text);
    if (backslash < 0 || backslash == text.size() - 1)
        return context;
    const qsizetype stop = nameEnd(text, backslash);
    if (stop < 0)
        return context;
    context.word = text.sliced(backslash + 1, stop - backslash - 1).toString();
    readArguments(text, stop, context);
    return context;
}

void DocumentScan::StripComments(QString &text)
{
    qsizetype unused = -1;
    StripComments(text, unused);
}

void DocumentScan::StripComments(QString &text, qsizetype &position)
{
    // Work on our own buffer from the start, so the views the passes read through
    // stay valid while they write.
    text.detach();
    removePercentComments(text, position);
    removeConditionalBlocks(text, position);
    removeCommentEnvironments(text, position);
}

qsizetype DocumentScan::FindWord(QStringView text, QStringView keyword, qsizetype start)
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

qsizetype DocumentScan::FindEnvironment(QStringView text, bool isBegin, QStringView envName, qsizetype start,
                                        qsizetype *closeIndex)
{
    if (closeIndex)
        *closeIndex = text.size() - 1;
    if (start < 0 || start >= text.size())
        return -1;
    const QStringView keyword = isBegin ? QStringView(u"\\begin") : QStringView(u"\\end");
    qsizetype at = indexOfKeyword(text, keyword, start);
    while (at >= 0) {
        qsizetype brace = at + keyword.size();
        while (brace < text.size() && isLineBlank(text[brace]))
            ++brace;
        if (brace >= text.size())
            return -1;
        if (text[brace] != QLatin1Char('{')) {
            at = indexOfKeyword(text, keyword, brace);
            continue;
        }
        if (brace == text.size() - 1)
            return -1;
        const qsizetype close = closingBrace(text, brace + 1);
        const qsizetype argumentEnd = close < 0 ? text.size() : close;
        if (listsName(text.sliced(brace + 1, argumentEnd - brace - 1), envName)) {
            if (closeIndex && close >= 0)
                *closeIndex = close;
            return at;
        }
        at = indexOfKeyword(text, keyword, brace + 1);
    }
    return -1;
}

QStringList DocumentScan::ScanLabels(QString text, qsizetype caret)
{
    qsizetype skip = caret - 1;
    StripComments(text, skip);
    const QString &copy = text;
    // Each keyword is searched on its own, as if the others did not exist; one walk
    // over the backslashes serves all four, and the labels are reported keyword by
    // keyword.
    std::array<LabelSearch, 4> searches = {LabelSearch{u"\\label"}, LabelSearch{u"\\ref"}, LabelSearch{u"\\eqref"},
                                           LabelSearch{u"\\pageref"}};
    for (qsizetype at = copy.indexOf(QLatin1Char('\\')); at >= 0; at = copy.indexOf(QLatin1Char('\\'), at + 1)) {
        for (LabelSearch &search : searches)
            search.examine(copy, at, skip);
    }

    // A document refers to the same few labels over and over. Each label is looked
    // up by its hash first, and the labels already reported are kept side by side
    // in one buffer, so a lookup rarely leaves the cache to read the document. The
    // buffer is reserved for the worst case and never moves.
    QString reported;
    reported.reserve(std::accumulate(searches.begin(), searches.end(), qsizetype(0),
                                     [](qsizetype sum, const LabelSearch &search) { return sum + search.length(); }));
    QSet<SeenLabel> seen;
    QStringList labels;
    for (const LabelSearch &search : searches) {
        for (const QStringView label : search.labels(copy)) {
            const SeenLabel probe{label, qHash(label)};
            if (label.isEmpty() || seen.contains(probe))
                continue;
            const qsizetype at = reported.size();
            reported.append(label);
            seen.insert(SeenLabel{QStringView(reported).sliced(at, label.size()), probe.hash});
            labels.append(label.toString());
        }
    }
    return labels;
}
