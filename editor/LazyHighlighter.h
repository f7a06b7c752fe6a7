#pragma once

#include "TexSyntax.h"

#include <QObject>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTimer>

#include <limits>

class CUltraEditView;
class QElapsedTimer;
class QRect;

// Colours the editor's TeX source without ever colouring all of it. Each line's
// state is kept in its block's user state, so a 25 MB source costs no memory for
// it; the states are worked out from the top in slices when the user pauses, and
// only the lines shown and a page around them get formats. A line coming into
// view is coloured at once with the best state known, and coloured again when
// its true state arrives. An edit colours its own lines at once; the lines below
// whose states it changed follow in the next slices.
class LazyHighlighter : public QObject
{
    Q_OBJECT

public:
    // A slice works this long, then gives the event loop back.
    static constexpr int SliceMilliseconds = 8;
    // The pause after typing or scrolling before the next slice.
    static constexpr int PauseMilliseconds = 40;
    // How many of the lines shown a slice recolours at most, about a quarter of a view.
    static constexpr int ShownLinesPerSlice = 10;

    explicit LazyHighlighter(CUltraEditView &view);
    // Takes every colour it gave back off the text.
    ~LazyHighlighter() override;

    static const QTextCharFormat &formatOf(TexSyntax::Kind kind);

    // Every line's state is known and the lines around the view are coloured
    // with them.
    bool isIdle() const;
    // How many lines from the top have their states worked out.
    int analysedLines() const { return m_validLines; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Which lines of a range get colours: those without any, those besides that
    // were coloured from a start state no longer the best known, or all of them.
    enum class Colouring { Missing, Stale, All };

    struct LineRange
    {
        int first = 0;
        int count = 0;
    };

    void followChange(int position, int removed, int added);
    void adjustLineCounts(int first, int last, int delta);
    void colourChangedLines(int first, int last);
    void followScroll();
    void runSlice();
    void advanceStates(const QElapsedTimer &clock);
    struct Colours
    {
        TexSyntax::State end;
        bool changed = false;
    };

    // The span from the first to the last line whose formats changed, and whether
    // every line of the range was gone through before the slice ran out of time.
    struct Coloured
    {
        LineRange changed;
        bool finished = true;
    };

    // One colouring of a range of lines, one line after the other.
    struct Pass
    {
        LineRange lines;
        Colouring which = Colouring::Missing;
        // Ends the pass when the slice is over.
        const QElapsedTimer *clock = nullptr;
        // Ends the pass before the lines with new formats would span more lines.
        int widestChange = std::numeric_limits<int>::max();
        // Lines read only for the state they end in, whatever their colours.
        LineRange untouched{0, 0};
    };

    // Colours the lines shown that have no colours yet.
    void colourLinesScrolledIn();
    // Whether a strip of the lines shown got new colours, and a repaint.
    bool recolourSomeShownLines();
    void repaintLines(LineRange lines);
    // These return false when the slice ran out of time with lines left for the
    // next one.
    bool colourLinesAroundView(const QElapsedTimer &clock);
    Coloured colourLines(const Pass &pass);
    Colours colourLine(QTextBlock block, TexSyntax::State start);
    void clearLine(QTextBlock block);
    bool dropDistantColours(const QElapsedTimer &clock);
    bool clearAbove(int keptFirst, int colouredLast, const QElapsedTimer &clock);
    bool clearBelow(int keptLast, int colouredFirst, const QElapsedTimer &clock);
    void includeInColoured(const QTextBlock &block);
    void setColouredFrom(const QTextBlock &line);
    void setColouredTo(const QTextBlock &line);
    TexSyntax::State bestStartState(const QTextBlock &block) const;
    LineRange shownLines() const;
    LineRange paintedLines(const QRect &area) const;
    LineRange keptLines() const;

    CUltraEditView &m_view;
    QTimer m_timer;
    int m_lineCount = 0;
    // The leading lines whose stored end states are right.
    int m_validLines = 0;
    // The leading lines whose stored end states were right before the edits since;
    // where a recomputed state meets its stored one after the last edited line,
    // the states from there down to this line need no recomputing.
    int m_knownLines = 0;
    // The last line edited since the states were last complete, or -1.
    int m_lastEdited = -1;
    // The starts of the first and the last coloured line; the cursors move with
    // the text, so the lines from one to the other stay the coloured ones.
    QTextCursor m_colouredFrom;
    QTextCursor m_colouredTo;
    bool m_anyColoured = false;
};
