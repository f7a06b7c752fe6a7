#include "CandidateList.h"

#include <QLatin1StringView>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace {

// Offered in every command list, dictionary or not: the control words whose
// arguments the popup itself knows how to fill, and those that define new ones.
constexpr std::array<const char *, 14> FixedCommands = {
    "\\ ",
    "\\#",
    "\\begin",
    "\\def",
    "\\end",
    "\\eqref",
    "\\label",
    "\\newcommand",
    "\\newenvironment",
    "\\pageref",
    "\\ref",
    "\\renewcommand",
    "\\renewenvironment",
    "\\providecommand",
};

std::optional<QStringList> nonEmpty(const QStringList &items)
{
    if (items.isEmpty())
        return std::nullopt;
    return CandidateList::sorted(items);
}

char32_t foldedAscii(QChar c)
{
    const char16_t code = c.unicode();
    return code >= u'A' && code <= u'Z' ? code - u'A' + u'a' : code;
}

} // namespace

QStringList CandidateList::commandItems(const CompletionDictionary &dictionary)
{
    QStringList items;
    items.reserve(static_cast<qsizetype>(dictionary.functions().size() + FixedCommands.size()));
    for (const CFunctionEntry &entry : dictionary.functions())
        items.append(QLatin1Char('\\') + entry.name());
    for (const char *command : FixedCommands)
        items.append(QLatin1StringView(command));
    return sorted(std::move(items));
}

std::optional<QStringList> CandidateList::argumentItems(const CompletionDictionary &dictionary,
                                                        const DocumentScan::Context &context,
                                                        const DocumentItems &documentItems)
{
    if (context.word.isEmpty())
        return std::nullopt;
    const ArgumentKind::Kind kind = ArgumentKind::of(context);
    if (kind == ArgumentKind::Environment)
        return sorted(dictionary.environments());
    if (ArgumentKind::comesFromFiles(kind))
        return documentItems(kind);

    const int index = dictionary.FindFunction(context.word);
    if (index < 0)
        return std::nullopt;
    const CFunctionEntry &entry = dictionary.functions()[static_cast<std::size_t>(index)];
    if (context.optional)
        return entry.subparamList() ? nonEmpty(*entry.subparamList()) : std::nullopt;
    if (context.paramIndex >= 1 && context.paramIndex <= entry.paramCount())
        return nonEmpty(entry.paramLists()[static_cast<std::size_t>(context.paramIndex - 1)]);
    return std::nullopt;
}

QStringList CandidateList::sorted(QStringList items)
{
    // Folding each item once and comparing the folded copies gives the order of a
    // case-insensitive comparison without folding again at every comparison, which
    // matters for the label list of a large document.
    std::vector<std::pair<QString, qsizetype>> keys;
    keys.reserve(static_cast<std::size_t>(items.size()));
    for (qsizetype i = 0; i < items.size(); ++i)
        keys.emplace_back(items[i].toCaseFolded(), i);
    std::stable_sort(keys.begin(), keys.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    QStringList result;
    result.reserve(items.size());
    for (const auto &key : keys)
        result.append(std::move(items[key.second]));
    return result;
}

CandidateList::Match CandidateList::MatchPrefix(QStringView typed, QStringView candidate)
{
    if (typed.size() > candidate.size())
        return NoMatch;
    if (typed.isEmpty())
        return candidate.isEmpty() ? ExactMatch : NoMatch;
    const QStringView head = candidate.first(typed.size());
    for (qsizetype i = 0; i < typed.size(); ++i) {
        if (foldedAscii(typed[i]) != foldedAscii(head[i]))
            return NoMatch;
    }
    return typed == head ? ExactMatch : CaseIgnoringMatch;
}

int CandidateList::bestMatch(const QStringList &items, QStringView typed)
{
    if (typed.isEmpty())
        return -1;
    int caseIgnoring = -1;
    for (int row = 0; row < items.size(); ++row) {
        const Match match = MatchPrefix(typed, items[row]);
        if (match == ExactMatch)
            return row;
        if (match == CaseIgnoringMatch && caseIgnoring < 0)
            caseIgnoring = row;
    }
    return caseIgnoring;
}

int CandidateList::stepTarget(int current, int count, bool down)
{
    const int target = current < 0 ? 0 : current + (down ? 1 : -1);
    return target >= 0 && target < count ? target : -1;
}

int CandidateList::pageTarget(int current, int count, bool down)
{
    if (current < 0)
        return 0;
    return down ? std::min(current + PageRows, count - 1) : std::max(current - PageRows, 0);
}
