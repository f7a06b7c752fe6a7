#include "LazyHighlighter.h"

#include "CUltraEditView.h"
#include "EditorDocumentLayout.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QPaintEvent>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <array>
#include <optional>

namespace {

using State = TexSyntax::State;

// What a block's user state holds: its end state and the start state its colours
// were made with, each as a number plus one (0 for none) in 15 bits, so that the
// whole stays non-negative and -1, a new block's value, means nothing is known.
struct LineRecord
{
    std::optional<State> end;
    std::optional<State> colouredWith;
};

constexpr int FieldBits = 15;
constexpr int FieldMask = (1 << FieldBits) - 1;
// How many lines a slice reads between looks at the clock.
constexpr int LinesBetweenClockChecks = 64;

std::optional<State> fieldOf(int value)
{
    return value == 0 ? std::nullopt : std::optional<State>(State::fromInt(value - 1));
}

int fieldFor(const std::optional<State> &state)
{
    return state ? state->toInt() + 1 : 0;
}

LineRecord recordOf(const QTextBlock &block)
{
    const int value = block.userState();
    if (value < 0)
        return {};
    return {fieldOf(value & FieldMask), fieldOf((value >> FieldBits) & FieldMask)};
}

void store(QTextBlock block, const LineRecord &record)
{
    block.setUserState(fieldFor(record.end) | (fieldFor(record.colouredWith) << FieldBits));
}

QTextCharFormat colourFormat(const QColor &colour, bool italic = false)
{
    QTextCharFormat format;
    format.setForeground(colour);
    if (italic)
        format.setFontItalic(true);
    return format;
}

// While an input method composes text, the line's layout holds that text too, at
// the caret, with the method's own formats on it (the underline of the clause
// being converted). The colours after the caret move on past the composed text,
// and the method's formats stay.
QList<QTextLayout::FormatRange> aroundComposition(const QTextLayout &layout,
                                                  const QList<QTextLayout::FormatRange> &colours)
{
    const auto length = static_cast<int>(layout.preeditAreaText().size());
    if (length == 0)
        return colours;
    const int position = layout.preeditAreaPosition();
    QList<QTextLayout::FormatRange> ranges;
    for (const QTextLayout::FormatRange &range : layout.formats()) {
        if (range.start >= position && range.start + range.length <= position + length)
            ranges.append(range);
    }
    for (QTextLayout::FormatRange range : colours) {
        const int end = range.start + range.length;
        if (range.start < position && end > position) {
            ranges.append({range.start, position - range.start, range.format});
            ranges.append({position + length, end - position, range.format});
            continue;
        }
        if (range.start >= position)
            range.start += length;
        ranges.append(range);
    }
    return ranges;
}

} // namespace

LazyHighlighter::LazyHighlighter(CUltraEditView &view)
    : m_view(view)
    , m_lineCount(view.document()->blockCount())
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &LazyHighlighter::runSlice);
    connect(view.document(), &QTextDocument::contentsChange, this, &LazyHighlighter::followChange);
    // The control moves its scroll bar with the bar's signals blocked when it scrolls
    // itself (paging, the wheel, keeping the caret in view), so a scroll is known by
    // the update it asks for.
    connect(&view, &QPlainTextEdit::updateRequest, this, [this](const QRect &, int scrolledBy) {
        if (scrolledBy != 0)
            followScroll();
    });
    view.viewport()->installEventFilter(this);
    followScroll();
}

LazyHighlighter::~LazyHighlighter()
{
    m_view.viewport()->removeEventFilter(this);
    if (m_anyColoured) {
        const QTextBlock last = m_colouredTo.block();
        for (QTextBlock block = m_colouredFrom.block(); block.isValid(); block = block.next()) {
            clearLine(block);
            if (block == last)
                break;
        }
        m_view.viewport()->update();
    }
}

const QTextCharFormat &LazyHighlighter::formatOf(TexSyntax::Kind kind)
{
    // Dark shades of a palette made for the common colour-vision deficiencies, each
    // at least 4.5:1 against white; comments are italic besides.
    static const std::array<QTextCharFormat, 6> formats{
        colourFormat(QColor(0x00, 0x4E, 0x9A)),       // control sequences: blue
        colourFormat(QColor(0x6B, 0x6B, 0x6B), true), // comments: grey, italic
        colourFormat(QColor(0xA8, 0x3C, 0x00)),       // math: vermilion
        colourFormat(QColor(0x00, 0x6B, 0x4F)),       // environment names: bluish green
        colourFormat(QColor(0x8E, 0x2F, 0x6E)),       // labels and keys: reddish purple
        colourFormat(QColor(0x00, 0x4E, 0x9A), true), // magic comments: blue, italic
    };
    return formats[static_cast<std::size_t>(kind)];
}

