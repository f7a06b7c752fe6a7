#include "CMainFrame.h"

#include "CConsoleView.h"
#include "CDullSense.h"
#include "CQuillmereApp.h"
#include "CQuillmereDoc.h"
#include "CUltraEditView.h"
#include "CommandIds.h"
#include "CommandManager.h"
#include "CommandResources.h"
#include "DictionaryLocation.h"
#include "DocumentManager.h"
#include "ModalHost.h"
#include "SourceFileReader.h"
#include "StringTable.h"

#include <algorithm>

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHash>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QProcess>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <algorithm>
#include <optional>
#include <vector>

CMainFrame::CMainFrame(CQuillmereDoc &document, const CommandTarget &application)
    : m_document(document)
{
    createSplitter();
    const CommandRouter router([this, &application] {
        return std::vector<const CommandTarget *>{m_editorView, &m_document, this, &application};
    });
    m_commands = std::make_unique<CommandManager>(this, router, CommandResources::vocabulary());
    m_commands->populateMenuBar(menuBar());
    m_consoleView->OnInitialUpdate(*m_commands);
    m_editorView->attachCommands(*m_commands);
    connect(m_editorView, &CUltraEditView::filesDropped, this, &CMainFrame::openDroppedFiles);
    createToolBar();
    createStatusBar();
    registerFrameCommands();
    registerFindingCommands();
    connectFindings();
    m_document.attachEditor(m_editorView);
    followDocumentFiles();
    connect(&m_document, &CQuillmereDoc::titleChanged, this, &CMainFrame::updateTitle);
    connect(m_editorView->document(), &QTextDocument::modificationChanged, this, &QWidget::setWindowModified);
    updateTitle();
    setAcceptDrops(true);
    resize(900, 700);
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::createSplitter()
{
    m_splitter = new QSplitter(Qt::Vertical, this);
    const CQuillmereApp &app = *CQuillmereApp::instance();
    m_editorView = new CUltraEditView(app.profile(), m_splitter,
                                      DictionaryLocation(app.ModuleDirectory(), CQuillmereApp::userConfigDirectory()));
    m_consoleView = new CConsoleView(m_splitter);
    m_splitter->setChildrenCollapsible(false);
    setCentralWidget(m_splitter);
    m_editorView->setFocus();
}

// Completion reads the document's other files as the document itself is read, and
// again whenever the document's file is written.
void CMainFrame::followDocumentFiles()
{
    CDullSense *const popup = m_editorView->dullSense();
    if (!popup)
        return;
    popup->setFileReader([reader = SourceFileReader(CQuillmereApp::instance()->library())](const QString &path) {
        return reader.read(path);
    });
    connect(&m_document, &CQuillmereDoc::fileSynchronized, popup, &CDullSense::followFile);
}

void CMainFrame::createToolBar()
{
    m_toolBar = addToolBar(QStringLiteral("ツール バー"));
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_toolBar->setIconSize(QSize(16, 16));
    m_commands->populateToolBar(m_toolBar);
}

void CMainFrame::createStatusBar()
{
    m_statusBar = statusBar();
    // The idle text stays under the prompts, which the status bar shows over it.
    m_statusBar->addWidget(new QLabel(StringTable::text(StringTable::IdleMessage)), 1);
    // The counts of the last run stand apart from the message pane, which menu
    // prompts overwrite.
    m_findingCountPane = new QLabel;
    m_findingCountPane->setMinimumWidth(m_findingCountPane->fontMetrics().horizontalAdvance(
                                            StringTable::text(StringTable::FindingCountFormat).arg(999).arg(999))
                                        + 8);
    m_statusBar->addPermanentWidget(m_findingCountPane);
    m_lineColumnPane = new QLabel(StringTable::text(StringTable::LineColumnPlaceholder));
    m_lineColumnPane->setFixedWidth(m_lineColumnPane->sizeHint().width());
    // The placeholder stands until the first idle pass; from then on the editor
    // keeps the pane up to date.
    QTimer::singleShot(0, m_lineColumnPane, [this] {
        m_lineColumnPane->setText(m_editorView->lineColumnText());
        connect(m_editorView, &CUltraEditView::lineColumnChanged, m_lineColumnPane, &QLabel::setText);
    });
    addEncodingPane();
    m_statusBar->addPermanentWidget(m_lineColumnPane);
    addLockPanes();
}

void CMainFrame::addEncodingPane()
{
    m_encodingPane = new QLabel(m_statusBar);
    m_encodingPane->setObjectName(QStringLiteral("encodingPane"));
    m_encodingPane->setAlignment(Qt::AlignCenter);
    // Sized for the longest text it shows, so that the panes beside it never move.
    const int longest = m_encodingPane->fontMetrics().horizontalAdvance(QStringLiteral("ISO-2022-JP CRLF"));
    m_encodingPane->setFixedWidth(
        std::max(longest, m_encodingPane->fontMetrics().horizontalAdvance(QStringLiteral("UTF-16LE BOM CRLF"))) + 8);
    m_encodingPane->setToolTip(m_commands->toolTip(CommandId::SaveEncoding));
    m_encodingPane->installEventFilter(this);
    m_statusBar->addPermanentWidget(m_encodingPane);
    m_commands->addStatusPane(PaneId::Encoding, m_encodingPane);
}

bool CMainFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_encodingPane && event->type() == QEvent::MouseButtonDblClick) {
        m_commands->execute(CommandId::SaveEncoding);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::addLockPanes()
{
    // Qt cannot tell the state of the lock keys on every desktop, so these panes
    // keep their room but stay empty rather than show a state they cannot know.
    for (const char *text : {"CAP", "NUM", "SCRL"}) {
        auto *pane = new QLabel(m_statusBar);
        pane->setFixedWidth(pane->fontMetrics().horizontalAdvance(QString::fromLatin1(text)) + 8);
        m_statusBar->addPermanentWidget(pane);
    }
}

void CMainFrame::registerFrameCommands()
{
    onCommand(CommandId::ViewToolBar, [this] { m_toolBar->setVisible(!m_toolBar->isVisible()); });
    onUpdate(CommandId::ViewToolBar, [this](CommandUpdate &update) { update.setCheck(m_toolBar->isVisible()); });
    onCommand(CommandId::ViewStatusBar, [this] { m_statusBar->setVisible(!m_statusBar->isVisible()); });
    onUpdate(CommandId::ViewStatusBar, [this](CommandUpdate &update) { update.setCheck(m_statusBar->isVisible()); });
}

void CMainFrame::registerFindingCommands()
{
    onCommand(CommandId::NextError, [this] { stepThroughFindings(true); });
    onCommand(CommandId::PreviousError, [this] { stepThroughFindings(false); });
    for (const int id : {CommandId::NextError, CommandId::PreviousError})
        onUpdate(id, [this](CommandUpdate &update) { update.enable(anyFindingHasLine()); });
}

void CMainFrame::connectFindings()
{
    connect(m_consoleView, &CConsoleView::cleared, this, [this] {
        m_findingNavigator.restart();
        m_findingCountPane->clear();
        markFindingLines();
    });
    connect(m_consoleView, &CConsoleView::toolFinished, this, [this] {
        showFindingCounts();
        markFindingLines();
    });
    connect(m_consoleView, &CConsoleView::findingActivated, this, &CMainFrame::goToFinding);
    // Marks belong to the document they were made for; another one gets its own.
    connect(&m_document, &CQuillmereDoc::titleChanged, this, [this] {
        if (m_document.GetPathName() != m_markedPath)
            markFindingLines();
    });
}

bool CMainFrame::anyFindingHasLine() const
{
    const std::vector<OutputFinding> &findings = m_consoleView->findings();
    return std::any_of(findings.begin(), findings.end(),
                       [](const OutputFinding &finding) { return finding.hasLocation(); });
}

void CMainFrame::stepThroughFindings(bool forward)
{
    const std::vector<OutputFinding> &findings = m_consoleView->findings();
    const std::optional<std::size_t> index = forward ? m_findingNavigator.next(findings)
                                                     : m_findingNavigator.previous(findings);
    if (index)
        goToFinding(*index);
}

void CMainFrame::showFindingCounts()
{
    const std::vector<OutputFinding> &findings = m_consoleView->findings();
    const auto errors = std::count_if(findings.begin(), findings.end(),
                                      [](const OutputFinding &finding) { return finding.isError(); });
    m_findingCountPane->setText(
        StringTable::text(StringTable::FindingCountFormat).arg(errors).arg(std::ssize(findings) - errors));
}

void CMainFrame::markFindingLines()
{
    m_markedPath = m_document.GetPathName();
    std::vector<std::pair<int, LineMark>> marks;
    QHash<QString, bool> isCurrent;
    for (const OutputFinding &finding : m_consoleView->findings()) {
        if (!finding.hasLocation())
            continue;
        const auto known = isCurrent.constFind(finding.file);
        const bool current = known != isCurrent.constEnd()
                                 ? *known
                                 : *isCurrent.insert(finding.file, isCurrentDocument(finding.file));
        if (current)
            marks.emplace_back(finding.line - 1, finding.isError() ? LineMark::Error : LineMark::Warning);
    }
    m_editorView->setLineMarks(marks);
}

bool CMainFrame::isCurrentDocument(const QString &path) const
{
    const QString document = QFileInfo(m_document.GetPathName()).canonicalFilePath();
    return !document.isEmpty() && QFileInfo(path).canonicalFilePath() == document;
}

void CMainFrame::goToFinding(std::size_t index)
{
    const std::vector<OutputFinding> &findings = m_consoleView->findings();
    if (index >= findings.size())
        return;
    const OutputFinding finding = findings[index];
    m_findingNavigator.setCurrent(index);
    m_consoleView->showFinding(index);
    const QString place = finding.hasLocation()
                              ? QStringLiteral("%1:%2: ").arg(QFileInfo(finding.file).fileName()).arg(finding.line)
                              : QString();
    m_statusBar->showMessage(place + finding.message);
    if (!finding.hasLocation())
        return;
    if (!QFileInfo::exists(finding.file)) {
        ModalHost::showMessage(
            this, StringTable::text(StringTable::FindingFileMissing).replace(QStringLiteral("%s"), finding.file),
            QMessageBox::Warning);
        return;
    }
    if (isCurrentDocument(finding.file))
        m_editorView->goToLine(finding.line);
    else
        openInAnotherWindow(finding.file, finding.line);
}

// The other window is another process of this program: it hands the file to a
// running instance that has it open, or opens it itself.
void CMainFrame::openInAnotherWindow(const QString &path, int line)
{
    QProcess::startDetached(CQuillmereApp::instance()->executablePath(),
                            {QStringLiteral("--line"), QString::number(line), path});
}

void CMainFrame::showLine(int line)
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    m_editorView->goToLine(line);
}

