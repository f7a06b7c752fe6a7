#include "EditorFixture.h"

#include "CommandIds.h"
#include "CommandManager.h"
#include "CommandResources.h"
#include "LineColumnText.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImage>
#include <QInputMethod>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <map>

namespace {

class EditorViewTest : public EditorFixture
{
protected:
    QString lastStatus(const QSignalSpy &spy) const { return spy.last().at(0).toString(); }

    // Drags the data over the text and drops it; says whether the drag was taken.
    static bool dragAndDrop(CUltraEditView &view, QMimeData &data,
                            Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction,
                            Qt::DropAction *dropped = nullptr)
    {
        const QPoint point(20, 5);
        QDragEnterEvent enter(point, actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &enter);
        QDropEvent drop(point, actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &drop);
        if (dropped)
            *dropped = drop.dropAction();
        return enter.isAccepted() && drop.isAccepted();
    }

    static std::unique_ptr<QMimeData> imageData()
    {
        auto data = std::make_unique<QMimeData>();
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::red);
        data->setImageData(image);
        return data;
    }
};

TEST_F(EditorViewTest, TheStatusPaneFollowsTheMovingEndOfTheSelection)
{
    auto view = makeView(QStringLiteral("0123456789abc\n\tx\u00e9yz"));
    QSignalSpy status(view.get(), &CUltraEditView::lineColumnChanged);
    select(*view, 10, 10);
    for (int i = 0; i < 6; ++i)
        QTest::keyClick(view.get(), Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(view->textCursor().selectionStart(), 4);
    EXPECT_EQ(lastStatus(status), QStringLiteral("    1 行   5 列"));

    select(*view, 4, 4);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(view.get(), Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(lastStatus(status), QStringLiteral("    1 行   8 列"));

    // A tab is one column; so is an accented letter.
    select(*view, 14, 18);
    EXPECT_EQ(lastStatus(status), QStringLiteral("    2 行   5 列"));
    EXPECT_EQ(LineColumnText::of(11, 4), QStringLiteral("   12 行   5 列"));
    EXPECT_EQ(LineColumnText::of(123455, 1233), QStringLiteral("123456 行 1234 列"));
}

TEST_F(EditorViewTest, NothingIsReportedWhileTheViewIsDisabled)
{
    auto view = makeView(QStringLiteral("one\ntwo\nthree"));
    QSignalSpy status(view.get(), &CUltraEditView::lineColumnChanged);
    view->setEnabled(false);
    select(*view, 9, 9);
    EXPECT_EQ(status.count(), 0);
    view->setEnabled(true);
    ASSERT_EQ(status.count(), 1);
    EXPECT_EQ(lastStatus(status), QStringLiteral("    3 行   2 列"));
}

TEST_F(EditorViewTest, EditCommandsGreyWithNothingToDoAndCopyKeepsTheTextExact)
{
    auto view = makeView(QStringLiteral("a\u00a0b\nline"));
    EXPECT_FALSE(isEnabled(*view, CommandId::EditUndo));
    EXPECT_FALSE(isEnabled(*view, CommandId::EditCut));
    EXPECT_FALSE(isEnabled(*view, CommandId::EditCopy));
    EXPECT_TRUE(isEnabled(*view, CommandId::EditSelectAll));

    view->executeCommand(CommandId::EditSelectAll);
    EXPECT_TRUE(isEnabled(*view, CommandId::EditCopy));
    view->executeCommand(CommandId::EditCopy);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("a\u00a0b\nline"));

    view->executeCommand(CommandId::EditCut);
    EXPECT_EQ(view->document()->toRawText(), QString());
    EXPECT_TRUE(isEnabled(*view, CommandId::EditUndo));
    view->executeCommand(CommandId::EditUndo);
    EXPECT_EQ(view->document()->toRawText(), QStringLiteral("a\u00a0b\u2029line"));
}

TEST_F(EditorViewTest, PasteTakesTextOnlyAsOneUndoableEdit)
{
    auto view = makeView(QStringLiteral("start"));
    select(*view, 5, 5);
    QGuiApplication::clipboard()->setMimeData(imageData().release());
    EXPECT_FALSE(isEnabled(*view, CommandId::EditPaste));
    view->executeCommand(CommandId::EditPaste);
    EXPECT_EQ(view->toPlainText(), QStringLiteral("start"));

    auto files = std::make_unique<QMimeData>();
    files->setUrls({QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("paper.tex")))});
    QGuiApplication::clipboard()->setMimeData(files.release());
    view->executeCommand(CommandId::EditPaste);
    EXPECT_EQ(view->toPlainText(), QStringLiteral("start"));

    QGuiApplication::clipboard()->setText(QStringLiteral(" \\section{序論}\n次"));
    EXPECT_TRUE(isEnabled(*view, CommandId::EditPaste));
    view->executeCommand(CommandId::EditPaste);
    EXPECT_EQ(view->document()->toRawText(), QStringLiteral("start \\section{序論}\u2029次"));
    view->undo();
    EXPECT_EQ(view->toPlainText(), QStringLiteral("start"));
}

