#include "AcceleratorSuspension.h"
#include "CConsoleView.h"
#include "CommandManager.h"
#include "CommandResources.h"
#include "ModalAnswers.h"
#include "StringTable.h"
#include "ToolTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMenu>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>

namespace {

// The toolbar's images are not part of this test program.
CommandVocabulary consoleVocabulary()
{
    CommandVocabulary vocabulary = CommandResources::vocabulary();
    vocabulary.toolBarIcons.clear();
    return vocabulary;
}

class ConsoleViewTest : public testing::Test
{
protected:
    ConsoleViewTest() { console.OnInitialUpdate(commands); }

    ToolRun::Result run(const QStringList &arguments, const QString &directory = QString())
    {
        return console.RunCommand(helperProgram(arguments), QStringLiteral("paper"),
                                  directory.isEmpty() ? dir.path() : directory);
    }

    static QString shownCommandLine(const QStringList &arguments)
    {
        return DisplayCommandLine(BuildProgramInvocation(helperProgram(arguments), QStringLiteral("paper")));
    }

    QString promptLine(const QStringList &arguments) const
    {
        return dir.path() + u'>' + shownCommandLine(arguments) + u'\n';
    }

    // Output shown after the prompt line of a single run.
    QString outputOf(const QStringList &arguments)
    {
        console.clear();
        EXPECT_EQ(run(arguments), ToolRun::Result::Finished);
        const QString text = console.toPlainText();
        EXPECT_TRUE(text.startsWith(promptLine(arguments))) << text.toStdString();
        return text.mid(promptLine(arguments).size());
    }

    // Calls the function from the event loop once the console shows the marker.
    void whenShown(const QString &marker, std::function<void()> action)
    {
        auto fired = std::make_shared<bool>(false);
        QObject::connect(console.document(), &QTextDocument::contentsChanged, &console,
                         [this, marker, action = std::move(action), fired] {
                             if (*fired || !console.toPlainText().contains(marker))
                                 return;
                             *fired = true;
                             QTimer::singleShot(0, &console, action);
                         });
    }

