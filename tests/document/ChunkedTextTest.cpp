#include "ChunkedText.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

QString join(const ChunkedText::Snapshot &snapshot)
{
    QString text;
    for (const ChunkedText::Piece &piece : snapshot)
        text.append(piece.view());
    return text;
}

QString randomText(QRandomGenerator &random, qsizetype length)
{
    QString text;
    for (qsizetype i = 0; i < length; ++i)
        text.append(QChar(random.bounded(2) ? u'あ' + random.bounded(80) : u'a' + random.bounded(26)));
    return text;
}

TEST(ChunkedTextTest, FollowsRandomChangesAndKeepsEverySnapshotAsItWas)
{
    QRandomGenerator random(20261208);
    QString reference = randomText(random, 300000);
    ChunkedText copy;
    copy.reset(reference);
    std::vector<std::pair<ChunkedText::Snapshot, QString>> snapshots;
    for (int change = 0; change < 3000; ++change) {
        const qsizetype position = random.bounded(reference.size() + 1);
        const qsizetype removed = random.bounded(std::min<qsizetype>(reference.size() - position, 70000) + 1);
        // Mostly typing, sometimes a paste larger than a piece.
        const QString added = randomText(random, random.bounded(10) == 0 ? random.bounded(100000) : random.bounded(3));
        reference.replace(position, removed, added);
        copy.replace(position, removed, added);
        ASSERT_EQ(copy.length(), reference.size());
        if (change % 300 == 0)
            snapshots.emplace_back(copy.snapshot(), reference);
    }
    EXPECT_EQ(join(copy.snapshot()), reference);
    for (const auto &[snapshot, text] : snapshots)
        EXPECT_EQ(join(snapshot), text);
}

TEST(ChunkedTextTest, SharesTheGivenTextAndStartsFromNothing)
{
    ChunkedText copy;
    EXPECT_FALSE(copy.isValid());
    copy.reset(QString());
    copy.replace(0, 0, u"\\section{序論}");
    copy.replace(9, 2, u"はじめに");
    EXPECT_EQ(join(copy.snapshot()), QString::fromUtf8("\\section{はじめに}"));

    // Deleting everything leaves an empty text that can grow again.
    copy.replace(0, copy.length(), u"");
    EXPECT_EQ(copy.length(), 0);
    copy.replace(0, 0, u"x");
    EXPECT_EQ(join(copy.snapshot()), "x");
}

TEST(ChunkedTextTest, AChangeThatDoesNotFitInvalidatesTheCopy)
{
    ChunkedText copy;
    copy.reset(QStringLiteral("abc"));
    copy.replace(2, 5, u"x");
    EXPECT_FALSE(copy.isValid());
    copy.replace(0, 0, u"y");
    EXPECT_FALSE(copy.isValid());
    copy.reset(QStringLiteral("abc"));
    copy.replace(4, 0, u"x");
    EXPECT_FALSE(copy.isValid());
}

} // namespace
