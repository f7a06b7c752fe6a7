#include "AppTestSupport.h"
#include "CMainFrame.h"
#include "CQuillmereApp.h"
#include "CUltraEditView.h"
#include "CommandIds.h"
#include "CommandManager.h"
#include "ModalAnswers.h"
#include "StringTable.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace {

const QStringList ProgramNames = {"platex", "jbibtex", "dviout", "dvipsk", "dvipdfmx", "GSView", "pdfviewer"};

class StartupShutdownTest : public testing::Test
{
protected:
    static void expectAllProgramSections(const QString &settingsPath)
    {
        const ProfileStore profile(settingsPath);
        for (const QString &name : ProgramNames) {
            EXPECT_NE(profile.readString(name, "EXE", "<missing>"), "<missing>") << name.toStdString();
            EXPECT_NE(profile.readString(name, "OPTION", "<missing>"), "<missing>") << name.toStdString();
        }
    }

    ModalAnswers answers;
    QTemporaryDir dir;
};

TEST_F(StartupShutdownTest, AStartWithoutSettingsUsesTheBuiltInsAndTheExitWritesThemAll)
{
    const QString binDir = dir.filePath(QString::fromUtf8("bin dir/日本語"));
    const QString exe = makeExecutable(binDir, "quillmere");
    {
        CQuillmereApp app(exe);
        EXPECT_EQ(app.ModuleDirectory(), binDir);
        ASSERT_TRUE(app.InitInstance({}));
        EXPECT_FALSE(app.library().isLoaded());
        ASSERT_EQ(app.programTable().GetCount(), 7);
        EXPECT_EQ(app.programTable().GetAt(0).executable(), "platex");
        EXPECT_EQ(app.programTable().GetAt(2).executable(), binDir + "/quillmere-dvipreview");
        EXPECT_EQ(app.programTable().GetAt(5).optionTemplate(), "\"%s.ps\"");
        EXPECT_EQ(app.profile().path(), binDir + "/quillmere.ini");
        EXPECT_EQ(app.mainFrame()->windowTitle(), QString::fromUtf8("無題[*] - Quillmere"));
        // Qt's own buttons speak Japanese like the rest of the program.
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString::fromUtf8("キャンセル"));
    }
    expectAllProgramSections(binDir + "/quillmere.ini");
    const ProfileStore profile(binDir + "/quillmere.ini");
    EXPECT_EQ(profile.readString("platex", "OPTION", ""), "\\\"%s.tex\\\"");
}

TEST_F(StartupShutdownTest, TheSettingsFileFollowsTheRealExecutablesName)
{
    const QString exe = makeExecutable(dir.filePath("real"), "paperpen.bin");
    QFile settings(dir.filePath("real/paperpen.ini"));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[dviout]\nEXE=/usr/local/bin/xdvi-custom\n");
    settings.close();
    ASSERT_TRUE(QDir().mkpath(dir.filePath("links")));
    ASSERT_TRUE(QFile::link(exe, dir.filePath("links/q")));

    CQuillmereApp app(dir.filePath("links/q"));
    EXPECT_EQ(app.ModuleDirectory(), dir.filePath("real"));
    ASSERT_TRUE(app.InitInstance({}));
    EXPECT_EQ(app.programTable().FindByName("dviout").executable(), "/usr/local/bin/xdvi-custom");
    app.ExitInstance();
    expectAllProgramSections(dir.filePath("real/paperpen.ini"));
    EXPECT_FALSE(QFile::exists(dir.filePath("links/q.ini")));
}

TEST_F(StartupShutdownTest, AnUnwritableProgramDirectoryKeepsSettingsInTheUserConfiguration)
{
    qputenv("XDG_CONFIG_HOME", dir.filePath("config").toUtf8());
    EXPECT_EQ(CQuillmereApp::settingsFilePath(ModulePath("/proc/quillmere")),
              dir.filePath("config/quillmere/quillmere.ini"));
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(CQuillmereApp::settingsFilePath(ModulePath(dir.filePath("quillmere"))), dir.filePath("quillmere.ini"));
}

