#include "CConsoleView.h"

#include "AcceleratorSuspension.h"
#include "CommandIds.h"
#include "CommandManager.h"
#include "ExternalProgram.h"
#include "FindingColors.h"
#include "ModalHost.h"
#include "ProgramInvocation.h"
#include "StringTable.h"
#include "Utf8StreamDecoder.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>

#include <algorithm>
#include <iterator>

CConsoleView *g_pConsoleView = nullptr;

namespace {

// Keeps a run listed as active for as long as it lives, so the stop command finds it.
class ActiveRunRegistration
{
public:
    ActiveRunRegistration(std::vector<ToolRun *> &runs, ToolRun &run)
        : m_runs(runs)
        , m_run(run)
    {
        m_runs.push_back(&m_run);
    }
    ~ActiveRunRegistration() { std::erase(m_runs, &m_run); }
    ActiveRunRegistration(const ActiveRunRegistration &) = delete;
    ActiveRunRegistration &operator=(const ActiveRunRegistration &) = delete;

private:
    std::vector<ToolRun *> &m_runs;
    ToolRun &m_run;
};

// TeX's error context is two lines whose columns must line up, so the pane uses the
// system's fixed-width font, and for Japanese a CJK font whose full-width glyphs are
// exactly two columns wide.
QFont consoleFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setFamilies({font.family(), QStringLiteral("Noto Sans Mono CJK JP")});
    return font;
}

// A line longer than this is drawn only as far as it is in view: drawing a line
// costs time for every character in it, seen or not, and a pane of lines 64 KB
// long would take a tenth of a second at every repaint.
constexpr int LongLine = 1024;
// Characters drawn beyond each edge of the view, so that a glyph reaching into
// it from outside is drawn whole.
constexpr int DrawnBeyondView = 8;

// The document's formats of length characters of the block from from on, as the
// formats of a layout of those characters alone.
QList<QTextLayout::FormatRange> fragmentFormats(const QTextBlock &block, int from, int length)
{
    QList<QTextLayout::FormatRange> formats;
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const int start = std::max(fragment.position() - block.position(), from);
        const int end = std::min(fragment.position() - block.position() + fragment.length(), from + length);
        if (start < end)
            formats.append({start - from, end - start, fragment.charFormat()});
    }
    return formats;
}

// The ranges cut to length characters from from on, counted from there.
QList<QTextLayout::FormatRange> shiftedRanges(const QList<QTextLayout::FormatRange> &ranges, int from, int length)
{
    QList<QTextLayout::FormatRange> shifted;
    for (const QTextLayout::FormatRange &range : ranges) {
        const int start = std::max(range.start, from);
        const int end = std::min(range.start + range.length, from + length);
        if (start < end)
            shifted.append({start - from, end - start, range.format});
    }
    return shifted;
}

// Draws the part of a long one-line block between the clip's left and right
// edges, laid out by itself where the block's own layout puts it.
void drawPartInView(QPainter &painter, const QTextBlock &block, const QPointF &offset, const QRectF &clip,
                    const QList<QTextLayout::FormatRange> &selections)
{
    const QTextLayout *layout = block.layout();
    const QTextLine line = layout->lineAt(0);
    const int textLength = block.length() - 1;
    const int first = std::max(0, line.xToCursor(clip.left() - offset.x()) - DrawnBeyondView);
    const int last = std::min(textLength, line.xToCursor(clip.right() - offset.x()) + DrawnBeyondView);
    if (first >= last)
        return;
    QTextLayout part(block.text().mid(first, last - first), block.document()->defaultFont());
    part.setTextOption(layout->textOption());
    part.setFormats(fragmentFormats(block, first, last - first));
    part.beginLayout();
    QTextLine partLine = part.createLine();
    partLine.setLeadingIncluded(true);
    partLine.setNumColumns(last - first);
    part.endLayout();
    // On the baseline of the whole line, which taller glyphs elsewhere in it may
    // have moved down.
    partLine.setPosition(QPointF(line.cursorToX(first), line.y() + line.ascent() - partLine.ascent()));
    part.draw(&painter, offset, shiftedRanges(selections, first, last - first), clip);
}

} // namespace