bool LazyHighlighter::isIdle() const
{
    return m_validLines >= m_lineCount && !m_timer.isActive();
}

bool LazyHighlighter::eventFilter(QObject *watched, QEvent *event)
{
    // The last chance for lines that came into view some way no signal reports.
    if (event->type() == QEvent::Paint)
        colourLines(
            {.lines = paintedLines(static_cast<const QPaintEvent *>(event)->rect()), .which = Colouring::Missing});
    return QObject::eventFilter(watched, event);
}

void LazyHighlighter::followChange(int position, int removed, int added)
{
    m_view.lineLayout().expectEdit(position, removed, added);
    QTextDocument &document = *m_view.document();
    const int first = document.findBlock(position).blockNumber();
    const QTextBlock lastBlock = document.findBlock(position + added);
    const int last = lastBlock.isValid() ? lastBlock.blockNumber() : document.blockCount() - 1;
    const int delta = document.blockCount() - m_lineCount;
    m_lineCount = document.blockCount();
    adjustLineCounts(std::max(first, 0), last, delta);
    colourChangedLines(std::max(first, 0), last);
    m_timer.start(PauseMilliseconds);
}

void LazyHighlighter::adjustLineCounts(int first, int last, int delta)
{
    const int oldLast = last - delta;
    m_validLines = std::min(m_validLines, first);
    if (m_knownLines > oldLast)
        m_knownLines += delta;
    else
        m_knownLines = std::min(m_knownLines, first);
    if (m_lastEdited > oldLast)
        m_lastEdited += delta;
    m_lastEdited = std::max(m_lastEdited, last);
}

// The changed lines in view are coloured with the edit, which lays them out once
// anyway; changed lines out of view lose the colours they had.
void LazyHighlighter::colourChangedLines(int first, int last)
{
    const LineRange shown = shownLines();
    const int from = std::max(first, shown.first);
    const int to = std::min(last, shown.first + shown.count - 1);
    if (from <= to)
        colourLines({.lines = {from, to - from + 1}, .which = Colouring::All});
    if (!m_anyColoured)
        return;
    const int colouredFirst = std::max(first, m_colouredFrom.block().blockNumber());
    const int colouredLast = std::min(last, m_colouredTo.block().blockNumber());
    QTextBlock block = m_view.document()->findBlockByNumber(colouredFirst);
    for (int number = colouredFirst; number <= colouredLast && block.isValid(); ++number, block = block.next()) {
        if (number < from || number > to)
            clearLine(block);
    }
}

void LazyHighlighter::followScroll()
{
    colourLinesScrolledIn();
    m_timer.start(PauseMilliseconds);
}

void LazyHighlighter::runSlice()
{
    // The lines shown come first, so that they show their true colours soonest.
    // Their repaint follows the slice at once, so a slice that gives them new
    // colours ends there, its repaint the only work before the next slice.
    if (recolourSomeShownLines()) {
        m_timer.start(0);
        return;
    }
    QElapsedTimer clock;
    clock.start();
    advanceStates(clock);
    const bool finished = colourLinesAroundView(clock) && dropDistantColours(clock);
    if (m_validLines < m_lineCount || !finished)
        m_timer.start(0);
}

void LazyHighlighter::advanceStates(const QElapsedTimer &clock)
{
    // The colouring of the lines kept in view takes the rest of the slice.
    constexpr int Budget = SliceMilliseconds * 3 / 4;
    QTextDocument &document = *m_view.document();
    QTextBlock block = document.findBlockByNumber(m_validLines);
    State state = bestStartState(block);
    for (int read = 1; block.isValid(); ++read) {
        if (read % LinesBetweenClockChecks == 0 && clock.elapsed() >= Budget)
            break;
        LineRecord record = recordOf(block);
        const State end = TexSyntax::scanLine(block.text(), state, nullptr);
        const bool meetsStoredState = record.end == end && m_validLines > m_lastEdited
                                      && m_validLines + 1 < m_knownLines;
        record.end = end;
        store(block, record);
        ++m_validLines;
        if (meetsStoredState) {
            m_validLines = m_knownLines;
            block = document.findBlockByNumber(m_validLines);
            state = bestStartState(block);
            continue;
        }
        state = end;
        block = block.next();
    }
    m_knownLines = std::max(m_knownLines, m_validLines);
    if (m_validLines >= m_lineCount)
        m_lastEdited = -1;
}