    QTemporaryDir dir;
    QWidget window;
    CommandManager commands{&window, CommandRouter(), consoleVocabulary()};
    CConsoleView console;
    ModalAnswers answers;
};

TEST_F(ConsoleViewTest, ThePaneIsInPlaceForTheRunCommands)
{
    EXPECT_EQ(g_pConsoleView, &console);
    EXPECT_TRUE(console.isReadOnly());
    EXPECT_EQ(console.lineWrapMode(), QPlainTextEdit::NoWrap);
}

TEST_F(ConsoleViewTest, LineEndsOfEveryKindBecomeLines)
{
    EXPECT_EQ(outputOf({"out=a\\nb\\n"}), "a\nb\n");
    EXPECT_EQ(outputOf({"out=a\\r\\nb\\r\\n"}), "a\nb\n");
    EXPECT_EQ(outputOf({"out=a\\rb"}), "a\nb");
    EXPECT_EQ(outputOf({"out=a\\r", "sleep=50", "out=\\nb"}), "a\nb");
}

TEST_F(ConsoleViewTest, TheLastByteCarriesOverToTheNextRunUntilTheConsoleIsCleared)
{
    ASSERT_EQ(run({"out=x\\r"}), ToolRun::Result::Finished);
    ASSERT_EQ(run({"out=\\ny"}), ToolRun::Result::Finished);
    EXPECT_EQ(console.toPlainText(), promptLine({"out=x\\r"}) + "x\n" + promptLine({"out=\\ny"}) + "y");

    ASSERT_EQ(run({"out=z\\r"}), ToolRun::Result::Finished);
    console.clear();
    ASSERT_EQ(run({"out=\\nw"}), ToolRun::Result::Finished);
    EXPECT_EQ(console.toPlainText(), promptLine({"out=\\nw"}) + "\nw");
}

TEST_F(ConsoleViewTest, BothStreamsAreShownAndBrokenBytesNeverHideText)
{
    const QString both = outputOf({"out=to stdout\\n", "sleep=50", "err=to stderr\\n"});
    EXPECT_EQ(both, "to stdout\nto stderr\n");
    EXPECT_EQ(outputOf({"out=a\\x00b\\x00c"}), "abc");
    EXPECT_EQ(outputOf({"out=\\xe6\\x97", "sleep=50", "out=\\xa5\\xe6\\x9c\\xac"}), QString::fromUtf8("日本"));
    EXPECT_EQ(outputOf({"err=\\xe8", "sleep=50", "out=o", "sleep=50", "err=\\xaa\\x9e"}), QString::fromUtf8("o語"));
    EXPECT_EQ(outputOf({"out=a\\xffb"}), QString::fromUtf16(u"a\uFFFDb"));
    EXPECT_EQ(outputOf({"out=cut\\xe3\\x81"}), QString::fromUtf16(u"cut\uFFFD\uFFFD"));
}

TEST_F(ConsoleViewTest, AToolThatWritesNothingLeavesOnlyThePromptLine)
{
    EXPECT_EQ(outputOf({"exit=0"}), "");
    EXPECT_TRUE(answers.messages().empty());
}

TEST_F(ConsoleViewTest, TheChildWorksInTheDirectoryWithoutInputAndItsStatusDoesNotMatter)
{
    const QString subdirectory = dir.filePath(QString::fromUtf8("日本語 の dir"));
    ASSERT_TRUE(QDir().mkpath(subdirectory));
    console.clear();
    ASSERT_EQ(run({"cwd", "stdin", "exit=3"}, subdirectory), ToolRun::Result::Finished);
    EXPECT_TRUE(console.toPlainText().endsWith(subdirectory + "\nstdin: end of file\n"));
    EXPECT_TRUE(answers.messages().empty());
}

TEST_F(ConsoleViewTest, AProgramOrDirectoryThatIsMissingIsReportedAfterThePromptLine)
{
    const ExternalProgram missing("platex", "/nonexistent/platex", "\"%s.tex\"");
    EXPECT_EQ(console.RunCommand(missing, "paper", dir.path()), ToolRun::Result::FailedToStart);
    EXPECT_EQ(console.toPlainText(), dir.path() + ">/nonexistent/platex paper.tex\n");
    ASSERT_EQ(answers.messages().size(), 1u);
    EXPECT_EQ(answers.messages()[0].text, QString::fromUtf8("\"/nonexistent/platex paper.tex\"を実行できません。"));
    EXPECT_EQ(answers.messages()[0].icon, QMessageBox::Warning);

    console.clear();
    const QString nowhere = dir.filePath("nowhere");
    EXPECT_EQ(run({"out=never"}, nowhere), ToolRun::Result::FailedToStart);
    EXPECT_EQ(console.toPlainText(), nowhere + u'>' + shownCommandLine({"out=never"}) + u'\n');
    ASSERT_EQ(answers.messages().size(), 2u);
    EXPECT_TRUE(answers.messages()[1].text.contains(QStringLiteral(QUILLMERE_CHILD_HELPER)));
}

TEST_F(ConsoleViewTest, ALongCommandLineIsNeitherCutNorShownCut)
{
    const QString longText(6000, u'x');
    EXPECT_EQ(outputOf({"out=" + longText}), longText);
}

TEST_F(ConsoleViewTest, AFloodKeepsItsNewestLinesWithinTheLimit)
{
    console.clear();
    ASSERT_EQ(run({"flood=20971520"}), ToolRun::Result::Finished);
    const QString text = console.toPlainText();
    EXPECT_LE(text.size(), CConsoleView::TextLimit);
    EXPECT_GT(text.size(), CConsoleView::TextLimit - 64);
    ASSERT_TRUE(text.endsWith("line 0001310719\nEND\n")) << text.right(40).toStdString();
    // Whole lines are dropped, oldest first, and none is missing after the first kept.
    const QStringList lines = text.split(u'\n');
    ASSERT_TRUE(lines.first().startsWith("line "));
    const long first = lines.first().mid(5).toLong();
    EXPECT_EQ(lines.size(), 1310719 - first + 1 + 2);
    EXPECT_EQ(lines[1], QString::asprintf("line %010ld", first + 1));
}

TEST_F(ConsoleViewTest, OutputWithoutLineEndsIsShownInLinesOfAtMost64KB)
{
    const QString shown = outputOf({"endless=300000", "out=\\nlast"});
    const QStringList lines = shown.split(u'\n');
    ASSERT_EQ(lines.size(), 6);
    for (qsizetype i = 0; i < 4; ++i)
        EXPECT_EQ(lines[i], QString(64 * 1024, u'x')) << i;
    EXPECT_EQ(lines[4], QString(300000 - 4 * 64 * 1024, u'x'));
    EXPECT_EQ(lines[5], "last");
}

TEST_F(ConsoleViewTest, OutputGoesInInBoundedPiecesWithEventsBetweenAndTheRunEndsAfterAllOfIt)
{
    console.clear();
    // How much each change put into the pane, and how often the event loop had
    // turned by then.
    int turns = 0;
    QTimer turn;
    turn.setInterval(0);
    QObject::connect(&turn, &QTimer::timeout, [&turns] { ++turns; });
    turn.start();
    std::vector<std::pair<int, int>> pieces;
    QObject::connect(console.document(), &QTextDocument::contentsChange, &console, [&](int, int, int added) {
        if (added > 0)
            pieces.emplace_back(added, turns);
    });
    bool allShownAtTheEnd = false;
    QObject::connect(&console, &CConsoleView::toolFinished, &console,
                     [&] { allShownAtTheEnd = console.toPlainText().endsWith("END\nlast words\n"); });

    const QStringList arguments{"endless=600000", "flood=262144", "err=last words\n"};
    ASSERT_EQ(run(arguments), ToolRun::Result::Finished);
    EXPECT_TRUE(allShownAtTheEnd);

    QString expected = promptLine(arguments);
    for (qsizetype done = 0; done < 600000; done += 64 * 1024)
        expected += QString(std::min<qsizetype>(64 * 1024, 600000 - done), u'x') + u'\n';
    expected.chop(1);
    for (int line = 0; line < 262144 / 16; ++line)
        expected += QString::asprintf("line %010d\n", line);
    expected += "END\nlast words\n";
    EXPECT_EQ(console.toPlainText(), expected);

    ASSERT_GT(pieces.size(), 10u);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        EXPECT_LE(pieces[i].first, 64 * 1024 + 1) << i;
        if (i > 0) {
            EXPECT_GT(pieces[i].second, pieces[i - 1].second) << i;
        }
    }
}

