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

#include <ostream>
#include <vector>

namespace {

// One visible item of a menu or the tool bar: its text and command id; a separator
// is "-" with id 0, a submenu its text with id -1.
struct Item
{
    QString text;
    int id;
    bool operator==(const Item &) const = default;
};

void PrintTo(const Item &item, std::ostream *out)
{
    *out << item.text.toStdString() << " #" << item.id;
}

const Item Separator{QStringLiteral("-"), 0};

std::vector<Item> items(const QList<QAction *> &actions)
{
    std::vector<Item> result;
    for (const QAction *action : actions) {
        if (!action->isVisible())
            continue;
        if (action->isSeparator())
            result.push_back(Separator);
        else
            result.push_back(Item{action->text(), action->menu() ? -1 : action->data().toInt()});
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

TEST_F(CommandVocabularyTest, EveryMenuItemHasItsTextAndCommandInOrder)
{
    using namespace CommandId;
    const QList<QAction *> menus = app.mainFrame()->menuBar()->actions();
    EXPECT_EQ(items(menus),
              (std::vector<Item>{
                  {"ファイル(&F)", -1}, {"編集(&E)", -1}, {"実行(&X)", -1}, {"表示(&V)", -1}, {"ヘルプ(&H)", -1}}));
    ASSERT_EQ(menus.size(), 5);
    EXPECT_EQ(items(menus[0]->menu()->actions()), (std::vector<Item>{{"新規作成\tCtrl+N(&N)", FileNew},
                                                                     {"開く...\tCtrl+O(&O)", FileOpen},
                                                                     {"上書き保存\tCtrl+S(&S)", FileSave},
                                                                     {"名前を付けて保存(&A)...", FileSaveAs},
                                                                     Separator,
                                                                     {"保存用文字コードの設定", SaveEncoding},
                                                                     Separator,
                                                                     {"印刷...\tCtrl+P(&P)", FilePrint},
                                                                     {"印刷プレビュー(&V)", FilePrintPreview},
                                                                     {"プリンタの設定(&R)...", FilePrintSetup},
                                                                     Separator,
                                                                     {"最近使ったファイル", RecentFile1},
                                                                     Separator,
                                                                     {"アプリケーションの終了(&X)", AppExit}}));
    EXPECT_EQ(items(menus[1]->menu()->actions()), (std::vector<Item>{{"元に戻す\tCtrl+Z(&U)", EditUndo},
                                                                     Separator,
                                                                     {"切り取り\tCtrl+X(&T)", EditCut},
                                                                     {"コピー\tCtrl+C(&C)", EditCopy},
                                                                     {"貼り付け\tCtrl+V(&P)", EditPaste},
                                                                     Separator,
                                                                     {"検索\tCtrl+F(&F)", EditFind},
                                                                     {"次を検索\tF3(&N)", FindNext},
                                                                     {"置換\tCtrl+H(&R)", EditReplace},
                                                                     Separator,
                                                                     {"すべて選択\tCtrl+A(&A)", EditSelectAll}}));
    EXPECT_EQ(items(menus[2]->menu()->actions()),
              (std::vector<Item>{{"pLaTeX\tCtrl+F1", RunPlatex},
                                 {"jBibTeX\tCtrl+F2", RunJbibtex},
                                 {"dviout\tCtrl+F3", RunDviout},
                                 Separator,
                                 {"dvipsk\tCtrl+F4", RunDvipsk},
                                 {"dvipdfmx\tCtrl+F5", RunDvipdfmx},
                                 Separator,
                                 {"GSView\tCtrl+F6", RunGsview},
                                 {"PDFを表示\tCtrl+F7", ShowPdf},
                                 Separator,
                                 {"次のエラー\tF8", NextError},
                                 {"前のエラー\tShift+F8", PreviousError},
                                 Separator,
                                 {"外部プログラムの設定", ExternalProgramSettings}}));
    const QList<QAction *> view = menus[3]->menu()->actions();
    EXPECT_EQ(items(view), (std::vector<Item>{{"ツール バー(&T)", ViewToolBar},
                                              {"ステータス バー(&S)", ViewStatusBar},
                                              {"行番号", ToggleLineNumbers},
                                              {"色分け表示", ToggleSyntaxColor},
                                              Separator,
                                              {"フォント変更", ChangeFont},
                                              Separator,
                                              {"文字エンコード", -1}}));
    ASSERT_FALSE(view.isEmpty());
    EXPECT_EQ(items(view.back()->menu()->actions()), (std::vector<Item>{{"シフトJIS", DisplayShiftJis},
                                                                        {"EUC-JP", DisplayEucJp},
                                                                        {"ISO-2022-JP", DisplayIso2022Jp},
                                                                        {"UTF-8", DisplayUtf8},
                                                                        {"UTF-16(Little endian)", DisplayUtf16Le},
                                                                        {"UTF-16(Big endian)", DisplayUtf16Be}}));
    EXPECT_EQ(items(menus[4]->menu()->actions()), (std::vector<Item>{{"バージョン情報 Quillmere(&A)...", AppAbout}}));

    std::vector<int> toolBar;
    for (const QAction *action : app.mainFrame()->toolBar()->actions())
        toolBar.push_back(action->isSeparator() ? 0 : action->data().toInt());
    EXPECT_EQ(toolBar, (std::vector<int>{FileNew, FileOpen, FileSave, 0, EditCut, EditCopy, EditPaste, 0, ShowPdf, 0,
                                         FilePrint, AppAbout}));
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
