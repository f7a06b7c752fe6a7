#pragma once

#include "CommandTarget.h"
#include "FindingNavigator.h"

#include <QMainWindow>

#include <cstddef>
#include <memory>

class CConsoleView;
class CommandManager;
class CQuillmereDoc;
class DocumentManager;
class CUltraEditView;
class QLabel;
class QSplitter;
class QStatusBar;
class QToolBar;

// The program's one top-level window: menu bar, toolbar, status bar and a splitter
// with the editor above and the console below.
class CMainFrame : public QMainWindow, public CommandTarget
{
    Q_OBJECT

public:
    // The application is the last object on the command route.
    CMainFrame(CQuillmereDoc &document, const CommandTarget &application);
    ~CMainFrame() override;

    CUltraEditView *editorView() const { return m_editorView; }
    CConsoleView *consoleView() const { return m_consoleView; }
    QSplitter *splitter() const { return m_splitter; }
    QToolBar *toolBar() const { return m_toolBar; }
    QLabel *lineColumnPane() const { return m_lineColumnPane; }
    QLabel *findingCountPane() const { return m_findingCountPane; }
    QLabel *encodingPane() const { return m_encodingPane; }
    CommandManager &commands() const { return *m_commands; }

    // Closes without asking about unsaved changes: the program is being ended.
    void closeWithoutPrompt();
    void setDocumentManager(DocumentManager *manager);
    // Opens each file in turn, as a drop on the window asks; the last one stays.
    void openDroppedFiles(const QStringList &paths);
    // Brings the window to the front with the editor's caret on a line (from 1).
    void showLine(int line);
    // Leads to a finding of the last run: its line in the editor, its file in a
    // window of its own, or a message saying why neither can be.
    void goToFinding(std::size_t index);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    // A double-click on the encoding pane opens the save-encoding dialog.
    bool eventFilter(QObject *watched, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void createToolBar();
    void createStatusBar();
    void addEncodingPane();
    void addLockPanes();
    void createSplitter();
    void followDocumentFiles();
    void registerFrameCommands();
    void updateTitle();
    void applySevenTenths();
    void registerFindingCommands();
    void connectFindings();
    void stepThroughFindings(bool forward);
    bool anyFindingHasLine() const;
    void showFindingCounts();
    void markFindingLines();
    bool isCurrentDocument(const QString &path) const;
    void openInAnotherWindow(const QString &path, int line);

    QStatusBar *m_statusBar = nullptr;
    QToolBar *m_toolBar = nullptr;
    QSplitter *m_splitter = nullptr;
    CQuillmereDoc &m_document;
    CUltraEditView *m_editorView = nullptr;
    CConsoleView *m_consoleView = nullptr;
    QLabel *m_lineColumnPane = nullptr;
    QLabel *m_findingCountPane = nullptr;
    FindingNavigator m_findingNavigator;
    // The document the gutter's marks were made for.
    QString m_markedPath;
    QLabel *m_encodingPane = nullptr;
    std::unique_ptr<CommandManager> m_commands;
    DocumentManager *m_documentManager = nullptr;
    bool m_closingWithoutPrompt = false;
};
