#include "AppTestSupport.h"
#include "CConsoleView.h"
#include "CEncodingDialog.h"
#include "CMainFrame.h"
#include "CQuillmereApp.h"
#include "CUltraEditView.h"
#include "CommandIds.h"
#include "CommandManager.h"
#include "DocumentManager.h"
#include "EncodingFlags.h"
#include "ModalHost.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QSplitter>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

class MainFrameTest : public testing::Test
{
protected:
    MainFrameTest()
        : app(makeExecutable(dir.path(), "quillmere"))
    {
        app.InitInstance({});
        frame = app.mainFrame();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(frame));
    }

    // Resizes the window so that the two rows together get exactly the height.
    void resizeRowsTo(int rows)
    {
        const QList<int> sizes = frame->splitter()->sizes();
        const int overhead = frame->height() - (sizes[0] + sizes[1]);
        frame->resize(frame->width(), rows + overhead);
        QCoreApplication::processEvents();
    }

    QTemporaryDir dir;
    CQuillmereApp app;
    CMainFrame *frame = nullptr;
};

TEST_F(MainFrameTest, TheEditorGetsSevenTenthsOnEveryResize)
{
    resizeRowsTo(600);
    EXPECT_EQ(frame->splitter()->sizes(), (QList<int>{420, 180}));
    resizeRowsTo(301);
    EXPECT_EQ(frame->splitter()->sizes(), (QList<int>{210, 91}));

    // A dragged bar holds until the window is resized again.
    frame->splitter()->setSizes({150, 151});
    QCoreApplication::processEvents();
    EXPECT_EQ(frame->splitter()->sizes(), (QList<int>{150, 151}));
    resizeRowsTo(302);
    EXPECT_EQ(frame->splitter()->sizes()[0], 211);
}

TEST_F(MainFrameTest, TheFirstFrameShownHasTheEditorAtSevenTenths)
{
    CQuillmereApp other(makeExecutable(dir.filePath("other"), "quillmere"));
    other.InitInstance({});
    const QSplitter *splitter = other.mainFrame()->splitter();
    const auto editorShare = [splitter] {
        const QList<int> sizes = splitter->sizes();
        return std::pair(sizes[0], (sizes[0] + sizes[1]) * 7 / 10);
    };
    EXPECT_GT(splitter->sizes()[0], 0);
    EXPECT_EQ(editorShare().first, editorShare().second);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(other.mainFrame()));
    EXPECT_EQ(editorShare().first, editorShare().second);
}

// The save encoding, mark and line end stand left of the line and column; a
// double-click on them opens the dialog that changes them.
TEST_F(MainFrameTest, TheEncodingPaneShowsTheSaveEncodingAndOpensItsDialog)
{
    const QString module = dir.filePath("withConverter");
    const QString executable = makeExecutable(module, "quillmere");
    ASSERT_TRUE(QFile::copy(QStringLiteral(QUILLMERE_BUILD_DIR "/libnkf32.so"), module + "/libnkf32.so"));
    QFile utf8(dir.filePath("paper.tex"));
    ASSERT_TRUE(utf8.open(QIODevice::WriteOnly));
    utf8.write("\xEF\xBB\xBF\\documentclass{jarticle}\r\n\xE6\x97\xA5\xE6\x9C\xAC\r\n");
    utf8.close();

    CQuillmereApp other(executable);
    other.InitInstance({utf8.fileName()});
    CMainFrame &window = *other.mainFrame();
    QCoreApplication::processEvents();
    QLabel *pane = window.encodingPane();
    ASSERT_NE(pane, nullptr);
    EXPECT_EQ(pane->text(), "UTF-8 BOM CRLF");
    EXPECT_LT(pane->mapTo(&window, QPoint()).x(), window.lineColumnPane()->mapTo(&window, QPoint()).x());
    EXPECT_GE(pane->width(), pane->fontMetrics().horizontalAdvance("UTF-16LE BOM CRLF"));

    int dialogs = 0;
    ModalHost::answerDialogsWith([&dialogs](QDialog &dialog) {
        ++dialogs;
        auto &encoding = dynamic_cast<CEncodingDialog &>(dialog);
        encoding.setValue(EncodingFlags(TextEncoding::ShiftJis, false, NewlineCode::Lf));
        encoding.accept();
        return int(QDialog::Accepted);
    });
    QTest::mouseDClick(pane, Qt::LeftButton);
    ModalHost::answerDialogsWith({});
    EXPECT_EQ(dialogs, 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(pane->text(), "Shift_JIS LF");

    ASSERT_TRUE(window.commands().execute(CommandId::FileNew));
    QCoreApplication::processEvents();
    EXPECT_EQ(pane->text(), "UTF-8 LF");
}

TEST_F(MainFrameTest, TheLineColumnPaneIsFilledAtTheFirstIdlePass)
{
    CQuillmereApp other(makeExecutable(dir.filePath("other"), "quillmere"));
    other.InitInstance({});
    EXPECT_EQ(other.mainFrame()->lineColumnPane()->text(), "99999 行 999 桁");
    QCoreApplication::processEvents();
    EXPECT_EQ(other.mainFrame()->lineColumnPane()->text(), "    1 行   1 列");
}

TEST_F(MainFrameTest, TheViewMenuShowsHidesAndChecksTheBars)
{
    CommandManager &commands = frame->commands();
    const int splitterHeight = frame->splitter()->height();
    commands.action(CommandId::ViewToolBar)->trigger();
    commands.updateAll();
    QCoreApplication::processEvents();
    EXPECT_FALSE(frame->toolBar()->isVisible());
    EXPECT_FALSE(commands.action(CommandId::ViewToolBar)->isChecked());
    EXPECT_GT(frame->splitter()->height(), splitterHeight);

    commands.action(CommandId::ViewStatusBar)->trigger();
    commands.action(CommandId::ViewStatusBar)->trigger();
    commands.action(CommandId::ViewToolBar)->trigger();
    commands.updateAll();
    EXPECT_TRUE(frame->statusBar()->isVisible());
    EXPECT_TRUE(commands.action(CommandId::ViewStatusBar)->isChecked());
    EXPECT_TRUE(commands.action(CommandId::ViewToolBar)->isChecked());
}

TEST_F(MainFrameTest, ShortcutsActOnTheEditorWhileTheConsoleHasTheFocus)
{
    frame->editorView()->setPlainText("editor text");
    frame->editorView()->selectAll();
    frame->consoleView()->setPlainText("console text");
    frame->activateWindow();
    frame->consoleView()->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    frame->commands().updateAll();

    QTest::keyClick(frame->consoleView(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "editor text");
    EXPECT_TRUE(frame->consoleView()->hasFocus());
    // F6 does not move the focus or the activation.
    QTest::keyClick(frame->consoleView(), Qt::Key_F6);
    EXPECT_TRUE(frame->consoleView()->hasFocus());
}

TEST_F(MainFrameTest, DroppedFilesOpenInTurnAndAreNeverMoved)
{
    const QString first = dir.filePath("first.tex");
    const QString second = dir.filePath("second.tex");
    for (const QString &path : {first, second}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QFileInfo(path).baseName().toUtf8() + "\n");
    }
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    enter.setDropAction(Qt::MoveAction);
    QApplication::sendEvent(frame, &enter);
    EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    drop.setDropAction(Qt::MoveAction);
    QApplication::sendEvent(frame, &drop);
    EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
    EXPECT_EQ(frame->editorView()->toPlainText(), "second\n");
    EXPECT_EQ(app.recentFiles().files(), (QStringList{second, first}));
}

} // namespace
