#include "editor/PrintPages.h"

#include <gtest/gtest.h>

using namespace kestrovan::editor;

TEST(PrintPages, LinesPerPageFromTheFontHeight) {
  EXPECT_EQ(linesPerPage(16), 64);
  EXPECT_EQ(linesPerPage(-16), 64);
  EXPECT_EQ(linesPerPage(13), 79);
  // A font taller than the page still prints a line on each.
  EXPECT_EQ(linesPerPage(2000), 1);
  EXPECT_EQ(linesPerPage(0), kPageHeightPixels);
}

TEST(PrintPages, PageCountAndTheLinesOfEachPage) {
  EXPECT_EQ(pageCount(128, 64), 3);
  EXPECT_EQ(pageCount(127, 64), 2);
  EXPECT_EQ(pageCount(0, 64), 1);
  PageLines p1 = pageLines(1, 64, 128);
  EXPECT_EQ(p1.first, 0u);
  EXPECT_EQ(p1.count, 64u);
  PageLines p2 = pageLines(2, 64, 128);
  EXPECT_EQ(p2.first, 64u); // line 65 counted from 1
  EXPECT_EQ(p2.count, 64u);
  EXPECT_EQ(pageLines(3, 64, 128).count, 0u);
  EXPECT_EQ(pageLines(2, 64, 100).count, 36u);
  EXPECT_EQ(pageLines(0, 64, 100).count, 0u);
  EXPECT_EQ(pageOfLine(63, 64), 1);
  EXPECT_EQ(pageOfLine(64, 64), 2);
}

TEST(PrintPages, JobTitles) {
  EXPECT_EQ(pageJobTitle("O1234.NC", 2), "O1234.NC[2]");
  EXPECT_EQ(pageJobTitle("new", 1), "new[1]");
}
