#include "TextMirror.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Edits at random places, each applied to a plain string and to the mirror, with
// the whole text read back now and then so that the gap is closed and reopened.
TEST(TextMirror, MatchesAPlainStringThroughRandomEdits)
{
    const QString pieces[] = {QStringLiteral("\\label{a}"), QStringLiteral("日本語"), QStringLiteral("\u2029"),
                              QStringLiteral("\U0001D465"), QString(70000, u'z'),     QString()};
    std::mt19937 random(7);
    const auto below = [&random](qsizetype bound) {
        return bound <= 0 ? qsizetype(0) : static_cast<qsizetype>(random() % static_cast<unsigned>(bound + 1));
    };
    QString expected = QStringLiteral("start\u2029");
    TextMirror mirror;
    mirror.reset(expected);
    for (int edit = 0; edit < 2000; ++edit) {
        const qsizetype position = below(expected.size());
        const qsizetype removed = below(std::min<qsizetype>(expected.size() - position, 40));
        const QString &added = pieces[random() % std::size(pieces)];
        expected.replace(position, removed, added);
        mirror.replace(position, removed, added);
        ASSERT_EQ(mirror.length(), expected.size());
        if (edit % 97 == 0) {
            ASSERT_EQ(mirror.text(), expected) << "after edit " << edit;
        }
    }
    EXPECT_EQ(mirror.text(), expected);
}

TEST(TextMirror, AChangeThatDoesNotFitDropsTheText)
{
    TextMirror mirror;
    mirror.replace(0, 0, u"ignored");
    EXPECT_FALSE(mirror.isValid());

    mirror.reset(QStringLiteral("abc"));
    mirror.replace(1, 1, u"X");
    EXPECT_EQ(mirror.text(), QStringLiteral("aXc"));
    mirror.replace(2, 5, u"");
    EXPECT_FALSE(mirror.isValid());
    EXPECT_EQ(mirror.length(), 0);

    mirror.reset(QStringLiteral("abc"));
    mirror.replace(4, 0, u"d");
    EXPECT_FALSE(mirror.isValid());
}

} // namespace
