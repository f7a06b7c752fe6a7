#pragma once

#include "CommandTarget.h"
#include "ConverterLibrary.h"
#include "ExternalProgramTable.h"
#include "ModulePath.h"
#include "ProfileStore.h"
#include "RecentFileList.h"

#include <QObject>
#include <QStringList>

#include <memory>

class CMainFrame;
class CrashRecovery;
class CQuillmereDoc;
class DocumentManager;
class InstanceChannel;
class RunCommands;
class QTranslator;

// The application object: first to exist and last to go. It loads the converter
// library, fixes where the settings live, fills the program table, makes the main
// window with its document, and carries out the command line. At the end it writes
// the settings and unloads the library.
class CQuillmereApp : public QObject, public CommandTarget
{
    Q_OBJECT

public:
    static constexpr int RecentFileCount = 4;

    explicit CQuillmereApp(const QString &executablePath);
    ~CQuillmereApp() override;

    static CQuillmereApp *instance();

    // arguments: the command line without the program name. False when the
    // program should end at once (the named file could not be opened).
    bool InitInstance(const QStringList &arguments);
    // Writes the settings and unloads the library; runs once, at the latest from
    // the destructor.
    void ExitInstance();
    // Ends the program without questions, as a termination signal asks.
    void terminate();

    const QString &ModuleDirectory() const { return m_modulePath.directory(); }
    const QString &executablePath() const { return m_executablePath; }
    const ConverterLibrary &library() const { return m_library; }
    ExternalProgramTable &programTable() { return m_programTable; }
    const ProfileStore &profile() const { return m_profile; }
    RecentFileList &recentFiles() { return m_recentFiles; }
    CMainFrame *mainFrame() const { return m_mainFrame.get(); }
    CQuillmereDoc *document() const { return m_document.get(); }

    // The settings file: beside the executable when its directory can be written,
    // otherwise in the user's configuration directory.
    static QString settingsFilePath(const ModulePath &modulePath);
    // The user's own folder for settings and dictionaries: $XDG_CONFIG_HOME/quillmere.
    static QString userConfigDirectory();

private:
    void installQtTranslations();
    void tellOfUndecodableSettings() const;
    static void preferJapaneseGlyphs();
    void registerAppCommands();
    void registerRecentFileCommands();
    void connectTools();
    void startCrashRecovery();
    void waitUntilPlaced() const;
    void offerRecovery();
    bool processCommandLine(const QStringList &arguments);
    void listenToOtherInstances();
    bool showLineOfOpenFile(const QString &canonicalPath, int line);

    ExternalProgramTable m_programTable;
    QString m_executablePath;
    ModulePath m_modulePath;
    ConverterLibrary m_library;
    ProfileStore m_profile;
    RecentFileList m_recentFiles{RecentFileCount};
    std::unique_ptr<QTranslator> m_qtTranslator;
    std::unique_ptr<CQuillmereDoc> m_document;
    std::unique_ptr<RunCommands> m_runCommands;
    std::unique_ptr<CMainFrame> m_mainFrame;
    std::unique_ptr<CrashRecovery> m_recovery;
    std::unique_ptr<InstanceChannel> m_instanceChannel;
    DocumentManager *m_documentManager = nullptr; // owned by the main frame
    bool m_exited = false;
    bool m_terminated = false;
};
