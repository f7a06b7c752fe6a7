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
#include <QKeyEvent>
#include <QFontDatabase>
#include <QMenu>
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
    const bool atLineStart = document()->lastBlock().text().isEmpty();
    appendText((atLineStart ? QString() : QStringLiteral("\n")) + line + u'\n');
    showEndUnlessScrolledAway();
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

void CConsoleView::appendText(const QString &text)
{
    if (text.isEmpty())
        return;
    const bool following = followsEnd();
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    // Output takes no colour from a finding's line before it.
    end.setCharFormat(QTextCharFormat());
    end.insertText(text);
    readFindings(text);
    dropOldestLines();
    if (following)
        scrollToEnd();
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
    if (!m_readingFindings)
        return;
    m_reader.read(text);
    const std::vector<OutputFinding> &found = m_reader.findings();
    for (; m_colouredFindings < found.size(); ++m_colouredFindings) {
        const OutputFinding &finding = found[m_colouredFindings];
        colourLine(finding.consoleLine, finding.isError() ? FindingColors::error() : FindingColors::warning());
    }
}

QTextBlock CConsoleView::blockOfLine(int consoleLine) const
{
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
    const auto after = std::upper_bound(found.begin(), found.end(), consoleLine,
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

void CConsoleView::contextMenuEvent(QContextMenuEvent *event)
{
    // The caret and the selection stay where they are: only the menu shows.
    const std::unique_ptr<QMenu> menu = createContextMenu();
    menu->exec(event->globalPos());
}
