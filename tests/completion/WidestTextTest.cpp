#include "WidestText.h"

#include <QApplication>
#include <QFont>
#include <QFontMetrics>

#include <gtest/gtest.h>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

int laidOutWidest(const QStringList &texts, const QFontMetrics &metrics)
{
    int widest = 0;
    for (const QString &text : texts)
        widest = std::max(widest, metrics.horizontalAdvance(text));
    return widest;
}

// Notes as bibliographies give them: Japanese and Latin titles, kerning pairs,
// ligatures, accents written as combining marks, a character beyond the BMP.
TEST(WidestText, FindsTheWidthOfTheWidestTextLaidOut)
{
    const QStringList notes = {
        u"山田 太郎 ほか: 日本語の組版における文字の幅"_s,
        u"AVAWAVAWAVAWAVAWAVAWAVAWAVAWAVAW"_s,
        u"To Wa Ty Yo: offices affluent ffi"_s,
        u"Ame\u0301lie Poulain: re\u0301sume\u0301"_s,
        u"𠮷野 家康: 牛丼の研究"_s,
        u"iiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiii"_s,
        u"WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW"_s,
        QString(),
    };
    QFont large = QApplication::font();
    large.setPointSize(large.pointSize() * 3);
    for (const QFont &font : {QApplication::font(), large}) {
        const QFontMetrics metrics(font);
        EXPECT_EQ(WidestText::width(notes, metrics), laidOutWidest(notes, metrics));
        // Whichever one is widest, alone or among many narrower ones.
        for (const QString &note : notes) {
            QStringList crowd(200, u"短い"_s);
            crowd.insert(137, note);
            EXPECT_EQ(WidestText::width(crowd, metrics), laidOutWidest(crowd, metrics)) << note.toStdString();
        }
    }
    EXPECT_EQ(WidestText::width({}, QFontMetrics(QApplication::font())), 0);
    EXPECT_EQ(WidestText::width({QString()}, QFontMetrics(QApplication::font())), 0);
}

} // namespace