// New formats throw a line's layout away; a line shown is laid out again when the
// view paints, and a scroll repaints the view anyway, so one repaint covers them
// all; lines out of view wait for the paint that brings them in.
void LazyHighlighter::colourLinesScrolledIn()
{
    if (colourLines({.lines = shownLines(), .which = Colouring::Missing}).changed.count > 0)
        m_view.viewport()->update();
}

// Laying out and drawing a whole view of long Japanese lines takes as long as a
// slice, so the lines shown are recoloured a few at a time, and only the strip
// they fill is repainted after each lot.
bool LazyHighlighter::recolourSomeShownLines()
{
    const LineRange changed =
        colourLines({.lines = shownLines(), .which = Colouring::Stale, .widestChange = ShownLinesPerSlice}).changed;
    if (changed.count == 0)
        return false;
    repaintLines(changed);
    return true;
}

void LazyHighlighter::repaintLines(LineRange lines)
{
    const QTextDocument &document = *m_view.document();
    const QTextBlock first = document.findBlockByNumber(lines.first);
    const QTextBlock last = document.findBlockByNumber(lines.first + lines.count - 1);
    const qreal top = m_view.lineTop(first) - m_view.viewport()->y();
    const qreal bottom = m_view.lineTop(last) + m_view.lineHeight(last) - m_view.viewport()->y();
    m_view.viewport()->update(QRectF(0, top, m_view.viewport()->width(), bottom - top).toAlignedRect());
}

// The page above the view and the page below it, which no paint shows. The lines
// shown between them are only read: those the slice's states made stale wait for
// the next slice, which recolours and repaints them a strip at a time.
bool LazyHighlighter::colourLinesAroundView(const QElapsedTimer &clock)
{
    return colourLines({.lines = keptLines(), .which = Colouring::Stale, .clock = &clock, .untouched = shownLines()})
        .finished;
}

LazyHighlighter::Coloured LazyHighlighter::colourLines(const Pass &pass)
{
    const LineRange &lines = pass.lines;
    QTextBlock block = m_view.document()->findBlockByNumber(std::max(lines.first, 0));
    State state = bestStartState(block);
    int firstChanged = -1;
    int lastChanged = -1;
    const auto result = [&](bool finished) {
        return Coloured{{firstChanged, firstChanged < 0 ? 0 : lastChanged - firstChanged + 1}, finished};
    };
    for (int number = lines.first; number < lines.first + lines.count && block.isValid();
         ++number, block = block.next()) {
        if (pass.clock && pass.clock->elapsed() >= SliceMilliseconds)
            return result(false);
        if (firstChanged >= 0 && number - firstChanged >= pass.widestChange)
            return result(false);
        const LineRecord record = recordOf(block);
        const bool stale = record.colouredWith != state;
        const bool touched = number < pass.untouched.first || number >= pass.untouched.first + pass.untouched.count;
        if (touched
            && (!record.colouredWith || pass.which == Colouring::All || (pass.which == Colouring::Stale && stale))) {
            const Colours colours = colourLine(block, state);
            state = colours.end;
            if (colours.changed) {
                firstChanged = firstChanged < 0 ? number : firstChanged;
                lastChanged = number;
            }
        } else if (number < m_validLines && record.end) {
            state = *record.end;
        } else {
            state = TexSyntax::scanLine(block.text(), state, nullptr);
        }
    }
    return result(true);
}

// Formats are set only when they differ from the line's own: setting them drops
// the line's layout, and laying out a long Japanese line is what a keystroke and a
// scroll spend their time on. The document lays out the lines an edit touches and
// repaints them itself, so the caller repaints only lines coloured for other reasons.
LazyHighlighter::Colours LazyHighlighter::colourLine(QTextBlock block, State start)
{
    std::vector<TexSyntax::Span> spans;
    const State end = TexSyntax::scanLine(block.text(), start, &spans);
    LineRecord record = recordOf(block);
    bool changed = false;
    // A line that has no colours and gets none is left without a layout of its own.
    if (!spans.empty() || record.colouredWith) {
        QList<QTextLayout::FormatRange> ranges;
        ranges.reserve(static_cast<qsizetype>(spans.size()));
        for (const TexSyntax::Span &span : spans)
            ranges.append({span.start, span.length, formatOf(span.kind)});
        ranges = aroundComposition(*block.layout(), ranges);
        changed = block.layout()->formats() != ranges;
        if (changed)
            m_view.lineLayout().setLineFormats(block, ranges);
    }
    record.colouredWith = start;
    store(block, record);
    includeInColoured(block);
    return {end, changed};
}

// Only called for lines out of view or with the whole view repainted after.
void LazyHighlighter::clearLine(QTextBlock block)
{
    LineRecord record = recordOf(block);
    if (!record.colouredWith)
        return;
    if (!block.layout()->formats().isEmpty())
        m_view.lineLayout().setLineFormats(block, {});
    record.colouredWith.reset();
    store(block, record);
}

