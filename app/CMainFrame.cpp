#include "CMainFrame.h"

#include "CConsoleView.h"
#include "CQuillmereApp.h"
#include "CQuillmereDoc.h"
#include "CUltraEditView.h"
#include "CommandIds.h"
#include "CommandManager.h"
#include "CommandResources.h"
#include "DictionaryLocation.h"
#include "DocumentManager.h"
#include "StringTable.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

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
    m_document.attachEditor(m_editorView);
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
    m_lineColumnPane = new QLabel(StringTable::text(StringTable::LineColumnPlaceholder));
    m_lineColumnPane->setFixedWidth(m_lineColumnPane->sizeHint().width());
    // The placeholder stands until the first idle pass; from then on the editor
    // keeps the pane up to date.
    QTimer::singleShot(0, m_lineColumnPane, [this] {
        m_lineColumnPane->setText(m_editorView->lineColumnText());
        connect(m_editorView, &CUltraEditView::lineColumnChanged, m_lineColumnPane, &QLabel::setText);
    });
    m_statusBar->addPermanentWidget(m_lineColumnPane);
    addLockPanes();
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
    onUpdate(CommandId::ViewStatusBar,
             [this](CommandUpdate &update) { update.setCheck(m_statusBar->isVisible()); });
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
