#pragma once

#include <QTextBlock>
#include <QTextCursor>

#include <vector>

// Keeps the caret's line and the lines beside it shaped between paints. A line's
// layout otherwise lets its glyphs go after every use, and a keystroke lays its
// line out, places the caret on it and draws it and the lines touching the
// repainted strip: each of them shaping the line anew, the most costly part of a
// keystroke on long Japanese lines. Lines the caret leaves let their glyphs go
// at once, so no more than three lines ever keep theirs.
class ShapedCaretLines
{
public:
    // Moves the kept lines to the caret's line and its neighbours.
    void follow(const QTextBlock &caretLine);

private:
    QTextCursor m_caretLine;
    // Where each kept line starts: the cursors move with the text, so a kept line
    // is found again whatever was edited above it.
    std::vector<QTextCursor> m_kept;
};