TEST_F(ConsoleViewTest, AFloodWithoutLineEndsKeepsItsNewestWholePieces)
{
    console.clear();
    ASSERT_EQ(run({"endless=3000000", "out=\nlast"}), ToolRun::Result::Finished);
    const QString text = console.toPlainText();
    EXPECT_LE(text.size(), CConsoleView::TextLimit);
    const QStringList lines = text.split(u'\n');
    ASSERT_GE(lines.size(), 14);
    EXPECT_EQ(lines.back(), "last");
    EXPECT_EQ(lines[lines.size() - 2], QString(3000000 % (64 * 1024), u'x'));
    for (qsizetype i = 0; i < lines.size() - 2; ++i)
        EXPECT_EQ(lines[i], QString(64 * 1024, u'x')) << i;
}

TEST_F(ConsoleViewTest, ALongLineLooksAsInAPlainTextEditWhereverItIsScrolled)
{
    QPlainTextEdit plain;
    for (QPlainTextEdit *view : {static_cast<QPlainTextEdit *>(&console), &plain}) {
        view->setReadOnly(true);
        view->setLineWrapMode(QPlainTextEdit::NoWrap);
        view->setFont(console.font());
        view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        view->resize(500, 120);
        view->show();
    }
    QString line;
    for (int i = 0; i < 400; ++i)
        line += QString::fromUtf8("日本%1 (x) ").arg(i, 4, 10, QChar(u'0'));
    const QString text = "short\n" + line + "\n" + line.left(900) + "\ntail";
    console.setPlainText(text);
    plain.setPlainText(text);
    // A coloured stretch and a selection, both reaching beyond the view.
    for (QPlainTextEdit *view : {static_cast<QPlainTextEdit *>(&console), &plain}) {
        QTextCursor coloured(view->document()->findBlockByNumber(1));
        coloured.setPosition(coloured.position() + 1500, QTextCursor::KeepAnchor);
        QTextCharFormat red;
        red.setForeground(Qt::red);
        coloured.mergeCharFormat(red);
        QTextCursor selection(view->document()->findBlockByNumber(1));
        selection.setPosition(selection.position() + 1400);
        selection.setPosition(selection.position() + 400, QTextCursor::KeepAnchor);
        view->setTextCursor(selection);
    }
    QCoreApplication::processEvents();
    ASSERT_GT(console.horizontalScrollBar()->maximum(), 10000);
    for (const int scrolled : {0, 7, 11000, 11403, console.horizontalScrollBar()->maximum()}) {
        console.horizontalScrollBar()->setValue(scrolled);
        plain.horizontalScrollBar()->setValue(scrolled);
        EXPECT_EQ(console.viewport()->grab().toImage(), plain.viewport()->grab().toImage()) << scrolled;
    }
}

