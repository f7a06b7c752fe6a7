#include "HugePageMemory.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The decoded text must be exactly QString::fromUtf8's, whatever the bytes: a mark
// at the start, invalid and cut sequences, and a block large enough for advice.
TEST(HugePageMemory, DecodesUtf8AsQStringDoes)
{
    QByteArray large;
    while (large.size() < 6 * 1024 * 1024)
        large += "\\section{日本語の組版} abc \xEF\xBB\xBF \xED\xA0\x80 \xC0\xAF \xF0\x9D\x91\xA5\n";
    const QByteArray inputs[] = {
        QByteArray(),
        QByteArray("\xEF\xBB\xBF"
                   "mark first"),
        QByteArray("bad \xFF\xFE and cut \xE6\x97"),
        QByteArray("cut at the very end \xF0\x9D\x91"),
        large,
    };
    for (const QByteArray &input : inputs)
        EXPECT_EQ(HugePageMemory::fromUtf8(input), QString::fromUtf8(input)) << input.left(40).toStdString();
}

TEST(HugePageMemory, ZeroedBytesAreZeroAndSizedAsAsked)
{
    for (const qsizetype size : {qsizetype(0), qsizetype(1), qsizetype(5 * 1024 * 1024 + 3)}) {
        const QByteArray bytes = HugePageMemory::zeroedBytes(size);
        EXPECT_EQ(bytes.size(), size);
        EXPECT_TRUE(std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == 0; }));
    }
}

} // namespace
