#include "AppTestSupport.h"
#include "CMainFrame.h"
#include "CQuillmereApp.h"
#include "CommandIds.h"
#include "CommandManager.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

QStringList texts(const QList<QAction *> &actions)
{
    QStringList result;
    for (const QAction *action : actions) {
        if (action->isVisible())
            result.append(action->isSeparator() ? QString("-") : action->text());
    }
    return result;
}

class CommandVocabularyTest : public testing::Test
{
protected:
    CommandVocabularyTest()
        : app(makeExecutable(dir.path(), "quillmere"))
    {
        app.InitInstance({});
    }

    CommandManager &commands() { return app.mainFrame()->commands(); }

    QTemporaryDir dir;
    CQuillmereApp app;
};

TEST_F(CommandVocabularyTest, TheMenuBarHasEveryItemInOrder)
{
    const QList<QAction *> menus = app.mainFrame()->menuBar()->actions();
    EXPECT_EQ(texts(menus), QStringList::fromList({"ファイル(&F)", "編集(&E)", "実行(&X)", "表示(&V)", "ヘルプ(&H)"}));
    EXPECT_EQ(texts(menus[0]->menu()->actions()),
              QStringList::fromList({"新規作成\tCtrl+N(&N)", "開く...\tCtrl+O(&O)", "上書き保存\tCtrl+S(&S)",
                                     "名前を付けて保存(&A)...", "-", "保存用文字コードの設定", "-",
                                     "印刷...\tCtrl+P(&P)", "印刷プレビュー(&V)", "プリンタの設定(&R)...", "-",
                                     "最近使ったファイル", "-", "アプリケーションの終了(&X)"}));
    EXPECT_EQ(texts(menus[2]->menu()->actions()),
              QStringList::fromList({"pLaTeX\tCtrl+F1", "jBibTeX\tCtrl+F2", "dviout\tCtrl+F3", "-",
                                     "dvipsk\tCtrl+F4", "dvipdfmx\tCtrl+F5", "-", "GSView\tCtrl+F6", "PDFを表示\tCtrl+F7", "-",
                                     "次のエラー\tF8", "前のエラー\tShift+F8", "-", "外部プログラムの設定"}));
    const QList<QAction *> view = menus[3]->menu()->actions();
    ASSERT_FALSE(view.isEmpty());
    EXPECT_EQ(view.back()->text(), "文字エンコード");
    EXPECT_EQ(texts(view.back()->menu()->actions()),
              QStringList::fromList({"シフトJIS", "EUC-JP", "ISO-2022-JP", "UTF-8", "UTF-16(Little endian)",
                                     "UTF-16(Big endian)"}));
    EXPECT_EQ(texts(menus[4]->menu()->actions()), QStringList{"バージョン情報 Quillmere(&A)..."});
}

TEST_F(CommandVocabularyTest, AcceleratorsPromptsAndTooltips)
{
    EXPECT_EQ(commands().action(CommandId::RunDviout)->shortcuts(), QList<QKeySequence>{QKeySequence("Ctrl+F3")});
    EXPECT_EQ(commands().action(CommandId::FindNext)->shortcuts(), QList<QKeySequence>{QKeySequence("F3")});
    EXPECT_EQ(commands().action(CommandId::EditUndo)->shortcuts(),
              (QList<QKeySequence>{QKeySequence("Ctrl+Z"), QKeySequence("Alt+Backspace")}));
    EXPECT_EQ(commands().action(CommandId::NextPane)->shortcuts(), QList<QKeySequence>{QKeySequence("F6")});
    EXPECT_EQ(commands().action(CommandId::RunDvipsk)->statusTip(), "dvipskを実行します。");
    EXPECT_EQ(commands().toolTip(CommandId::RunDvipsk), "dvipsを実行");
    EXPECT_EQ(commands().action(CommandId::ShowPdf)->shortcuts(), QList<QKeySequence>{QKeySequence("Ctrl+F7")});
    EXPECT_EQ(commands().action(CommandId::ShowPdf)->statusTip(), "PDFを表示します。");
    EXPECT_EQ(commands().toolTip(CommandId::ShowPdf), "PDFを表示");
    EXPECT_EQ(commands().action(CommandId::ChangeFont)->statusTip(), "画面表示用のフォントを変更します。");
    EXPECT_EQ(commands().toolTip(CommandId::ChangeFont), "");
    EXPECT_EQ(commands().action(CommandId::FileSave)->statusTip(), "作業中のファイルを上書きして保存");
    EXPECT_EQ(commands().action(CommandId::PreviousError)->shortcuts(), QList<QKeySequence>{QKeySequence("Shift+F8")});
    EXPECT_EQ(commands().toolTip(CommandId::NextError), "次のエラー");
    EXPECT_EQ(commands().action(CommandId::FileNew)->statusTip(), "新規にファイルを作成");
    EXPECT_EQ(commands().toolTip(CommandId::FileNew), "新規ファイル");
}

TEST_F(CommandVocabularyTest, PrintingIsAlwaysGreyed)
{
    commands().updateAll();
    for (const int id : {CommandId::FilePrint, CommandId::FilePrintPreview, CommandId::FilePrintSetup})
        EXPECT_FALSE(commands().action(id)->isEnabled()) << id;
    EXPECT_TRUE(app.mainFrame()->toolBar()->actions().contains(commands().action(CommandId::FilePrint)));
    EXPECT_TRUE(commands().action(CommandId::AppAbout)->isEnabled());
}

} // namespace
