#pragma once

#include "CommentRemover.h"

#include <QStringList>
#include <QStringView>

#include <optional>
#include <vector>

// The labels of a text in one walk over its backslashes: the distinct arguments of
// \label, \ref, \eqref and \pageref, reported keyword by keyword in that order, and
// under each keyword in order of discovery.
class LabelWalk
{
public:
    // Walks text as if its "%" comments (comments, in order) were taken out,
    // stepping over them. The brace at skip, when there is one, opens the group
    // being typed, which is left out. Gives up, returning nothing, where that reading
    // would differ from reading the stripped text: a command that runs into a
    // comment, whose removal joins it to the next line. With stopAtHiddenBlocks it
    // also gives up at a block hidden by "\\if01" or a "comment" environment, which
    // only a stripped text shows reliably.
    static std::optional<QStringList> collect(QStringView text, const std::vector<TextRange> &comments, qsizetype skip,
                                              bool stopAtHiddenBlocks);
};