CConsoleView::CConsoleView(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setReadOnly(true);
    // The caret can be moved by keys too, so that Enter can go to a finding.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Nobody undoes tool output, and a flood would otherwise fill the undo stack.
    setUndoRedoEnabled(false);
    setFont(consoleFont());
    m_pieceTimer.setSingleShot(true);
    connect(&m_pieceTimer, &QTimer::timeout, this, [this] {
        showNextPiece();
        if (hasMoreToShow())
            scheduleNextPiece();
    });
    connect(document(), &QTextDocument::contentsChange, this,
            [this](int from, int, int added) { keepGlyphsOfLongLines(from, added); });
    registerCommands();
}

CConsoleView::~CConsoleView()
{
    if (g_pConsoleView == this)
        g_pConsoleView = nullptr;
}

void CConsoleView::OnInitialUpdate(CommandManager &commands)
{
    m_commands = &commands;
    g_pConsoleView = this;
}

void CConsoleView::registerCommands()
{
    onCommand(CommandId::EditCopy, [this] { copy(); });
    onUpdate(CommandId::EditCopy, [this](CommandUpdate &update) { update.enable(textCursor().hasSelection()); });
    onCommand(CommandId::EditSelectAll, [this] { selectAll(); });
}

ToolRun::Result CConsoleView::RunCommand(const ExternalProgram &entry, const QString &baseName,
                                         const QString &directory)
{
    return RunInvocation(BuildProgramInvocation(entry, baseName, directory), directory).result;
}

ToolRun::Outcome CConsoleView::RunInvocation(const ProgramInvocation &invocation, const QString &directory)
{
    const QString commandLine = DisplayCommandLine(invocation);
    appendPromptLine(directory, commandLine);

    Utf8StreamDecoder output;
    Utf8StreamDecoder error;
    ToolRun run(invocation, directory, [this, &output, &error](ToolRun::Channel channel, QByteArrayView chunk) {
        AppendOutput(chunk, channel == ToolRun::Channel::Output ? output : error);
    });
    const AcceleratorSuspension noShortcutsWhileRunning;
    const ActiveRunRegistration registration(m_activeRuns, run);
    const ToolRun::Result result = run.exec();
    appendText(output.finish() + error.finish());
    showAllWaitingOutput();
    showEndUnlessScrolledAway();

    emit toolFinished();

    if (result == ToolRun::Result::FailedToStart)
        showRunFailure(StringTable::CannotRun, commandLine);
    else if (result == ToolRun::Result::OutOfMemory)
        showRunFailure(StringTable::NoMemoryForRunning, commandLine);
    return run.outcome();
}

void CConsoleView::AppendNotice(const QString &line)
{
    appendText((atLineStart() ? QString() : QStringLiteral("\n")) + line + u'\n');
    showAllWaitingOutput();
    showEndUnlessScrolledAway();
}

bool CConsoleView::atLineStart() const
{
    if (!m_backlog.isEmpty())
        return m_backlog.endsLine();
    return document()->lastBlock().length() == 1;
}

bool CConsoleView::followsEnd() const
{
    // The range can grow after the pane last scrolled, when the text is laid out
    // again; a view still where the pane put it has not been moved by the user.
    const QScrollBar *scrollBar = verticalScrollBar();
    return scrollBar->value() == scrollBar->maximum() || scrollBar->value() == m_endScrollValue;
}

void CConsoleView::scrollToEnd()
{
    QScrollBar *scrollBar = verticalScrollBar();
    scrollBar->setValue(scrollBar->maximum());
    m_endScrollValue = scrollBar->value();
}

void CConsoleView::showEndUnlessScrolledAway()
{
    if (!followsEnd())
        return;
    scrollToEnd();
    // The last lines may be laid out only when the events of this pass are done.
    QTimer::singleShot(0, this, [this] {
        if (followsEnd())
            scrollToEnd();
    });
}

void CConsoleView::appendPromptLine(const QString &directory, const QString &commandLine)
{
    showAllWaitingOutput();
    moveCursor(QTextCursor::End);
    const QString prompt = directory + u'>' + commandLine + u'\n';
    insertPlainText(prompt);
    ensureCursorVisible();
    m_reader.beginTool(directory);
    readFindings(prompt);
    m_endScrollValue = verticalScrollBar()->value();
}

void CConsoleView::AppendOutput(QByteArrayView chunk, Utf8StreamDecoder &decoder)
{
    appendText(decoder.decode(m_normalizer.normalize(chunk)));
}

// Output waits in the backlog and goes into the pane a piece per pass of the event
// loop: laying out a long line takes a while, and however fast a tool writes,
// keys and menus must get their turn. The findings are read as the output comes,
// so that a flood too big for the pane loses none of them.
void CConsoleView::appendText(const QString &text)
{
    if (text.isEmpty())
        return;
    readFindings(text);
    m_backlog.append(text);
    if (!m_pieceTimer.isActive())
        scheduleNextPiece();
}

