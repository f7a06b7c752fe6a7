#include "CandidateDelegate.h"

#include <QApplication>
#include <QFontMetrics>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The widest note is measured once for a list that opens again and again; what
// was measured must never outlive the notes or the font it was measured for.
TEST(CandidateDelegate, NotesWidthFollowsTheNotesAndTheFont)
{
    CandidateDelegate delegate;
    const QFont font = QApplication::font();
    const QFontMetrics metrics(font);
    EXPECT_EQ(delegate.notesWidth(font), 0);

    QHash<QString, QString> notes = {{u"a"_s, u"短い"_s}, {u"b"_s, u"山田 太郎: 猫の研究"_s}};
    delegate.setNotes(notes);
    const int width = delegate.notesWidth(font);
    EXPECT_GT(width, metrics.horizontalAdvance(u"山田 太郎: 猫の研究"_s));
    delegate.setNotes(notes);
    EXPECT_EQ(delegate.notesWidth(font), width);

    // The database was read again and gave other notes.
    notes.insert(u"b"_s, u"山田 太郎: 猫と犬と鳥と魚の研究"_s);
    delegate.setNotes(notes);
    const int wider = delegate.notesWidth(font);
    EXPECT_EQ(wider - width, metrics.horizontalAdvance(u"山田 太郎: 猫と犬と鳥と魚の研究"_s)
                                 - metrics.horizontalAdvance(u"山田 太郎: 猫の研究"_s));

    QFont larger = font;
    larger.setPointSize(font.pointSize() * 2);
    EXPECT_GT(delegate.notesWidth(larger), wider);
    EXPECT_EQ(delegate.notesWidth(font), wider);

    delegate.setNotes({});
    EXPECT_FALSE(delegate.hasNotes());
    EXPECT_EQ(delegate.notesWidth(font), 0);
}

} // namespace
