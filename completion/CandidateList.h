#pragma once

#include "ArgumentKind.h"
#include "CompletionDictionary.h"
#include "DocumentScan.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <optional>

// What the completion popup lists and which row it picks, without the widget: the
// candidates for a context, their order, and the row that typed text selects.
class CandidateList
{
public:
    // How far Page Up and Page Down move the selection.
    static constexpr int PageRows = 11;

    // MatchPrefix results.
    enum Match : int { NoMatch = 0, CaseIgnoringMatch = 1, ExactMatch = 2 };

    // A backslash before every dictionary name, then the control words that are
    // always offered; sorted.
    static QStringList commandItems(const CompletionDictionary &dictionary);
    // The sorted candidates for an argument context, or nothing when that context
    // has none to offer. documentItems gives those that come from the document's
    // files (labels, citation keys, file names), already sorted; it is called only
    // for such an argument.
    using DocumentItems = std::function<std::optional<QStringList>(ArgumentKind::Kind kind)>;
    static std::optional<QStringList> argumentItems(const CompletionDictionary &dictionary,
                                                    const DocumentScan::Context &context,
                                                    const DocumentItems &documentItems);

    // Alphabetical order that ignores case; equal items keep their order and
    // duplicates stay.
    static QStringList sorted(QStringList items);

    // Whether candidate starts with typed: exactly, only when ASCII case is ignored,
    // or not at all. An empty typed text matches only an empty candidate.
    static Match MatchPrefix(QStringView typed, QStringView candidate);
    // The first row that starts with typed exactly, else the first that does when
    // case is ignored, else -1 (also for an empty typed text).
    static int bestMatch(const QStringList &items, QStringView typed);

    // Row reached by Up (down false) or Down from current (-1: none selected), or -1
    // when that would leave the list.
    static int stepTarget(int current, int count, bool down);
    // Row reached by Page Up or Page Down from current (-1: none selected).
    static int pageTarget(int current, int count, bool down);
};