void CConsoleView::scheduleNextPiece()
{
    const qint64 sinceLast = m_sinceLastPiece.isValid() ? m_sinceLastPiece.elapsed() : ShowIntervalMilliseconds;
    m_pieceTimer.start(static_cast<int>(std::max<qint64>(0, ShowIntervalMilliseconds - sinceLast)));
}

bool CConsoleView::hasMoreToShow() const
{
    return !m_backlog.isEmpty() || document()->characterCount() - 1 > TextLimit;
}

// Where the characters of a long line are is asked of its layout at every repaint,
// so the layout keeps its glyphs rather than shaping the line again each time.
void CConsoleView::keepGlyphsOfLongLines(int from, int added)
{
    for (QTextBlock block = document()->findBlock(from); block.isValid() && block.position() <= from + added;
         block = block.next()) {
        if (block.length() > LongLine)
            block.layout()->setCacheEnabled(true);
    }
}

// Dropping the oldest lines is a pass of its own: it makes the pane lay out the
// line that becomes the first one again.
void CConsoleView::showNextPiece()
{
    const bool following = followsEnd();
    if (document()->characterCount() - 1 > TextLimit)
        dropOldestLines();
    else if (!m_backlog.isEmpty())
        insertAtEnd(m_backlog.take(PieceSize));
    colourShownFindings();
    if (following)
        scrollToEnd();
    m_sinceLastPiece.start();
}

void CConsoleView::showAllWaitingOutput()
{
    m_pieceTimer.stop();
    while (hasMoreToShow()) {
        showNextPiece();
        if (hasMoreToShow())
            QCoreApplication::processEvents();
    }
    m_pieceTimer.stop();
}

void CConsoleView::insertAtEnd(const OutputBacklog::Piece &piece)
{
    if (piece.replacesShown) {
        m_droppedLines += blockCount() - 1 + static_cast<int>(piece.droppedLineEnds);
        QPlainTextEdit::clear();
    }
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    // Output takes no colour from a finding's line before it.
    end.setCharFormat(QTextCharFormat());
    end.insertText(piece.text);
}

void CConsoleView::dropOldestLines()
{
    // characterCount() counts the document's final paragraph separator as well.
    const int excess = document()->characterCount() - 1 - TextLimit;
    if (excess <= 0)
        return;
    QTextCursor cursor(document());
    cursor.setPosition(excess, QTextCursor::KeepAnchor);
    if (cursor.block().next().isValid()) {
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
    }
    const int blocks = blockCount();
    cursor.removeSelectedText();
    m_droppedLines += blocks - blockCount();
}

void CConsoleView::readFindings(const QString &text)
{
    if (m_readingFindings)
        m_reader.read(text);
}

// A finding's line takes its colour once the whole line is in the pane.
void CConsoleView::colourShownFindings()
{
    const int linesEnded = m_droppedLines + blockCount() - 1;
    const std::vector<OutputFinding> &found = m_reader.findings();
    for (; m_colouredFindings < found.size() && found[m_colouredFindings].consoleLine < linesEnded;
         ++m_colouredFindings) {
        const OutputFinding &finding = found[m_colouredFindings];
        colourLine(finding.consoleLine, finding.isError() ? FindingColors::error() : FindingColors::warning());
    }
}

QTextBlock CConsoleView::blockOfLine(int consoleLine) const
{
    // A line dropped from the top has no block any more.
    if (consoleLine < m_droppedLines)
        return {};
    return document()->findBlockByNumber(consoleLine - m_droppedLines);
}

// Only the colour changes: the text stays as the tool wrote it.
void CConsoleView::colourLine(int consoleLine, const QColor &colour)
{
    const QTextBlock block = blockOfLine(consoleLine);
    if (!block.isValid())
        return;
    QTextCursor line(block);
    line.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    QTextCharFormat format;
    format.setForeground(colour);
    line.mergeCharFormat(format);
}

int CConsoleView::findingOnLine(int blockNumber) const
{
    const int consoleLine = blockNumber + m_droppedLines;
    const std::vector<OutputFinding> &found = m_reader.findings();
    // The findings come in the order of their lines and never overlap.
    const auto after = std::upper_bound(
        found.begin(), found.end(), consoleLine,
        [](int line, const OutputFinding &finding) { return line < finding.consoleLine; });
    if (after == found.begin() || std::prev(after)->lastConsoleLine < consoleLine)
        return -1;
    return static_cast<int>(std::prev(after) - found.begin());
}

