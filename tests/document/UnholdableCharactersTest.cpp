#include "UnholdableCharacters.h"

#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

QString characterText(char32_t character)
{
    return QString::fromUcs4(&character, 1);
}

} // namespace

// The editor's text control is the judge: every character from U+0001 to U+10FFFF,
// each between two letters and 64 to a line, goes through it, and exactly those found come out as
// line breaks; all others come out as themselves.
TEST(UnholdableCharacters, AreExactlyTheCharactersTheEditorTurnsIntoLineBreaks)
{
    QString text;
    QString expected;
    for (char32_t character = 1; character <= 0x10FFFF; ++character) {
        // CR and LF are line ends already; the reading makes every CR one.
        if (character == '\n' || character == '\r' || (character >= 0xD800 && character <= 0xDFFF))
            continue;
        const QString one = characterText(character);
        const QString line = character % 64 == 0 ? QStringLiteral("\n") : QString();
        text += u'a' + one + u'b' + line;
        expected += u'a' + (UnholdableCharacters::isUnholdable(one[0]) ? QStringLiteral("\n") : one) + u'b' + line;
    }
    QPlainTextEdit editor;
    editor.setPlainText(text);
    const QString back = editor.document()->toRawText().replace(QChar::ParagraphSeparator, u'\n');
    ASSERT_EQ(back.size(), expected.size());
    const auto mismatch = std::mismatch(back.begin(), back.end(), expected.begin());
    EXPECT_TRUE(mismatch.first == back.end())
        << "U+" << std::hex << text.mid(mismatch.first - back.begin(), 2).toUcs4().value(0);
    // The line separator is one the control keeps.
    EXPECT_FALSE(UnholdableCharacters::isUnholdable(QChar(0x2028)));
    EXPECT_EQ(UnholdableCharacters::in(text).count(), 3);
}

TEST(UnholdableCharacters, CountsThemAndFindsTheFirstOnesLine)
{
    EXPECT_EQ(UnholdableCharacters::in(u"plain\ntext\n").count(), 0);
    EXPECT_EQ(UnholdableCharacters::in(u"plain\ntext\n").firstLine(), 0);
    const QString text = QStringLiteral("a\n\nb") + characterText(0xFDD1) + u'\n' + characterText(0x2029)
                         + characterText(0xFDD0);
    EXPECT_EQ(UnholdableCharacters::in(text).count(), 3);
    EXPECT_EQ(UnholdableCharacters::in(text).firstLine(), 3);
    EXPECT_EQ(UnholdableCharacters::in(characterText(0x2029)).firstLine(), 1);
}
