#include "AcceleratorSuspension.h"
#include "CommandManager.h"
#include "CommandTarget.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr int Copy = 57634;
constexpr int Print = 57607;
constexpr int RunTool = 32808;
constexpr int ViewOnly = 32833;

class Target : public CommandTarget
{
public:
    void handle(int id)
    {
        onCommand(id, [this, id] { ran.push_back(id); });
    }
    using CommandTarget::onUpdate;
    std::vector<int> ran;
};

CommandVocabulary testVocabulary()
{
    CommandVocabulary vocabulary;
    vocabulary.menuBar = {
        {0, "編集(&E)", {{Copy, "コピー\tCtrl+C(&C)", {}}, {}, {Print, "印刷...\tCtrl+P(&P)", {}}}},
        {0, "実行(&X)", {{RunTool, "pLaTeX\tCtrl+F1", {}}, {ViewOnly, "フォント変更", {}}}},
    };
    vocabulary.contextMenus = {{0, "popup0", {{Copy, "コピー(&C)", {}}, {}, {RunTool, "実行", {}}}}};
    vocabulary.accelerators = {{QKeySequence(Qt::CTRL | Qt::Key_C), Copy},
                               {QKeySequence(Qt::CTRL | Qt::Key_Insert), Copy},
                               {QKeySequence(Qt::CTRL | Qt::Key_P), Print},
                               {QKeySequence(Qt::CTRL | Qt::Key_F1), RunTool}};
    vocabulary.strings = {{Copy, "選択範囲をコピー\nコピー"}, {ViewOnly, "フォントを変更します。"}};
    return vocabulary;
}

class CommandRoutingTest : public testing::Test
{
protected:
    CommandRoutingTest()
    {
        editor = new QPlainTextEdit(&window);
        window.setCentralWidget(editor);
        manager = std::make_unique<CommandManager>(&window, CommandRouter([this] {
            return std::vector<const CommandTarget *>{&view, &document, &app};
        }),
                                                   testVocabulary());
        manager->populateMenuBar(window.menuBar());
    }

    void showWithFocusInEditor()
    {
        window.show();
        window.activateWindow();
        editor->setFocus();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    Target view;
    Target document;
    Target app;
    QMainWindow window;
    QPlainTextEdit *editor = nullptr;
    std::unique_ptr<CommandManager> manager;
};

TEST_F(CommandRoutingTest, TheFirstHandlerOnTheRouteRunsAndUnhandledCommandsAreDisabled)
{
    document.handle(RunTool);
    app.handle(RunTool);
    manager->updateAll();
    EXPECT_FALSE(manager->action(Print)->isEnabled());
    EXPECT_TRUE(manager->action(RunTool)->isEnabled());

    manager->action(RunTool)->trigger();
    EXPECT_EQ(document.ran, std::vector<int>{RunTool});
    EXPECT_TRUE(app.ran.empty());

    // An update handler that disables the command also stops it from running.
    document.onUpdate(RunTool, [](CommandUpdate &update) { update.enable(false); });
    manager->updateAll();
    EXPECT_FALSE(manager->action(RunTool)->isEnabled());
    EXPECT_FALSE(manager->execute(RunTool));
    EXPECT_EQ(document.ran.size(), 1u);

    view.handle(ViewOnly);
    view.onUpdate(ViewOnly, [](CommandUpdate &update) { update.setCheck(true); });
    manager->updateAll();
    EXPECT_TRUE(manager->action(ViewOnly)->isChecked());
}

TEST_F(CommandRoutingTest, MenuItemsCarryTheirTextsPromptsAndMnemonics)
{
    const QList<QAction *> menus = window.menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), "編集(&E)");
    const QList<QAction *> items = menus[0]->menu()->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text(), "コピー\tCtrl+C(&C)");
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_EQ(QKeySequence::mnemonic(items[0]->text()), QKeySequence(Qt::ALT | Qt::Key_C));
    EXPECT_EQ(items[0]->statusTip(), "選択範囲をコピー");
    EXPECT_EQ(items[0]->toolTip(), "コピー");
    EXPECT_EQ(manager->action(Copy)->shortcuts().size(), 2);
    EXPECT_EQ(manager->toolTip(ViewOnly), "");
}

TEST_F(CommandRoutingTest, AcceleratorsWinOverTheFocusedTextControl)
{
    view.handle(Copy);
    document.handle(RunTool);
    showWithFocusInEditor();
    editor->setPlainText("text");
    editor->selectAll();
    manager->updateAll();

    QTest::keyClick(editor, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(view.ran, std::vector<int>{Copy});
    QTest::keyClick(editor, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(view.ran.size(), 2u);

    // A disabled command's key does nothing, and the text stays as it was.
    QTest::keyClick(editor, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(editor->toPlainText(), "text");

    {
        const AcceleratorSuspension suspended;
        QTest::keyClick(editor, Qt::Key_F1, Qt::ControlModifier);
        EXPECT_TRUE(document.ran.empty());
        // Menus keep working while shortcuts are suspended.
        manager->action(RunTool)->trigger();
        EXPECT_EQ(document.ran.size(), 1u);
    }
    QTest::keyClick(editor, Qt::Key_F1, Qt::ControlModifier);
    EXPECT_EQ(document.ran.size(), 2u);
}

TEST_F(CommandRoutingTest, ContextMenusSendStraightToTheirPane)
{
    Target pane;
    pane.handle(Copy);
    app.handle(RunTool);
    QMenu *menu = manager->createContextMenu(0, pane, &window);
    emit menu->aboutToShow();
    const QList<QAction *> items = menu->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text(), "コピー(&C)");
    EXPECT_TRUE(items[0]->isEnabled());
    // The application handles RunTool, but the pane does not: greyed here.
    EXPECT_FALSE(items[2]->isEnabled());

    items[0]->trigger();
    EXPECT_EQ(pane.ran, std::vector<int>{Copy});
    EXPECT_TRUE(view.ran.empty());
}

} // namespace