void CConsoleView::showFinding(std::size_t index)
{
    if (index >= findings().size())
        return;
    const QTextBlock block = blockOfLine(findings()[index].consoleLine);
    if (!block.isValid())
        return;
    setTextCursor(QTextCursor(block));
    ensureCursorVisible();
}

void CConsoleView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const int index = findingOnLine(cursorForPosition(event->position().toPoint()).blockNumber());
    if (index < 0) {
        QPlainTextEdit::mouseDoubleClickEvent(event);
        return;
    }
    emit findingActivated(static_cast<std::size_t>(index));
}

void CConsoleView::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const int index = enter ? findingOnLine(textCursor().blockNumber()) : -1;
    if (index < 0) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    emit findingActivated(static_cast<std::size_t>(index));
}

void CConsoleView::clear()
{
    m_pieceTimer.stop();
    m_backlog.clear();
    QPlainTextEdit::clear();
    m_normalizer.reset();
    m_reader.clear();
    m_colouredFindings = 0;
    m_droppedLines = 0;
    emit cleared();
}

void CConsoleView::stopRuns()
{
    for (ToolRun *run : m_activeRuns)
        run->stop();
}

void CConsoleView::showRunFailure(int messageId, const QString &commandLine)
{
    ModalHost::showMessage(this, StringTable::text(messageId).replace(QStringLiteral("%s"), commandLine),
                           QMessageBox::Warning);
}

std::unique_ptr<QMenu> CConsoleView::createContextMenu()
{
    std::unique_ptr<QMenu> menu(m_commands ? m_commands->createContextMenu(ContextMenuIndex::Console, *this, nullptr)
                                           : new QMenu);
    menu->addSeparator();
    QAction *stop = menu->addAction(QString::fromUtf8("実行を中止"));
    stop->setStatusTip(QString::fromUtf8("実行中のツールを中止します"));
    connect(stop, &QAction::triggered, this, &CConsoleView::stopRuns);
    connect(menu.get(), &QMenu::aboutToShow, this, [this, stop] { stop->setEnabled(isRunning()); });
    return menu;
}

void CConsoleView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const QRect clip = event->rect();
    painter.setClipRect(clip);
    const QAbstractTextDocumentLayout::PaintContext context = getPaintContext();
    painter.setPen(context.palette.text().color());
    QPointF offset = contentOffset();
    for (QTextBlock block = firstVisibleBlock(); block.isValid() && offset.y() <= clip.bottom(); block = block.next()) {
        const QRectF bounds = blockBoundingRect(block).translated(offset);
        if (block.isVisible() && bounds.bottom() >= clip.top())
            drawBlock(painter, block, offset, clip, context);
        offset.ry() += bounds.height();
    }
}

void CConsoleView::drawBlock(QPainter &painter, const QTextBlock &block, const QPointF &offset, const QRectF &clip,
                             const QAbstractTextDocumentLayout::PaintContext &context) const
{
    const QList<QTextLayout::FormatRange> selections = selectionsIn(block, context);
    QTextLayout *layout = block.layout();
    if (block.length() > LongLine && layout->lineCount() == 1)
        drawPartInView(painter, block, offset, clip, selections);
    else
        layout->draw(&painter, offset, selections, clip);
    const int caret = context.cursorPosition - block.position();
    if (caret >= 0 && caret < block.length())
        layout->drawCursor(&painter, offset, caret, cursorWidth());
}

// The selection as ranges of the block's text.
QList<QTextLayout::FormatRange>
CConsoleView::selectionsIn(const QTextBlock &block, const QAbstractTextDocumentLayout::PaintContext &context) const
{
    QList<QTextLayout::FormatRange> ranges;
    for (const QAbstractTextDocumentLayout::Selection &selection : context.selections) {
        const int start = selection.cursor.selectionStart() - block.position();
        const int end = selection.cursor.selectionEnd() - block.position();
        if (start < block.length() && end > 0 && end > start)
            ranges.append({start, end - start, selection.format});
    }
    return ranges;
}

void CConsoleView::contextMenuEvent(QContextMenuEvent *event)
{
    // The caret and the selection stay where they are: only the menu shows.
    const std::unique_ptr<QMenu> menu = createContextMenu();
    menu->exec(event->globalPos());
}