void LazyHighlighter::includeInColoured(const QTextBlock &block)
{
    if (!m_anyColoured || block.position() < m_colouredFrom.position())
        setColouredFrom(block);
    if (!m_anyColoured || block.position() > m_colouredTo.position())
        setColouredTo(block);
    m_anyColoured = true;
}

// A cursor is made at a line's start rather than moved there: moving one finds its
// place on screen, which lays the line out and shapes it, for every line coloured.
void LazyHighlighter::setColouredFrom(const QTextBlock &line)
{
    m_colouredFrom = QTextCursor(line);
    // Text typed where the coloured lines begin belongs to them.
    m_colouredFrom.setKeepPositionOnInsert(true);
}

void LazyHighlighter::setColouredTo(const QTextBlock &line)
{
    m_colouredTo = QTextCursor(line);
}

// The coloured stretch shrinks towards the kept lines as its lines lose their
// colours, from the top down and from the bottom up, so that a slice out of time
// leaves it whole for the next one to go on with. After a jump far through a long
// document the lines between the old and the new place number many thousands.
bool LazyHighlighter::dropDistantColours(const QElapsedTimer &clock)
{
    if (!m_anyColoured)
        return true;
    const LineRange kept = keptLines();
    const int keptFirst = std::max(kept.first, 0);
    const int keptLast = std::max(std::min(kept.first + kept.count, m_lineCount) - 1, 0);
    const int first = m_colouredFrom.block().blockNumber();
    const int last = m_colouredTo.block().blockNumber();
    if (first >= keptFirst && last <= keptLast)
        return true;
    if (!clearAbove(keptFirst, last, clock) || !clearBelow(keptLast, first, clock))
        return false;
    QTextDocument &document = *m_view.document();
    setColouredFrom(document.findBlockByNumber(keptFirst));
    setColouredTo(document.findBlockByNumber(keptLast));
    return true;
}

bool LazyHighlighter::clearAbove(int keptFirst, int colouredLast, const QElapsedTimer &clock)
{
    QTextBlock block = m_colouredFrom.block();
    for (int number = block.blockNumber(); number < keptFirst && number <= colouredLast && block.isValid();
         ++number, block = block.next()) {
        if (number % LinesBetweenClockChecks == 0 && clock.elapsed() >= SliceMilliseconds) {
            setColouredFrom(block);
            return false;
        }
        clearLine(block);
    }
    return true;
}

bool LazyHighlighter::clearBelow(int keptLast, int colouredFirst, const QElapsedTimer &clock)
{
    QTextBlock block = m_colouredTo.block();
    for (int number = block.blockNumber(); number > keptLast && number >= colouredFirst && block.isValid();
         --number, block = block.previous()) {
        if (number % LinesBetweenClockChecks == 0 && clock.elapsed() >= SliceMilliseconds) {
            setColouredTo(block);
            return false;
        }
        clearLine(block);
    }
    return true;
}

TexSyntax::State LazyHighlighter::bestStartState(const QTextBlock &block) const
{
    const QTextBlock previous = block.previous();
    if (!previous.isValid())
        return {};
    const LineRecord record = recordOf(previous);
    if (record.end)
        return *record.end;
    if (record.colouredWith)
        return TexSyntax::scanLine(previous.text(), *record.colouredWith, nullptr);
    return {};
}

LazyHighlighter::LineRange LazyHighlighter::shownLines() const
{
    const int lineHeight = std::max(1, m_view.fontMetrics().lineSpacing());
    return {m_view.firstVisibleLine().blockNumber(), m_view.viewport()->height() / lineHeight + 2};
}

// Only the lines a paint reaches need colours for it: a keystroke repaints its own
// line, and the lines below it in view need not be read again for that.
LazyHighlighter::LineRange LazyHighlighter::paintedLines(const QRect &area) const
{
    QTextBlock line = m_view.firstVisibleLine();
    qreal top = m_view.lineTop(line) - m_view.viewport()->y();
    LineRange painted{line.blockNumber(), 0};
    for (; line.isValid() && top <= area.bottom(); line = line.next()) {
        const qreal bottom = top + m_view.lineHeight(line);
        if (bottom <= area.top())
            ++painted.first;
        else
            ++painted.count;
        top = bottom;
    }
    return painted;
}

LazyHighlighter::LineRange LazyHighlighter::keptLines() const
{
    const LineRange shown = shownLines();
    return {std::max(0, shown.first - shown.count), shown.count * 3};
}
