#pragma once

#include <QString>
#include <QStringView>

#include <functional>
#include <optional>
#include <vector>

// Finds the partner of a bracket beside the caret: { with }, [ with ], ( with ).
// Brackets escaped by a backslash (\{) and brackets in comments do not count, and
// only brackets of the same kind nest. No widget is involved.
class BracketMatcher
{
public:
    // Further than this many lines from the caret no partner is looked for.
    static constexpr int MaxLineDistance = 20000;

    struct Position
    {
        int line = 0;
        int column = 0;

        bool operator==(const Position &) const = default;
    };

    struct Match
    {
        Position bracket;
        Position partner;

        bool operator==(const Match &) const = default;
    };

    // The text of a line, counted from 0, without its line end.
    using LineText = std::function<QString(int line)>;

    // The columns of the brackets of a line that count.
    static std::vector<int> bracketColumns(QStringView line);

    // The bracket just before the caret, or else just after it, and its partner;
    // nothing when neither is a bracket that counts or the partner is missing.
    static std::optional<Match> match(const LineText &lineText, int lineCount, Position caret);
};