TEST_F(ConsoleViewTest, EverythingWrittenBeforeTheChildEndsIsShown)
{
    console.clear();
    ASSERT_EQ(run({"flood=524288", "err=last words\\n"}), ToolRun::Result::Finished);
    const QString text = console.toPlainText();
    EXPECT_TRUE(text.contains("line 0000032767\nEND\n"));
    EXPECT_TRUE(text.endsWith("last words\n"));
}

TEST_F(ConsoleViewTest, AGrandchildHoldingThePipesDoesNotHoldTheRun)
{
    console.clear();
    ASSERT_EQ(run({"grandchild=30", "out=parent done\\n"}), ToolRun::Result::Finished);
    const QString text = console.toPlainText();
    EXPECT_TRUE(text.endsWith("parent done\n"));
    EXPECT_FALSE(text.contains("grandchild finished"));
    const qsizetype at = text.lastIndexOf("grandchild=");
    ASSERT_GE(at, 0);
    const pid_t grandchild = text.mid(at + 11).section(u'\n', 0, 0).toInt();
    ASSERT_GT(grandchild, 0);
    ::kill(grandchild, SIGKILL);
}

TEST_F(ConsoleViewTest, NoShortcutStartsACommandWhileAToolRuns)
{
    bool suspended = false;
    whenShown("started\n", [&] { suspended = AcceleratorSuspension::isActive(); });
    ASSERT_EQ(run({"out=started\\n", "sleep=300"}), ToolRun::Result::Finished);
    EXPECT_TRUE(suspended);
    EXPECT_FALSE(AcceleratorSuspension::isActive());
}

TEST_F(ConsoleViewTest, ARunStartedDuringARunEndsFirst)
{
    ToolRun::Result inner = ToolRun::Result::FailedToStart;
    bool outerRanDuringInner = false;
    whenShown("outer waits\n", [&] {
        inner = run({"out=inner ran\\n"});
        outerRanDuringInner = console.isRunning();
        console.stopRuns();
    });
    EXPECT_EQ(run({"out=outer waits\\n", "sleep=60000"}), ToolRun::Result::Stopped);
    EXPECT_EQ(inner, ToolRun::Result::Finished);
    EXPECT_TRUE(outerRanDuringInner);
    EXPECT_FALSE(console.isRunning());
    const QString text = console.toPlainText();
    EXPECT_LT(text.indexOf("outer waits\n"), text.indexOf("inner ran\n"));
}

TEST_F(ConsoleViewTest, TheStopItemEndsARunningTool)
{
    const std::unique_ptr<QMenu> idle = console.createContextMenu();
    emit idle->aboutToShow();
    ASSERT_EQ(idle->actions().size(), 5);
    QAction *idleStop = idle->actions().at(4);
    EXPECT_EQ(idleStop->text(), QString::fromUtf8("実行を中止"));
    EXPECT_FALSE(idleStop->isEnabled());

    bool enabledWhileRunning = false;
    whenShown("working\n", [&] {
        const std::unique_ptr<QMenu> menu = console.createContextMenu();
        emit menu->aboutToShow();
        enabledWhileRunning = menu->actions().at(4)->isEnabled();
        menu->actions().at(4)->trigger();
    });
    EXPECT_EQ(run({"out=working\\n", "sleep=60000", "out=n\\x65ver\\n"}), ToolRun::Result::Stopped);
    EXPECT_TRUE(enabledWhileRunning);
    EXPECT_FALSE(console.toPlainText().contains("never"));
}

