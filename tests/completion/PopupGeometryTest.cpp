#include "PopupGeometry.h"

#include <gtest/gtest.h>

namespace {

const QRect Client(0, 0, 400, 300);
constexpr int MaxCharWidth = 12;

TEST(PopupGeometry, SizeIsCappedAtTenRowsAndTwentyCharacters)
{
    EXPECT_EQ(PopupGeometry::size(30, 50, 16, 7, 1), QSize(20 * 7 + 20 + 2, 10 * 16 + 2));
    EXPECT_EQ(PopupGeometry::size(3, 6, 16, 7, 1), QSize(6 * 7 + 20 + 2, 3 * 16 + 2));
    EXPECT_EQ(PopupGeometry::size(0, 0, 16, 7, 0), QSize(20, 0));
}

TEST(PopupGeometry, OpensBelowTheCaretLineAndRightOfTheCaret)
{
    EXPECT_EQ(PopupGeometry::place(QSize(100, 80), QRect(50, 40, 2, 18), Client, MaxCharWidth), QRect(55, 58, 100, 80));
}

TEST(PopupGeometry, OpensAboveTheLineAtTheBottomEdge)
{
    EXPECT_EQ(PopupGeometry::place(QSize(100, 80), QRect(50, 250, 2, 18), Client, MaxCharWidth),
              QRect(55, 170, 100, 80));
    // Exactly touching the bottom still fits below.
    EXPECT_EQ(PopupGeometry::place(QSize(100, 80), QRect(50, 202, 2, 18), Client, MaxCharWidth).top(), 220);
}

TEST(PopupGeometry, IsCentredWhenNeitherBelowNorAboveFits)
{
    EXPECT_EQ(PopupGeometry::place(QSize(100, 250), QRect(50, 100, 2, 18), Client, MaxCharWidth),
              QRect(55, 25, 100, 250));
    EXPECT_EQ(PopupGeometry::place(QSize(100, 301), QRect(50, 100, 2, 18), Client, MaxCharWidth).top(), 0);
}

TEST(PopupGeometry, FlipsLeftOfTheCaretAtTheRightEdge)
{
    EXPECT_EQ(PopupGeometry::place(QSize(100, 80), QRect(350, 40, 2, 18), Client, MaxCharWidth),
              QRect(350 - MaxCharWidth - 100, 58, 100, 80));
}

} // namespace
