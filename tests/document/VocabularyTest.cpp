#include "EncodingFlags.h"
#include "NewlineCode.h"
#include "TextEncoding.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Qt::StringLiterals;

TEST(Vocabulary, EncodingIndexBitAndCodeAreOneNumber)
{
    std::vector<TextEncoding> withMark;
    for (int index = 0; index < 6; ++index) {
        const auto encoding = textEncodingFromCode(index);
        ASSERT_TRUE(encoding.has_value());
        EXPECT_EQ(textEncodingIndex(*encoding), index);
        if (carriesByteOrderMark(*encoding))
            withMark.push_back(*encoding);
    }
    EXPECT_EQ(withMark, (std::vector<TextEncoding>{TextEncoding::Utf8, TextEncoding::Utf16LittleEndian,
                                                   TextEncoding::Utf16BigEndian}));
    EXPECT_FALSE(textEncodingFromCode(-1).has_value());
    EXPECT_FALSE(textEncodingFromCode(6).has_value());
    EXPECT_EQ(menuText(TextEncoding::ShiftJis), u"シフトJIS"_s);
    EXPECT_EQ(menuText(TextEncoding::Utf16LittleEndian), u"UTF-16(Little endian)"_s);
    EXPECT_EQ(dialogListText(TextEncoding::Utf16BigEndian), u"UTF-16 (Big endian)"_s);
    EXPECT_EQ(dialogListText(TextEncoding::Iso2022Jp), u"ISO-2022-JP"_s);
}

TEST(Vocabulary, FlagsKeepTheirBitLayout)
{
    EXPECT_EQ(EncodingFlags::platformDefault().value(), 0x4008);
    EXPECT_EQ(EncodingFlags(TextEncoding::ShiftJis, false, NewlineCode::CrLf).value(), 0x8001);
    const EncodingFlags flags(TextEncoding::Utf16BigEndian, true, NewlineCode::Cr);
    EXPECT_EQ(flags.value(), 0x0020 | 0x2000 | 0xC000);
    EXPECT_EQ(flags.encoding(), TextEncoding::Utf16BigEndian);
    EXPECT_TRUE(flags.hasByteOrderMark());
    EXPECT_EQ(flags.newlineCode(), NewlineCode::Cr);
    EXPECT_EQ(flags.withNewlineCode(NewlineCode::Lf),
              EncodingFlags(TextEncoding::Utf16BigEndian, true, NewlineCode::Lf));
    // Bits outside the layout never get in.
    EXPECT_EQ(EncodingFlags(0xFFFF).value(), 0xE03F);
    EXPECT_FALSE(EncodingFlags(0x4000).encoding().has_value());
}

TEST(Vocabulary, TheStatusTextNamesTheEncodingTheMarkAndTheLineEnd)
{
    EXPECT_EQ(EncodingFlags(0x8001).statusText(), "Shift_JIS CRLF");
    EXPECT_EQ(EncodingFlags::platformDefault().statusText(), "UTF-8 LF");
    EXPECT_EQ(EncodingFlags(TextEncoding::Utf8, true, NewlineCode::Lf).statusText(), "UTF-8 BOM LF");
    EXPECT_EQ(EncodingFlags(0xC010 | 0x2000).statusText(), "UTF-16LE BOM CR");
    EXPECT_EQ(EncodingFlags(TextEncoding::Utf16BigEndian, false, NewlineCode::CrLf).statusText(), "UTF-16BE CRLF");
    EXPECT_EQ(EncodingFlags(0x8004).statusText(), "ISO-2022-JP CRLF");
    EXPECT_EQ(EncodingFlags(0x4002).statusText(), "EUC-JP LF");
}

TEST(Vocabulary, ByteOrderMarkCheckLooksOnlyForTheEncodingsOwnMark)
{
    EXPECT_TRUE(startsWithByteOrderMark(TextEncoding::Utf8, "\xEF\xBB\xBF"
                                                            "a"));
    EXPECT_FALSE(startsWithByteOrderMark(TextEncoding::Utf8, "\xEF\xBB"));
    EXPECT_TRUE(startsWithByteOrderMark(TextEncoding::Utf16LittleEndian, "\xFF\xFE"));
    EXPECT_FALSE(startsWithByteOrderMark(TextEncoding::Utf16LittleEndian, "\xFE\xFF"));
    EXPECT_TRUE(startsWithByteOrderMark(TextEncoding::Utf16BigEndian, "\xFE\xFF"));
    EXPECT_FALSE(startsWithByteOrderMark(TextEncoding::Utf16BigEndian, "\xFF"));
    EXPECT_FALSE(startsWithByteOrderMark(TextEncoding::ShiftJis, "\xEF\xBB\xBF"));
}

TEST(Vocabulary, TheFirstLineEndDecidesTheNewlineCode)
{
    const auto detect = [](const QByteArray &bytes) { return DetectNewlineCode(bytes, TextEncoding::ShiftJis); };
    EXPECT_EQ(detect(""), NewlineCode::CrLf);
    EXPECT_EQ(detect("no line end"), NewlineCode::CrLf);
    EXPECT_EQ(detect("a\nb\r\n"), NewlineCode::Lf);
    EXPECT_EQ(detect("a\r\nb\n"), NewlineCode::CrLf);
    EXPECT_EQ(detect("a\rb\r\n"), NewlineCode::Cr);
    EXPECT_EQ(detect("ends in\r"), NewlineCode::Cr);
}

TEST(Vocabulary, Utf16LineEndsAreFoundInCodeUnits)
{
    const QByteArray crLfLittle("a\0\r\0\n\0", 6);
    const QByteArray crLfBig("\0a\0\r\0\n", 6);
    EXPECT_EQ(DetectNewlineCode(crLfLittle, TextEncoding::Utf16LittleEndian), NewlineCode::CrLf);
    EXPECT_EQ(DetectNewlineCode(crLfBig, TextEncoding::Utf16BigEndian), NewlineCode::CrLf);
    EXPECT_EQ(DetectNewlineCode(QByteArray("\0\r", 2), TextEncoding::Utf16BigEndian), NewlineCode::Cr);
    // U+4E0A has the byte 0x0A; it is not a line end, the CR+LF after it is.
    const QByteArray upperLittle("\x0A\x4E\r\0\n\0", 6);
    const QByteArray upperBig("\x4E\x0A\0\r\0\n", 6);
    EXPECT_EQ(DetectNewlineCode(upperLittle, TextEncoding::Utf16LittleEndian), NewlineCode::CrLf);
    EXPECT_EQ(DetectNewlineCode(upperBig, TextEncoding::Utf16BigEndian), NewlineCode::CrLf);
    // U+0D0A (a Malayalam letter) is neither CR nor LF.
    EXPECT_EQ(DetectNewlineCode(QByteArray("\x0A\x0D\n\0", 4), TextEncoding::Utf16LittleEndian), NewlineCode::Lf);
}
