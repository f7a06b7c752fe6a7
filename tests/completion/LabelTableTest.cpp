#include "LabelTable.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

// A table sized for an empty text starts at its smallest.
constexpr qsizetype SmallestTable = 0;
constexpr std::size_t SmallestSlotCount = 1024;

TEST(LabelTable, ReportsByRankThenByFirstPlace)
{
    const QStringList labels = {u"eq:b"_qs, u"fig:1"_qs, u"fig"_qs, u"fig:"_qs, u"図1"_qs, u"sec"_qs, u"x"_qs};
    LabelTable table(SmallestTable);
    table.add(labels[0], 2, 10);
    table.add(labels[1], 1, 20);
    table.add(labels[2], 0, 30);
    table.add(QStringView(), 0, 35);
    table.add(labels[3], 0, 40);
    // Met under a lower rank later: it moves to that rank's place.
    table.add(labels[0], 0, 50);
    // Met again under the same or a higher rank: it keeps its first place.
    table.add(labels[2], 0, 60);
    table.add(labels[3], 3, 5);
    table.add(labels[4], 3, 70);
    table.add(labels[5], 1, 80);
    // Within a rank the place decides, not the order of the calls.
    table.add(labels[6], 0, 1);
    EXPECT_EQ(table.inReportOrder(),
              (QStringList{u"x"_qs, u"fig"_qs, u"fig:"_qs, u"eq:b"_qs, u"fig:1"_qs, u"sec"_qs, u"図1"_qs}));
}

TEST(LabelTable, TellsApartLabelsThatShareASlot)
{
    // Labels gathered by the slot their hash starts from in the smallest table,
    // among them the last slot, whose probes wrap around to the first.
    std::map<std::size_t, QStringList> bySlot;
    for (int i = 0; i < 40000; ++i) {
        const QString label = QStringLiteral("eq:%1").arg(i);
        bySlot[LabelTable::labelHash(label) & (SmallestSlotCount - 1)].append(label);
    }
    QStringList colliding = bySlot[SmallestSlotCount - 1].mid(0, 6);
    colliding += bySlot[0].mid(0, 6);
    colliding += bySlot[1].mid(0, 6);
    ASSERT_EQ(colliding.size(), 18);

    LabelTable table(SmallestTable);
    for (qsizetype i = 0; i < colliding.size(); ++i)
        table.add(colliding[i], 1, 100 + i);
    // Every second one is met again, first under the same rank, then under a lower
    // one, in reverse: each must be found among its neighbours, not stored twice.
    for (qsizetype i = 0; i < colliding.size(); i += 2)
        table.add(colliding[i], 1, 1000 + i);
    QStringList expected;
    for (qsizetype i = colliding.size() - 2; i >= 0; i -= 2) {
        table.add(colliding[i], 0, 2000 - i);
        expected.append(colliding[i]);
    }
    for (qsizetype i = 1; i < colliding.size(); i += 2)
        expected.append(colliding[i]);
    EXPECT_EQ(table.inReportOrder(), expected);
}

TEST(LabelTable, KeepsEveryLabelWhenItGrows)
{
    // Far more labels than the smallest table holds: it grows several times, and
    // labels stored before a growth are still found after it.
    constexpr int Count = 5000;
    QStringList labels;
    for (int i = 0; i < Count; ++i)
        labels.append(QStringLiteral("sec:%1").arg(i));
    LabelTable table(SmallestTable);
    for (int i = 0; i < Count; ++i)
        table.add(labels[i], 3, i);
    for (int i = Count - 1; i >= 0; i -= 100)
        table.add(labels[i], 2, Count + (Count - i));
    for (int i = 0; i < Count; ++i)
        table.add(labels[i], 3, 2 * Count + i);

    QStringList expected;
    for (int i = Count - 1; i >= 0; i -= 100)
        expected.append(labels[i]);
    for (int i = 0; i < Count; ++i) {
        if ((Count - 1 - i) % 100 != 0)
            expected.append(labels[i]);
    }
    EXPECT_EQ(table.inReportOrder(), expected);
}

TEST(LabelTable, HashesLabelsOfEveryLengthApart)
{
    // The hash reads four characters at a time and then the rest: labels that share
    // their first characters, or differ only in the last, must not collide.
    const QStringList labels = {u"a"_qs, u"ab"_qs, u"abc"_qs, u"abcd"_qs, u"abcde"_qs, u"abcdefgh"_qs, u"abcdefgi"_qs};
    std::vector<std::size_t> hashes;
    for (const QString &label : labels)
        hashes.push_back(LabelTable::labelHash(label));
    for (std::size_t i = 0; i < hashes.size(); ++i) {
        for (std::size_t j = i + 1; j < hashes.size(); ++j)
            EXPECT_NE(hashes[i], hashes[j])
                << labels[qsizetype(i)].toStdString() << ' ' << labels[qsizetype(j)].toStdString();
    }
}

} // namespace
