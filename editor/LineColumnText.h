#pragma once

#include <QString>

// The status pane's text for a caret position: line and column counted from 1,
// the column in UTF-16 code units, so a tab counts as one.
class LineColumnText
{
public:
    static QString of(int lineIndex, int columnIndex);
};