TEST_F(ConsoleViewTest, AToolThatIgnoresTheRequestToEndIsKilled)
{
    whenShown("stubborn\n", [&] { console.stopRuns(); });
    EXPECT_EQ(run({"ignore-term", "out=stubborn\\n", "sleep=60000"}), ToolRun::Result::Stopped);
    EXPECT_TRUE(answers.messages().empty());
}

TEST_F(ConsoleViewTest, QuittingTheApplicationEndsTheRunningTool)
{
    whenShown("busy\n", [] { QCoreApplication::exit(0); });
    EXPECT_EQ(run({"ignore-term", "out=busy\\n", "sleep=60000"}), ToolRun::Result::Stopped);
    // A run asked for while the application is quitting does not wait either.
    EXPECT_EQ(run({"sleep=60000"}), ToolRun::Result::Stopped);
    // Lets later event loops of this process run again.
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
}

TEST_F(ConsoleViewTest, TheContextMenuCopiesTheSelection)
{
    ASSERT_EQ(run({"out=copy me\\n"}), ToolRun::Result::Finished);
    const std::unique_ptr<QMenu> menu = console.createContextMenu();
    emit menu->aboutToShow();
    const QList<QAction *> items = menu->actions();
    ASSERT_EQ(items.size(), 5);
    EXPECT_EQ(items[0]->text(), QString::fromUtf8("コピー(&C)"));
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_EQ(items[2]->text(), QString::fromUtf8("すべて選択(&A)"));
    EXPECT_FALSE(items[0]->isEnabled());
    EXPECT_TRUE(items[2]->isEnabled());

    QTextCursor cursor = console.document()->find("copy me");
    console.setTextCursor(cursor);
    emit menu->aboutToShow();
    ASSERT_TRUE(items[0]->isEnabled());
    items[0]->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "copy me");

    items[2]->trigger();
    EXPECT_EQ(console.textCursor().selectedText().size(), console.document()->characterCount() - 1);
}

TEST_F(ConsoleViewTest, TheEndOfEveryStepIsShownUnlessTheUserScrolledAway)
{
    console.resize(400, 160);
    console.show();
    const auto lastLineShown = [this] {
        QTextCursor end(console.document());
        end.movePosition(QTextCursor::End);
        end.movePosition(QTextCursor::PreviousBlock);
        return console.viewport()->rect().contains(console.cursorRect(end));
    };
    for (int step = 0; step < 3; ++step) {
        ASSERT_EQ(run({"flood=16384", "sleep=50", "out=a\nb\n", "sleep=50", "err=No output PDF file written.\n"}),
                  ToolRun::Result::Finished);
        console.AppendNotice(QString::fromUtf8("platex は終了コード 1 で終了しました。"));
        QCoreApplication::processEvents();
        EXPECT_TRUE(lastLineShown()) << step;
    }

    whenShown("END\n", [this] { console.verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum); });
    ASSERT_EQ(run({"flood=16384", "sleep=100", "out=tail\n"}), ToolRun::Result::Finished);
    console.AppendNotice("done");
    QCoreApplication::processEvents();
    EXPECT_EQ(console.verticalScrollBar()->value(), 0);
    EXPECT_FALSE(lastLineShown());
}

TEST_F(ConsoleViewTest, TheFontIsFixedWidthWithAJapaneseFallback)
{
    const QFontMetrics metrics(console.font());
    EXPECT_EQ(metrics.horizontalAdvance("iiii"), metrics.horizontalAdvance("WWWW"));
    EXPECT_EQ(metrics.horizontalAdvance(" "), metrics.horizontalAdvance("m"));
    EXPECT_TRUE(console.font().families().contains("Noto Sans Mono CJK JP"));
}

} // namespace
