#include "CConsoleView.h"
#include "FindingColors.h"
#include "ModalAnswers.h"
#include "ToolTestSupport.h"
#include "Utf8StreamDecoder.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include <gtest/gtest.h>

namespace {

const QString BookFolder = QStringLiteral(QUILLMERE_SOURCE_DIR "/tests/tools/texoutput/book");

QString readLog(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QColor colourOfLine(const CConsoleView &console, int block)
{
    const QTextBlock line = console.document()->findBlockByNumber(block);
    return line.begin().fragment().charFormat().foreground().color();
}

class ConsoleFindingsTest : public testing::Test
{
protected:
    ConsoleFindingsTest()
    {
        console.resize(600, 300);
        console.show();
    }

    // pLaTeX's real output on the book of included chapters, written by a real child.
    void runBook()
    {
        console.clear();
        const ExternalProgram cat(QStringLiteral("platex"), QStringLiteral("cat"), QStringLiteral("platex.log"));
        ASSERT_EQ(console.RunCommand(cat, QStringLiteral("book"), BookFolder), ToolRun::Result::Finished);
    }

    QPoint pointOfLine(int block) const
    {
        const QTextBlock line = console.document()->findBlockByNumber(block);
        return console.cursorRect(QTextCursor(line)).center() + QPoint(2, 0);
    }

    QTemporaryDir dir;
    CConsoleView console;
    ModalAnswers answers;
};

TEST_F(ConsoleFindingsTest, ErrorLinesAreRedAndWarningLinesAmberWithTheTextUnchanged)
{
    QSignalSpy cleared(&console, &CConsoleView::cleared);
    QSignalSpy finished(&console, &CConsoleView::toolFinished);
    runBook();
    EXPECT_EQ(cleared.size(), 1);
    EXPECT_EQ(finished.size(), 1);

    const QString log = readLog(BookFolder + "/platex.log");
    EXPECT_TRUE(console.toPlainText().endsWith(log));
    ASSERT_EQ(console.findings().size(), 7u);
    // The prompt line is line 0, so the lines of the log keep their numbers from 1.
    EXPECT_EQ(colourOfLine(console, 20), FindingColors::error());   // ! Undefined control sequence.
    EXPECT_EQ(colourOfLine(console, 12), FindingColors::warning()); // LaTeX Warning: Reference ...
    EXPECT_EQ(colourOfLine(console, 15), FindingColors::warning()); // Overfull \hbox ...
    EXPECT_NE(colourOfLine(console, 21), FindingColors::error());   // l.5 \badmacro
    EXPECT_NE(colourOfLine(console, 23), FindingColors::error());
    EXPECT_NE(colourOfLine(console, 0), FindingColors::error());

    // Output after a coloured line takes no colour from it.
    const ExternalProgram echo(QStringLiteral("echo"), QStringLiteral("echo"), QStringLiteral("plain"));
    ASSERT_EQ(console.RunCommand(echo, QString(), BookFolder), ToolRun::Result::Finished);
    EXPECT_NE(colourOfLine(console, console.blockCount() - 2), FindingColors::warning());
    EXPECT_EQ(finished.size(), 2);
}

TEST_F(ConsoleFindingsTest, DoubleClickOrEnterOnAFindingsLinesActivatesIt)
{
    runBook();
    QSignalSpy activated(&console, &CConsoleView::findingActivated);

    // The "l.5" line under the error belongs to it.
    QTest::mouseDClick(console.viewport(), Qt::LeftButton, {}, pointOfLine(21));
    ASSERT_EQ(activated.size(), 1);
    EXPECT_EQ(activated[0][0].value<std::size_t>(), 3u);
    EXPECT_FALSE(console.textCursor().hasSelection());

    console.setTextCursor(QTextCursor(console.document()->findBlockByNumber(28)));
    QTest::keyClick(&console, Qt::Key_Return);
    ASSERT_EQ(activated.size(), 2);
    EXPECT_EQ(activated[1][0].value<std::size_t>(), 5u);

    // Elsewhere a double-click selects a word as it always did.
    QTest::mouseDClick(console.viewport(), Qt::LeftButton, {}, pointOfLine(37));
    EXPECT_EQ(activated.size(), 2);
    EXPECT_TRUE(console.textCursor().hasSelection());
    EXPECT_EQ(console.findingOnLine(37), -1);

    console.showFinding(1);
    EXPECT_EQ(console.textCursor().blockNumber(), 15);
}

TEST_F(ConsoleFindingsTest, ReadingCanBeSwitchedOffAndClearingForgetsTheFindings)
{
    runBook();
    console.clear();
    EXPECT_TRUE(console.findings().empty());
    console.setReadingFindings(false);
    runBook();
    EXPECT_TRUE(console.findings().empty());
    EXPECT_NE(colourOfLine(console, 20), FindingColors::error());
}

TEST_F(ConsoleFindingsTest, AFloodDropsLinesFromThePaneButNoFindingAndColoursTheRightLines)
{
    const QByteArray error = "! Undefined control sequence.\n";
    const QByteArray warning = "LaTeX Warning: Citation `x' undefined on input line 7.\n";
    QByteArray flood;
    for (int line = 0; line < 200000; ++line)
        flood += QString::asprintf("line %010d\n", line).toLatin1();

    const auto expectWarningShownAfterDroppedError = [this, &warning](const char *how) {
        ASSERT_EQ(console.findings().size(), 2u) << how;
        const QString text = console.toPlainText();
        EXPECT_LE(text.size(), CConsoleView::TextLimit) << how;
        EXPECT_FALSE(text.contains("Undefined")) << how;
        const int warningLine = console.blockCount() - 3;
        EXPECT_EQ(console.document()->findBlockByNumber(warningLine).text() + u'\n', QString::fromUtf8(warning)) << how;
        EXPECT_EQ(colourOfLine(console, warningLine), FindingColors::warning()) << how;
        EXPECT_NE(colourOfLine(console, warningLine - 1), FindingColors::warning()) << how;
        EXPECT_EQ(console.findingOnLine(warningLine), 1) << how;
        EXPECT_EQ(console.findingOnLine(0), -1) << how;
        console.showFinding(1);
        EXPECT_EQ(console.textCursor().blockNumber(), warningLine) << how;
    };

    // All at once, so that most of it never reaches the pane.
    console.clear();
    Utf8StreamDecoder decoder;
    console.AppendOutput(error + flood + warning, decoder);
    console.AppendNotice("done");
    expectWarningShownAfterDroppedError("in one piece");

    // From a tool, in small writes.
    console.clear();
    QFile file(QDir(dir.path()).filePath("flood.log"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(error + flood + warning);
    file.close();
    const ExternalProgram cat(QStringLiteral("platex"), QStringLiteral("cat"), QStringLiteral("flood.log"));
    ASSERT_EQ(console.RunCommand(cat, QStringLiteral("flood"), dir.path()), ToolRun::Result::Finished);
    console.AppendNotice("done");
    expectWarningShownAfterDroppedError("from a tool");
}

} // namespace