TEST_F(EditorViewTest, DraggedTextIsInsertedFilesGoToTheWindowAndAnythingElseIsRefused)
{
    auto view = makeView(QStringLiteral("text"));
    QSignalSpy dropped(view.get(), &CUltraEditView::filesDropped);

    auto image = imageData();
    QDragEnterEvent enter(QPoint(20, 5), Qt::CopyAction, image.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &enter);
    EXPECT_FALSE(enter.isAccepted());
    EXPECT_FALSE(dragAndDrop(*view, *image));
    EXPECT_EQ(view->toPlainText(), QStringLiteral("text"));

    QMimeData text;
    text.setText(QStringLiteral("more "));
    EXPECT_TRUE(dragAndDrop(*view, text));
    EXPECT_TRUE(view->toPlainText().contains(QStringLiteral("more ")));
    EXPECT_EQ(dropped.count(), 0);

    // A file manager's drag carries the names as text as well; they are never
    // inserted, and the files are only read, never moved away.
    const QString first = m_dir.filePath(QStringLiteral("a.tex"));
    const QString second = m_dir.filePath(QStringLiteral("b.tex"));
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)});
    files.setText(first + u'\n' + second);
    const QString before = view->toPlainText();
    Qt::DropAction action = Qt::IgnoreAction;
    EXPECT_TRUE(dragAndDrop(*view, files, Qt::CopyAction | Qt::MoveAction, &action));
    EXPECT_EQ(action, Qt::CopyAction);
    EXPECT_EQ(view->toPlainText(), before);
    ASSERT_EQ(dropped.count(), 1);
    EXPECT_EQ(dropped.last().at(0).toStringList(), QStringList({first, second}));
}

TEST_F(EditorViewTest, TheContextMenuOpensOnTheButtonGoingDownWithItsGreyingAndLeavesTheCaret)
{
    QWidget window;
    auto *view = new CUltraEditView(m_profile, &window);
    view->setPlainText(QStringLiteral("first line\nsecond line"));
    auto *commands = new CommandManager(&window,
                                        CommandRouter([view] { return std::vector<const CommandTarget *>{view}; }),
                                        CommandResources::vocabulary());
    view->attachCommands(*commands);
    window.resize(400, 300);
    view->resize(400, 300);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    std::map<QString, bool> enabled;
    QString chosen;
    const auto rightPress = [&] {
        enabled.clear();
        QTimer::singleShot(0, [&] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            for (QAction *action : menu->actions()) {
                if (action->isSeparator())
                    continue;
                enabled[action->text()] = action->isEnabled();
                if (action->text() == chosen)
                    action->trigger();
            }
            menu->close();
        });
        QTest::mousePress(view->viewport(), Qt::RightButton, {}, QPoint(60, 30));
        QTest::mouseRelease(view->viewport(), Qt::RightButton, {}, QPoint(60, 30));
    };

    select(*view, 3, 3);
    QGuiApplication::clipboard()->setMimeData(imageData().release());
    rightPress();
    EXPECT_FALSE(enabled[QStringLiteral("切り取り(&T)")]);
    EXPECT_FALSE(enabled[QStringLiteral("コピー(&C)")]);
    EXPECT_FALSE(enabled[QStringLiteral("貼り付け(&P)")]);
    EXPECT_TRUE(enabled[QStringLiteral("すべて選択(&A)")]);
    EXPECT_EQ(view->textCursor().position(), 3);

    select(*view, 2, 7);
    QGuiApplication::clipboard()->setText(QStringLiteral("clip"));
    rightPress();
    EXPECT_TRUE(enabled[QStringLiteral("切り取り(&T)")]);
    EXPECT_TRUE(enabled[QStringLiteral("コピー(&C)")]);
    EXPECT_TRUE(enabled[QStringLiteral("貼り付け(&P)")]);
    EXPECT_EQ(view->textCursor().anchor(), 2);
    EXPECT_EQ(view->textCursor().position(), 7);

    chosen = QStringLiteral("すべて選択(&A)");
    rightPress();
    EXPECT_EQ(view->textCursor().selectedText().size(), view->document()->characterCount() - 1);

    // The menu key opens the same menu at the caret.
    enabled.clear();
    chosen.clear();
    QTimer::singleShot(0, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        enabled[menu->actions().constFirst()->text()] = true;
        menu->close();
    });
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(5, 5), view->viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(view->viewport(), &key);
    EXPECT_TRUE(enabled[QStringLiteral("切り取り(&T)")]);
}

