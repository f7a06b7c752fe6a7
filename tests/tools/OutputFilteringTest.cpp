#include "ExecutableFileFilters.h"
#include "OutputNormalizer.h"
#include "StringTable.h"
#include "Utf8StreamDecoder.h"

#include <gtest/gtest.h>

namespace {

TEST(OutputNormalizerTest, EveryLineEndBecomesOneLineFeed)
{
    OutputNormalizer normalizer;
    EXPECT_EQ(normalizer.normalize("a\nb\n"), "a\nb\n");
    EXPECT_EQ(normalizer.normalize("a\r\nb\r\n"), "a\nb\n");
    EXPECT_EQ(normalizer.normalize("a\rb"), "a\nb");
    EXPECT_EQ(normalizer.normalize("\n\n"), "\n\n");
    EXPECT_EQ(normalizer.normalize("\r\r\n"), "\n\n");
}

TEST(OutputNormalizerTest, ACarriageReturnAtTheEndOfOneChunkPairsWithALineFeedInTheNext)
{
    OutputNormalizer normalizer;
    EXPECT_EQ(normalizer.normalize("a\r"), "a\n");
    EXPECT_EQ(normalizer.normalize("\nb"), "b");
    EXPECT_EQ(normalizer.normalize("\r"), "\n");
    EXPECT_EQ(normalizer.normalize("c"), "c");

    normalizer.normalize("x\r");
    normalizer.reset();
    EXPECT_EQ(normalizer.normalize("\ny"), "\ny");
}

TEST(OutputNormalizerTest, ZeroBytesAreDroppedAndDoNotHideTheRest)
{
    OutputNormalizer normalizer;
    EXPECT_EQ(normalizer.normalize(QByteArrayView("a\0b\0\0c", 6)), "abc");
    EXPECT_EQ(normalizer.normalize(QByteArrayView("\r\0\n", 3)), "\n");
}

TEST(OutputNormalizerTest, ALineWithoutEndIsCutIntoPiecesBetweenCharacters)
{
    constexpr qsizetype Longest = OutputNormalizer::LongestLine;
    // One-, two-, three- and four-byte characters, in reads that cut them anywhere.
    const QByteArray characters = QString::fromUtf8("aé漢😀").toUtf8();
    QByteArray output;
    while (output.size() < 5 * Longest)
        output += characters;
    OutputNormalizer normalizer;
    QByteArray shown;
    for (qsizetype at = 0; at < output.size(); at += 4093)
        shown += normalizer.normalize(QByteArrayView(output).sliced(at, std::min<qsizetype>(4093, output.size() - at)));
    const QList<QByteArray> pieces = shown.split('\n');
    ASSERT_GE(pieces.size(), 5);
    QByteArray joined;
    for (const QByteArray &piece : pieces) {
        EXPECT_LE(piece.size(), Longest);
        EXPECT_GT(piece.size(), 0);
        EXPECT_EQ(QString::fromUtf8(piece).toUtf8(), piece) << "a character was cut";
        joined += piece;
    }
    EXPECT_EQ(joined, output);

    // A read that ends inside a character right at the limit: the character goes
    // whole to the next line, whatever the next read brings.
    const QByteArray kanji = QString::fromUtf8("漢").toUtf8();
    for (qsizetype taken = 1; taken < kanji.size(); ++taken) {
        OutputNormalizer atLimit;
        QByteArray split = atLimit.normalize(QByteArray(Longest - taken, 'a') + kanji.left(taken));
        split += atLimit.normalize(kanji.mid(taken) + "b");
        EXPECT_EQ(split, QByteArray(Longest - taken, 'a') + "\n" + kanji + "b") << taken << " bytes taken";
    }

    // A line end of the tool's own starts the count afresh, and so does reset().
    EXPECT_EQ(normalizer.normalize("\n" + QByteArray(Longest, 'y')), "\n" + QByteArray(Longest, 'y'));
    normalizer.reset();
    EXPECT_EQ(normalizer.normalize(QByteArray(Longest, 'z')), QByteArray(Longest, 'z'));
    EXPECT_EQ(normalizer.normalize("z"), "\nz");

    // Bytes that are no UTF-8 at all are cut as well.
    normalizer.reset();
    const QByteArray broken = normalizer.normalize(QByteArray(2 * Longest + 1, '\x80'));
    EXPECT_EQ(broken.count('\n'), 2);
}

TEST(Utf8StreamDecoderTest, ACharacterSplitBetweenReadsAppearsWhole)
{
    const QByteArray text = QString::fromUtf8("日本語の𠮷").toUtf8();
    for (qsizetype cut = 1; cut < text.size(); ++cut) {
        Utf8StreamDecoder decoder;
        QString joined = decoder.decode(text.left(cut));
        joined += decoder.decode(text.mid(cut));
        joined += decoder.finish();
        EXPECT_EQ(joined, QString::fromUtf8("日本語の𠮷")) << "cut at " << cut;
    }
}

TEST(Utf8StreamDecoderTest, InvalidBytesAndBrokenEndsBecomeReplacementCharacters)
{
    Utf8StreamDecoder decoder;
    EXPECT_EQ(decoder.decode("a\xff"
                             "b\xc0\xaf"),
              QString::fromUtf16(u"a\uFFFDb\uFFFD\uFFFD"));
    EXPECT_EQ(decoder.decode("c\xe3\x81"), "c");
    EXPECT_EQ(decoder.decode("d"), QString::fromUtf16(u"\uFFFD\uFFFDd"));
    EXPECT_EQ(decoder.decode("\xe3\x81"), "");
    EXPECT_EQ(decoder.finish(), QString::fromUtf16(u"\uFFFD\uFFFD"));
    EXPECT_EQ(decoder.finish(), "");
}

TEST(ExecutableFileFiltersTest, LabelsStayAndEveryPatternMatchesEveryFile)
{
    EXPECT_EQ(
        ExecutableFileFilters(StringTable::text(StringTable::ExecutableFilter)),
        QStringList({QString::fromUtf8("実行ファイル (*.exe) (*)"), QString::fromUtf8("全てのファイル (*.*) (*)")}));
}

} // namespace
