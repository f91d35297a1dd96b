// The newspaper-column list's arithmetic: which row is where, what scrolls
// into view, where the arrow keys go.

#include "files/ColumnLayout.h"

#include <gtest/gtest.h>

using namespace kestrovan::files;

TEST(ColumnLayout, RowsRunDownAColumnAndOnIntoTheNext) {
  // 50 rows, 21 to a column, two columns shown from the second one on.
  ColumnLayout l{50, 21, 2, 1};
  EXPECT_EQ(l.rowAt(0, 0, 616, 16), 21);
  EXPECT_EQ(l.rowAt(307, 16 * 20 + 15, 616, 16), 41);
  EXPECT_EQ(l.rowAt(308, 0, 616, 16), 42);
  EXPECT_EQ(l.rowAt(308, 16 * 8, 616, 16), std::nullopt); // row 50: past the end
  EXPECT_EQ(l.rowAt(0, 16 * 21, 616, 16), std::nullopt);  // below the last line
  EXPECT_EQ(l.rowAt(616, 0, 616, 16), std::nullopt);
  EXPECT_EQ(l.rowAt(-1, 0, 616, 16), std::nullopt);
}

TEST(ColumnLayout, TheListScrollsAColumnAtATime) {
  ColumnLayout l{100, 21, 2, 1};
  EXPECT_EQ(l.firstColumnShowing(30), 1); // in view already
  EXPECT_EQ(l.firstColumnShowing(5), 0);
  EXPECT_EQ(l.firstColumnShowing(63), 2); // the fourth column: the view moves one on
  EXPECT_EQ(l.firstColumnShowing(99), 3);
  EXPECT_EQ(l.firstColumnShowing(-1), 1);
}

TEST(ColumnLayout, ArrowsMoveWithinTheRunAndAcrossColumns) {
  ColumnLayout l{50, 21, 2, 0};
  EXPECT_EQ(l.moved(0, ListMove::Up), 0);
  EXPECT_EQ(l.moved(20, ListMove::Down), 21); // on into the next column
  EXPECT_EQ(l.moved(49, ListMove::Down), 49);
  EXPECT_EQ(l.moved(5, ListMove::Right), 26);
  EXPECT_EQ(l.moved(40, ListMove::Right), 49); // as far as there are rows
  EXPECT_EQ(l.moved(5, ListMove::Left), 5);    // the first column stays
  EXPECT_EQ(l.moved(30, ListMove::Left), 9);
  EXPECT_EQ(l.moved(-1, ListMove::Down), 0); // nothing selected yet
  EXPECT_EQ((ColumnLayout{0, 21, 2, 0}.moved(0, ListMove::Down)), std::nullopt);
}
