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
    EXPECT_EQ(decoder.decode("a\xff" "b\xc0\xaf"), QString::fromUtf16(u"a\uFFFDb\uFFFD\uFFFD"));
    EXPECT_EQ(decoder.decode("c\xe3\x81"), "c");
    EXPECT_EQ(decoder.decode("d"), QString::fromUtf16(u"\uFFFD\uFFFDd"));
    EXPECT_EQ(decoder.decode("\xe3\x81"), "");
    EXPECT_EQ(decoder.finish(), QString::fromUtf16(u"\uFFFD\uFFFD"));
    EXPECT_EQ(decoder.finish(), "");
}

TEST(ExecutableFileFiltersTest, LabelsStayAndEveryPatternMatchesEveryFile)
{
    EXPECT_EQ(ExecutableFileFilters(StringTable::text(StringTable::ExecutableFilter)),
              QStringList({QString::fromUtf8("実行ファイル (*.exe) (*)"), QString::fromUtf8("全てのファイル (*.*) (*)")}));
}

} // namespace
