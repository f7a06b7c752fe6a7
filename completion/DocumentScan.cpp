#include "DocumentScan.h"


#include <algorithm>
#include <array>
#include <bit>
#include <compare>
#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

namespace {

// The editor's own text separates its lines with U+2029; it is read as a line end
// like LF and CR, so that the whole text needs no conversion before a scan.
bool isLineEnd(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar::ParagraphSeparator;
}

bool isLineBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || isLineEnd(c);
}

bool isWordDelimiter(QChar c)
{
    switch (c.unicode()) {
    case ' ': case '\t': case '\r': case '\n': case '{': case '}': case '[': case ']': case '(': case ')':
    case ',': case '\\': case QChar::ParagraphSeparator:
        return true;
    default:
        return false;
    }
}

// Whether keyword stands at index; reach receives the index of the last character
// compared. A plain comparison, written out because it runs at every backslash of
// the document and most backslashes fail on the next character.
bool keywordAt(QStringView text, qsizetype index, QStringView keyword, qsizetype &reach)
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

bool keywordAt(QStringView text, qsizetype index, QStringView keyword)
{
    qsizetype reach = 0;
    return keywordAt(text, index, keyword, reach);
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

struct Range
{
    qsizetype from;
    qsizetype to;
};

// The "%" comments of a text, each from its "%" to the end of its line, line end
// included; a "%" after a backslash is a percent sign.
std::vector<Range> percentComments(QStringView text)
{
    std::vector<Range> comments;
    for (qsizetype percent = text.indexOf(QLatin1Char('%')); percent >= 0;) {
        if (isEscaped(text, percent)) {
            percent = text.indexOf(QLatin1Char('%'), percent + 1);
            continue;
        }
        qsizetype end = percent + 1;
        while (end < text.size() && !isLineEnd(text[end]))
            ++end;
        end = std::min(end + 1, text.size());
        comments.push_back(Range{percent, end});
        percent = text.indexOf(QLatin1Char('%'), end);
    }
    return comments;
}

void removePercentComments(QString &text, qsizetype &position)
{
    const std::vector<Range> comments = percentComments(text);
    RangeRemover remover(text, position);
    for (const Range &comment : comments)
        remover.remove(comment.from, comment.to);
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

// Whether the keyword ("\\begin" or "\\end") at index takes a brace argument that
// lists envName. brace receives the index after the blanks that follow the keyword,
// closeIndex that of the argument's closing brace, or -1 when it is not closed.
bool namesEnvironmentAt(QStringView text, qsizetype at, QStringView keyword, QStringView envName,
                       qsizetype &brace, qsizetype &closeIndex)
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
        if (!keywordAt(text, at, m_keyword, reach))
            return std::nullopt;
        const qsizetype after = at + m_keyword.size();
        qsizetype brace = after;
        while (brace < text.size() && isLineBlank(text[brace]))
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
            if (isLineEnd(QChar(c)))
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

// A hash of a label that is quick for the short texts labels are: four characters
// at a time, mixed by multiplication. Labels come from the user's own document, so
// nothing is gained by a keyed hash.
std::size_t labelHash(QStringView label)
{
    std::uint64_t hash = 0x9E3779B97F4A7C15u ^ static_cast<std::uint64_t>(label.size());
    const char16_t *units = label.utf16();
    qsizetype left = label.size();
    for (; left >= 4; left -= 4, units += 4) {
        std::uint64_t chunk = 0;
        std::memcpy(&chunk, units, sizeof chunk);
        hash = (hash ^ chunk) * 0xFF51AFD7ED558CCDu;
        hash ^= hash >> 32;
    }
    std::uint64_t tail = 0;
    std::memcpy(&tail, units, static_cast<std::size_t>(left) * sizeof(char16_t));
    hash = (hash ^ tail) * 0xC4CEB9FE1A85EC53u;
    return static_cast<std::size_t>(hash ^ (hash >> 29));
}

// Compared inline: the library's comparison is a call, and most labels are short.
bool sameText(QStringView a, QStringView b)
{
    return a.size() == b.size() && std::equal(a.utf16(), a.utf16() + a.size(), b.utf16());
}

// The distinct labels met, each with where it was first met: the rank of its
// keyword (labels are reported keyword by keyword) and its place in the text.
// A document refers to the same labels over and over, so nearly every label met is
// a lookup of one already known, at random among thousands, while the walk over a
// text of many megabytes pushes everything else out of the cache. The table is
// laid out to stay small: open addressing over slots that hold part of the hash,
// the best rank so far and where the label is stored; the labels stored side by
// side, each after its length and entry number; the places apart, since a lookup
// needs them only when a label turns up under a keyword of lower rank.
// Lengths and entry numbers are 32-bit: the editor's text is indexed by int.
class LabelTable
{
public:
    // Room from the start for as many labels as a text of this length usually
    // holds, so that a large document is not rehashed again and again.
    explicit LabelTable(qsizetype textLength)
        : m_slots(std::max<std::size_t>(MinimumSlots, std::bit_ceil(static_cast<std::size_t>(textLength) / 512)))
    {
    }

    void add(QStringView label, int rank, qsizetype position)
    {
        if (label.isEmpty())
            return;
        const std::size_t hash = labelHash(label);
        __builtin_prefetch(&m_slots[hash & mask()]);
        m_pending[m_pendingCount++] = Met{label, Place{rank, position}, hash};
        if (m_pendingCount == m_pending.size())
            addPending();
    }

    QStringList inReportOrder()
    {
        addPending();
        std::vector<std::pair<Place, std::size_t>> order;
        order.reserve(m_firstMet.size());
        for (std::size_t offset = 0; offset < m_store.size(); offset = next(offset))
            order.emplace_back(m_firstMet[headerAt(offset).entry], offset);
        // Labels are mostly met first in the order they are reported in.
        if (!std::is_sorted(order.begin(), order.end()))
            std::sort(order.begin(), order.end());
        QStringList labels;
        labels.reserve(static_cast<qsizetype>(order.size()));
        for (const auto &[place, offset] : order)
            labels.append(storedText(offset).toString());
        return labels;
    }

private:
    struct Place
    {
        int rank;
        qsizetype position;
        auto operator<=>(const Place &) const = default;
    };
    struct Header
    {
        std::uint32_t length;
        std::uint32_t entry;
    };
    struct Met
    {
        QStringView label;
        Place place;
        std::size_t hash;
    };
    static constexpr std::size_t HeaderUnits = sizeof(Header) / sizeof(char16_t);
    // A slot: the upper bits of the hash, the rank, and one more than the offset
    // of the label in the store, so that zero marks an empty slot.
    static constexpr int OffsetBits = 40;
    static constexpr int RankBits = 2;
    static constexpr std::uint64_t OffsetMask = (std::uint64_t(1) << OffsetBits) - 1;
    static constexpr std::uint64_t RankMask = ((std::uint64_t(1) << RankBits) - 1) << OffsetBits;

    static std::uint64_t tagOf(std::size_t hash) { return std::uint64_t(hash) >> (OffsetBits + RankBits); }
    static std::uint64_t slotContent(std::size_t hash, int rank, std::size_t offset)
    {
        return (tagOf(hash) << (OffsetBits + RankBits)) | (std::uint64_t(rank) << OffsetBits) | (offset + 1);
    }
    static int rankOf(std::uint64_t content) { return static_cast<int>((content & RankMask) >> OffsetBits); }
    std::size_t mask() const { return m_slots.size() - 1; }

    // The labels met are looked up a few at a time: their slots, and then their
    // stored labels, are fetched from memory for all of them at once, so that the
    // lookups wait for memory together rather than one after another.
    void addPending()
    {
        for (std::size_t i = 0; i < m_pendingCount; ++i) {
            const std::uint64_t content = m_slots[m_pending[i].hash & mask()];
            if (content != 0)
                __builtin_prefetch(m_store.data() + (content & OffsetMask) - 1);
        }
        for (std::size_t i = 0; i < m_pendingCount; ++i)
            lookUp(m_pending[i]);
        m_pendingCount = 0;
    }

    void lookUp(const Met &met)
    {
        for (std::size_t slot = met.hash & mask();; slot = (slot + 1) & mask()) {
            std::uint64_t &content = m_slots[slot];
            if (content == 0) {
                content = slotContent(met.hash, met.place.rank, store(met.label, met.place));
                if (m_firstMet.size() * 4 > m_slots.size() * 3)
                    grow();
                return;
            }
            if ((content >> (OffsetBits + RankBits)) != tagOf(met.hash))
                continue;
            const std::size_t offset = (content & OffsetMask) - 1;
            if (!sameText(storedText(offset), met.label))
                continue;
            // The text is walked in order, so a label met again under the same
            // keyword or a later one keeps its first place.
            if (met.place.rank < rankOf(content)) {
                content = (content & ~RankMask) | (std::uint64_t(met.place.rank) << OffsetBits);
                m_firstMet[headerAt(offset).entry] = met.place;
            }
            return;
        }
    }

    Header headerAt(std::size_t offset) const
    {
        Header header;
        std::memcpy(&header, m_store.data() + offset, sizeof header);
        return header;
    }
    QStringView storedText(std::size_t offset) const
    {
        return QStringView(m_store.data() + offset + HeaderUnits, headerAt(offset).length);
    }
    std::size_t next(std::size_t offset) const { return offset + HeaderUnits + headerAt(offset).length; }

    std::size_t store(QStringView label, Place place)
    {
        const std::size_t offset = m_store.size();
        const Header header{static_cast<std::uint32_t>(label.size()), static_cast<std::uint32_t>(m_firstMet.size())};
        m_store.resize(offset + HeaderUnits + header.length);
        std::memcpy(m_store.data() + offset, &header, sizeof header);
        std::copy_n(label.utf16(), header.length, m_store.data() + offset + HeaderUnits);
        m_firstMet.push_back(place);
        return offset;
    }

    void grow()
    {
        std::vector<std::uint64_t> grown(m_slots.size() * 2);
        const std::size_t grownMask = grown.size() - 1;
        for (std::size_t offset = 0; offset < m_store.size(); offset = next(offset)) {
            const std::size_t hash = labelHash(storedText(offset));
            std::size_t slot = hash & grownMask;
            while (grown[slot] != 0)
                slot = (slot + 1) & grownMask;
            grown[slot] = slotContent(hash, m_firstMet[headerAt(offset).entry].rank, offset);
        }
        m_slots = std::move(grown);
    }

    static constexpr std::size_t MinimumSlots = 1024;
    std::vector<std::uint64_t> m_slots;
    std::vector<char16_t> m_store;
    std::vector<Place> m_firstMet;
    std::array<Met, 16> m_pending;
    std::size_t m_pendingCount = 0;
};

// Whether "\\if01" or a "comment" environment stands at the backslash at index:
// then more than "%" comments is hidden from TeX. reach receives the index of the
// last character read to decide.
bool opensHiddenBlock(QStringView text, qsizetype at, qsizetype &reach)
{
    if (keywordAt(text, at, u"\\if01", reach))
        return true;
    qsizetype keywordEnd = 0;
    if (!keywordAt(text, at, u"\\begin", keywordEnd)) {
        reach = std::max(reach, keywordEnd);
        return false;
    }
    qsizetype brace = 0;
    qsizetype close = 0;
    const bool hidden = namesEnvironmentAt(text, at, u"\\begin", u"comment", brace, close);
    reach = close >= 0 ? close : text.size() - 1;
    return hidden;
}

// The rank of the label keyword that a backslash followed by letter may start:
// "\\label", "\\ref", "\\eqref", "\\pageref"; -1 for none.
int labelKeywordRank(char16_t letter)
{
    switch (letter) {
    case u'l': return 0;
    case u'r': return 1;
    case u'e': return 2;
    case u'p': return 3;
    default: return -1;
    }
}

// The labels of a text in one walk over its backslashes. The walk reads the text
// as if its "%" comments (comments, sorted) were taken out, stepping over them; it
// gives up, returning nothing, where that reading would differ from reading the
// stripped text: a command that runs into a comment, whose removal joins it to the
// next line. With stopAtHiddenBlocks it also gives up at a block hidden by "\\if01"
// or a "comment" environment, which only a stripped text shows reliably.
std::optional<QStringList> collectLabels(QStringView text, const std::vector<Range> &comments, qsizetype skip,
                                         bool stopAtHiddenBlocks)
{
    std::array<LabelSearch, 4> searches = {LabelSearch{u"\\label"}, LabelSearch{u"\\ref"}, LabelSearch{u"\\eqref"},
                                           LabelSearch{u"\\pageref"}};
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

QStringList DocumentScan::ScanLabels(QStringView text, qsizetype caret)
{
    // Most documents hide nothing from TeX but "%" comments, and no command in them
    // runs into one: the walk steps over the comments where they stand. Otherwise
    // a copy of the text is stripped, the caret followed into it, and walked again.
    if (std::optional<QStringList> labels = collectLabels(text, percentComments(text), caret - 1, true))
        return *labels;
    QString stripped = text.toString();
    qsizetype skip = caret - 1;
    StripComments(stripped, skip);
    return *collectLabels(stripped, {}, skip, false);
}
