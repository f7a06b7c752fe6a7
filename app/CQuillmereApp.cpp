#include "CQuillmereApp.h"

#include "CAboutDlg.h"
#include "CExternProgSettingDlg.h"
#include "CMainFrame.h"
#include "CQuillmereDoc.h"
#include "CUltraEditView.h"
#include "CommandIds.h"
#include "CommandLine.h"
#include "CommandManager.h"
#include "ConversionPivot.h"
#include "ConverterBinding.h"
#include "CrashRecovery.h"
#include "DocumentManager.h"
#include "ExternalProgramSettings.h"
#include "InstanceChannel.h"
#include "ModalHost.h"
#include "RunCommands.h"
#include "StringTable.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTranslator>
#include <QWindow>

static void registerCompiledResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace {

CQuillmereApp *g_instance = nullptr;

} // namespace

CQuillmereApp::CQuillmereApp(const QString &executablePath)
    : m_executablePath(executablePath)
    , m_modulePath(executablePath)
    , m_library(m_modulePath.directory())
{
    g_instance = this;
    registerCompiledResources();
    registerAppCommands();
}

CQuillmereApp::~CQuillmereApp()
{
    ExitInstance();
    g_instance = nullptr;
}

CQuillmereApp *CQuillmereApp::instance()
{
    return g_instance;
}

QString CQuillmereApp::settingsFilePath(const ModulePath &modulePath)
{
    // Asking for permission bits is not enough (root passes every such check, and
    // some file systems refuse writes anyway): a file must actually be creatable.
    QTemporaryFile probe(modulePath.filePath(QStringLiteral(".quillmere-probe-XXXXXX")));
    if (probe.open())
        return modulePath.filePath(modulePath.baseName() + QStringLiteral(".ini"));
    const QString directory = userConfigDirectory();
    QDir().mkpath(directory);
    return directory + QStringLiteral("/quillmere.ini");
}

QString CQuillmereApp::userConfigDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/quillmere");
}

bool CQuillmereApp::InitInstance(const QStringList &arguments)
{
    installQtTranslations();
    QApplication::setApplicationName(QStringLiteral("quillmere"));
    QApplication::setApplicationDisplayName(StringTable::text(StringTable::ApplicationTitle));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/quillmere.svg")));
    preferJapaneseGlyphs();

    m_profile.setPath(settingsFilePath(m_modulePath));
    // Asked before the first write, which turns the file into UTF-8.
    const bool undecodableSettings = m_profile.isUndecodable();
    m_recentFiles.read(m_profile);
    loadBuiltInExternalPrograms(m_profile, m_programTable, ModuleDirectory());

    m_document = std::make_unique<CQuillmereDoc>(m_library);
    m_mainFrame = std::make_unique<CMainFrame>(*m_document, *this);
    m_documentManager = new DocumentManager(
        *m_document, m_recentFiles,
        {QStringLiteral("TeX Files (*.tex)"), QStringLiteral("*.tex"), QStringLiteral("tex")}, m_mainFrame.get());
    m_document->setDocumentManager(m_documentManager);
    m_mainFrame->setDocumentManager(m_documentManager);
    registerRecentFileCommands();
    connectTools();
    startCrashRecovery();
    if (!processCommandLine(arguments))
        return false;
    listenToOtherInstances();
    // Every handler is in place now: the menus and shortcuts start out right.
    m_mainFrame->commands().updateAll();
    m_mainFrame->show();
    m_mainFrame->activateWindow();
    waitUntilPlaced();
    offerRecovery();
    if (undecodableSettings)
        tellOfUndecodableSettings();
    return true;
}

void CQuillmereApp::tellOfUndecodableSettings() const
{
    const QString text = StringTable::text(StringTable::UndecodableSettings)
                             .arg(QDir::toNativeSeparators(m_profile.path()),
                                  QDir::toNativeSeparators(m_profile.backupPath()));
    ModalHost::showMessage(m_mainFrame.get(), text, QMessageBox::Warning);
}

void CQuillmereApp::preferJapaneseGlyphs()
{
    // Han characters look different in Japanese and Chinese; without a Japanese
    // font named first, a desktop whose language is not Japanese draws them in
    // Chinese forms.
    QFont font = QApplication::font();
    font.setFamilies({font.family(), QStringLiteral("Noto Sans CJK JP")});
    QApplication::setFont(font);
}

void CQuillmereApp::installQtTranslations()
{
    // Every text of our own is Japanese, so Qt's buttons and dialogs should be too,
    // whatever the desktop's language.
    m_qtTranslator = std::make_unique<QTranslator>();
    if (m_qtTranslator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(m_qtTranslator.get());
}

bool CQuillmereApp::processCommandLine(const QStringList &arguments)
{
    const CommandLine commandLine = CommandLine::parse(arguments);
    if (commandLine.file.isEmpty())
        return m_documentManager->OnFileNew();
    if (!m_documentManager->OpenDocumentFile(commandLine.file))
        return false;
    if (commandLine.line > 0)
        m_mainFrame->editorView()->goToLine(commandLine.line);
    return true;
}

void CQuillmereApp::listenToOtherInstances()
{
    m_instanceChannel = std::make_unique<InstanceChannel>(
        QApplication::applicationName(),
        [this](const QString &canonicalPath, int line) { return showLineOfOpenFile(canonicalPath, line); });
    m_instanceChannel->listen();
}

bool CQuillmereApp::showLineOfOpenFile(const QString &canonicalPath, int line)
{
    const QString path = m_document ? m_document->GetPathName() : QString();
    if (!m_mainFrame || path.isEmpty() || QFileInfo(path).canonicalFilePath() != canonicalPath)
        return false;
    m_mainFrame->showLine(line);
    return true;
}

void CQuillmereApp::startCrashRecovery()
{
    m_recovery = std::make_unique<CrashRecovery>(*m_document, m_mainFrame->editorView()->document(),
                                                 RecoveryFolder::defaultDirectory());
}

// On X11 a question asked before the window manager has placed the window is centred
// on where the window was about to be, and stands in a corner of it. The wait is
// bounded, so a desktop that never shows the window does not hold up the start.
void CQuillmereApp::waitUntilPlaced() const
{
    constexpr int LongestWaitMilliseconds = 1000;
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    QElapsedTimer waited;
    waited.start();
    const QWindow *window = m_mainFrame->windowHandle();
    while (window && !window->isExposed() && waited.elapsed() < LongestWaitMilliseconds)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::ExcludeUserInputEvents, 50);
}