TEST_F(StartupShutdownTest, AFileOnTheCommandLineIsOpenedAndAMissingOneEndsTheStart)
{
    const QString exe = makeExecutable(dir.path(), "quillmere");
    QFile paper(dir.filePath("paper.tex"));
    ASSERT_TRUE(paper.open(QIODevice::WriteOnly));
    paper.write("\\documentclass{jarticle}\r\n日本語\r\n");
    paper.close();
    {
        CQuillmereApp app(exe);
        ASSERT_TRUE(app.InitInstance({dir.filePath("paper.tex")}));
        EXPECT_EQ(app.mainFrame()->editorView()->toPlainText(),
                  QString::fromUtf8("\\documentclass{jarticle}\n日本語\n"));
        EXPECT_EQ(app.mainFrame()->windowTitle(), "paper.tex[*] - Quillmere");
    }

    QFile::remove(dir.filePath("quillmere.ini"));
    {
        CQuillmereApp app(exe);
        EXPECT_FALSE(app.InitInstance({dir.filePath("missing.tex")}));
    }
    ASSERT_EQ(answers.messages().size(), 1u);
    EXPECT_EQ(answers.messages()[0].text, QString::fromUtf8("ドキュメントを開くことに失敗しました。"));
    EXPECT_EQ(answers.messages()[0].icon, QMessageBox::Warning);
    expectAllProgramSections(dir.filePath("quillmere.ini"));
}

TEST_F(StartupShutdownTest, SettingsNeitherUtf8NorCp932AreKeptAsideAndToldOfOnce)
{
    const QString exe = makeExecutable(dir.path(), "quillmere");
    const QString settings = dir.filePath("quillmere.ini");
    // 0x80 and 0xFF are bytes CP932 has no code for.
    const QByteArray original = "[platex]\nEXE=\x80\xFF\n";
    QFile file(settings);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(original);
    file.close();
    for (int start = 0; start < 2; ++start) {
        CQuillmereApp app(exe);
        ASSERT_TRUE(app.InitInstance({}));
    }
    ASSERT_EQ(answers.messages().size(), 1u);
    EXPECT_EQ(answers.messages()[0].text,
              StringTable::text(StringTable::UndecodableSettings).arg(settings, settings + ".bak"));
    EXPECT_EQ(answers.messages()[0].icon, QMessageBox::Warning);
    QFile kept(settings + ".bak");
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), original);
    expectAllProgramSections(settings);
}

TEST_F(StartupShutdownTest, TheAboutBoxShowsTheVersion)
{
    CQuillmereApp app(makeExecutable(dir.path(), "quillmere"));
    ASSERT_TRUE(app.InitInstance({}));
    QString caption;
    QString version;
    ModalHost::answerDialogsWith([&](QDialog &dialog) {
        caption = dialog.windowTitle();
        version = dialog.findChild<QLabel *>("version")->text();
        return int(QDialog::Accepted);
    });
    app.mainFrame()->commands().action(CommandId::AppAbout)->trigger();
    EXPECT_EQ(caption, QString::fromUtf8("バージョン情報 Quillmere"));
    EXPECT_EQ(version, "Quillmere Version 0.1.4");
}

bool catchesSignal(qint64 pid, int signalNumber)
{
    QFile status(QString("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (signalNumber - 1)) & 1;
    }
    return false;
}

TEST_F(StartupShutdownTest, TerminationSignalsEndTheProgramThroughItsShutdown)
{
    const QString built = QStringLiteral(QUILLMERE_BUILD_DIR "/quillmere");
    if (!QFile::exists(built))
        GTEST_SKIP() << "the program itself is not built at " << built.toStdString();
    const QString binDir = dir.filePath(QString::fromUtf8("インストール先 dir"));
    ASSERT_TRUE(QDir().mkpath(binDir));
    ASSERT_TRUE(QFile::copy(built, binDir + "/quillmere"));

    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        QFile::remove(binDir + "/quillmere.ini");
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        program.setProcessEnvironment(environment);
        program.start(binDir + "/quillmere", {});
        ASSERT_TRUE(program.waitForStarted());
        while (!catchesSignal(program.processId(), signalNumber) && program.state() == QProcess::Running)
            QThread::msleep(20);
        ::kill(static_cast<pid_t>(program.processId()), signalNumber);
        ASSERT_TRUE(program.waitForFinished(30000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << signalNumber;
        EXPECT_EQ(program.exitCode(), 0) << signalNumber;
        expectAllProgramSections(binDir + "/quillmere.ini");
    }
}

} // namespace
