#include "DocumentScan.h"

#include "CommentRemover.h"
#include "LabelWalk.h"
#include "TexText.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace {

using TexText::isEscaped;
using TexText::isLineBlank;

// Follows how deep in braces and in brackets the text is after c.
void countGroup(QChar c, int &braces, int &brackets)
{
    switch (c.unicode()) {
    case '{':
        ++braces;
        break;
    case '}':
        --braces;
        break;
    case '[':
        ++brackets;
        break;
    case ']':
        --brackets;
        break;
    default:
        break;
    }
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
        if (text[i] != QLatin1Char('\\')) {
            countGroup(text[i], braces, brackets);
            continue;
        }
        if (std::max(braces, brackets) > 0)
            return i;
        if (fallback < 0)
            fallback = i;
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
        countGroup(c, braces, brackets);
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
    StripComments(text, unused);
}

void DocumentScan::StripComments(QString &text, qsizetype &position)
{
    CommentRemover::strip(text, position);
}

qsizetype DocumentScan::FindWord(QStringView text, QStringView keyword, qsizetype start)
{
    return TexText::findWord(text, keyword, start);
}

qsizetype DocumentScan::FindEnvironment(QStringView text, bool isBegin, QStringView envName, qsizetype start,
                                        qsizetype *closeIndex)
{
    return TexText::findEnvironment(text, isBegin, envName, start, closeIndex);
}

QStringList DocumentScan::ScanLabels(QStringView text, qsizetype caret)
{
    // Most documents hide nothing from TeX but "%" comments, and no command in them
    // runs into one: the walk steps over the comments where they stand. Otherwise
    // a copy of the text is stripped, the caret followed into it, and walked again.
    const std::vector<TextRange> comments = CommentRemover::percentComments(text);
    if (std::optional<QStringList> labels = LabelWalk::collect(text, comments, caret - 1, true))
        return *labels;
    QString stripped = text.toString();
    qsizetype skip = caret - 1;
    StripComments(stripped, skip);
    return *LabelWalk::collect(stripped, {}, skip, false);
}