// Asked once the window shows, so that the question stands over it; from then on
// every file opened is asked about as it opens.
void CQuillmereApp::offerRecovery()
{
    const QString &path = m_document->GetPathName();
    if (path.isEmpty())
        m_recovery->offerUntitled(m_mainFrame.get());
    else
        m_recovery->offerFor(path, m_mainFrame.get());
    connect(m_documentManager, &DocumentManager::documentOpened, m_recovery.get(),
            [this](const QString &opened) { m_recovery->offerFor(opened, m_mainFrame.get()); });
}

void CQuillmereApp::registerAppCommands()
{
    onCommand(CommandId::AppAbout, [this] {
        CAboutDlg about(m_mainFrame.get());
        ModalHost::runDialog(about);
    });
    onCommand(CommandId::FileNew, [this] { m_documentManager->OnFileNew(); });
    onCommand(CommandId::FileOpen, [this] { m_documentManager->OnFileOpen(); });
    onCommand(CommandId::AppExit, [this] {
        if (m_mainFrame)
            m_mainFrame->close();
    });
}

void CQuillmereApp::registerRecentFileCommands()
{
    CommandManager &commands = m_mainFrame->commands();
    for (int i = 0; i < RecentFileCount; ++i) {
        const int id = CommandId::RecentFile1 + i;
        if (i > 0)
            commands.addCommandAfter(id - 1, id);
        onCommand(id, [this, i] { m_documentManager->OpenRecentFile(i); });
        onUpdate(id, [this, i](CommandUpdate &update) {
            const QStringList &files = m_recentFiles.files();
            if (files.isEmpty() && i == 0) {
                // With no files the first entry stands greyed for the whole list.
                update.setText(QStringLiteral("最近使ったファイル"));
                update.enable(false);
                update.setVisible(true);
                return;
            }
            update.setVisible(i < files.size());
            if (i < files.size())
                update.setText(
                    QStringLiteral("&%1 %2").arg(i + 1).arg(QString(files[i]).replace(u'&', QStringLiteral("&&"))));
        });
    }
}

void CQuillmereApp::connectTools()
{
    CQuillmereDoc &document = *m_document;
    RunDocument runDocument;
    runDocument.save = [&document] { document.executeCommand(CommandId::FileSave); };
    runDocument.savedPathParts = [&document] {
        const CQuillmereDoc::SavedPathParts &parts = document.savedPathParts();
        return RunDocument::PathParts{parts.fileName, parts.baseName, parts.directory};
    };
    runDocument.clearSavedPathParts = [&document] { document.ClearSavedPathParts(); };
    runDocument.pathParts = [&document] {
        if (document.GetPathName().isEmpty())
            return RunDocument::PathParts{};
        const CQuillmereDoc::SavedPathParts parts = CQuillmereDoc::SplitSavedPath(document.GetPathName());
        return RunDocument::PathParts{parts.fileName, parts.baseName, parts.directory};
    };
    runDocument.saveEncoding = [&document] { return document.SaveEncoding().encoding().value_or(TextEncoding::Utf8); };
    runDocument.detectEncoding = [this](const QByteArray &bytes) {
        return ConverterBinding(m_library).read(bytes, ConversionPivot::platform().readOptions()).inputEncoding;
    };
    m_runCommands = std::make_unique<RunCommands>(std::move(runDocument), m_programTable);
    m_runCommands->registerOn(document);

    // The settings dialog belongs to the editor view's commands.
    m_mainFrame->editorView()->onCommand(CommandId::ExternalProgramSettings,
                                         [this] { editExternalPrograms(m_mainFrame.get(), m_programTable); });
}

void CQuillmereApp::terminate()
{
    // Ended from outside, by the session or the user: the unsaved text is kept for
    // the next start rather than given up.
    m_terminated = true;
    if (m_recovery)
        m_recovery->flush();
    if (m_mainFrame)
        m_mainFrame->closeWithoutPrompt();
    QCoreApplication::quit();
}

void CQuillmereApp::ExitInstance()
{
    if (m_exited)
        return;
    m_exited = true;
    if (m_recovery && !m_terminated)
        m_recovery->discard();
    m_recovery.reset();
    m_instanceChannel.reset();
    // Everything written from here on goes to the file in one write.
    const ProfileStore::WriteBatch settingsAtExit(m_profile);
    m_mainFrame.reset();
    m_runCommands.reset();
    m_document.reset();
    if (!m_profile.path().isEmpty()) {
        m_recentFiles.write(m_profile);
        SaveAllExternalPrograms(m_profile, m_programTable);
    }
    if (m_qtTranslator)
        QCoreApplication::removeTranslator(m_qtTranslator.get());
    m_library.unload();
}
