#pragma once

#include <QStringView>

#include <cstdint>
#include <vector>

// The colouring of a TeX source, one line at a time: what each stretch of a line
// is (control sequence, comment, math, environment name, label or citation key,
// magic comment) and the state the line hands on to the next one (inside math, a
// math environment or a verbatim block). Positions are indices of UTF-16 code
// units, the editor's own, so a colour never shifts on Japanese text or on a
// character outside the BMP. No widget is involved.
class TexSyntax
{
public:
    enum class Kind : std::uint8_t { ControlSequence, Comment, Math, Environment, Reference, Magic };

    struct Span
    {
        int start = 0;
        int length = 0;
        Kind kind = Kind::ControlSequence;

        bool operator==(const Span &) const = default;
    };

    // Where a line leaves the reader. The dollar and bracket modes end at a blank
    // line, as TeX's paragraph end does; the environments end only at their \end.
    struct State
    {
        enum class Mode : std::uint8_t {
            Text,
            InlineMath,   // $ ... $
            DisplayMath,  // $$ ... $$
            ParenMath,    // \( ... \)
            BracketMath,  // \[ ... \]
            Environment,  // the body of a math environment
            Verbatim,     // the body of a verbatim environment, read as it stands
            CommentBlock, // the body of a comment environment
        };

        Mode mode = Mode::Text;
        // For the environment modes: which environment, an index into the table of
        // known ones, so that only its own \end closes it.
        std::uint8_t environment = 0;

        bool operator==(const State &) const = default;
        bool inMath() const;
        // A small non-negative number (below 2^15) and back; a number that names no
        // state reads as the text state.
        int toInt() const;
        static State fromInt(int value);
    };

    // Colours one line (without its line end) read from state start and returns the
    // state at its end. Spans, when given, receive the coloured stretches in order,
    // neighbours of one kind merged; what they leave out is plain text.
    static State scanLine(QStringView line, State start, std::vector<Span> *spans);

    // The state that the first line of an environment's body starts in, or the text
    // state for an environment that does not change the colouring.
    static State stateAfterBegin(QStringView environment);
};
