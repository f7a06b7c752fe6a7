#include "LongestLine.h"

#include <QBuffer>
#include <QString>

#include <gtest/gtest.h>

#include <utility>

namespace {

LongestLine longestOf(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return LongestLine::of(buffer);
}

} // namespace

TEST(LongestLine, CountsTheBytesOfTheLongestLineWhateverItsEnds)
{
    EXPECT_EQ(longestOf("").length(), 0);
    EXPECT_EQ(longestOf("abc").length(), 3);
    const LongestLine mixed = longestOf("a\r\nbbbb\rcc\n\r\nddddd\nee");
    EXPECT_EQ(mixed.length(), 5);
    EXPECT_EQ(mixed.line(), 5);
    // Lines longer than the pieces it reads, and a CR LF split between two pieces.
    const QByteArray longLine(3 * 1024 * 1024 + 5, 'x');
    const LongestLine across = longestOf("short\n" + longLine + "\nshort");
    EXPECT_EQ(across.length(), longLine.size());
    EXPECT_EQ(across.line(), 2);
    const QByteArray split = QByteArray(1024 * 1024 - 1, 'y') + "\r\nz\n";
    EXPECT_EQ(longestOf(split).line(), 1);
    EXPECT_EQ(longestOf(split + "w").line(), 1);
    EXPECT_EQ(longestOf(split + QByteArray(1024 * 1024, 'w')).line(), 3);
}

TEST(LongestLine, ReadsUtf16ByItsUnitsWithOrWithoutAByteOrderMark)
{
    // 上 is U+4E0A: read byte by byte, each of them would end a line.
    const QString line = QString(600 * 1024, QChar(0x4E0A));
    const QString text = QStringLiteral("short\r\n") + line + QStringLiteral("\nend");
    const auto littleEndian = QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    QByteArray bigEndian = littleEndian;
    for (qsizetype i = 0; i + 1 < bigEndian.size(); i += 2)
        std::swap(bigEndian[i], bigEndian[i + 1]);
    for (const QByteArray &bytes : {littleEndian, bigEndian, "\xFF\xFE" + littleEndian, "\xFE\xFF" + bigEndian}) {
        const LongestLine longest = longestOf(bytes);
        EXPECT_EQ(longest.length(), line.size() * 2);
        EXPECT_EQ(longest.line(), 2);
    }
    EXPECT_GT(longestOf(littleEndian).length(), LongestLine::Limit);
}
