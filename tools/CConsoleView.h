#pragma once

#include "CommandTarget.h"
#include "OutputBacklog.h"
#include "OutputNormalizer.h"
#include "TexOutputReader.h"
#include "ToolRun.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTextLayout>
#include <QTimer>

#include <memory>
#include <vector>

class CommandManager;
class ExternalProgram;
struct ProgramInvocation;
class QMenu;
class Utf8StreamDecoder;

// The read-only pane below the editor that runs the console tools and shows their
// command lines and output. Its own commands (copy, select all, stopping a run)
// reach it only through its context menu.
class CConsoleView : public QPlainTextEdit, public CommandTarget
{
    Q_OBJECT

public:
    // The pane keeps its newest output and drops the oldest lines beyond this many
    // characters: the end of a log is where the errors are.
    static constexpr int TextLimit = 1048575;

    explicit CConsoleView(QWidget *parent = nullptr);
    ~CConsoleView() override;

    // The pane is in place: it takes its context menu from the commands and becomes
    // the console the run commands use.
    void OnInitialUpdate(CommandManager &commands);

    // Shows the prompt line and runs the entry's program on the base name in the
    // directory, returning when the child has ended. A program that cannot be
    // started is reported in a message box.
    ToolRun::Result RunCommand(const ExternalProgram &entry, const QString &baseName, const QString &directory);
    // Shows the prompt line and runs the program with exactly these arguments.
    ToolRun::Outcome RunInvocation(const ProgramInvocation &invocation, const QString &directory);
    // A line of the editor's own between the tools' output, on a line of its own.
    void AppendNotice(const QString &line);
    // Output goes into the pane a piece at a time from the event loop; a run's
    // output is all in the pane by the time the run ends.
    void AppendOutput(QByteArrayView chunk, Utf8StreamDecoder &decoder);
    // Empties the pane and forgets the last output byte.
    void clear();

    bool isRunning() const { return !m_activeRuns.empty(); }
    // Ends every child that is running; each run then ends as usual.
    void stopRuns();

    // The context menu as the right mouse button shows it; the caller owns it.
    std::unique_ptr<QMenu> createContextMenu();

    // The errors and warnings the tools reported since the pane was last cleared.
    const std::vector<OutputFinding> &findings() const { return m_reader.findings(); }
    // The finding shown on a line of the pane (a block number), or -1.
    int findingOnLine(int blockNumber) const;
    // Puts the pane's caret on the finding's first line and scrolls it into view.
    void showFinding(std::size_t index);
    // Reading the output for findings can be switched off to measure what it costs.
    void setReadingFindings(bool reading) { m_readingFindings = reading; }

signals:
    // The pane was emptied for a new run: there are no findings yet.
    void cleared();
    // A tool has ended; its findings are among findings().
    void toolFinished();
    // A finding's line was double-clicked, or Enter was pressed on it.
    void findingActivated(std::size_t index);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    // Draws as the plain text edit does, but of a long line only the part in view.
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void registerCommands();
    QList<QTextLayout::FormatRange> selectionsIn(const QTextBlock &block,
                                                 const QAbstractTextDocumentLayout::PaintContext &context) const;
    void drawBlock(QPainter &painter, const QTextBlock &block, const QPointF &offset, const QRectF &clip,
                   const QAbstractTextDocumentLayout::PaintContext &context) const;
    void appendPromptLine(const QString &directory, const QString &commandLine);
    void appendText(const QString &text);
    void scheduleNextPiece();
    void keepGlyphsOfLongLines(int from, int added);
    void showNextPiece();
    bool hasMoreToShow() const;
    // Shows everything that waits, letting events through between the pieces.
    void showAllWaitingOutput();
    void insertAtEnd(const OutputBacklog::Piece &piece);
    bool atLineStart() const;
    void dropOldestLines();
    void readFindings(const QString &text);
    void colourShownFindings();
    void colourLine(int consoleLine, const QColor &colour);
    QTextBlock blockOfLine(int consoleLine) const;
    // Whether the view shows the end of the text, as the pane last left it.
    bool followsEnd() const;
    void scrollToEnd();
    // At the end of a step: the last line written is shown, unless the user has
    // scrolled away from the end meanwhile.
    void showEndUnlessScrolledAway();
    void showRunFailure(int messageId, const QString &commandLine);

    // The most the pane takes in one pass of the event loop: a line as long as the
    // pane ever gets one, with its line end.
    static constexpr qsizetype PieceSize = OutputNormalizer::LongestLine + 1;
    // While output keeps coming, the pane shows it at most this often. Showing it
    // more often would only lay out lines that are dropped a moment later, and the
    // time goes to reading the tool's output instead, so that a flood ends soon.
    static constexpr int ShowIntervalMilliseconds = 50;

    OutputNormalizer m_normalizer;
    OutputBacklog m_backlog{TextLimit};
    QTimer m_pieceTimer;
    QElapsedTimer m_sinceLastPiece;
    TexOutputReader m_reader;
    std::size_t m_colouredFindings = 0;
    // Lines dropped from the top since the pane was cleared: console line n of the
    // findings is block n - m_droppedLines.
    int m_droppedLines = 0;
    bool m_readingFindings = true;
    std::vector<ToolRun *> m_activeRuns;
    CommandManager *m_commands = nullptr;
    int m_endScrollValue = 0;
};

// The one console pane of the process, set when the pane is in place.
extern CConsoleView *g_pConsoleView;
