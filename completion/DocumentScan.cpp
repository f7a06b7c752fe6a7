#include "DocumentScan.h"

#include <QSet>

#include <algorithm>
#include <array>

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

bool isEscaped(QStringView text, qsizetype index)
{
    return index > 0 && text[index - 1] == QLatin1Char('\\');
}

// Builds a copy of a text from the runs it keeps, and follows one position of the
// text into the copy.
class RunCopier
{
public:
    RunCopier(QStringView source, qsizetype &position)
        : m_source(source)
        , m_position(position)
        , m_found(false)
    {
        m_result.reserve(source.size());
    }

    void keep(qsizetype from, qsizetype to)
    {
        if (to <= from)
            return;
        if (!m_found && m_position >= from && m_position < to) {
            m_position = m_result.size() + (m_position - from);
            m_found = true;
        }
        m_result.append(m_source.sliced(from, to - from));
    }

    QString finish()
    {
        if (!m_found)
            m_position = -1;
        return std::move(m_result);
    }

private:
    QStringView m_source;
    qsizetype &m_position;
    bool m_found;
    QString m_result;
};

QString withoutPercentComments(QStringView text, qsizetype &position)
{
    RunCopier copier(text, position);
    qsizetype runStart = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        if (text[i] != QLatin1Char('%') || isEscaped(text, i)) {
            ++i;
            continue;
        }
        copier.keep(runStart, i);
        while (i < text.size() && !isLineEnd(text[i]))
            ++i;
        i = std::min(i + 1, text.size());
        runStart = i;
    }
    copier.keep(runStart, text.size());
    return copier.finish();
}

QString withoutConditionalBlocks(QStringView text, qsizetype &position)
{
    RunCopier copier(text, position);
    qsizetype runStart = 0;
    for (qsizetype begin = DocumentScan::FindWord(text, u"\\if01", 0); begin >= 0;
         begin = DocumentScan::FindWord(text, u"\\if01", runStart)) {
        copier.keep(runStart, begin);
        const qsizetype fi = DocumentScan::FindWord(text, u"\\fi", begin + 5);
        runStart = fi < 0 ? text.size() : fi + 3;
    }
    copier.keep(runStart, text.size());
    return copier.finish();
}

QString withoutCommentEnvironments(QStringView text, qsizetype &position)
{
    RunCopier copier(text, position);
    qsizetype runStart = 0;
    for (qsizetype begin = DocumentScan::FindEnvironment(text, true, u"comment", 0); begin >= 0;
         begin = DocumentScan::FindEnvironment(text, true, u"comment", runStart)) {
        copier.keep(runStart, begin);
        qsizetype close = 0;
        DocumentScan::FindEnvironment(text, false, u"comment", begin, &close);
        runStart = close + 1;
    }
    copier.keep(runStart, text.size());
    return copier.finish();
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
    text = stripped(text, unused);
}

QString DocumentScan::stripped(QStringView text, qsizetype &position)
{
    const QString withoutPercent = withoutPercentComments(text, position);
    const QString withoutBlocks = withoutConditionalBlocks(withoutPercent, position);
    return withoutCommentEnvironments(withoutBlocks, position);
}

qsizetype DocumentScan::FindWord(QStringView text, QStringView keyword, qsizetype start)
{
    if (start < 0 || start >= text.size())
        return -1;
    for (qsizetype at = text.indexOf(keyword, start); at >= 0; at = text.indexOf(keyword, at + 1)) {
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
    qsizetype at = text.indexOf(keyword, start);
    while (at >= 0) {
        qsizetype brace = at + keyword.size();
        while (brace < text.size() && isLineBlank(text[brace]))
            ++brace;
        if (brace >= text.size())
            return -1;
        if (text[brace] != QLatin1Char('{')) {
            at = text.indexOf(keyword, brace);
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
        at = text.indexOf(keyword, brace + 1);
    }
    return -1;
}

QStringList DocumentScan::ScanLabels(QStringView text, qsizetype caret)
{
    qsizetype skip = caret - 1;
    const QString copy = stripped(text, skip);
    const qsizetype size = copy.size();
    static constexpr std::array<QStringView, 4> keywords = {u"\\label", u"\\ref", u"\\eqref", u"\\pageref"};

    QStringList labels;
    QSet<QString> seen;
    for (const QStringView keyword : keywords) {
        qsizetype from = 0;
        while (from < size) {
            const qsizetype at = copy.indexOf(keyword, from);
            if (at < 0)
                break;
            const qsizetype after = at + keyword.size();
            qsizetype brace = after;
            while (brace < size && isLineBlank(copy[brace]))
                ++brace;
            if (brace >= size || copy[brace] != QLatin1Char('{') || brace == skip) {
                from = after;
                continue;
            }
            if (brace == size - 1)
                break;
            qsizetype end = brace + 1;
            for (int depth = 1; end < size && !isLineEnd(copy[end]); ++end) {
                if (copy[end] == QLatin1Char('{'))
                    ++depth;
                else if (copy[end] == QLatin1Char('}') && --depth == 0)
                    break;
            }
            const QString label = QStringView(copy).sliced(brace + 1, end - brace - 1).trimmed().toString();
            if (!label.isEmpty() && !seen.contains(label)) {
                seen.insert(label);
                labels.append(label);
            }
            from = end > brace + 1 ? end - 1 : brace;
        }
    }
    return labels;
}