void CMainFrame::updateTitle()
{
    // "[*]" is where the desktop's mark for unsaved changes goes.
    setWindowTitle(m_document.GetTitle() + QStringLiteral("[*] - ") + StringTable::text(StringTable::ApplicationTitle));
    setWindowModified(m_document.IsModified());
}

void CMainFrame::closeWithoutPrompt()
{
    m_closingWithoutPrompt = true;
    close();
}

void CMainFrame::setDocumentManager(DocumentManager *manager)
{
    m_documentManager = manager;
}

void CMainFrame::closeEvent(QCloseEvent *event)
{
    if (!m_closingWithoutPrompt && m_documentManager && !m_documentManager->SaveModified()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void CMainFrame::openDroppedFiles(const QStringList &paths)
{
    if (!m_documentManager || paths.isEmpty())
        return;
    raise();
    activateWindow();
    for (const QString &path : paths)
        m_documentManager->OpenDocumentFile(path);
}

namespace {

QStringList localFilesOf(const QMimeData *data)
{
    QStringList paths;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    return paths;
}

} // namespace

// A drop only ever copies: accepting a move would let the file manager delete
// the file it thinks we took.
void CMainFrame::dragEnterEvent(QDragEnterEvent *event)
{
    if (localFilesOf(event->mimeData()).isEmpty())
        return;
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void CMainFrame::dropEvent(QDropEvent *event)
{
    const QStringList paths = localFilesOf(event->mimeData());
    if (paths.isEmpty())
        return;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    openDroppedFiles(paths);
}

// The window manager may never resize the window once it is shown, and before it
// is shown the rows cannot be measured: the first frame gets its proportions here.
void CMainFrame::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    applySevenTenths();
}

void CMainFrame::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    applySevenTenths();
}

void CMainFrame::applySevenTenths()
{
    if (!m_splitter->isVisible())
        return;
    const QList<int> heights = m_splitter->sizes();
    const int total = heights.value(0) + heights.value(1);
    const int editor = total * 7 / 10;
    m_splitter->setSizes({editor, total - editor});
}