TEST_F(EditorViewTest, LongLinesScrollSidewaysAndNoTextIsCutAtAnyLength)
{
    auto view = makeView(QString(5000, u'x'));
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    EXPECT_EQ(view->blockCount(), 1);
    EXPECT_EQ(view->document()->firstBlock().layout()->lineCount(), 1);
    EXPECT_GT(view->horizontalScrollBar()->maximum(), 0);

    // Longer than the old rich-edit limit of 16,777,215 characters.
    const QString line = QString(99, u'あ') + u'\n';
    const QString big = line.repeated(16'777'216 / line.size() + 2);
    view->setPlainText(big);
    EXPECT_EQ(view->document()->characterCount() - 1, big.size());
    EXPECT_EQ(view->document()->toRawText().size(), big.size());
}

// The rectangle the input method places its candidate window by: the caret's, in
// the window's coordinates, whatever the gutter, the scrolling or the completion
// list do.
TEST_F(EditorViewTest, TheInputMethodIsToldWhereTheCaretIs)
{
    auto view = makeView(QString(300, u'x') + QStringLiteral("\n\u65e5\u672c\u8a9e"));
    view->show();
    view->activateWindow();
    view->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    ASSERT_NE(view->lineWindow(), nullptr);
    const auto caretInWindow = [&view] {
        return QRectF(view->viewport()->mapTo(view->window(), view->cursorRect().topLeft()),
                      QSizeF(view->cursorRect().size()));
    };
    const auto toldRectangle = [&view] {
        QGuiApplication::inputMethod()->update(Qt::ImQueryAll);
        return QGuiApplication::inputMethod()->cursorRectangle();
    };
    const auto anchorRectangle = [&view] {
        QInputMethodQueryEvent query(Qt::ImAnchorRectangle);
        QApplication::sendEvent(view.get(), &query);
        return query.value(Qt::ImAnchorRectangle).toRectF().translated(view->mapTo(view->window(), QPoint()));
    };

    view->moveCursor(QTextCursor::End);
    EXPECT_EQ(toldRectangle(), caretInWindow());
    EXPECT_EQ(anchorRectangle(), caretInWindow());
    EXPECT_GT(toldRectangle().left(), view->lineWindowWidth());

    view->moveCursor(QTextCursor::Start);
    view->moveCursor(QTextCursor::EndOfLine);
    ASSERT_GT(view->horizontalScrollBar()->value(), 0);
    EXPECT_EQ(toldRectangle(), caretInWindow());

    view->moveCursor(QTextCursor::End);
    QTest::keyClick(view.get(), '\\');
    ASSERT_TRUE(view->findChild<QListView *>()->isVisible());
    EXPECT_EQ(toldRectangle(), caretInWindow());
    QTest::keyClick(view.get(), Qt::Key_Escape);

    view->ShowLineWindow(false);
    EXPECT_EQ(toldRectangle(), caretInWindow());
}

TEST_F(EditorViewTest, ShiftEnterMakesAnOrdinaryLine)
{
    auto view = makeView(QStringLiteral("ab"));
    view->moveCursor(QTextCursor::End);
    QTest::keyClick(view.get(), Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClick(view.get(), Qt::Key_Enter, Qt::ShiftModifier | Qt::KeypadModifier);
    EXPECT_EQ(view->document()->toRawText(), QString::fromUtf16(u"ab\u2029\u2029"));
    EXPECT_EQ(view->blockCount(), 3);
}

} // namespace
