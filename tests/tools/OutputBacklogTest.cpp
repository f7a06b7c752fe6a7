#include "OutputBacklog.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

QStringList takeAll(OutputBacklog &backlog, qsizetype maxSize)
{
    QStringList pieces;
    while (!backlog.isEmpty())
        pieces.append(backlog.take(maxSize).text);
    return pieces;
}

TEST(OutputBacklogTest, PiecesComeWholeAndInOrderEndingAtLineEndsWithinReach)
{
    OutputBacklog backlog(1000);
    backlog.append(u"first\nsec");
    backlog.append(u"ond\nthird line is long\nrest");
    EXPECT_FALSE(backlog.endsLine());
    EXPECT_EQ(takeAll(backlog, 12), QStringList({"first\n", "second\n", "third line i", "s long\n", "rest"}));

    // A line that has not ended yet waits while whole lines are before it.
    backlog.append(u"a\nb");
    EXPECT_EQ(backlog.take(100).text, "a\n");
    backlog.append(u"c\n");
    EXPECT_TRUE(backlog.endsLine());
    EXPECT_EQ(backlog.take(100).text, "bc\n");
    EXPECT_TRUE(backlog.isEmpty());

    // A character outside the BMP is never cut in two.
    backlog.append(QString::fromUtf8("ab😀cd"));
    EXPECT_EQ(takeAll(backlog, 3), QStringList({"ab", QString::fromUtf8("😀c"), "d"}));
    EXPECT_FALSE(backlog.take(10).replacesShown);
}

TEST(OutputBacklogTest, AFloodKeepsOnlyTheNewestWholeLinesAndCountsTheRest)
{
    OutputBacklog backlog(20);
    backlog.append(u"0123456\n");
    backlog.append(u"abcdef\n");
    EXPECT_EQ(backlog.take(100).text, "0123456\nabcdef\n");
    // 10 lines of 4 characters: the newest 20 characters are 5 whole lines.
    for (int line = 0; line < 10; ++line)
        backlog.append(QStringLiteral("%1%1%1\n").arg(line));
    OutputBacklog::Piece piece = backlog.take(100);
    EXPECT_TRUE(piece.replacesShown);
    EXPECT_EQ(piece.droppedLineEnds, 5);
    EXPECT_EQ(piece.text, "555\n666\n777\n888\n999\n");
    EXPECT_FALSE(backlog.take(100).replacesShown);

    // The newest line alone ends within the limit: nothing waits, but what the pane
    // shows is older than what was dropped and must still go.
    backlog.append(QString(30, u'x'));
    backlog.append(u"\n");
    EXPECT_FALSE(backlog.isEmpty());
    piece = backlog.take(100);
    EXPECT_TRUE(piece.replacesShown);
    EXPECT_EQ(piece.droppedLineEnds, 1);
    EXPECT_TRUE(piece.text.isEmpty());
    EXPECT_TRUE(backlog.isEmpty());

    // A line longer than the limit keeps its newest characters.
    backlog.append(QString(15, u'y') + QString(15, u'z'));
    piece = backlog.take(100);
    EXPECT_TRUE(piece.replacesShown);
    EXPECT_EQ(piece.droppedLineEnds, 0);
    EXPECT_EQ(piece.text, QString(5, u'y') + QString(15, u'z'));

    // However much comes, what waits stays whole from its first kept line on.
    QString expected;
    for (int line = 0; line < 10000; ++line) {
        const QString text = QStringLiteral("%1\n").arg(line % 1000, 3, 10, QChar(u'0'));
        backlog.append(text);
        expected = (expected + text).right(20);
    }
    EXPECT_EQ(takeAll(backlog, 100).join(QString()), expected);

    backlog.append(QStringLiteral("dropped\n") + QString(25, u'w'));
    backlog.clear();
    EXPECT_TRUE(backlog.isEmpty());
    EXPECT_FALSE(backlog.take(100).replacesShown);
}

} // namespace
